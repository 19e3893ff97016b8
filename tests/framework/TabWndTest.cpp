// The tab window: hit testing, switching by mouse and from code, the may-change check,
// tab widths and what the band looks like.
#include "framework/TFrameWnd.h"
#include "framework/TTabWnd.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QWidget* MakePage(const QString& name)
{
    auto page = new QWidget;
    page->setObjectName(name);
    auto edit = new QLineEdit(page);
    edit->setObjectName(name + QStringLiteral("Edit"));
    return page;
}

class TabWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tabs.resize(600, 400);
        tabs.SetTabPos(TTabWnd::TabsOnTop);
        tabs.AddPage(QStringLiteral("Subject"), MakePage(QStringLiteral("subject")));
        tabs.AddPage(QStringLiteral("Audiogram"), MakePage(QStringLiteral("audiogram")));
        tabs.AddPage(QStringLiteral("Other"), MakePage(QStringLiteral("other")));
        tabs.show();
    }

    int TextWidth(const QString& caption) const
    {
        return QFontMetrics(tabs.TabFont()).horizontalAdvance(caption) + 4;
    }

    TTabWnd tabs;
};

TEST_F(TabWndTest, FirstPageIsActiveAndOthersHiddenAndDisabled)
{
    EXPECT_EQ(tabs.GetActiveTab(), 0);
    EXPECT_TRUE(tabs.GetTabWnd(0)->isVisible());
    EXPECT_TRUE(tabs.GetTabWnd(0)->isEnabled());
    EXPECT_FALSE(tabs.GetTabWnd(1)->isVisible());
    EXPECT_FALSE(tabs.GetTabWnd(1)->isEnabled());
    EXPECT_EQ(tabs.GetTabIndex(tabs.GetTabWnd(2)), 2);
    EXPECT_EQ(tabs.GetTabIndex(nullptr), -1);
    EXPECT_EQ(tabs.GetTabWnd(7), nullptr);
}

TEST_F(TabWndTest, TabsAreLaidOutFromCaptionWidthsWithSixPixelGaps)
{
    EXPECT_EQ(tabs.TabLeft(0), 0);
    EXPECT_EQ(tabs.TabRight(0), TextWidth(QStringLiteral("Subject")));
    EXPECT_EQ(tabs.TabLeft(1), tabs.TabRight(0) + 6);
    EXPECT_EQ(tabs.TabRight(1) - tabs.TabLeft(1), TextWidth(QStringLiteral("Audiogram")));
}

TEST_F(TabWndTest, WideCaptionIsCappedAtTwoHundredPlusIconRoom)
{
    const QString wide(80, QLatin1Char('W'));
    ASSERT_GT(TextWidth(wide), 200);
    tabs.AddPage(wide, MakePage(QStringLiteral("wide")));
    EXPECT_EQ(tabs.TabWidth(3), 200);
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    tabs.SetTabIcon(3, QIcon(icon));
    EXPECT_EQ(tabs.TabWidth(3), 218);
    tabs.SetTabIcon(0, QIcon(icon));
    EXPECT_EQ(tabs.TabWidth(0), TextWidth(QStringLiteral("Subject")) + 18);
}

TEST_F(TabWndTest, HitTestFindsTabsOnlyInsideTheBand)
{
    const int x = tabs.TabLeft(1) + 3;
    EXPECT_EQ(tabs.HitTest(x, 6), 1);
    EXPECT_EQ(tabs.HitTest(x, 26), 1);
    EXPECT_EQ(tabs.HitTest(x, 5), -1);
    EXPECT_EQ(tabs.HitTest(x, 27), -1);
    // The gap after a tab belongs to no tab.
    EXPECT_EQ(tabs.HitTest(tabs.TabRight(0) + 3, 15), -1);
    EXPECT_EQ(tabs.HitTest(590, 15), -1);
}

TEST_F(TabWndTest, BottomBandIsMirroredAtTheLowerEdge)
{
    tabs.SetTabPos(TTabWnd::TabsOnBottom);
    const int h = tabs.height();
    EXPECT_EQ(tabs.HitTest(tabs.TabLeft(2) + 2, h - 26), 2);
    EXPECT_EQ(tabs.HitTest(tabs.TabLeft(2) + 2, h - 6), 2);
    EXPECT_EQ(tabs.HitTest(tabs.TabLeft(2) + 2, 15), -1);
    EXPECT_EQ(tabs.GetTabWnd(0)->geometry(), QRect(1, 0, 598, h - 30));
}

TEST_F(TabWndTest, PagesFillTheAreaBelowTheBand)
{
    EXPECT_EQ(tabs.GetTabWnd(0)->geometry(), QRect(1, 31, 598, 368));
    tabs.resize(500, 300);
    EXPECT_EQ(tabs.GetTabWnd(2)->geometry(), QRect(1, 31, 498, 268));
}

TEST_F(TabWndTest, ClickingTabsSwitchesPagesAndClicksElsewhereDoNothing)
{
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(tabs.TabLeft(2) + 5, 15));
    EXPECT_EQ(tabs.GetActiveTab(), 2);
    EXPECT_TRUE(tabs.GetTabWnd(2)->isVisible());
    EXPECT_FALSE(tabs.GetTabWnd(0)->isVisible());
    EXPECT_FALSE(tabs.GetTabWnd(0)->isEnabled());

    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(tabs.TabRight(0) + 3, 15));
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(tabs.TabLeft(0) + 5, 28));
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(tabs.TabLeft(2) + 5, 15));
    EXPECT_EQ(tabs.GetActiveTab(), 2);
}

TEST_F(TabWndTest, HiddenOrDisabledTabCannotBeActivated)
{
    tabs.SetTabEnabled(1, false);
    EXPECT_FALSE(tabs.SetActiveTab(1, false));
    tabs.SetTabVisible(2, false);
    EXPECT_FALSE(tabs.SetActiveTab(2, false));
    EXPECT_FALSE(tabs.SetActiveTab(-1, false));
    EXPECT_TRUE(tabs.SetActiveTab(0, false));
    EXPECT_EQ(tabs.GetActiveTab(), 0);
}

class RefusingTabWnd : public TTabWnd {
public:
    bool CanChangeTab(QWidget* oldPage, QWidget* newPage) override
    {
        asked.emplace_back(oldPage, newPage);
        return allow;
    }
    void OnTabChanged(QWidget* oldPage, QWidget* newPage) override { changed.emplace_back(oldPage, newPage); }
    bool allow = false;
    std::vector<std::pair<QWidget*, QWidget*>> asked;
    std::vector<std::pair<QWidget*, QWidget*>> changed;
};

TEST(TabWndChangeCheck, RefusalKeepsTheOldPageAndConsentSwitchesWithNotification)
{
    RefusingTabWnd tabs;
    tabs.resize(400, 300);
    QWidget* first = tabs.AddPage(QStringLiteral("One"), MakePage(QStringLiteral("one")));
    QWidget* second = tabs.AddPage(QStringLiteral("Two"), MakePage(QStringLiteral("two")));
    tabs.show();

    EXPECT_FALSE(tabs.SetActiveTab(1, true));
    EXPECT_EQ(tabs.GetActiveTab(), 0);
    EXPECT_TRUE(first->isVisible());
    ASSERT_EQ(tabs.asked.size(), 1u);
    EXPECT_EQ(tabs.asked[0], std::make_pair(first, second));
    EXPECT_TRUE(tabs.changed.empty());

    tabs.allow = true;
    EXPECT_TRUE(tabs.SetActiveTab(1, true));
    ASSERT_EQ(tabs.changed.size(), 1u);
    EXPECT_EQ(tabs.changed[0], std::make_pair(first, second));
    // The active tab again: no question, no change.
    EXPECT_TRUE(tabs.SetActiveTab(1, true));
    EXPECT_EQ(tabs.asked.size(), 2u);
}

TEST(TabWndPainting, ActiveTabIsRaisedAndJoinsItsPage)
{
    TTabWnd tabs;
    tabs.resize(500, 200);
    tabs.SetTabPos(TTabWnd::TabsOnTop);
    tabs.AddPage(QStringLiteral("Subject"), new QWidget);
    tabs.AddPage(QStringLiteral("Audiogram"), new QWidget);
    // Pages would cover the frame lines; hide them to see the band and the frame.
    tabs.GetTabWnd(0)->hide();
    const QImage image = tabs.grab().toImage();
    const QColor face = tabs.palette().color(QPalette::Button);
    const QColor shadow = tabs.palette().color(QPalette::Dark);
    const int activeMid = (tabs.TabLeft(0) + tabs.TabRight(0)) / 2;
    const int otherMid = (tabs.TabLeft(1) + tabs.TabRight(1)) / 2;

    // Both tabs have their black top edge at y 6.
    EXPECT_EQ(image.pixelColor(activeMid, 6).rgb(), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixelColor(otherMid, 6).rgb(), qRgb(0, 0, 0));
    // The inactive tab ends in a black line at y 26; the active one runs on into its page.
    EXPECT_EQ(image.pixelColor(otherMid, 26).rgb(), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixelColor(activeMid, 26).rgb(), face.rgb());
    // Under the active tab the page frame's top line is painted over; elsewhere it shows.
    EXPECT_EQ(image.pixelColor(activeMid, 30).rgb(), face.rgb());
    EXPECT_EQ(image.pixelColor(otherMid, 30).rgb(), shadow.rgb());
    // Two-pixel highlight inside the active tab's left edge, one pixel for the other.
    const QColor light = tabs.palette().color(QPalette::Light);
    EXPECT_EQ(image.pixelColor(tabs.TabLeft(0) + 2, 15).rgb(), light.rgb());
    EXPECT_EQ(image.pixelColor(tabs.TabLeft(1) + 1, 15).rgb(), light.rgb());
    EXPECT_EQ(image.pixelColor(tabs.TabLeft(1) + 2, 15).rgb(), face.rgb());
}

TEST(TabWndFocus, ActivatingFromCodeDoesNotMoveTheFocusButClickingDoes)
{
    TFrameWnd frame;
    auto outer = new TTabWnd;
    frame.setCentralWidget(outer);
    outer->SetTabPos(TTabWnd::TabsOnTop);
    QWidget* subject = outer->AddPage(QStringLiteral("Subject"), MakePage(QStringLiteral("subject")));
    auto inner = new TTabWnd;
    outer->AddPage(QStringLiteral("Audiogram"), inner);
    QWidget* chart = inner->AddPage(QStringLiteral("Audiogram"), MakePage(QStringLiteral("chart")));
    QWidget* data = inner->AddPage(QStringLiteral("Data"), MakePage(QStringLiteral("data")));
    TFrameWnd::MarkAsView(subject);
    TFrameWnd::MarkAsView(chart);
    TFrameWnd::MarkAsView(data);
    frame.resize(700, 500);
    frame.show();
    QApplication::setActiveWindow(&frame);

    auto subjectEdit = subject->findChild<QLineEdit*>();
    subjectEdit->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), subjectEdit);
    frame.SetActiveView(subject);

    // From code, inside the hidden Audiogram page: the page changes, the focus stays.
    EXPECT_TRUE(inner->SetActiveTab(1, false));
    EXPECT_EQ(inner->GetActiveTab(), 1);
    EXPECT_EQ(QApplication::focusWidget(), subjectEdit);
    EXPECT_EQ(frame.GetActiveView(), subject);
    EXPECT_EQ(outer->GetActiveTab(), 0);

    // A click on the outer tab activates the nested window's remembered page as the view.
    QTest::mouseClick(outer, Qt::LeftButton, {}, QPoint(outer->TabLeft(1) + 4, 15));
    EXPECT_EQ(outer->GetActiveTab(), 1);
    EXPECT_EQ(frame.GetActiveView(), data);
    EXPECT_TRUE(data->isVisible());
    EXPECT_FALSE(chart->isVisible());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST_F(TabWndTest, AnIdleTabWindowStopsRepainting)
{
    PaintCounter counter;
    tabs.installEventFilter(&counter);
    tabs.update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
    QTest::qWait(100);
    // Once painted, nothing has changed: further paints would mean the window keeps
    // scheduling its own repaint.
    counter.paints = 0;
    QTest::qWait(300);
    EXPECT_EQ(counter.paints, 0);
    tabs.removeEventFilter(&counter);
}

} // namespace

namespace {

TEST(TabWndFocus, ClickingATabPutsTheFocusWhereTheUserLeftThatPage)
{
    TFrameWnd frame;
    auto tabs = new TTabWnd;
    frame.setCentralWidget(tabs);
    tabs->SetTabPos(TTabWnd::TabsOnTop);
    auto twoEdits = [](const QString& name) {
        QWidget* page = MakePage(name);
        auto second = new QLineEdit(page);
        second->setObjectName(name + QStringLiteral("Second"));
        second->move(0, 40);
        return page;
    };
    QWidget* subject = tabs->AddPage(QStringLiteral("Subject"), twoEdits(QStringLiteral("subject")));
    QWidget* other = tabs->AddPage(QStringLiteral("Other"), twoEdits(QStringLiteral("other")));
    frame.resize(700, 500);
    frame.show();
    QApplication::setActiveWindow(&frame);

    auto subjectSecond = subject->findChild<QLineEdit*>(QStringLiteral("subjectSecond"));
    subjectSecond->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), subjectSecond);

    // First visit: the page's first control takes the focus, so typing goes somewhere.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint(tabs->TabLeft(1) + 4, 15));
    ASSERT_EQ(tabs->GetActiveTab(), 1);
    EXPECT_EQ(QApplication::focusWidget(), other->findChild<QLineEdit*>(QStringLiteral("otherEdit")));

    // Back again: the control the user left.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint(tabs->TabLeft(0) + 4, 15));
    ASSERT_EQ(tabs->GetActiveTab(), 0);
    EXPECT_EQ(QApplication::focusWidget(), subjectSecond);
}

} // namespace
