// The checks of the chart's first drawing for a subject, in their order, and its offers
// of the Audiogram Manager's tests.

#include "AudiogramFixture.h"
#include "audiograms/store/ChartFirstDraw.h"

using quorin::FirstDrawResult;
using quorin::RunChartFirstDrawChecks;
using quorin::UserInterface;
using quorin::test::AudiogramTest;
using quorin::test::DistinctSubject;

namespace {

using ChartFirstDraw = AudiogramTest;

const QString kNoTest = QStringLiteral("No Audiogram Found for this subject.");

TEST_F(ChartFirstDraw, ASubjectBeingEnteredHandsItsEditsOverFirst)
{
    doc->m_subject.Lastname = "Lund";
    doc->m_subject.Firstname = "Erik";
    doc->m_subject.Birth = "04/09/2012";
    doc->m_subject.DateInitial = "06/03/2019";
    view.hints.clear();

    view.refuseHandOver = true;
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Stopped);
    EXPECT_EQ(view.hints, std::vector<int>{1});
    EXPECT_EQ(doc->m_bChartLoaded, 0) << "a refused hand-over stops until the next showing";
    EXPECT_EQ(doc->m_audCurrent.LoadAttempted, 0);

    view.refuseHandOver = false;
    view.hints.clear();
    ui.AnswerNext(UserInterface::Answer::No); // no search of the Audiogram Manager
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(view.hints, std::vector<int>{1}) << "nothing was searched, so no refresh";
    EXPECT_EQ(doc->m_audCurrent.LoadAttempted, 1);
    EXPECT_EQ(doc->m_bChartLoaded, 1);
    ASSERT_EQ(ui.Texts().size(), 1);
    EXPECT_TRUE(ui.Texts()[0].startsWith("This is a new Subject."));
}

// The newer clinic test is offered once per subject; No leaves the registry's (missing)
// test, Yes imports it, and an import is no "No Audiogram Found".
TEST_F(ChartFirstDraw, TheChartOffersANewerTestOnceAndImportsItOnYes)
{
    const int id = StoreSubject("Lee", "4711");
    AddClinicTest(1, 4711, "2024-03-05 14:30:00.000", "clinic", {{4, 9, 1}});
    const QString offer = QStringLiteral("This Subject has a new audiogram\rin the Audiogram Manager "
                                         "Database.\r Would you like to import it?");
    ASSERT_EQ(doc->LoadSubjectById(id), 1);
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), (QStringList{offer, kNoTest}));
    EXPECT_FALSE(doc->m_audCurrent.Info.Imported);
    EXPECT_EQ(doc->m_bChartLoaded, 1);
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts().size(), 2) << "the next showing only draws";

    ASSERT_EQ(doc->LoadSubjectById(id), 1);
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), QStringList{offer});
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "clinic");
    EXPECT_TRUE(TakeErrors().empty());
}

// A stored subject paged back before its chart was first shown, as on the demo registry:
// the old test is drawn without a question about the subject itself, and the newer-test
// offer goes by the current test, not the old one shown.
TEST_F(ChartFirstDraw, AStoredSubjectPagedBeforeTheFirstShowingIsNotAskedAbout)
{
    const int id = StoreSubject("Lee", "");
    AddRegistryTest(id, "2020-02-02", "old");
    AddRegistryTest(id, "2026-06-01", "current");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    doc->OnPagePrev();
    ASSERT_EQ(doc->m_audCurrent.Info.TestedBy, "old");
    ui.ClearMessages();

    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(doc->m_bChartLoaded, 1);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "old") << "the old test stays shown";
    EXPECT_EQ(doc->m_subject.SubjectID, id);
}

// A subject being entered that the registry holds: Yes loads the stored subject, whose
// chart is then checked at once, newer clinic test offered, and ready for clicks.
TEST_F(ChartFirstDraw, AfterYesToTheStoredSubjectItsChartIsLoaded)
{
    const int id = StoreSubject("Lee", "4711");
    AddRegistryTest(id, "2024-02-02", "stored");
    AddClinicTest(1, 4711, "2026-05-05", "clinic");
    ASSERT_TRUE(doc->OnNewDocument());
    doc->m_subject = DistinctSubject();
    doc->m_subject.Modified = 1;
    ui.ClearMessages();

    ui.AnswerNext(UserInterface::Answer::Yes); // modify the stored record
    ui.AnswerNext(UserInterface::Answer::No);  // not the newer clinic test
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    ASSERT_EQ(ui.Texts().size(), 2) << ui.Texts().join(" | ").toStdString();
    EXPECT_TRUE(ui.Texts()[0].startsWith("A Subject matching"));
    EXPECT_TRUE(ui.Texts()[1].startsWith("This Subject has a new audiogram"));
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "stored");
    EXPECT_EQ(doc->m_bChartLoaded, 1) << "the chart takes clicks";
}

// A subject being entered, found in the Audiogram Manager: the search question, the
// newest composite in place of what the Data tab handed over, the unit filled, and the
// Subject tab refreshed with it after the hand-over, or the next hand-over would blank
// it again.
TEST_F(ChartFirstDraw, ANewSubjectFoundInTheAudiogramManagerStartsWithItsNewestComposite)
{
    AddClinicTest(1, 4711, "2023-03-05 09:00:00.000", "older", {{6, 8, 2}});
    AddClinicTest(2, 4711, "2024-03-05 09:00:00.000", "newest", {{4, 9, 1}});
    doc->m_subject.Unit = QStringLiteral("0");
    doc->m_subject.Lastname = QStringLiteral("O'Brien");
    doc->m_subject.Firstname = QStringLiteral("Kate");
    doc->m_subject.Birth = QStringLiteral("4/9/1987");
    doc->m_subject.DateInitial = QStringLiteral("06/03/2019");
    doc->RefreshSubjectForm = 0;
    std::vector<std::pair<int, int>> seen; // hint, RefreshSubjectForm
    view.hints.clear();
    view.onUpdate = [&](int hint) {
        seen.emplace_back(hint, doc->RefreshSubjectForm);
        if (hint == CDocumentView::HintHandOver) {
            doc->m_audCurrent.Info.TestedBy = QStringLiteral("handed over");
            doc->m_bAudDataFilled = 1;
        }
    };
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.SetDialogRunner([&](UserInterface::Dialog dialog) {
        EXPECT_EQ(dialog, UserInterface::Dialog::AmSearch);
        doc->m_subject.Unit = QStringLiteral("4711"); // the user picks the row
        return 1;
    });
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), (QStringList{QStringLiteral("This is a new Subject.\rWould you like to search the "
                                                      "Audiogram\rManager Database for patient records?")}));
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 0}, {0, 1}}));
    EXPECT_EQ(doc->RefreshSubjectForm, 0);
    EXPECT_EQ(QStringList({doc->m_subject.Unit, doc->m_subject.Birth, doc->m_subject.Lastname}),
              QStringList({"4711", "4/9/1987", "O'Brien"})); // as typed: only empty fields are filled
    const CAudRecord& r = doc->m_audCurrent;
    EXPECT_EQ(r.Info.TestedBy, "newest");
    EXPECT_TRUE(r.Info.Composite);
    EXPECT_EQ(std::tuple(r.Dirty, r.Latest, r.LoadAttempted), std::tuple(1, 1, 1));
    EXPECT_EQ(Symbols(), (std::vector<quorin::test::Symbol>{{4, 9, 1, 1}, {6, 8, 3, 0}}));
    EXPECT_EQ(doc->m_bAudDataFilled, 0);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 0);
    EXPECT_TRUE(TakeErrors().empty());
}

} // namespace
