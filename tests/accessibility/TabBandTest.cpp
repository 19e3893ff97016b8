// The tab window's band as a screen reader meets it: a page-tab list, one tab per page,
// the active one selected, a press switching the page, and the window's own switches
// shown in the band.

#include "framework/AccessibleFactory.h"
#include "framework/TTabWnd.h"

#include <QAccessible>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(TabBand, IsAPageTabListWhosePressSwitchesThePageAndWhoseSelectionFollowsTheWindow)
{
    framework::InstallAccessibleFactories();
    TTabWnd tabs;
    tabs.SetTabPos(TTabWnd::TabsOnTop);
    for (const char* title : {"Subject", "Audiogram", "Other"})
        tabs.AddPage(QString::fromLatin1(title), new QWidget);
    tabs.resize(500, 300);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&tabs);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->childCount(), 4); // the band, then the pages
    QAccessibleInterface* band = window->child(0);
    ASSERT_EQ(band->role(), QAccessible::PageTabList);
    QStringList names;
    for (int i = 0; i < band->childCount(); ++i) {
        EXPECT_EQ(band->child(i)->role(), QAccessible::PageTab);
        EXPECT_EQ(band->child(i)->state().selected, i == 0) << i;
        names << band->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(names, (QStringList{"Subject", "Audiogram", "Other"}));
    EXPECT_EQ(window->child(2)->object(), tabs.GetTabWnd(1));
    const QRect second = band->child(1)->rect();
    EXPECT_EQ(band->childAt(second.center().x(), second.center().y()), band->child(1));

    ASSERT_NE(band->child(2)->actionInterface(), nullptr);
    band->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs.GetActiveTab(), 2);
    EXPECT_TRUE(band->child(2)->state().selected);
    tabs.SetActiveTab(1, false);
    EXPECT_TRUE(band->child(1)->state().selected);
    EXPECT_FALSE(band->child(2)->state().selected);
}

} // namespace
