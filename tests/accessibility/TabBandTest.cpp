// The tab window's band through Qt's accessibility interface: a page-tab list with one
// tab per page, the active one selected, pressing a tab switches pages, and the reader
// follows the window's own switches. Also the self-drawn view's description and focus item.

#include "framework/AccessibleCanvas.h"
#include "framework/AccessibleFactory.h"
#include "framework/TTabWnd.h"
#include "framework/TemplateBuilder.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class TabBandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        framework::InstallAccessibleFactories();
        tabs = std::make_unique<TTabWnd>();
        tabs->SetTabPos(TTabWnd::TabsOnTop);
        for (const char* title : {"Subject", "Audiogram", "Other"}) {
            auto page = new QWidget;
            new QLineEdit(page);
            tabs->AddPage(QString::fromUtf8(title), page);
        }
        tabs->resize(500, 300);
        tabs->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tabs.get()));
    }
    void TearDown() override
    {
        tabs.reset();
    }

    QAccessibleInterface* Band() const
    {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(tabs.get());
        return window ? window->child(0) : nullptr;
    }

    std::unique_ptr<TTabWnd> tabs;
};

TEST_F(TabBandTest, BandIsAPageTabListWithTheActiveTabSelected)
{
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(tabs.get());
    ASSERT_NE(window, nullptr);
    // The band, then the three pages, and not the captions the window paints with.
    EXPECT_EQ(window->childCount(), 4);
    QAccessibleInterface* band = Band();
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->role(), QAccessible::PageTabList);
    EXPECT_EQ(band->parent(), window);
    EXPECT_EQ(window->indexOfChild(band), 0);
    ASSERT_EQ(band->childCount(), 3);
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* tab = band->child(i);
        EXPECT_EQ(tab->role(), QAccessible::PageTab);
        EXPECT_EQ(tab->parent(), band);
        EXPECT_EQ(band->indexOfChild(tab), i);
        EXPECT_EQ(tab->state().selected, i == 0) << i;
        EXPECT_TRUE(tab->state().selectable);
        EXPECT_FALSE(tab->rect().isEmpty());
        names << tab->text(QAccessible::Name);
    }
    EXPECT_EQ(names, (QStringList{"Subject", "Audiogram", "Other"}));
    // The pages follow the band, each its own window's interface, named as its tab.
    EXPECT_EQ(window->child(2)->object(), tabs->GetTabWnd(1));
    EXPECT_EQ(window->child(2)->text(QAccessible::Name), QStringLiteral("Audiogram"));
    EXPECT_EQ(window->indexOfChild(window->child(3)), 3);
    // Tabs sit side by side in the band, and a point on one finds it.
    const QRect second = band->child(1)->rect();
    EXPECT_GT(second.left(), band->child(0)->rect().left());
    EXPECT_TRUE(band->rect().contains(second.center()));
    EXPECT_EQ(band->childAt(second.center().x(), second.center().y()), band->child(1));
}

TEST_F(TabBandTest, PressingATabSwitchesThePage)
{
    QAccessibleInterface* band = Band();
    QAccessibleActionInterface* press = band->child(2)->actionInterface();
    ASSERT_NE(press, nullptr);
    ASSERT_TRUE(press->actionNames().contains(QAccessibleActionInterface::pressAction()));
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs->GetActiveTab(), 2);
    EXPECT_TRUE(tabs->GetTabWnd(2)->isVisible());
    EXPECT_TRUE(band->child(2)->state().selected);
    EXPECT_FALSE(band->child(0)->state().selected);
    // The window's own switch shows in the band just the same.
    tabs->SetActiveTab(1, false);
    EXPECT_TRUE(band->child(1)->state().selected);
    EXPECT_FALSE(band->child(2)->state().selected);
}

TEST_F(TabBandTest, AHiddenTabIsInvisibleAndNotFoundByPoint)
{
    tabs->SetTabVisible(1, false);
    QAccessibleInterface* tab = Band()->child(1);
    EXPECT_TRUE(tab->state().invisible);
    EXPECT_TRUE(tab->rect().isEmpty());
    EXPECT_FALSE(Band()->child(2)->state().invisible);
}

TEST_F(TabBandTest, TheBandAtTheBottomIsWhereTheTabsArePainted)
{
    tabs->SetTabPos(TTabWnd::TabsOnBottom);
    const QRect band = Band()->rect();
    const QPoint bottomLeft = tabs->mapToGlobal(QPoint(0, tabs->height()));
    EXPECT_LT(bottomLeft.y() - band.bottom(), 40);
    const QRect tab = Band()->child(0)->rect();
    const QPoint local = tabs->mapFromGlobal(tab.center());
    EXPECT_EQ(tabs->HitTest(local), 0) << "the tab's rectangle is where a click hits it";
}

TEST(AccessibleCanvas, PublishesItsDescriptionAndTheItemUnderTheFocusPoint)
{
    framework::InstallAccessibleFactories();
    QWidget view;
    framework::MakeAccessibleCanvas(&view, QAccessible::Chart);
    view.setFocusPolicy(Qt::StrongFocus);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->childCount(), 0);

    framework::PublishCanvasDescription(&view, QStringLiteral("Audiogram of 3/4/2024, 12 points, right and left ear"));
    EXPECT_EQ(chart->text(QAccessible::Description), QStringLiteral("Audiogram of 3/4/2024, 12 points, right and left ear"));

    framework::PublishCanvasFocusItem(&view, QStringLiteral("AC right ear, 1000 Hz, 20 dB"), QRect(40, 50, 9, 9));
    ASSERT_EQ(chart->childCount(), 1);
    QAccessibleInterface* item = chart->child(0);
    EXPECT_EQ(item->text(QAccessible::Name), QStringLiteral("AC right ear, 1000 Hz, 20 dB"));
    EXPECT_EQ(item->parent(), chart);
    EXPECT_EQ(chart->indexOfChild(item), 0);
    EXPECT_EQ(item->rect().topLeft(), view.mapToGlobal(QPoint(40, 50)));
    view.activateWindow();
    view.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    EXPECT_EQ(chart->focusChild(), item);
    EXPECT_TRUE(item->state().focused);

    framework::PublishCanvasFocusItem(&view, QString());
    EXPECT_EQ(chart->childCount(), 0);
}

} // namespace
