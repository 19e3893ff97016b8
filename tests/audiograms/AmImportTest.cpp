// Importing clinic tests from the Audiogram Manager stand-in: the composite of a
// patient's recent tests, the check for a newer test, the whole-or-nothing import and
// the statement that searches for a subject being entered.

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

    int ImportFor(const QString& unit)
    {
        doc->m_subject.Unit = unit;
        return doc->ImportNewestAmAudiogram();
    }

    int AudRows() const { return Count("Aud", QStringLiteral("select count(*) as num from info")); }
};

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
        const char* birth = "1987-04-09"; // "" for none, which counts as age 0
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
    cases.push_back({"eleven years old", years, {{1, 3, 3, 0}, {2, 3, 3, 0}, {3, 3, 3, 0}, {4, 9, 1, 1}}, 4, true, {},
                     "2015-01-01"});
    cases.push_back({"no birth date", years, {{1, 3, 3, 0}, {4, 9, 1, 1}}, 4, true, {}, ""});
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
            AddClinicTest(++index, unit, when, "test", points, *c.birth ? c.birth : "1987-04-09");
        if (!*c.birth)
            registry.ExecRaw("Aud", "update info set Birthdate = null where PatientNum = " + std::to_string(unit));
        doc->m_audCurrent.ResetAudRecord(true);
        doc->m_audCurrent.TestId = 42;
        doc->m_audCurrent.Points = c.before;
        doc->m_subject.AudiogramClean = 1;
        ASSERT_EQ(ImportFor(QString::number(unit)), 1);
        const CAudRecord& r = doc->m_audCurrent;
        EXPECT_EQ(Symbols(), c.expected);
        EXPECT_EQ(r.Info.Composite, c.composite);
        EXPECT_EQ(r.Info.Comments, QStringLiteral("test %1").arg(newest));
        EXPECT_EQ(r.Speech.SRTR, newest * 5);
        const std::string& day = c.tests[c.newest].first;
        EXPECT_EQ(r.Info.TestDate.toStdString(), day.substr(5, 2) + "/" + day.substr(8, 2) + "/" + day.substr(0, 4));
        EXPECT_TRUE(r.Info.Imported);
        EXPECT_EQ(std::tuple(r.TestId, r.Dirty, doc->m_subject.AudiogramClean), std::tuple(-1, 1, 0));
    }
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(AmImport, OnlyALaterDayIsANewerTestAndNothingTypedReachesTheQuery)
{
    AddClinicTest(1, 123, "2024-03-05 14:30:00.000", "clinic", {{4, 9, 1}});
    const int rows = AudRows();
    const std::tuple<const char*, const char*, int> cases[] = {
        {"123", "03/04/2024", 1},
        {"123", "3/5/2024", 0}, // the same day, whatever the clinic's time
        {"123", "03/05/2024", 0},
        {"123", "", 1},         // no test yet: the server's 01/01/1900
        {"123", "1/1/1900", 1}, // Tools > Update's date for a subject without a test
        {" 123 ", "03/04/2024", 1},
        {"0", "03/04/2024", 0},
        {"", "03/04/2024", 0},
        {"12a", "03/04/2024", 0},
        {"1;DROP TABLE info", "03/04/2024", 0},
        {"123", "2/30/2005", 0}, // no day: nothing is newer than what cannot be read
        {"123", "03/04/2024' OR ''='", 0},
        {"123", "1-2-2003", 1},
    };
    for (const auto& [unit, date, newer] : cases)
        EXPECT_EQ(doc->HasNewerAmAudiogram(QString::fromUtf8(unit), QString::fromUtf8(date)), newer) << unit << " " << date;
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(AudRows(), rows);
}

TEST_F(AmImport, AnAfternoonClinicTestImportedAndSavedIsNotOfferedAgain)
{
    const int id = StoreSubject("Lee", "4711");
    AddClinicTest(1, 4711, "2024-03-05 14:30:00.000", "afternoon", {{4, 9, 1}});

    ASSERT_EQ(doc->LoadSubjectById(id), 1);
    ASSERT_EQ(doc->HasNewerAmAudiogram(doc->m_subject.Unit, doc->m_audCurrent.Info.TestDate), 1);
    ASSERT_EQ(doc->ImportNewestAmAudiogram(), 1);
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(id)), 1);

    ASSERT_EQ(doc->LoadSubjectById(id), 1);
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, "03/05/2024");
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
    EXPECT_EQ(Symbols(), (std::vector<Symbol>{{4, 9, 1, 1}}));
    EXPECT_EQ(doc->HasNewerAmAudiogram(doc->m_subject.Unit, doc->m_audCurrent.Info.TestDate), 0);

    // A test of the next morning is newer.
    AddClinicTest(2, 4711, "2024-03-06 08:00:00.000", "next day", {{4, 9, 1}});
    EXPECT_EQ(doc->HasNewerAmAudiogram(doc->m_subject.Unit, doc->m_audCurrent.Info.TestDate), 1);
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(AmImport, ATestWithoutItsInformationRowIsNotImportedAndNothingChanges)
{
    // Nothing to import for a unit without a clinic test, or no number.
    for (const char* unit : {"4711", "12a", "0"})
        EXPECT_EQ(ImportFor(QString::fromLatin1(unit)), 0) << unit;
    AddClinicTest(1, 4711, "2023-03-05 09:00:00.000", "complete", {{4, 5, 1}});
    AddClinicTest(2, 4711, "2024-03-05 09:00:00.000", "no Other row", {{4, 9, 1}}, "1987-04-09", false);
    doc->m_subject.Unit = QStringLiteral("4711");
    doc->m_audCurrent.Info.TestedBy = QStringLiteral("typed");
    doc->m_audCurrent.TestId = 9;
    doc->m_bAudDataFilled = 1;
    doc->m_bAudOtherFilled = 1;

    EXPECT_EQ(doc->ImportNewestAmAudiogram(), 0);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "typed");
    EXPECT_EQ(doc->m_audCurrent.TestId, 9);
    EXPECT_FALSE(doc->m_audCurrent.Info.Imported);
    EXPECT_TRUE(doc->m_audCurrent.Points.empty());
    EXPECT_EQ(doc->m_subject.AudiogramClean, 1);
    EXPECT_EQ(doc->m_bAudDataFilled + doc->m_bAudOtherFilled, 2);
    EXPECT_TRUE(ui.Messages().empty());

    // Whole, the import clears both filled flags.
    registry.ExecRaw("Aud", "insert into Other (PatientIndex, Method) values (2, 2)");
    EXPECT_EQ(doc->ImportNewestAmAudiogram(), 1);
    EXPECT_EQ(doc->m_bAudDataFilled + doc->m_bAudOtherFilled, 0);
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
        {"123", "", "", {123}},
        {" 123 ", "nobody", "", {123}},
        {"0", "O'Brien", "1-2-2003", {123}},
        {"", "o'brien", "01/02/2003", {123}},
        {"12a", "O'Brien", "", {123}},
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
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(AudRows(), rows);
}
