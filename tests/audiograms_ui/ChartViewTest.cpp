// The chart inside the main frame: tools by toolbar and Alt key with their marks, a
// click reaching the document, and the first-draw checks once per showing.

#include "ChartFixture.h"

#include "audiograms/ui/CViewAud.h"
#include "resources/Resource.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QTest>

namespace quorin::test {
namespace {

using ChartView = ChartTest;

const QString kIdentity = QStringLiteral("You must enter either a KV Number, or Last Name, First Name, and Birth Date!");

// The checked tool command among 32795..32805, 0 when none is.
unsigned CheckedTool(CMainFrame& frame)
{
    frame.UpdateCommandUI();
    unsigned checked = 0;
    for (unsigned id = res::ID_SYMBOL_FIRST; id <= res::ID_SYMBOL_ERASER; ++id) {
        const QAction* action = frame.CommandAction(id);
        if (action && action->isChecked())
            checked = checked == 0 ? id : ~0u; // one mark at a time
    }
    return checked;
}

TEST_F(ChartView, ToolsComeFromTheToolbarAndAltKeysAndAClickPlacesTheSymbol)
{
    LoadStoredSubject();
    Show(frame->m_pNodeChart);
    ASSERT_TRUE(chart->isVisible());
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(CheckedTool(*frame), 0u);

    // The toolbar's Warble Tones, then Alt 1 typed where the focus is.
    Click(ToolbarButton(32803));
    EXPECT_EQ(chart->Tool(), 10);
    EXPECT_EQ(CheckedTool(*frame), 32803u);
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(chart->Tool(), 1);
    EXPECT_EQ(CheckedTool(*frame), 32795u);

    // A click asks about a new audiogram; No edits the shown test and turns Edit on.
    ui.AnswerNext(UserInterface::Answer::No);
    ClickPoint(8, 6); // 4000 Hz, 25 dB
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->CommandAction(res::ID_AUD_EDIT)->isChecked());
    ASSERT_EQ(doc->m_audCurrent.Points.size(), 3u);
    EXPECT_EQ(doc->m_audCurrent.Points[2].xy, 806);
    chart->repaint();
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(chart);
    ASSERT_NE(described, nullptr);
    EXPECT_EQ(described->text(QAccessible::Description),
              QStringLiteral("Audiogram of 03/04/2025, 3 points; right ear 2, left ear 1"));

    // On another page the chart's commands are not there; the tool stays.
    Show(frame->m_pNodeSubject);
    EXPECT_FALSE(frame->QueryCommand(32795).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(res::ID_FILE_PRINT).IsEnabled());
    Show(frame->m_pNodeChart);
    EXPECT_EQ(chart->Tool(), 1);
}

TEST_F(ChartView, TheIdentityCheckRunsAfterThePaintOncePerShowing)
{
    // An empty subject: the chart is opened before anything was typed.
    frame->m_wndFramework.BringForward(frame->m_pNodeChart);
    chart->repaint();
    EXPECT_TRUE(ui.Texts().isEmpty()) << "never from inside a paint";
    Settle();
    QTest::qWait(20);
    EXPECT_EQ(ui.Texts(), QStringList{kIdentity});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    ASSERT_FALSE(ui.PagesBroughtForward().empty());
    EXPECT_EQ(ui.PagesBroughtForward().back(), UserInterface::Page::Subject);
    for (int i = 0; i < 3; ++i) {
        chart->repaint();
        Settle();
    }
    EXPECT_EQ(ui.Texts().size(), 1) << "more paints of the same showing ask nothing";

    // The test is not shown, so clicks do not edit it unseen.
    frame->UpdateCommandUI();
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(chart->Tool(), 1);
    ClickPoint(4, 5);
    EXPECT_TRUE(doc->m_audCurrent.Points.empty());
    EXPECT_EQ(ui.Texts().size(), 1) << "no question either";

    // The next showing checks again; with a KV Number the consent date is missing.
    doc->m_subject.Unit = "4711";
    Show(frame->m_pNodeSubject);
    Show(frame->m_pNodeChart);
    EXPECT_EQ(ui.Texts(), (QStringList{kIdentity, QStringLiteral("You must enter an Inital Date of Consent")}));
    EXPECT_EQ(doc->m_bChartLoaded, 0);
}

} // namespace
} // namespace quorin::test
