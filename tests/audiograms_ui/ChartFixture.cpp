#include "ChartFixture.h"

#include "audiograms/AudiogramFixture.h"
#include "audiograms/record/ChartGeometry.h"
#include "audiograms/ui/CFormAudData.h"
#include "audiograms/ui/CFormAudOther.h"
#include "audiograms/ui/CViewAud.h"
#include "support/MainFrameHarness.h"

#include <QApplication>
#include <QTest>

namespace quorin::test {

void ChartTest::SetUp()
{
    FormTest::SetUp();
    ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
    ASSERT_TRUE(ShowMainFrame(*frame, 1000, 800));
    chart = qobject_cast<CViewAud*>(frame->m_pNodeChart->GetWnd());
    data = qobject_cast<CFormAudData*>(frame->m_pNodeAudData->GetWnd());
    comments = qobject_cast<CFormAudOther*>(frame->m_pNodeComments->GetWnd());
    ASSERT_TRUE(chart && data && comments) << "the chart, Data and Comments pages are registered";
}

void ChartTest::TearDown()
{
    frame.reset();
    commands.reset();
    FormTest::TearDown();
}

int ChartTest::LoadStoredSubject()
{
    doc->m_subject = DistinctSubject();
    CAudRecord& test = doc->m_audCurrent;
    test.ResetAudRecord(true);
    test.Dirty = 1;
    test.Info.TestDate = "03/04/2025";
    test.Info.TestedBy = "A. Tester";
    test.Info.Comments = "Wears aids at school.";
    test.Info.Recommend = "Retest in six months.";
    test.Speech.SRTR = 15;
    test.Points = {Point(607, 1, 1), Point(409, 3, 1)};
    doc->m_subject.AudiogramClean = 0;
    // Stored as it stands: the Subject tab's empty fields are not handed over.
    doc->Interactive = 0;
    EXPECT_EQ(doc->SaveSubject(), 1);
    doc->Interactive = 1;
    const int id = doc->m_subject.SubjectID;
    EXPECT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    ui.ClearMessages();
    return id;
}

void ChartTest::Show(TVisualNode* page)
{
    frame->m_wndFramework.BringForward(page);
    Settle();
    QTest::qWait(20);
    Settle();
    // The frame refreshes its commands on a short timer; do not wait for it.
    frame->UpdateCommandUI();
}

void ChartTest::ClickPoint(int x, int y, Qt::KeyboardModifiers modifiers)
{
    const ChartGeometry g(chart->width(), chart->height());
    QTest::mouseClick(chart, Qt::LeftButton, modifiers, QPoint(g.PointX(x), g.LevelSnapY(y)));
    Settle();
}

void ChartTest::SaveByKeys()
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : frame.get(), Qt::Key_S, Qt::ControlModifier);
    Settle();
}

QString ChartTest::Stored(int subjectId, const char* column) const
{
    const QString sql("select %1 as %1 from aud where TestId = (select max(TestId) from aud where SubjectId = %2)");
    return Scalar("Quorin", sql.arg(QLatin1String(column)).arg(subjectId), column);
}

} // namespace quorin::test
