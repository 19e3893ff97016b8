// Importing clinic tests from the Audiogram Manager stand-in: the composite of a
// patient's recent tests, the check for a newer test, the whole-or-nothing import and
// the search for a subject being entered, all through the scripted user interface.

#include "app/DocumentFixture.h"
#include "audiograms/store/AmSearch.h"
#include "audiograms/store/ChartFirstDraw.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::UserInterface;

namespace {

// One symbol as the chart sees it: frequency, level, record symbol, recent.
using Symbol = std::tuple<int, int, int, int>;

class AmImport : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        ASSERT_TRUE(doc->ConnectAud());
    }

    // A clinic test (ISO date and time) with its information rows and the given
    // newpoints rows "(x, y, symbol)" in the clinic's codes.
    void AddClinicTest(int index, int unit, const std::string& when, const std::string& testedBy,
                       const std::vector<std::tuple<int, int, int>>& points, const std::string& birth = "1990-05-20",
                       bool withOther = true)
    {
        const std::string i = std::to_string(index);
        std::string sql = "insert into info (PatientIndex, PatientNum, Date, Birthdate, LastName, FirstName, Testedby) values ("
                          + i + ", " + std::to_string(unit) + ", '" + when + "', '" + birth
                          + " 00:00:00.000', 'O''Brien', 'Kate', '" + testedBy + "');";
        if (withOther)
            sql += "insert into Other (PatientIndex, Method, Reliability, Comment) values (" + i + ", 2, 1, 'test " + i + "');";
        sql += "insert into Immit (PatientIndex, TympNormR) values (" + i + ", 5);";
        sql += "insert into Impress (PatientIndex, normal_r) values (" + i + ", 1);";
        sql += "insert into Special (PatientIndex, dizziness) values (" + i + ", 1);";
        sql += "insert into Speech (Patientindex, srta) values (" + i + ", " + std::to_string(index * 5) + ");";
        for (const auto& [x, y, symbol] : points)
            sql += "insert into newpoints values (" + i + ", " + std::to_string(x) + ", " + std::to_string(y) + ", "
                   + std::to_string(symbol) + ", 0);";
        registry.ExecRaw("Aud", sql);
    }

    std::vector<Symbol> Symbols() const
    {
        std::vector<Symbol> s;
        for (const CAudPoint& p : doc->m_audCurrent.Points)
            s.emplace_back(p.x, p.y, p.symbol, p.recent);
        std::sort(s.begin(), s.end());
        return s;
    }

    int ImportFor(const QString& unit)
    {
        doc->m_subject.Unit = unit;
        return doc->ImportNewestAmAudiogram();
    }

    int AudRows() const { return Count("Aud", QStringLiteral("select count(*) as num from info")); }
};

} // namespace

// --- the composite ---

TEST_F(AmImport, ThreeTestsMakeACompositeWithTheNewestInColourAndOlderKindsGrey)
{
    // Clinic codes: 1 right AC circle (1), 2 left AC X (3), 9 warble (10).
    AddClinicTest(1, 4711, "2022-01-10 09:00:00.000", "first", {{4, 5, 1}, {6, 8, 2}, {7, 9, 9}});
    AddClinicTest(2, 4711, "2023-02-10 09:00:00.000", "second", {{4, 7, 1}});
    AddClinicTest(3, 4711, "2024-03-05 09:00:00.000", "third", {{4, 9, 1}, {4, 10, 2}});
    AddClinicTest(4, 815, "2025-01-01 09:00:00.000", "someone else", {{4, 1, 1}});

    ASSERT_EQ(ImportFor(QStringLiteral("4711")), 1);
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_TRUE(ui.Messages().empty());
    const CAudRecord& r = doc->m_audCurrent;
    EXPECT_TRUE(r.Info.Imported);
    EXPECT_TRUE(r.Info.Composite);
    EXPECT_EQ(r.Info.TestedBy, "third");
    EXPECT_EQ(r.Info.TestDate, "03/05/2024");
    EXPECT_EQ(r.Speech.SRTR, 15);
    EXPECT_EQ(r.TestId, -1);
    EXPECT_EQ(r.Dirty, 1);
    // The newest right circle at 1000 Hz replaced both older ones; the old left X at
    // 2000 Hz stays grey; the old warble tone is gone.
    EXPECT_EQ(Symbols(), (std::vector<Symbol>{{4, 9, 1, 1}, {4, 10, 3, 1}, {6, 8, 3, 0}}));
    EXPECT_EQ(doc->m_subject.AudiogramClean, 0);
}

TEST_F(AmImport, ASameDayPairIsReadAsOneTestTheLaterIndexBeingNewest)
{
    AddClinicTest(5, 4711, "2024-03-05 09:00:00.000", "morning", {{2, 5, 1}, {4, 6, 1}});
    AddClinicTest(6, 4711, "2024-03-05 09:00:00.000", "retest", {{4, 8, 1}});

    ASSERT_EQ(ImportFor(QStringLiteral("4711")), 1);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "retest");
    EXPECT_EQ(doc->m_audCurrent.Info.Comments, "test 6");
    EXPECT_EQ(doc->m_audCurrent.Speech.SRTR, 30);
    // The data and the coloured symbols come from the same test.
    EXPECT_EQ(Symbols(), (std::vector<Symbol>{{2, 5, 1, 0}, {4, 8, 1, 1}}));
}

TEST_F(AmImport, OneTestOverThePreviousTestsGreySymbolsKeepsThemGreyAndReplacesItsKind)
{
    CAudRecord& current = doc->m_audCurrent;
    current.Info.TestDate = QStringLiteral("01/10/2020");
    current.Info.TestedBy = QStringLiteral("registry");
    current.TestId = 42;
    for (auto [x, y, symbol] : {std::tuple{2, 4, 1}, std::tuple{4, 4, 1}, std::tuple{5, 6, 10}}) {
        CAudPoint p;
        p.x = x;
        p.y = y;
        p.xy = x * 100 + y;
        p.symbol = symbol;
        p.type = CAudPoint::TypeOfSymbol(symbol);
        p.recent = 1;
        current.Points.push_back(p);
    }
    AddClinicTest(7, 4711, "2024-03-05 14:30:00.000", "clinic", {{4, 9, 1}, {3, 9, 2}});

    ASSERT_EQ(ImportFor(QStringLiteral("4711")), 1);
    EXPECT_FALSE(current.Info.Composite);
    EXPECT_EQ(current.TestId, -1);
    EXPECT_EQ(current.Info.TestedBy, "clinic");
    // The previous test's symbols stay grey (the sound-field one goes); the clinic's
    // circle takes the place of the previous circle at 1000 Hz.
    EXPECT_EQ(Symbols(), (std::vector<Symbol>{{2, 4, 1, 0}, {3, 9, 3, 1}, {4, 9, 1, 1}}));
}

TEST_F(AmImport, TwoNoResponseArrowsOfOneTestAtOneFrequencyBothStay)
{
    // Clinic codes 10 and 11: the right and the left no-response arrow (record 8, 9).
    AddClinicTest(8, 4711, "2023-02-10 09:00:00.000", "older", {{8, 20, 10}});
    AddClinicTest(9, 4711, "2024-03-05 09:00:00.000", "newer", {{8, 21, 10}, {8, 21, 11}});

    ASSERT_EQ(ImportFor(QStringLiteral("4711")), 1);
    EXPECT_EQ(Symbols(), (std::vector<Symbol>{{8, 21, 8, 1}, {8, 21, 9, 1}}));
}

TEST_F(AmImport, AChildsCompositeReachesTwoYearsBackAnAdultsFive)
{
    // Today is 06/15/2026. Each patient: a test 3 years, one 5 and one 6 years before
    // the newest; each older test leaves a left X at its own frequency.
    struct Patient {
        int unit;
        const char* birth;
        std::vector<Symbol> expected;
    };
    const Patient patients[] = {
        // 10 years old: only the newest and the test two years before it.
        {100, "2016-01-01", {{1, 3, 3, 0}, {4, 9, 1, 1}}},
        // 11 years old: an adult's five years.
        {200, "2015-01-01", {{1, 3, 3, 0}, {2, 3, 3, 0}, {3, 3, 3, 0}, {4, 9, 1, 1}}},
        // No birth date counts as age 0.
        {300, "", {{1, 3, 3, 0}, {4, 9, 1, 1}}},
    };
    int index = 10;
    for (const Patient& p : patients) {
        const std::string birth = p.birth;
        const auto add = [&](const char* when, int x, int symbol) {
            AddClinicTest(index++, p.unit, when, "t", {{x, x == 4 ? 9 : 3, symbol}}, birth.empty() ? "" : birth);
        };
        add("2018-06-01 09:00:00.000", 5, 2); // six calendar years before the newest
        add("2019-06-01 09:00:00.000", 3, 2); // five
        add("2021-06-01 09:00:00.000", 2, 2); // three
        add("2022-06-01 09:00:00.000", 1, 2); // two
        add("2024-06-01 09:00:00.000", 4, 1);
        if (birth.empty())
            registry.ExecRaw("Aud", "update info set Birthdate = null where PatientNum = 300");
        doc->m_audCurrent.ResetAudRecord(true);
        ASSERT_EQ(ImportFor(QString::number(p.unit)), 1) << p.unit;
        EXPECT_EQ(Symbols(), p.expected) << p.unit;
        EXPECT_TRUE(doc->m_audCurrent.Info.Composite);
    }
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(AmImport, AtMostTenTestsMakeTheComposite)
{
    // Twelve tests in one year, each with a left X at a level of its own at 250 Hz.
    for (int i = 1; i <= 12; ++i) {
        const std::string when = "2024-01-" + std::string(i < 10 ? "0" : "") + std::to_string(i) + " 09:00:00.000";
        AddClinicTest(i, 4711, when, "t", {{1, i, 2}, {i <= 2 ? 10 : 9, 2, 1}});
    }
    ASSERT_EQ(ImportFor(QStringLiteral("4711")), 1);
    // The two oldest tests' circles (at 8000 Hz) are not part of it; of the others
    // only the newest X and the newest circle remain.
    const std::vector<Symbol> s = Symbols();
    EXPECT_EQ(s.size(), 2u);
    EXPECT_EQ(std::count_if(s.begin(), s.end(), [](const Symbol& p) { return std::get<0>(p) == 10; }), 0);
    EXPECT_EQ(std::count(s.begin(), s.end(), Symbol{9, 2, 1, 1}), 1);
    EXPECT_EQ(std::count(s.begin(), s.end(), Symbol{1, 12, 3, 1}), 1);
}

// --- the newer test ---

TEST_F(AmImport, OnlyALaterDayIsANewerTestAndNothingTypedReachesTheQuery)
{
    AddClinicTest(1, 123, "2024-03-05 14:30:00.000", "clinic", {{4, 9, 1}});
    const int rows = AudRows();
    struct Case {
        const char* unit;
        const char* date;
        int newer;
    };
    const Case cases[] = {
        {"123", "03/04/2024", 1},
        {"123", "3/5/2024", 0},        // the same day, whatever the clinic's time
        {"123", "03/05/2024", 0},
        {"123", "", 1},                // no test yet: the server's 01/01/1900
        {"123", "1/1/1900", 1},        // Tools > Update's date for a subject without a test
        {" 123 ", "03/04/2024", 1},
        {"0", "03/04/2024", 0},
        {"", "03/04/2024", 0},
        {"12a", "03/04/2024", 0},
        {"1;DROP TABLE info", "03/04/2024", 0},
        {"123", "2/30/2005", 0},       // no day: nothing is newer than what cannot be read
        {"123", "03/04/2024' OR ''='", 0},
        {"123", "1-2-2003", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc->HasNewerAmAudiogram(QString::fromUtf8(c.unit), QString::fromUtf8(c.date)), c.newer)
            << c.unit << " " << c.date;
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(AudRows(), rows);
}

TEST_F(AmImport, AnAfternoonClinicTestImportedAndSavedIsNotOfferedAgain)
{
    doc->m_subject = DistinctSubject();
    doc->m_subject.Unit = QStringLiteral("4711");
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
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

// --- the import is whole or does not happen ---

TEST_F(AmImport, ATestWithoutItsInformationRowIsNotImportedAndNothingChanges)
{
    AddClinicTest(1, 4711, "2023-03-05 09:00:00.000", "complete", {{4, 5, 1}});
    AddClinicTest(2, 4711, "2024-03-05 09:00:00.000", "no Other row", {{4, 9, 1}}, "1990-05-20", false);
    doc->m_subject.Unit = QStringLiteral("4711");
    doc->m_audCurrent.Info.TestedBy = QStringLiteral("typed");
    doc->m_audCurrent.Info.TestDate = QStringLiteral("01/02/2020");
    doc->m_audCurrent.TestId = 9;
    doc->m_bAudDataFilled = 1;
    doc->m_bAudOtherFilled = 1;

    EXPECT_EQ(doc->ImportNewestAmAudiogram(), 0);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "typed");
    EXPECT_EQ(doc->m_audCurrent.TestId, 9);
    EXPECT_FALSE(doc->m_audCurrent.Info.Imported);
    EXPECT_TRUE(doc->m_audCurrent.Points.empty());
    EXPECT_EQ(doc->m_subject.AudiogramClean, 1);
    EXPECT_EQ(doc->m_bAudDataFilled, 1);
    EXPECT_EQ(doc->m_bAudOtherFilled, 1);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(AmImport, NothingToImportReturnsZeroAndAnImportClearsBothFilledFlags)
{
    EXPECT_EQ(ImportFor(QStringLiteral("4711")), 0); // no clinic test
    EXPECT_EQ(ImportFor(QStringLiteral("12a")), 0);
    EXPECT_EQ(ImportFor(QStringLiteral("0")), 0);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 1);
    AddClinicTest(1, 4711, "2024-03-05 09:00:00.000", "clinic", {{4, 9, 1}});
    doc->m_bAudDataFilled = 1;
    doc->m_bAudOtherFilled = 1;
    EXPECT_EQ(ImportFor(QStringLiteral("4711")), 1);
    EXPECT_EQ(doc->m_bAudDataFilled, 0);
    EXPECT_EQ(doc->m_bAudOtherFilled, 0);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(TakeErrors().empty());
}

// --- the search for a subject being entered ---

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
        {"", "O'Brien", "2/30/2005", {123}}, // no day: by the names
        {"", "O'Brien", "02/28/2005", {}},
        {"", "%", "", {}},                 // a wildcard typed is a character
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

TEST_F(AmImport, ANewSubjectFoundInTheAudiogramManagerStartsWithItsNewestComposite)
{
    AddClinicTest(1, 4711, "2023-03-05 09:00:00.000", "older", {{6, 8, 2}});
    AddClinicTest(2, 4711, "2024-03-05 09:00:00.000", "newest", {{4, 9, 1}});
    // A subject typed in without a KV Number; the Data tab handed over a typed value.
    doc->m_subject.Unit = QStringLiteral("0");
    doc->m_subject.Lastname = QStringLiteral("O'Brien");
    doc->m_subject.Firstname = QStringLiteral("Kate");
    doc->m_audCurrent.Info.TestedBy = QStringLiteral("handed over");
    doc->m_audCurrent.LoadAttempted = 1;
    doc->m_bAudDataFilled = 1;

    ui.AnswerNext(UserInterface::Answer::Yes); // search the Audiogram Manager
    QString listed;
    ui.SetDialogRunner([&](UserInterface::Dialog dialog) {
        EXPECT_EQ(dialog, UserInterface::Dialog::AmSearch);
        const QString sql = quorin::am::SearchQuery(doc->m_subject.Unit, doc->m_subject.Lastname,
                                                    doc->m_subject.Firstname, doc->m_subject.Birth);
        MyADO look = Open("Aud");
        EXPECT_NE(look.RunTextQuery(sql.toStdString().c_str()), 0);
        if (!look.IsEOF())
            listed = QString::fromStdString(look.GetStringField("Last"));
        doc->m_subject.Unit = QStringLiteral("4711"); // the user picks the row
        return 1;
    });
    EXPECT_EQ(doc->OfferAmSearch(), 1);
    EXPECT_EQ(listed, "O'Brien");
    EXPECT_EQ(ui.Texts(), (QStringList{QStringLiteral("This is a new Subject.\rWould you like to search the "
                                                      "Audiogram\rManager Database for patient records?")}));
    EXPECT_EQ(doc->m_subject.Unit, "4711");
    EXPECT_EQ(doc->m_subject.Birth, "05/20/1990");
    EXPECT_EQ(doc->m_subject.Lastname, "O'Brien");
    const CAudRecord& r = doc->m_audCurrent;
    EXPECT_EQ(r.Info.TestedBy, "newest");
    EXPECT_TRUE(r.Info.Composite);
    EXPECT_EQ(r.Dirty, 1);
    EXPECT_EQ(r.Latest, 1);
    EXPECT_EQ(r.LoadAttempted, 1);
    EXPECT_EQ(Symbols(), (std::vector<Symbol>{{4, 9, 1, 1}, {6, 8, 3, 0}}));
    EXPECT_EQ(doc->m_bAudDataFilled, 0);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 0);
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(AmImport, TheSearchsOtherEndings)
{
    AddClinicTest(1, 4711, "2024-03-05 09:00:00.000", "clinic", {{4, 9, 1}});
    const auto fresh = [&](const char* unit) {
        doc->m_subject = CSubject{};
        doc->m_subject.Unit = QString::fromUtf8(unit);
        doc->m_subject.Lastname = QStringLiteral("Nobody");
        doc->m_subject.Firstname = QStringLiteral("Ann");
        doc->m_audCurrent.ResetAudRecord(true);
        ui.ClearMessages();
    };
    const QString notFound = QStringLiteral("Subject not found!");

    // No to the search question: nothing is opened.
    fresh("0");
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(doc->OfferAmSearch(), 0);
    EXPECT_TRUE(ui.DialogsRun().empty());

    // Cancel (also what a failed search query gives).
    fresh("0");
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.DialogResultNext(2);
    EXPECT_EQ(doc->OfferAmSearch(), 0);
    EXPECT_EQ(ui.Texts().size(), 1);

    // Nothing matched (the dialog closes at once with -1).
    fresh("0");
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.DialogResultNext(-1);
    EXPECT_EQ(doc->OfferAmSearch(), 0);
    EXPECT_EQ(ui.Texts().last(), notFound);
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);

    // A typed unit that is no number: said so, then searched by name, nothing found.
    fresh("12a");
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.DialogResultNext(-1);
    EXPECT_EQ(doc->OfferAmSearch(), 0);
    EXPECT_EQ(ui.Texts(), (QStringList{ui.Texts().first(), QStringLiteral("KV Number must be a whole number."),
                                       notFound}));

    // A typed unit the clinic does not know.
    fresh("999");
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.DialogResultNext(-1);
    EXPECT_EQ(doc->OfferAmSearch(), 0);
    EXPECT_EQ(ui.Texts().last(), notFound);
    EXPECT_FALSE(doc->m_audCurrent.Info.Imported);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 1);
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(AmImport, AStoredSubjectMatchingIsOpenedOnYesAndSearchedForOnNo)
{
    doc->m_subject = DistinctSubject(); // Lee, Morgan, 04/09/1987, 4711
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    const QString question = QStringLiteral("A Subject matching Lee, Morgan\rBirthdate: 04/09/1987  KVID#: 4711 "
                                            "already exists in the database.\rDo you want to modify this record?");
    const auto entered = [&] {
        doc->ClearDocument();
        doc->m_subject.Unit = QStringLiteral("0");
        doc->m_subject.Lastname = QStringLiteral("Lee");
        doc->m_subject.Firstname = QStringLiteral("Mo");
        doc->m_subject.Birth = QStringLiteral("4/9/1987");
        ui.ClearMessages();
    };

    entered();
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_EQ(doc->OfferAmSearch(), 1);
    EXPECT_EQ(ui.Texts(), QStringList{question});
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(doc->m_subject.Firstname, "Morgan");

    entered();
    ui.AnswerNext(UserInterface::Answer::No);
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(doc->OfferAmSearch(), 0);
    ASSERT_EQ(ui.Texts().size(), 2);
    EXPECT_EQ(ui.Texts()[0], question);
    EXPECT_TRUE(ui.Texts()[1].startsWith("This is a new Subject."));
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
    EXPECT_TRUE(TakeErrors().empty());
}

// --- the chart's offers ---

TEST_F(AmImport, TheChartOffersANewerTestOnceAndImportsItOnYes)
{
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    AddClinicTest(1, 4711, "2024-03-05 14:30:00.000", "clinic", {{4, 9, 1}});
    const QString offer = QStringLiteral("This Subject has a new audiogram\rin the Audiogram Manager "
                                         "Database.\r Would you like to import it?");

    // No: the registry's (empty) test stays; the chart says there is none.
    ASSERT_EQ(doc->LoadSubjectById(id), 1);
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(quorin::RunChartFirstDrawChecks(*doc), quorin::FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), (QStringList{offer, QStringLiteral("No Audiogram Found for this subject.")}));
    EXPECT_FALSE(doc->m_audCurrent.Info.Imported);
    // Asked once per subject: the next check only draws.
    EXPECT_EQ(quorin::RunChartFirstDrawChecks(*doc), quorin::FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts().size(), 2);

    // Yes: imported, and an import is no "No Audiogram Found".
    ASSERT_EQ(doc->LoadSubjectById(id), 1);
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_EQ(quorin::RunChartFirstDrawChecks(*doc), quorin::FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), QStringList{offer});
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "clinic");
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(AmImport, WhatTheSearchFilledReachesTheSubjectPageWithTheRefresh)
{
    AddClinicTest(1, 4711, "2024-03-05 09:00:00.000", "clinic", {{4, 9, 1}});
    doc->m_subject.Unit = QStringLiteral("0");
    doc->m_subject.Lastname = QStringLiteral("O'Brien");
    doc->m_subject.Firstname = QStringLiteral("Kate");
    doc->m_subject.Birth = QStringLiteral("5/20/1990");
    doc->m_subject.DateInitial = QStringLiteral("06/03/2019");
    doc->RefreshSubjectForm = 0;
    std::vector<std::pair<int, int>> seen; // hint, RefreshSubjectForm
    view.hints.clear();
    view.onUpdate = [&](int hint) { seen.emplace_back(hint, doc->RefreshSubjectForm); };
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.SetDialogRunner([&](UserInterface::Dialog) {
        doc->m_subject.Unit = QStringLiteral("4711");
        return 1;
    });
    EXPECT_EQ(quorin::RunChartFirstDrawChecks(*doc), quorin::FirstDrawResult::Done);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 0}, {0, 1}}));
    EXPECT_EQ(doc->RefreshSubjectForm, 0);
    EXPECT_EQ(doc->m_subject.Unit, "4711");
    EXPECT_EQ(doc->m_subject.Birth, "5/20/1990"); // as typed: only empty fields are filled
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
}
