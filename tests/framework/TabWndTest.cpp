// The tab window: where the focus goes when a page changes by mouse or from code, and
// that an idle window stops painting.
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
TEST(TabWndTest, AnIdleTabWindowStopsRepainting)
{
    TTabWnd tabs;
    tabs.resize(600, 400);
    tabs.SetTabPos(TTabWnd::TabsOnTop);
    for (const char* name : {"Subject", "Audiogram", "Other"})
        tabs.AddPage(QString::fromLatin1(name), MakePage(QString::fromLatin1(name)));
    tabs.show();
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
