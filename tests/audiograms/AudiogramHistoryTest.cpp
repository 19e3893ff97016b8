// The subject's history through the real procedures and the Audiogram Manager
// stand-in: what is read for which unit, the merge, and paging to the oldest test and
// home again without losing the test being entered.

#include "AudiogramFixture.h"
#include "audiograms/store/AudTestEdit.h"
#include "rules/KvNumber.h"

using quorin::UserInterface;
using quorin::test::AudiogramTest;

namespace {

class AudiogramHistory : public AudiogramTest {
protected:
    // Loads the subject again as a user would, so the current test is the stored one.
    void Load(int subjectId)
    {
        ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
        ui.ClearMessages();
        TakeErrors();
    }
    // A subject of unit 4711 with an old registry test and the current one, loaded.
    int LoadSubjectWithOldTest()
    {
        const int id = StoreSubject("Lee", "4711");
        AddRegistryTest(id, "2020-02-02", "reg old");
        AddRegistryTest(id, "2026-06-01", "current");
        Load(id);
        return id;
    }

    QString Shown() const { return doc->m_audCurrent.Info.TestedBy; }
    bool PrevEnabled() const { return doc->IsPagePrevEnabled(); }
    bool NextEnabled() const { return doc->IsPageNextEnabled(); }
};

} // namespace

TEST_F(AudiogramHistory, ClinicAndRegistryTestsMergeNewestFirstAndPageBothWays)
{
    const int id = StoreSubject("Lee", "4711");
    AddRegistryTest(id, "2021-03-01", "reg 2021");
    AddRegistryTest(id, "2023-05-05", "reg 2023");
    AddRegistryTest(id, "2019-07-07", "reg 2019 a");
    AddRegistryTest(id, "2019-07-07", "reg 2019 b"); // two registry tests of one day both stay
    AddRegistryTest(id, "2026-06-01", "current");    // the newest stored test is the current one
    AddClinicTest(1, 4711, "2022-01-01", "clinic 2022", {{4, 10, 3}});
    AddClinicTest(2, 4711, "2023-05-05", "clinic twin of reg 2023");
    AddClinicTest(3, 4711, "2026-06-01", "clinic twin of current");
    AddClinicTest(4, 4711, "2018-02-02", "clinic 2018", {{4, 10, 3}});
    AddClinicTest(5, 999, "2024-04-04", "another patient");
    Load(id);
    ASSERT_EQ(Shown(), "current");
    EXPECT_TRUE(PrevEnabled());
    EXPECT_FALSE(NextEnabled());

    doc->OnPagePrev();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(TakeErrors().empty());
    ASSERT_EQ(doc->m_nHistoryCount, 6);

    // Newest first from position 6 down to 1, each shown with only its own symbols;
    // of one day, the later stored test comes first.
    const char* order[] = {"reg 2023", "clinic 2022", "reg 2021", "reg 2019 b", "reg 2019 a", "clinic 2018"};
    for (int pos = 6; pos >= 1; --pos) {
        if (pos != 6)
            doc->OnPagePrev();
        SCOPED_TRACE(pos);
        EXPECT_EQ(std::tuple(doc->m_nHistoryPos, doc->m_nPageDir, doc->m_audCurrent.Latest), std::tuple(pos, 1, 0));
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
    EXPECT_EQ(view.hints.size(), hints + 1);
    EXPECT_EQ(view.hints.back(), CDocumentView::HintHandOver);

    for (int pos = 2; pos <= 7; ++pos) {
        doc->OnPageNext();
        EXPECT_EQ(std::tuple(doc->m_nHistoryPos, doc->m_nPageDir, NextEnabled()), std::tuple(pos, 2, pos != 7));
        EXPECT_EQ(Shown(), pos < 7 ? order[6 - pos] : "current");
    }
    EXPECT_EQ(doc->m_audCurrent.Latest, 1);
    doc->OnPageNext(); // already at the current test
    EXPECT_EQ(doc->m_nHistoryPos, 7);

    // The history is built once: paging again reads nothing.
    doc->OnPageHome();
    doc->OnPagePrev();
    EXPECT_EQ(ui.WaitCursorShown(), 1);
    EXPECT_EQ(Shown(), "reg 2023");
}

// No unit asks nothing of the clinic; a unit that is no whole number is said so and never
// sent. Either way the registry's own tests are paged.
TEST_F(AudiogramHistory, AUnitThatIsNoneOrNoWholeNumberIsNeverSent)
{
    int index = 0;
    for (const char* unit : {"", "0", " 0 ", "12a", "1;DROP TABLE info"}) {
        SCOPED_TRACE(unit);
        const int id = StoreSubject(QStringLiteral("Subject%1").arg(++index), "");
        AddRegistryTest(id, "2020-02-02", "reg old");
        AddRegistryTest(id, "2026-06-01", "current");
        AddClinicTest(index * 10, 0, "2021-01-01", "clinic 0");
        AddClinicTest(index * 10 + 1, 12, "2021-01-01", "clinic 12");
        AddClinicTest(index * 10 + 2, 1, "2021-01-01", "clinic 1");
        Load(id);
        doc->m_subject.Unit = unit; // as typed on the Subject tab
        const bool none = quorin::sql::ReadKvNumber(unit).kind == quorin::sql::KvReading::Kind::None;
        // Were the clinic asked for no unit, the wrong password would show its box.
        if (none)
            doc->m_strPassword = "not-the-password";
        doc->OnPagePrev();
        if (none) {
            EXPECT_TRUE(ui.Messages().empty());
            EXPECT_FALSE(doc->m_dbAud.IsConnected());
        } else {
            ASSERT_EQ(ui.Messages().size(), 1u);
            EXPECT_EQ(ui.Messages()[0].text, "KV Number must be a whole number.");
            EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
        }
        EXPECT_TRUE(TakeErrors().empty()); // no provider box
        EXPECT_EQ(Count("Aud", "select count(*) as num from info"), 3 * index);
        EXPECT_EQ(doc->m_nHistoryCount, 1);
        EXPECT_EQ(Shown(), "reg old");
        doc->m_strPassword = QString::fromLatin1(quorin::test::kTestPassword);
        ui.ClearMessages();
    }
}

TEST_F(AudiogramHistory, EditsOfANewTestSurvivePagingAndHome)
{
    LoadSubjectWithOldTest();
    doc->m_audCurrent.StartNewAudiogram();
    doc->m_audCurrent.Info.TestedBy = "typed before";
    // Home while not paging keeps the new test and moves nothing.
    const size_t hints = view.hints.size();
    doc->OnPageHome();
    EXPECT_EQ(Shown(), "typed before");
    EXPECT_EQ(view.hints.size(), hints);
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
    LoadSubjectWithOldTest();
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
    const int id = StoreSubject("Lee", "4711");
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

// What the Data and Comments tabs type marks the shown test, unless it is a paged one.
TEST_F(AudiogramHistory, APagedTestIsOnlyLookedAtAndNeverMarkedAsEdited)
{
    LoadSubjectWithOldTest();
    doc->OnPagePrev();
    ASSERT_EQ(Shown(), "reg old");
    const int clean = doc->m_subject.AudiogramClean;
    EXPECT_FALSE(quorin::MarkShownTestEdited(*doc));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
    EXPECT_EQ(doc->m_subject.AudiogramClean, clean);
    doc->OnPageHome();
    EXPECT_TRUE(quorin::MarkShownTestEdited(*doc));
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 0);
}

TEST_F(AudiogramHistory, ARefusedHandOverStopsEveryMove)
{
    LoadSubjectWithOldTest();
    view.refuseHandOver = true;
    doc->OnPagePrev();
    EXPECT_EQ(doc->m_bHistoryLoaded, 0); // nothing read
    EXPECT_EQ(doc->m_nPageDir, 0);
    EXPECT_EQ(Shown(), "current");

    view.refuseHandOver = false;
    doc->OnPagePrev();
    ASSERT_EQ(Shown(), "reg old");
    view.refuseHandOver = true;
    doc->OnPageNext();
    doc->OnPageHome();
    EXPECT_EQ(Shown(), "reg old");
    EXPECT_EQ(doc->m_nPageDir, 1);
    view.refuseHandOver = false;
    doc->OnPageHome();
    EXPECT_EQ(Shown(), "current");
}

TEST_F(AudiogramHistory, AnUnsavedSubjectCannotPageAndANewSubjectsHistoryStartsAfresh)
{
    doc->m_subject = quorin::test::DistinctSubject();
    for (auto move : {&CQuorinDoc::OnPagePrev, &CQuorinDoc::OnPageNext}) {
        (doc.get()->*move)();
        EXPECT_EQ(ui.Texts(), QStringList{"Please Save New Patients before paging through their audiograms!"});
        EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
        ui.ClearMessages();
    }
    EXPECT_EQ(doc->m_bHistoryLoaded, 0);

    // The previous subject's total is forgotten by the next history.
    LoadSubjectWithOldTest();
    doc->OnPagePrev();
    ASSERT_EQ(doc->m_nHistoryCount, 1);
    Load(StoreSubject("Second", "0"));
    doc->OnPagePrev();
    EXPECT_EQ(doc->m_nHistoryCount, 0);
    EXPECT_EQ(doc->m_nHistoryPos, 1);
}
