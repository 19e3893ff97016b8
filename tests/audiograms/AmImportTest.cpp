// Reading and importing clinic tests from the Audiogram Manager stand-in: the clinic's
// codes as the record's, the composite of a patient's recent tests, the check for a newer
// test and the statement that searches for a subject being entered. (A test without its
// information row is not imported: Tools > Update's test.)

#include "AudiogramFixture.h"
#include "audiograms/store/AmSearch.h"

using quorin::test::AudiogramTest;
using quorin::test::ClinicPoint;
using quorin::test::Point;
using quorin::test::Symbol;

namespace {

class AmImport : public AudiogramTest {
protected:
    void SetUp() override
    {
        AudiogramTest::SetUp();
        ASSERT_TRUE(doc->ConnectAud());
    }

    int AudRows() const { return Count("Aud", QStringLiteral("select count(*) as num from info")); }

    // Every part of clinic test index into r; false when a read failed.
    bool ReadAll(int index, CAudRecord& r)
    {
        return doc->ReadAmTestInfo(index, r) && doc->ReadAmImmittance(index, r) && doc->ReadAmFindings(index, r)
               && doc->ReadAmSpeech(index, r) && doc->ReadAmPoints(index, r);
    }
};
using AmReads = AmImport;

} // namespace

// Each case is one patient's clinic tests (day, symbols in the clinic's codes: 1 right
// AC circle, 2 left AC X, 9 warble, 10 and 11 the no-response arrows) over the symbols
// the record held; the import shows the newest test's data and symbols in colour and,
// of the composite's older tests, the symbols of other kinds in grey.
TEST_F(AmImport, TheCompositeOfAPatientsRecentTests)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::vector<ClinicPoint>>> tests;
        std::vector<Symbol> expected;
        size_t newest; // the test whose data are shown
        bool composite = true;
        std::vector<CAudPoint> before = {};
        const char* birth = "1987-04-09";
    };
    std::vector<Case> cases = {
        {"older kinds stay grey, the newest circle replaces the older ones, an old warble goes",
         {{"2022-01-10", {{4, 5, 1}, {6, 8, 2}, {7, 9, 9}}}, {"2023-02-10", {{4, 7, 1}}}, {"2024-03-05", {{4, 9, 1}, {4, 10, 2}}}},
         {{4, 9, 1, 1}, {4, 10, 3, 1}, {6, 8, 3, 0}}, 2},
        {"a same-day pair is one test, the later index the newest",
         {{"2024-03-05", {{2, 5, 1}, {4, 6, 1}}}, {"2024-03-05", {{4, 8, 1}}}}, {{2, 5, 1, 0}, {4, 8, 1, 1}}, 1},
        {"two no-response arrows of one test at one frequency both stay",
         {{"2023-02-10", {{8, 20, 10}}}, {"2024-03-05", {{8, 21, 10}, {8, 21, 11}}}}, {{8, 21, 8, 1}, {8, 21, 9, 1}}, 1},
        {"one test over the record's symbols keeps them grey, the sound-field one goes, its kind replaced",
         {{"2024-03-05 14:30:00.000", {{4, 9, 1}, {3, 9, 2}}}}, {{2, 4, 1, 0}, {3, 9, 3, 1}, {4, 9, 1, 1}}, 0, false,
         {Point(204, 1, 1), Point(404, 1, 1), Point(506, 10, 1)}},
    };
    // Tests three, five and six years before the newest each leave a left X at a
    // frequency of their own: a child's composite reaches two years back, an adult's five.
    const std::vector<std::pair<std::string, std::vector<ClinicPoint>>> years = {
        {"2018-06-01", {{5, 3, 2}}}, {"2019-06-01", {{3, 3, 2}}}, {"2021-06-01", {{2, 3, 2}}},
        {"2022-06-01", {{1, 3, 2}}}, {"2024-06-01", {{4, 9, 1}}}};
    cases.push_back({"ten years old", years, {{1, 3, 3, 0}, {4, 9, 1, 1}}, 4, true, {}, "2016-01-01"});
    cases.push_back({"no birth date, age 0", years, {{1, 3, 3, 0}, {4, 9, 1, 1}}, 4, true, {}, nullptr});
    cases.push_back({"eleven years old", years, {{1, 3, 3, 0}, {2, 3, 3, 0}, {3, 3, 3, 0}, {4, 9, 1, 1}}, 4, true, {},
                     "2015-01-01"});
    // Twelve tests of one year: the two oldest (circles at 8000 Hz) are left out.
    Case twelve{"at most ten tests", {}, {{1, 12, 3, 1}, {9, 2, 1, 1}}, 11};
    for (int i = 1; i <= 12; ++i)
        twelve.tests.push_back({QStringLiteral("2024-01-%1").arg(i, 2, 10, QLatin1Char('0')).toStdString(),
                                {{1, i, 2}, {i <= 2 ? 10 : 9, 2, 1}}});
    cases.push_back(twelve);

    int index = 0;
    for (size_t k = 0; k < cases.size(); ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(c.what);
        const int unit = 100 + int(k);
        const int newest = index + 1 + int(c.newest);
        for (const auto& [when, points] : c.tests)
            AddClinicTest(++index, unit, when, "test", points, c.birth ? c.birth : "1987-04-09");
        if (!c.birth)
            registry.ExecRaw("Aud", "update info set Birthdate = null where PatientNum = " + std::to_string(unit));
        doc->m_audCurrent.ResetAudRecord(true);
        doc->m_audCurrent.TestId = 42;
        doc->m_audCurrent.Points = c.before;
        doc->m_subject.AudiogramClean = 1;
        doc->m_subject.Unit = QString::number(unit);
        ASSERT_EQ(doc->ImportNewestAmAudiogram(), 1);
        const CAudRecord& r = doc->m_audCurrent;
        EXPECT_EQ(Symbols(), c.expected);
        EXPECT_EQ(std::tuple(r.Info.Composite, r.Info.Comments, r.Speech.SRTR),
                  std::tuple(c.composite, QStringLiteral("test %1").arg(newest), newest * 5));
        const std::string& day = c.tests[c.newest].first;
        EXPECT_EQ(r.Info.TestDate.toStdString(), day.substr(5, 2) + "/" + day.substr(8, 2) + "/" + day.substr(0, 4));
        EXPECT_EQ(std::tuple(r.Info.Imported, r.TestId, r.Dirty, doc->m_subject.AudiogramClean),
                  std::tuple(true, -1, 1, 0));
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(AmImport, OnlyALaterDayIsANewerTestAndNothingTypedReachesTheQuery)
{
    AddClinicTest(1, 123, "2024-03-05 14:30:00.000", "clinic", {{4, 9, 1}});
    const int rows = AudRows();
    const std::tuple<const char*, const char*, int> cases[] = {
        {"123", "03/04/2024", 1},
        {"123", "3/5/2024", 0}, // the same day, whatever the clinic's time
        {"123", "", 1}, // no test yet: the server's 01/01/1900
        {"0", "03/04/2024", 0},
        {"1;DROP TABLE info", "03/04/2024", 0},
        {"123", "2/30/2005", 0}, // no day: nothing is newer than what cannot be read
        {"123", "03/04/2024' OR ''='", 0},
    };
    for (const auto& [unit, date, newer] : cases)
        EXPECT_EQ(doc->HasNewerAmAudiogram(QString::fromUtf8(unit), QString::fromUtf8(date)), newer) << unit << " " << date;
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(AudRows(), rows);
}

TEST_F(AmImport, TheSearchStatementTakesWhatWasTypedOnlyAsData)
{
    AddClinicTest(1, 123, "2024-03-05 09:00:00.000", "clinic", {}, "2003-01-02");
    AddClinicTest(2, 124, "2024-03-05 09:00:00.000", "clinic", {}, "2005-02-28");
    registry.ExecRaw("Aud", "update info set LastName = 'Brien', FirstName = 'Kate' where PatientIndex = 2;");
    const int rows = AudRows();
    struct Case {
        const char* unit;
        const char* last;
        const char* birth;
        std::vector<int> units;
    };
    const Case cases[] = {
        {" 123 ", "nobody", "", {123}}, // a unit wins over the names
        {"0", "o'brien", "1-2-2003", {123}},
        {"1;DROP TABLE info", "", "", {124, 123}}, // Brien before O'Brien
        {"", "O'Brien", "2/30/2005", {123}},        // no day: by the names
        {"", "O'Brien", "02/28/2005", {}},
        {"", "%", "", {}}, // a wildcard typed is a character
        {"", "O'Brien' OR ''='", "", {}},
    };
    MyADO& aud = doc->m_dbAud;
    for (const Case& c : cases) {
        const QString sql = quorin::am::SearchQuery(QString::fromUtf8(c.unit), QString::fromUtf8(c.last),
                                                    QStringLiteral("K"), QString::fromUtf8(c.birth));
        ASSERT_NE(aud.RunTextQuery(sql.toStdString().c_str()), 0) << sql.toStdString();
        std::vector<int> found;
        for (; !aud.IsEOF(); aud.MoveNext())
            found.push_back(aud.GetIntField("Unit"));
        EXPECT_EQ(found, c.units) << sql.toStdString();
    }
    EXPECT_EQ(AudRows(), rows);
}

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

    EXPECT_TRUE(r.Info.Imported);
    EXPECT_EQ(QStringList({r.Info.TestDate, r.Info.TestedBy, r.Info.Comments, r.Info.Recommend}),
              QStringList({"03/05/2024", "Dr. O'Hara", "calm child", "retest in 6 months"}));
    EXPECT_EQ(std::pair(r.Info.Method, r.Info.Reliability), std::pair(0, 2)); // method "VRA"

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

TEST_F(AmReads, AReadWithoutARowChangesNothingAndAFailedOneSaysSo)
{
    registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date) values (9, 5, '2024-01-01 00:00:00.000');");
    CAudRecord r;
    r.ResetAudRecord(true);
    r.Info.TestDate = "01/02/2003";
    r.Speech.MatR = "WIPI";
    // Index 9 has no Other, Immit, Impress, Speech or newpoints rows; 10 does not exist.
    for (int index : {9, 10})
        EXPECT_TRUE(ReadAll(index, r)) << index;
    EXPECT_EQ(std::tuple(r.Info.Imported, r.Info.TestDate, r.Speech.MatR, r.Points.size()),
              std::tuple(false, QStringLiteral("01/02/2003"), QStringLiteral("WIPI"), size_t(0)));

    registry.ExecRaw("Aud", "drop table Speech;");
    EXPECT_EQ(doc->ReadAmSpeech(9, r), 0);
    EXPECT_FALSE(TakeErrors().empty()); // the session reported the failure
}
