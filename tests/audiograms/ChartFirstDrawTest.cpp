// The checks of the chart's first drawing for a subject, in their order.

#include "app/DocumentFixture.h"
#include "audiograms/ChartFirstDraw.h"

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

} // namespace
