// Reading one clinic test from the Audiogram Manager stand-in: the clinic's codes
// arrive as the record's codes, and a read without a row changes nothing.

#include "AudiogramFixture.h"

#include <string>

using quorin::test::DocumentTest;

namespace {

class AmReads : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        ASSERT_TRUE(doc->ConnectAud());
    }

    // Every part of clinic test index into r; false when a read failed.
    bool ReadAll(int index, CAudRecord& r)
    {
        return doc->ReadAmTestInfo(index, r) && doc->ReadAmImmittance(index, r) && doc->ReadAmFindings(index, r)
               && doc->ReadAmSpeech(index, r) && doc->ReadAmPoints(index, r);
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
    EXPECT_TRUE(ReadAll(7, r));
    EXPECT_TRUE(TakeErrors().empty());

    EXPECT_TRUE(r.Info.Imported);
    EXPECT_EQ(QStringList({r.Info.TestDate, r.Info.TestedBy, r.Info.Comments, r.Info.Recommend}),
              QStringList({"03/05/2024", "Dr. O'Hara", "calm child", "retest in 6 months"}));
    EXPECT_EQ(r.Info.Method, 0); // "VRA"
    EXPECT_EQ(r.Info.Reliability, 2);

    // Tympanogram: "Pat. Tube/ Perf" right, "Normal" left; -1 is the clinic's "not
    // measured" for a relative value, but a volume of -1 is a value.
    EXPECT_EQ(std::tuple(r.Immittance.TympR, r.Immittance.TympL, r.Immittance.ReflexR), std::tuple(2, 0, 2));
    EXPECT_EQ(std::vector<float>({r.Immittance.ETFRelL, r.Immittance.ETFVolL, r.Immittance.ETFRelR,
                                  r.Immittance.ETFVolR, r.Immittance.PeakPressL, r.Immittance.PeakYR}),
              std::vector<float>({-999.0f, -1.0f, -150.0f, 1.25f, -100.0f, 0.75f}));

    // Normal wins over Mixed, Sensorineural comes before Undetermined.
    const CAudFindings& f = r.Findings;
    EXPECT_EQ(std::vector<int>({f.ImpressR, f.ImpressL, f.ImpressSF, f.TinnitusR, f.HearingAidsL, f.HearingAidsR,
                                f.Dizziness, f.OM, f.HxHearingLoss}),
              std::vector<int>({0, 2, 1, 1, 1, 0, 1, 1, 0}));

    // Levels lose their marker bit (0x1032 is 50, 0x100 alone nothing); material code 18
    // is outside the table; levels 3-5 are not the clinic's.
    const CAudSpeech& s = r.Speech;
    EXPECT_EQ(std::vector<int>({s.Lev1R, s.Lev2R, s.Lev1L, s.Lev2L, s.SRTR, s.SATL, s.PC2R, s.SRTSF, s.Lev3R}),
              std::vector<int>({50, 0, 0, 40, 15, 20, 88, 35, -1}));
    EXPECT_EQ(QStringList({s.MatR, s.MatL}), QStringList({"", "NU-6"}));

    // Ordered by the clinic's symbol code, then frequency: symbol, type, xy, mask.
    std::vector<std::tuple<int, int, int, int>> points;
    for (const CAudPoint& p : r.Points) {
        EXPECT_EQ(p.xy, p.x * 100 + p.y);
        EXPECT_EQ(p.recent, 1);
        points.emplace_back(p.symbol, p.type, p.xy, p.mask);
    }
    EXPECT_EQ(points, (std::vector<std::tuple<int, int, int, int>>{
                          {1, 1, 514, 0}, {11, 3, 410, 0}, {138, 3, 612, 3}, {0, 3, 205, 0}}));
}

TEST_F(AmReads, EveryClinicSymbolHasItsRecordSymbol)
{
    // Clinic code -> record symbol, type, in the clinic's order; no-response codes keep
    // their mark, codes outside the table are no symbol.
    const int table[][3] = {{0, 0, 3},     {1, 1, 1},     {2, 3, 0},     {3, 2, 1},     {4, 4, 0},
                            {5, 5, 4},     {6, 7, 2},     {7, 6, 5},     {8, 11, 3},    {9, 10, 3},
                            {10, 8, 3},    {11, 9, 3},    {12, 12, 3},   {13, 0, 3},    {128, 0, 3},
                            {129, 129, 1}, {130, 131, 0}, {131, 130, 1}, {132, 132, 0}, {133, 133, 4},
                            {134, 135, 2}, {135, 134, 5}, {136, 11, 3},  {137, 138, 3}, {138, 0, 3}};
    std::string sql = "insert into info (PatientIndex, PatientNum) values (3, 1);";
    for (size_t i = 0; i < std::size(table); ++i) // each at a level of its own
        sql += "insert into newpoints values (3, 4, " + std::to_string(i) + ", " + std::to_string(table[i][0]) + ", 0);";
    registry.ExecRaw("Aud", sql);
    CAudRecord r;
    ASSERT_NE(doc->ReadAmPoints(3, r), 0);
    ASSERT_EQ(r.Points.size(), std::size(table));
    for (size_t i = 0; i < std::size(table); ++i)
        EXPECT_EQ(std::pair(r.Points[i].symbol, r.Points[i].type), std::pair(table[i][1], table[i][2]))
            << "clinic code " << table[i][0];
}

TEST_F(AmReads, AReadWithoutARowChangesNothingAndAFailedOneSaysSo)
{
    registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date) values (9, 5, '2024-01-01 00:00:00.000');");
    CAudRecord r;
    r.ResetAudRecord(true);
    r.Info.TestDate = "01/02/2003";
    r.Immittance.TympL = 4;
    r.Findings.ImpressL = 3;
    r.Speech.MatR = "WIPI";
    // Index 9 has no Other, Immit, Impress, Speech or newpoints rows; 10 does not exist.
    for (int index : {9, 10})
        EXPECT_TRUE(ReadAll(index, r)) << index;
    EXPECT_FALSE(r.Info.Imported);
    EXPECT_EQ(r.Info.TestDate, "01/02/2003");
    EXPECT_EQ(std::tuple(r.Immittance.TympL, r.Findings.ImpressL), std::tuple(4, 3));
    EXPECT_EQ(r.Speech.MatR, "WIPI");
    EXPECT_TRUE(r.Points.empty());
    EXPECT_TRUE(TakeErrors().empty());

    registry.ExecRaw("Aud", "drop table Speech;");
    EXPECT_EQ(doc->ReadAmSpeech(9, r), 0);
    EXPECT_FALSE(TakeErrors().empty()); // the session reported the failure
}
