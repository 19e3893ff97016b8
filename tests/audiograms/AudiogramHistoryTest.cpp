// The subject's history through the real procedures and the Audiogram Manager
// stand-in: what is read for which unit, the merge, and paging to the oldest test and
// home again without losing the test being entered.

#include "app/DocumentFixture.h"
#include "rules/KvNumber.h"

#include <string>

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::UserInterface;

namespace {

class AudiogramHistory : public DocumentTest {
protected:
    // A stored subject with the given unit and no test yet.
    int StoreSubject(const QString& unit)
    {
        doc->m_subject = DistinctSubject();
        doc->m_subject.Unit = unit;
        // A name of its own, so the save never asks about a possible duplicate.
        doc->m_subject.Lastname = QStringLiteral("Subject%1").arg(++m_stored);
        EXPECT_EQ(doc->SaveSubject(), 1);
        return doc->m_subject.SubjectID;
    }

    // A registry test (ISO date) with one symbol of its own and one carried over.
    void AddRegistryTest(int subjectId, const std::string& date, const std::string& testedBy)
    {
        const std::string id = std::to_string(subjectId);
        registry.ExecRaw("Quorin", "insert into aud (SubjectId, TestDate, TestedBy) values (" + id + ", '"
                                       + date + " 00:00:00.000', '" + testedBy + "');"
                                       "insert into audpoints (TestId, symbol, xy, recent, type) select max(TestId), 1, 514, 1, 1 "
                                       "from aud;insert into audpoints (TestId, symbol, xy, recent, type) "
                                       "select max(TestId), 3, 210, 0, 0 from aud;");
    }

    // A clinic test of patient unit; index is its patientindex.
    void AddClinicTest(int index, int unit, const std::string& date, const std::string& testedBy)
    {
        const std::string i = std::to_string(index);
        registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date, Testedby) values (" + i + ", "
                                    + std::to_string(unit) + ", '" + date + " 00:00:00.000', '" + testedBy
                                    + "');insert into Other (PatientIndex, Method) values (" + i
                                    + ", 2);insert into newpoints values (" + i + ", 4, 10, 3, 0);");
    }

    // Loads the subject again as a user would, so the current test is the stored one.
    void Load(int subjectId)
    {
        ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
        ui.ClearMessages();
        TakeErrors();
    }

    // The program started afresh: no session to the Audiogram Manager yet.
    void Restart()
    {
        doc->RemoveView(&view);
        doc = std::make_unique<CQuorinDoc>(ui);
        doc->m_strServer = QString::fromStdString(registry.Folder());
        doc->m_strUserName = QString::fromLatin1(quorin::test::kTestLogin);
        doc->m_strPassword = QString::fromLatin1(quorin::test::kTestPassword);
        ASSERT_TRUE(doc->OnNewDocument());
        doc->AddView(&view);
    }

    QString Shown() const { return doc->m_audCurrent.Info.TestedBy; }
    bool PrevEnabled() const { return doc->IsPagePrevEnabled(); }
    bool NextEnabled() const { return doc->IsPageNextEnabled(); }

private:
    int m_stored = 0;
};

} // namespace

TEST_F(AudiogramHistory, ClinicAndRegistryTestsMergeNewestFirstAndPageBothWays)
{
    const int id = StoreSubject("4711");
    AddRegistryTest(id, "2021-03-01", "reg 2021");
    AddRegistryTest(id, "2023-05-05", "reg 2023");
    AddRegistryTest(id, "2019-07-07", "reg 2019 a");
    AddRegistryTest(id, "2019-07-07", "reg 2019 b"); // two registry tests of one day both stay
    AddRegistryTest(id, "2026-06-01", "current");    // the newest stored test is the current one
    AddClinicTest(1, 4711, "2022-01-01", "clinic 2022");
    AddClinicTest(2, 4711, "2023-05-05", "clinic twin of reg 2023");
    AddClinicTest(3, 4711, "2026-06-01", "clinic twin of current");
    AddClinicTest(4, 4711, "2018-02-02", "clinic 2018");
    AddClinicTest(5, 999, "2024-04-04", "another patient");
    Load(id);
    ASSERT_EQ(Shown(), "current");
    EXPECT_TRUE(PrevEnabled());
    EXPECT_FALSE(NextEnabled());

    doc->OnPagePrev();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(doc->m_bHistoryLoaded, 1);
    ASSERT_EQ(doc->m_nHistoryCount, 6);
    EXPECT_EQ(ui.WaitCursorShown(), 1);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);

    // Newest first from position 6 down to 1, each shown with only its own symbols;
    // of one day, the later stored test comes first.
    const char* order[] = {"reg 2023", "clinic 2022", "reg 2021", "reg 2019 b", "reg 2019 a", "clinic 2018"};
    for (int pos = 6; pos >= 1; --pos) {
        if (pos != 6)
            doc->OnPagePrev();
        SCOPED_TRACE(pos);
        EXPECT_EQ(doc->m_nHistoryPos, pos);
        EXPECT_EQ(doc->m_nPageDir, 1);
        EXPECT_EQ(doc->m_audCurrent.Latest, 0);
        EXPECT_EQ(Shown(), order[6 - pos]);
        EXPECT_EQ(PrevEnabled(), pos != 1);
        EXPECT_TRUE(NextEnabled());
        EXPECT_EQ(view.hints.back(), CDocumentView::HintShowAudiogram);
    }
    EXPECT_EQ(doc->m_audCurrent.Points.size(), 1u);
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported); // shows "IMPORTED RECORD"
    EXPECT_EQ(doc->m_audCurrent.Info.Method, 0);

    // Page Prev at the oldest test does nothing more.
    const size_t hints = view.hints.size();
    doc->OnPagePrev();
    EXPECT_EQ(doc->m_nHistoryPos, 1);
    EXPECT_EQ(view.hints.back(), CDocumentView::HintHandOver);
    EXPECT_EQ(view.hints.size(), hints + 1);

    for (int pos = 2; pos <= 7; ++pos) {
        doc->OnPageNext();
        EXPECT_EQ(doc->m_nHistoryPos, pos);
        EXPECT_EQ(doc->m_nPageDir, 2);
        EXPECT_TRUE(PrevEnabled());
        EXPECT_EQ(NextEnabled(), pos != 7);
        if (pos < 7) {
            EXPECT_EQ(Shown(), order[6 - pos]);
        }
    }
    EXPECT_EQ(Shown(), "current");
    EXPECT_EQ(doc->m_audCurrent.Latest, 1);
    EXPECT_EQ(doc->m_audCurrent.TestId, doc->m_audLatest.TestId);
    doc->OnPageNext(); // already at the current test
    EXPECT_EQ(doc->m_nHistoryPos, 7);

    doc->OnPageHome();
    EXPECT_EQ(doc->m_nPageDir, 0);
    EXPECT_EQ(doc->m_nHistoryPos, 7);
    EXPECT_FALSE(NextEnabled());
    // The history is built once: paging again reads nothing.
    doc->OnPagePrev();
    EXPECT_EQ(ui.WaitCursorShown(), 1);
    EXPECT_EQ(Shown(), "reg 2023");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(AudiogramHistory, AtMostFiftyTestsOfEachDatabase)
{
    const int id = StoreSubject("321");
    // 55 of each, registry tests on the 1st of a month, clinic tests on the 15th.
    std::string reg = "with recursive n(i) as (select 1 union all select i + 1 from n where i < 55) "
                      "insert into aud (SubjectId, TestDate, TestedBy) select " + std::to_string(id)
                      + ", date('2000-01-01', '+' || i || ' months') || ' 00:00:00.000', 'reg ' || i from n;";
    registry.ExecRaw("Quorin", reg);
    AddRegistryTest(id, "2026-06-01", "current");
    registry.ExecRaw("Aud", "with recursive n(i) as (select 1 union all select i + 1 from n where i < 55) "
                            "insert into info (PatientIndex, PatientNum, Date, Testedby) select i, 321, "
                            "date('2000-01-15', '+' || i || ' months') || ' 00:00:00.000', 'clinic ' || i from n;"
                            "insert into Other (PatientIndex) select PatientIndex from info;");
    Load(id);
    doc->OnPagePrev();
    ASSERT_EQ(doc->m_nHistoryCount, 100);
    EXPECT_EQ(Shown(), "clinic 55");
    // The newest 50 of each: the oldest kept are number 6 of each.
    while (doc->m_nHistoryPos > 1)
        doc->OnPagePrev();
    EXPECT_EQ(Shown(), "reg 6");
    doc->OnPageNext();
    EXPECT_EQ(Shown(), "clinic 6");
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(AudiogramHistory, NoUnitAsksNothingOfTheClinicAndPagesTheRegistrysTests)
{
    for (const char* unit : {"", "0", " 0 "}) {
        SCOPED_TRACE(unit);
        const int id = StoreSubject("");
        AddRegistryTest(id, "2020-02-02", "reg old");
        AddRegistryTest(id, "2026-06-01", "current");
        AddClinicTest(id * 10, 0, "2021-01-01", "clinic patient 0");
        Load(id);
        doc->m_subject.Unit = unit; // as the Subject tab hands it over
        // Were the clinic asked, the wrong password would show its box.
        doc->m_strPassword = "not-the-password";
        doc->OnPagePrev();
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_FALSE(doc->m_dbAud.IsConnected());
        EXPECT_EQ(doc->m_nHistoryCount, 1);
        EXPECT_EQ(Shown(), "reg old");
        EXPECT_TRUE(TakeErrors().empty());
        doc->m_strPassword = QString::fromLatin1(quorin::test::kTestPassword);
        doc->ClearDocument();
    }
}

TEST_F(AudiogramHistory, AUnitThatIsNoWholeNumberIsNeverSent)
{
    int clinicRows = 0;
    for (const char* unit : {"12a", "1;DROP TABLE info"}) {
        SCOPED_TRACE(unit);
        const int id = StoreSubject("0");
        AddRegistryTest(id, "2020-02-02", "reg old");
        AddRegistryTest(id, "2026-06-01", "current");
        AddClinicTest(id * 10, 12, "2021-01-01", "clinic 12");
        AddClinicTest(id * 10 + 1, 1, "2021-01-01", "clinic 1");
        clinicRows += 2;
        Load(id);
        doc->m_subject.Unit = unit; // as typed on the Subject tab
        doc->OnPagePrev();
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, quorin::sql::KvNumberMessage());
        EXPECT_EQ(ui.Messages()[0].text, "KV Number must be a whole number.");
        EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
        EXPECT_TRUE(TakeErrors().empty()); // no provider box
        EXPECT_EQ(Count("Aud", "select count(*) as num from info"), clinicRows);
        EXPECT_EQ(doc->m_nHistoryCount, 1);
        EXPECT_EQ(Shown(), "reg old");
        ui.ClearMessages();
        doc->ClearDocument();
    }
}

TEST_F(AudiogramHistory, AnUnreachableClinicDatabaseShowsOneBoxAndIsNotAskedAgain)
{
    const int id = StoreSubject("4711");
    AddRegistryTest(id, "2020-02-02", "reg old");
    AddRegistryTest(id, "2026-06-01", "current");
    AddClinicTest(1, 4711, "2021-01-01", "clinic");
    Restart();
    Load(id);
    ASSERT_FALSE(doc->m_dbAud.IsConnected());
    doc->m_strPassword = "not-the-password";
    doc->OnPagePrev();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Unable to connect to Database Aud!");
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_bHistoryLoaded, 1);
    EXPECT_EQ(doc->m_nHistoryCount, 0); // the registry's tests are not read either
    EXPECT_EQ(ui.WaitCursorShown(), 0);
    EXPECT_EQ(Shown(), "current");
    EXPECT_FALSE(PrevEnabled()); // "Audiogram 1 of 1"
    doc->OnPagePrev();
    doc->OnPageNext();
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(Shown(), "current");
}

TEST_F(AudiogramHistory, EditsOfANewTestSurvivePagingAndHome)
{
    const int id = StoreSubject("4711");
    AddRegistryTest(id, "2020-02-02", "reg old");
    AddRegistryTest(id, "2026-06-01", "current");
    Load(id);
    doc->m_audCurrent.StartNewAudiogram();
    doc->m_audCurrent.Info.TestedBy = "typed before";
    // The Data form holds one more edit that it hands over at hint 1.
    QString pending = "typed in the form";
    view.onUpdate = [&](int hint) {
        if (hint == CDocumentView::HintHandOver && !pending.isEmpty()) {
            doc->m_audCurrent.Info.Comments = pending;
            pending.clear();
        }
    };
    doc->OnPagePrev();
    EXPECT_EQ(Shown(), "reg old");
    doc->OnPageHome();
    EXPECT_EQ(doc->m_nPageDir, 0);
    EXPECT_EQ(Shown(), "typed before");
    EXPECT_EQ(doc->m_audCurrent.Info.Comments, "typed in the form");
    EXPECT_EQ(doc->m_audCurrent.TestId, -1);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);

    // Edits after Home are kept by the next Page Prev as well.
    doc->m_audCurrent.Info.Recommend = "typed after Home";
    pending = "second form edit";
    doc->OnPagePrev();
    doc->OnPageNext();
    EXPECT_EQ(doc->m_audCurrent.Info.Recommend, "typed after Home");
    EXPECT_EQ(doc->m_audCurrent.Info.Comments, "second form edit");
    doc->OnPageHome();
    EXPECT_EQ(doc->m_audCurrent.Info.Recommend, "typed after Home");
    EXPECT_EQ(doc->m_audCurrent.Info.Comments, "second form edit");
}

TEST_F(AudiogramHistory, ANewTestSavedWhilePagingIsStoredOnce)
{
    const int id = StoreSubject("4711");
    AddRegistryTest(id, "2020-02-02", "reg old");
    AddRegistryTest(id, "2026-06-01", "current");
    Load(id);
    const int stored = Count("Quorin", "select count(*) as num from aud");
    doc->m_audCurrent.StartNewAudiogram();
    doc->m_audCurrent.Info.TestDate = "06/15/2026";
    doc->m_audCurrent.Info.TestedBy = "new test";
    doc->m_subject.AudiogramClean = 0;

    doc->OnPagePrev();
    ASSERT_EQ(Shown(), "reg old");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud"), stored + 1);
    // Chart and counter still agree: the history test stays on screen.
    EXPECT_EQ(Shown(), "reg old");
    EXPECT_EQ(doc->m_nHistoryPos, 1);
    EXPECT_EQ(doc->m_audCurrent.Latest, 0);
    EXPECT_EQ(view.hints.back(), CDocumentView::HintShowAudiogram);
    EXPECT_GT(doc->m_audLatest.TestId, 0);
    EXPECT_EQ(doc->m_audLatest.Dirty, 0);

    doc->OnPageHome();
    EXPECT_EQ(Shown(), "new test");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud"), stored + 1);
    EXPECT_EQ(Scalar("Quorin", "select max(TestId) as id from aud", "id").toInt(), doc->m_audCurrent.TestId);
    // The stored test keeps its symbols: the old ones carried over in grey as well.
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from audpoints where TestId = %1")
                                  .arg(doc->m_audCurrent.TestId)),
              2);
}

// Paging shows an old test in place of the working one; the work is still unsaved, for
// every question that asks, and saving stores the working test.
TEST_F(AudiogramHistory, AWorkingTestKeptAsideByPagingIsStillUnsavedWork)
{
    const int id = StoreSubject("4711");
    AddRegistryTest(id, "2020-02-02", "reg old");
    AddRegistryTest(id, "2024-06-01", "reg newer");
    AddRegistryTest(id, "2026-06-01", "current");
    Load(id);
    EXPECT_FALSE(doc->IsModified());
    const int stored = Count("Quorin", "select count(*) as num from aud");
    doc->m_audCurrent.StartNewAudiogram();
    doc->m_audCurrent.Info.TestedBy = "new test";
    doc->m_subject.AudiogramClean = 0;

    doc->OnPagePrev();
    doc->OnPagePrev();
    doc->OnPageNext();
    ASSERT_EQ(Shown(), "reg newer");
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0) << "the old test shown is not the work";
    EXPECT_TRUE(doc->IsModified());

    ui.AnswerNext(UserInterface::Answer::Cancel);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ui.Texts(), QStringList{"Save Current Subject?"});
    EXPECT_EQ(ui.Messages()[0].buttons, UserInterface::Buttons::YesNoCancel);
    EXPECT_EQ(Shown(), "reg newer") << "Cancel changes nothing";
    EXPECT_EQ(doc->m_audLatest.Info.TestedBy, "new test");

    ui.AnswerNext(UserInterface::Answer::Yes);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud where TestedBy = 'new test'"), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud"), stored + 1);
    EXPECT_EQ(doc->m_subject.SubjectID, -1) << "cleared after the save";
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(AudiogramHistory, HomeWhileNotPagingKeepsANewTest)
{
    const int id = StoreSubject("4711");
    AddRegistryTest(id, "2026-06-01", "current");
    Load(id);
    doc->m_audCurrent.StartNewAudiogram();
    doc->m_audCurrent.Info.TestedBy = "new test";
    const size_t hints = view.hints.size();
    doc->OnPageHome();
    EXPECT_EQ(Shown(), "new test");
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);
    EXPECT_EQ(view.hints.size(), hints);
}

TEST_F(AudiogramHistory, ARefusedHandOverStopsEveryMove)
{
    const int id = StoreSubject("4711");
    AddRegistryTest(id, "2019-01-01", "reg 2019");
    AddRegistryTest(id, "2020-02-02", "reg 2020");
    AddRegistryTest(id, "2026-06-01", "current");
    Load(id);
    view.refuseHandOver = true;
    doc->OnPagePrev();
    EXPECT_EQ(doc->m_bHistoryLoaded, 0); // nothing read
    EXPECT_EQ(ui.WaitCursorShown(), 0);
    EXPECT_EQ(Shown(), "current");
    EXPECT_EQ(doc->m_nPageDir, 0);

    view.refuseHandOver = false;
    doc->OnPagePrev();
    doc->OnPagePrev();
    ASSERT_EQ(doc->m_nHistoryPos, 1);
    view.refuseHandOver = true;
    doc->OnPageNext();
    EXPECT_EQ(doc->m_nHistoryPos, 1);
    doc->OnPageHome();
    EXPECT_EQ(doc->m_nPageDir, 1);
    EXPECT_EQ(Shown(), "reg 2019");
    view.refuseHandOver = false;
    doc->OnPageHome();
    EXPECT_EQ(Shown(), "current");
}

TEST_F(AudiogramHistory, AnUnsavedSubjectCannotPage)
{
    doc->m_subject = DistinctSubject();
    for (auto move : {&CQuorinDoc::OnPagePrev, &CQuorinDoc::OnPageNext}) {
        (doc.get()->*move)();
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "Please Save New Patients before paging through their audiograms!");
        EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
        ui.ClearMessages();
    }
    EXPECT_EQ(doc->m_bHistoryLoaded, 0);
    EXPECT_TRUE(view.hints.empty() || view.hints.back() != CDocumentView::HintShowAudiogram);
}

TEST_F(AudiogramHistory, BuildingAHistoryForgetsThePreviousSubjectsTotal)
{
    const int first = StoreSubject("4711");
    AddRegistryTest(first, "2019-01-01", "reg");
    AddRegistryTest(first, "2026-06-01", "current");
    Load(first);
    doc->OnPagePrev();
    ASSERT_EQ(doc->m_nHistoryCount, 1);
    const int second = StoreSubject("0");
    Load(second);
    doc->OnPagePrev();
    EXPECT_EQ(doc->m_nHistoryCount, 0);
    EXPECT_EQ(doc->m_nHistoryPos, 1);
}
