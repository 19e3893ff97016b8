#include "ChartFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "audiograms/ui/CViewAud.h"
#include "audiograms/record/ChartGeometry.h"
#include "support/MainFrameHarness.h"

#include <QAction>
#include <QDir>
#include <QTest>

namespace quorin::test {

using quorin::ChartGeometry;

void ChartTest::SetUp()
{
    FormTest::SetUp();
    BuildFrame();
}

void ChartTest::BuildFrame()
{
    ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
    ASSERT_TRUE(ShowMainFrame(*frame, 1000, 800));
    chart = qobject_cast<CViewAud*>(frame->m_pNodeChart->GetWnd());
    ASSERT_NE(chart, nullptr) << "the chart is registered for node 3";
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
    doc->m_audCurrent.ResetAudRecord(true);
    doc->m_audCurrent.Dirty = 1;
    doc->m_audCurrent.Info.TestDate = "03/04/2025";
    CAudPoint right;
    right.xy = 607;
    right.symbol = 1;
    CAudPoint left;
    left.xy = 409;
    left.symbol = 3;
    for (CAudPoint* p : {&right, &left}) {
        p->SplitXy();
        p->type = CAudPoint::TypeOfSymbol(p->symbol);
        p->recent = 1;
        doc->m_audCurrent.Points.push_back(*p);
    }
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

void ChartTest::ShowChart()
{
    frame->m_wndFramework.BringForward(frame->m_pNodeChart);
    Settle();
    QTest::qWait(20);
    Settle();
    // The frame refreshes its commands on a short timer; do not wait for it.
    frame->UpdateCommandUI();
}

void ChartTest::ShowSubjectTab()
{
    frame->m_wndFramework.BringForward(frame->m_pNodeSubject);
    Settle();
}

QAction* ChartTest::Action(unsigned id) const
{
    return frame->CommandAction(id);
}

void ChartTest::ClickPoint(int x, int y, Qt::KeyboardModifiers modifiers)
{
    const ChartGeometry g(chart->width(), chart->height());
    ClickPixel(g.PointX(x), g.LevelSnapY(y), modifiers);
}

void ChartTest::ClickPixel(int px, int py, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(chart, Qt::LeftButton, modifiers, QPoint(px, py));
    Settle();
}

QString ChartTest::OutputPath(const QString& name)
{
    QDir().mkpath(QStringLiteral(QUORIN_SCREENSHOT_DIR));
    return QStringLiteral(QUORIN_SCREENSHOT_DIR "/") + name;
}

} // namespace quorin::test
