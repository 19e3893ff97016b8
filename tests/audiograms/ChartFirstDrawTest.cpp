// The checks of the chart's first drawing for a subject, in their order.

#include "app/DocumentFixture.h"
#include "audiograms/store/ChartFirstDraw.h"

using quorin::FirstDrawResult;
using quorin::RunChartFirstDrawChecks;
using quorin::UserInterface;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

using ChartFirstDraw = DocumentTest;

const QString kIdentity = QStringLiteral("You must enter either a KV Number, or Last Name, First Name, and Birth Date!");

TEST_F(ChartFirstDraw, AnIncompleteIdentityGoesBackToTheSubjectTab)
{
    doc->m_subject.Unit = "0";
    doc->m_subject.Lastname = "Lund";
    doc->m_subject.DateInitial = "06/03/2019";
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Stopped);
    EXPECT_EQ(ui.Texts(), QStringList{kIdentity});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    ASSERT_EQ(ui.PagesBroughtForward().size(), 1u);
    EXPECT_EQ(ui.PagesBroughtForward()[0], UserInterface::Page::Subject);
    EXPECT_EQ(doc->m_bChartLoaded, 0);
    EXPECT_EQ(doc->m_audCurrent.LoadAttempted, 0) << "nothing is looked up";
    EXPECT_TRUE(view.hints.empty());

    // A KV Number alone is enough; then the consent date is asked for.
    doc->m_subject.Unit = "4711";
    doc->m_subject.DateInitial.clear();
    ui.ClearMessages();
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Stopped);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("You must enter an Inital Date of Consent")});
    EXPECT_EQ(ui.PagesBroughtForward().size(), 2u);
}

TEST_F(ChartFirstDraw, ASubjectWithoutAStoredTestSaysSoOnce)
{
    doc->m_subject = DistinctSubject();
    doc->m_audCurrent.ResetAudRecord(true);
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_NE(doc->LoadSubjectById(doc->m_subject.SubjectID), 0);
    ASSERT_EQ(doc->m_audCurrent.LoadAttempted, 1);
    ASSERT_EQ(doc->m_subject.AudiogramClean, 1);
    ui.ClearMessages();

    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("No Audiogram Found for this subject.")});
    EXPECT_EQ(doc->m_bChartLoaded, 1);
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts().size(), 1) << "the next showing only draws";
}

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
    ui.AnswerNext(quorin::UserInterface::Answer::No); // no search of the Audiogram Manager
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(view.hints, std::vector<int>{1}) << "nothing was searched, so no refresh";
    EXPECT_EQ(doc->m_audCurrent.LoadAttempted, 1);
    EXPECT_EQ(doc->m_bChartLoaded, 1);
    ASSERT_EQ(ui.Texts().size(), 1);
    EXPECT_TRUE(ui.Texts()[0].startsWith("This is a new Subject."));
}

// A stored subject paged back before its chart was first shown, as on the demo registry:
// the old test is drawn without a question about the subject itself, and the newer-test
// offer goes by the current test, not the old one shown.
TEST_F(ChartFirstDraw, AStoredSubjectPagedBeforeTheFirstShowingIsNotAskedAbout)
{
    doc->m_subject = DistinctSubject();
    doc->m_subject.Unit.clear();
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    registry.ExecRaw("Quorin", "insert into aud (SubjectId, TestDate, TestedBy) values (" + std::to_string(id)
                                   + ", '2020-02-02 00:00:00.000', 'old');insert into aud (SubjectId, TestDate, "
                                     "TestedBy) values (" + std::to_string(id) + ", '2026-06-01 00:00:00.000', 'current');");
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
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    registry.ExecRaw("Quorin", "insert into aud (SubjectId, TestDate, TestedBy) values (" + std::to_string(id)
                                   + ", '2024-02-02 00:00:00.000', 'stored');");
    registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date, Testedby) values (1, "
                                + doc->m_subject.Unit.toStdString()
                                + ", '2026-05-05 00:00:00.000', 'clinic');insert into Other (PatientIndex, Method) "
                                  "values (1, 2);");
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

} // namespace
