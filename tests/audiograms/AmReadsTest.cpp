// Reading one clinic test from the Audiogram Manager stand-in: the clinic's codes
// arrive as the record's codes, and a read without a row changes nothing.

#include "app/DocumentFixture.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using quorin::test::DocumentTest;

namespace {

class AmReads : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        ASSERT_TRUE(doc->ConnectAud());
    }
};

} // namespace

TEST_F(AmReads, TheClinicsCodesBecomeTheRecordsCodes)
{
    registry.ExecRaw("Aud",
        "insert into info (PatientIndex, PatientNum, Date, Testedby) values (7, 4711, '2024-03-05 00:00:00.000', 'Dr. O''Hara');"
        "insert into Other values (7, 2, 2, 'calm child', 'retest in 6 months');"
        "insert into Immit (PatientIndex, TympNormR, TympNormL, TympPeakYL, TympPeakYR, TympAnormLVal,"
        "  TympAnormRVal, TestedL, TestedR, EFTVolL, EFTVolR, EFTRelL, EFTRelR)"
        "  values (7, 5, 1, 0.5, 0.75, -100, 25, 1, 2, -1, 1.25, -1, -150);"
        "insert into Impress (PatientIndex, normal_r, mixed_r, sensorineural_l, undetermined_l, conductive_sf)"
        "  values (7, 1, 1, 1, 1, 1);"
        "insert into Special (PatientIndex, tinnitus_r, hearing_aids_l, dizziness, hx_of_om, famhx)"
        "  values (7, 1, 1, 1, 2, 0);"
        "insert into Speech (Patientindex, sata, srta, lev1a, lev2a, pc1a, pc2a, mata, satb, srtb, lev1b,"
        "  lev2b, pc1b, pc2b, matb, satc, srtc, matc)"
        "  values (7, 10, 15, 4146, 0, 92, 88, 18, 20, 25, 256, 40, 76, 80, 3, 30, 35, 5);"
        "insert into newpoints values (7, 4, 10, 136, 0), (7, 6, 12, 137, 3), (7, 2, 5, 200, 0), (7, 5, 14, 1, 0);");

    CAudRecord r;
    r.ResetAudRecord(true);
    r.Findings.OM = 1; // ticked boxes stay ticked whatever the clinic says
    EXPECT_NE(doc->ReadAmTestInfo(7, r), 0);
    EXPECT_NE(doc->ReadAmImmittance(7, r), 0);
    EXPECT_NE(doc->ReadAmFindings(7, r), 0);
    EXPECT_NE(doc->ReadAmSpeech(7, r), 0);
    EXPECT_NE(doc->ReadAmPoints(7, r), 0);
    EXPECT_TRUE(TakeErrors().empty());

    EXPECT_TRUE(r.Info.Imported);
    EXPECT_EQ(r.Info.TestDate, "03/05/2024");
    EXPECT_EQ(r.Info.TestedBy, "Dr. O'Hara");
    EXPECT_EQ(r.Info.Method, 0); // "VRA"
    EXPECT_EQ(r.Info.Reliability, 2);
    EXPECT_EQ(r.Info.Comments, "calm child");
    EXPECT_EQ(r.Info.Recommend, "retest in 6 months");

    EXPECT_EQ(r.Immittance.TympR, 2); // "Pat. Tube/ Perf"
    EXPECT_EQ(r.Immittance.TympL, 0); // "Normal"
    EXPECT_FLOAT_EQ(r.Immittance.ETFRelL, -999.0f); // -1 is the clinic's "not measured"
    EXPECT_FLOAT_EQ(r.Immittance.ETFVolL, -1.0f);   // a volume of -1 is a value
    EXPECT_FLOAT_EQ(r.Immittance.ETFRelR, -150.0f);
    EXPECT_FLOAT_EQ(r.Immittance.ETFVolR, 1.25f);
    EXPECT_FLOAT_EQ(r.Immittance.PeakPressL, -100.0f);
    EXPECT_FLOAT_EQ(r.Immittance.PeakYR, 0.75f);
    EXPECT_EQ(r.Immittance.ReflexR, 2);

    EXPECT_EQ(r.Findings.ImpressR, 0); // Normal wins over Mixed
    EXPECT_EQ(r.Findings.ImpressL, 2); // Sensorineural before Undetermined
    EXPECT_EQ(r.Findings.ImpressSF, 1);
    EXPECT_EQ(r.Findings.TinnitusR, 1);
    EXPECT_EQ(r.Findings.HearingAidsL, 1);
    EXPECT_EQ(r.Findings.HearingAidsR, 0);
    EXPECT_EQ(r.Findings.Dizziness, 1);
    EXPECT_EQ(r.Findings.OM, 1);
    EXPECT_EQ(r.Findings.HxHearingLoss, 0);

    EXPECT_EQ(r.Speech.Lev1R, 50); // 0x1032 without its marker bit
    EXPECT_EQ(r.Speech.Lev2R, 0);
    EXPECT_EQ(r.Speech.Lev1L, 0);  // 0x100 alone
    EXPECT_EQ(r.Speech.Lev2L, 40);
    EXPECT_EQ(r.Speech.MatR, "");  // code 18 is outside the table
    EXPECT_EQ(r.Speech.MatL, "NU-6");
    EXPECT_EQ(r.Speech.SRTR, 15);
    EXPECT_EQ(r.Speech.SATL, 20);
    EXPECT_EQ(r.Speech.PC2R, 88);
    EXPECT_EQ(r.Speech.SRTSF, 35);
    EXPECT_EQ(r.Speech.Lev3R, -1); // levels 3-5 are not the clinic's

    // Ordered by the clinic's symbol code, then frequency.
    ASSERT_EQ(r.Points.size(), 4u);
    const int expected[][6] = {// symbol, type, x, y, xy, mask
                               {1, 1, 5, 14, 514, 0},
                               {11, 3, 4, 10, 410, 0},
                               {138, 3, 6, 12, 612, 3},
                               {0, 3, 2, 5, 205, 0}};
    for (size_t i = 0; i < 4; ++i) {
        const CAudPoint& p = r.Points[i];
        EXPECT_EQ(p.symbol, expected[i][0]) << i;
        EXPECT_EQ(p.type, expected[i][1]) << i;
        EXPECT_EQ(p.x, expected[i][2]) << i;
        EXPECT_EQ(p.y, expected[i][3]) << i;
        EXPECT_EQ(p.xy, expected[i][4]) << i;
        EXPECT_EQ(p.mask, expected[i][5]) << i;
        EXPECT_EQ(p.recent, 1) << i;
    }
}

TEST_F(AmReads, EveryClinicSymbolHasItsRecordSymbol)
{
    // Clinic code -> record symbol, type; no-response codes keep their mark.
    const int table[][3] = {{1, 1, 1},     {2, 3, 0},     {3, 2, 1},     {4, 4, 0},     {5, 5, 4},
                            {6, 7, 2},     {7, 6, 5},     {8, 11, 3},    {9, 10, 3},    {10, 8, 3},
                            {11, 9, 3},    {12, 12, 3},   {129, 129, 1}, {130, 131, 0}, {131, 130, 1},
                            {132, 132, 0}, {133, 133, 4}, {134, 135, 2}, {135, 134, 5}, {136, 11, 3},
                            {137, 138, 3}, {0, 0, 3},     {13, 0, 3},    {128, 0, 3},   {138, 0, 3}};
    std::string sql = "insert into info (PatientIndex, PatientNum) values (3, 1);";
    int x = 0;
    for (const auto& row : table)
        sql += "insert into newpoints values (3, " + std::to_string(x++ % 11) + ", 9, " + std::to_string(row[0]) + ", 0);";
    registry.ExecRaw("Aud", sql);
    CAudRecord r;
    ASSERT_NE(doc->ReadAmPoints(3, r), 0);
    ASSERT_EQ(r.Points.size(), std::size(table));
    std::map<int, std::pair<int, int>> want;
    for (const auto& row : table)
        want[row[0]] = {row[1], row[2]};
    // Points come back ordered by the clinic's code; the table is in that order too,
    // except the out-of-range codes, so compare by position in the sorted table.
    std::vector<int> codes;
    for (const auto& row : table)
        codes.push_back(row[0]);
    std::sort(codes.begin(), codes.end());
    for (size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(r.Points[i].symbol, want[codes[i]].first) << "clinic code " << codes[i];
        EXPECT_EQ(r.Points[i].type, want[codes[i]].second) << "clinic code " << codes[i];
    }
}

TEST_F(AmReads, AReadWithoutARowChangesNothingAndSaysItRan)
{
    registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date) values (9, 5, '2024-01-01 00:00:00.000');");
    CAudRecord r;
    r.ResetAudRecord(true);
    r.Info.TestDate = "01/02/2003";
    r.Immittance.TympL = 4;
    r.Findings.ImpressL = 3;
    r.Speech.MatR = "WIPI";
    const CAudRecord before = r;
    // Index 9 has no Other, Immit, Impress, Speech or newpoints rows; 10 does not exist.
    for (int index : {9, 10}) {
        EXPECT_NE(doc->ReadAmTestInfo(index, r), 0);
        EXPECT_NE(doc->ReadAmImmittance(index, r), 0);
        EXPECT_NE(doc->ReadAmFindings(index, r), 0);
        EXPECT_NE(doc->ReadAmSpeech(index, r), 0);
        EXPECT_NE(doc->ReadAmPoints(index, r), 0);
    }
    EXPECT_FALSE(r.Info.Imported);
    EXPECT_EQ(r.Info.TestDate, before.Info.TestDate);
    EXPECT_EQ(r.Immittance.TympL, 4);
    EXPECT_EQ(r.Findings.ImpressL, 3);
    EXPECT_EQ(r.Speech.MatR, "WIPI");
    EXPECT_TRUE(r.Points.empty());
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(AmReads, AFailedQuerySaysSo)
{
    registry.ExecRaw("Aud", "drop table Speech;");
    CAudRecord r;
    EXPECT_EQ(doc->ReadAmSpeech(1, r), 0);
    EXPECT_FALSE(TakeErrors().empty()); // the session reported the failure
    EXPECT_EQ(r.Speech.SRTR, -1);
}
