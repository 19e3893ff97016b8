// The chart inside the main frame: tools by menu, toolbar and Alt key with their marks,
// clicks and Shift+clicks, Edit and Eraser, and the first-draw checks once per showing.

#include "ChartFixture.h"

#include "app/CMainFrame.h"
#include "audiograms/CViewAud.h"
#include "resources/Resource.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QToolBar>

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
        QAction* action = frame.CommandAction(id);
        if (action && action->isChecked()) {
            EXPECT_EQ(checked, 0u) << "one mark at a time";
            checked = id;
        }
    }
    return checked;
}

TEST_F(ChartView, ToolsComeFromTheMenuTheToolbarAndAltKeysWithTheirMarks)
{
    LoadStoredSubject();
    ShowChart();
    ASSERT_TRUE(chart->isVisible());
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(" | ").toStdString();
    ASSERT_EQ(frame->GetActiveView(), chart) << "the chart page is the active view";
    EXPECT_EQ(CheckedTool(*frame), 0u);
    EXPECT_TRUE(frame->QueryCommand(32795).IsEnabled());

    // Symbol menu, third item, by keys.
    QMenu* symbol = frame->MenuByTitle(QStringLiteral("&Symbol"));
    ASSERT_NE(symbol, nullptr);
    symbol->popup(frame->mapToGlobal(QPoint(100, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(symbol));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(symbol, Qt::Key_Down);
    QTest::keyClick(symbol, Qt::Key_Return);
    Settle();
    EXPECT_EQ(chart->Tool(), 3);
    EXPECT_EQ(CheckedTool(*frame), 32797u);

    // Toolbar: Warble Tones.
    Click(frame->m_wndToolBar->widgetForAction(Action(32803)));
    EXPECT_EQ(chart->Tool(), 10);
    EXPECT_EQ(CheckedTool(*frame), 32803u);

    // Alt keys, typed where the focus is.
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_6, Qt::AltModifier);
    Settle();
    EXPECT_EQ(chart->Tool(), 7) << "Alt 6 is BC (masked) Left Ear";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_0, Qt::AltModifier);
    Settle();
    EXPECT_EQ(chart->Tool(), 12);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus, Qt::AltModifier);
    Settle();
    EXPECT_EQ(chart->Tool(), 13);
    EXPECT_EQ(CheckedTool(*frame), 32805u);

    // Edit toggles with its mark.
    QAction* edit = Action(res::ID_AUD_EDIT);
    Click(frame->m_wndToolBar->widgetForAction(edit));
    frame->UpdateCommandUI();
    EXPECT_EQ(chart->EditExisting(), 1);
    EXPECT_TRUE(edit->isChecked());
    Click(frame->m_wndToolBar->widgetForAction(edit));
    frame->UpdateCommandUI();
    EXPECT_EQ(chart->EditExisting(), 0);
    EXPECT_FALSE(edit->isChecked());

    // On another page the chart's commands are not there; the tool stays.
    ShowSubjectTab();
    EXPECT_FALSE(frame->QueryCommand(32795).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(res::ID_FILE_PRINT).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(res::ID_FILE_PRINT_PREVIEW).IsEnabled());
    ShowChart();
    EXPECT_EQ(chart->Tool(), 13);
}

TEST_F(ChartView, ClicksPlaceAndEraseSymbolsAndTheQuestionComesOnce)
{
    LoadStoredSubject();
    ShowChart();
    const auto& points = doc->m_audCurrent.Points;

    // No tool yet: nothing is asked and nothing placed.
    ClickPoint(4, 5);
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(points.size(), 2u);

    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_1, Qt::AltModifier);
    ui.AnswerNext(UserInterface::Answer::No);
    ClickPoint(8, 6); // 4000 Hz, 25 dB
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
    frame->UpdateCommandUI();
    EXPECT_TRUE(Action(res::ID_AUD_EDIT)->isChecked()) << "No turns Edit on";
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].xy, 806);
    EXPECT_EQ(points[2].symbol, 1);

    // Shift+click: the no-response variant replaces it at the same frequency.
    ClickPoint(8, 12, Qt::ShiftModifier);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].symbol, 129);
    EXPECT_EQ(points[2].xy, 812);

    // The eraser clears a position, whatever ear; a click beside the grid does nothing.
    QTest::keyClick(chart, Qt::Key_Minus, Qt::AltModifier);
    ClickPoint(4, 9); // the stored left X at 1000 Hz / 40 dB
    ASSERT_EQ(points.size(), 2u);
    ClickPixel(20, chart->height() / 2);
    EXPECT_EQ(points.size(), 2u);
    EXPECT_EQ(ui.Texts().size(), 1);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);

    // The accessible description follows the test.
    chart->repaint();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(chart);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Description),
              QStringLiteral("Audiogram of 03/04/2025, 2 points; right ear 2, left ear 0"));
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Audiogram"));
}

TEST_F(ChartView, APagedTestRefusesClicks)
{
    LoadStoredSubject();
    ShowChart();
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_3, Qt::AltModifier);
    doc->m_nPageDir = 1;
    ClickPoint(2, 10);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("You Cannot Alter this Test!")});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_audCurrent.Points.size(), 2u);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
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

    // More paints of the same showing ask nothing.
    for (int i = 0; i < 3; ++i) {
        chart->repaint();
        Settle();
    }
    EXPECT_EQ(ui.Texts().size(), 1);

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
    ShowSubjectTab();
    ShowChart();
    EXPECT_EQ(ui.Texts(), (QStringList{kIdentity, QStringLiteral("You must enter an Inital Date of Consent")}));
    EXPECT_EQ(doc->m_bChartLoaded, 0);
}

TEST_F(ChartView, AStoredTestIsDrawnAfterItsChecksAndANewSubjectShowsNone)
{
    LoadStoredSubject();
    EXPECT_EQ(doc->m_bChartLoaded, 0);
    ShowChart();
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(doc->m_bChartLoaded, 1);

    // File New while the chart shows: the empty subject fails the identity check once.
    ASSERT_TRUE(doc->OnNewDocument());
    Settle();
    QTest::qWait(20);
    Settle();
    EXPECT_EQ(ui.Texts(), QStringList{kIdentity});
}

} // namespace
} // namespace quorin::test
