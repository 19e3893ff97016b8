// The tab window: its band, switching by mouse and from code, the may-change check, and
// where the focus goes.
#include "framework/TFrameWnd.h"
#include "framework/TTabWnd.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A page with two edits, "<name>Edit" and "<name>Second".
QWidget* MakePage(const QString& name)
{
    auto page = new QWidget;
    page->setObjectName(name);
    (new QLineEdit(page))->setObjectName(name + QStringLiteral("Edit"));
    auto second = new QLineEdit(page);
    second->setObjectName(name + QStringLiteral("Second"));
    second->move(0, 40);
    return page;
}

class TabWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tabs.resize(600, 400);
        tabs.SetTabPos(TTabWnd::TabsOnTop);
        for (const char* name : {"Subject", "Audiogram", "Other"})
            tabs.AddPage(QString::fromLatin1(name), MakePage(QString::fromLatin1(name)));
        tabs.show();
    }

    TTabWnd tabs;
};

TEST_F(TabWndTest, TabsAreHitOnlyInsideTheBandAndPagesFillTheRest)
{
    EXPECT_EQ(tabs.TabLeft(1), tabs.TabRight(0) + 6);
    const int x = tabs.TabLeft(1) + 3;
    EXPECT_EQ(tabs.HitTest(x, 6), 1);
    EXPECT_EQ(tabs.HitTest(x, 26), 1);
    EXPECT_EQ(tabs.HitTest(x, 27), -1);
    EXPECT_EQ(tabs.HitTest(tabs.TabRight(0) + 3, 15), -1); // the gap after a tab
    EXPECT_EQ(tabs.GetTabWnd(0)->geometry(), QRect(1, 31, 598, 368));
    tabs.SetTabPos(TTabWnd::TabsOnBottom);
    EXPECT_EQ(tabs.HitTest(x, tabs.height() - 26), 1);
    EXPECT_EQ(tabs.HitTest(x, 15), -1);
    EXPECT_EQ(tabs.GetTabWnd(0)->geometry(), QRect(1, 0, 598, 370));
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
    std::vector<std::pair<QWidget*, QWidget*>> asked, changed;
};

TEST(TabWndChangeCheck, RefusalKeepsTheOldPageAndConsentSwitchesWithNotification)
{
    RefusingTabWnd tabs;
    QWidget* first = tabs.AddPage(QStringLiteral("One"), MakePage(QStringLiteral("one")));
    QWidget* second = tabs.AddPage(QStringLiteral("Two"), MakePage(QStringLiteral("two")));
    tabs.show();
    EXPECT_FALSE(tabs.SetActiveTab(1, true));
    EXPECT_EQ(tabs.GetActiveTab(), 0);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(tabs.asked, (std::vector<std::pair<QWidget*, QWidget*>>{{first, second}}));
    EXPECT_TRUE(tabs.changed.empty());
    tabs.allow = true;
    EXPECT_TRUE(tabs.SetActiveTab(1, true));
    EXPECT_EQ(tabs.changed, (std::vector<std::pair<QWidget*, QWidget*>>{{first, second}}));
    EXPECT_TRUE(tabs.SetActiveTab(1, true)); // the active tab again: no question
    EXPECT_EQ(tabs.asked.size(), 2u);
}

// From code, a page changes without taking the focus; a click on a tab puts it where the
// user left that page, or in its first control on the first visit.
TEST(TabWndFocus, ClicksPutTheFocusWhereTheUserLeftThePageAndCodeLeavesItAlone)
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
    for (QWidget* view : {subject, chart, data})
        TFrameWnd::MarkAsView(view);
    frame.resize(700, 500);
    frame.show();
    QApplication::setActiveWindow(&frame);
    auto left = subject->findChild<QLineEdit*>(QStringLiteral("subjectSecond"));
    left->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), left);
    frame.SetActiveView(subject);

    EXPECT_TRUE(inner->SetActiveTab(1, false));
    EXPECT_EQ(QApplication::focusWidget(), left);
    EXPECT_EQ(frame.GetActiveView(), subject);
    EXPECT_EQ(outer->GetActiveTab(), 0);

    QTest::mouseClick(outer, Qt::LeftButton, {}, QPoint(outer->TabLeft(1) + 4, 15));
    EXPECT_EQ(frame.GetActiveView(), data); // the nested window's remembered page
    EXPECT_FALSE(chart->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), data->findChild<QLineEdit*>(QStringLiteral("dataEdit")));
    QTest::mouseClick(outer, Qt::LeftButton, {}, QPoint(outer->TabLeft(0) + 4, 15));
    EXPECT_EQ(QApplication::focusWidget(), left);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Raising the captions from the paint once scheduled the next paint, without end.
TEST_F(TabWndTest, AnIdleTabWindowStopsRepainting)
{
    PaintCounter counter;
    tabs.installEventFilter(&counter);
    tabs.update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
    QTest::qWait(100);
    counter.paints = 0;
    QTest::qWait(300);
    EXPECT_EQ(counter.paints, 0);
    tabs.removeEventFilter(&counter);
}

} // namespace
