// The framework's small parts: message boxes under the wait cursor, the report list
// control, command routing with its update handlers, and the workspace tree.
#include "framework/MessageBox.h"
#include "framework/ReportListCtrl.h"
#include "framework/TFrameWnd.h"
#include "framework/TTabWnd.h"
#include "framework/TVisualFramework.h"
#include "framework/WaitCursor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Answered from the event loop, as a user would: the box shows the arrow, not the wait
// cursor that is up, and says which button was pressed.
TEST(MessageBox, RealBoxShowsTheArrowAndReturnsTheButtonPressed)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    Qt::CursorShape during = Qt::WaitCursor;
    {
        CWaitCursor outer;
        CWaitCursor inner;
        QTimer::singleShot(0, [&] {
            during = QApplication::overrideCursor()->shape();
            qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->button(QMessageBox::No)->click();
        });
        EXPECT_EQ(framework::ShowMessage(QStringLiteral("Save Current Subject?"), framework::MessageIcon::Default,
                                         framework::MessageButtons::YesNo),
                  framework::MessageResult::No);
        EXPECT_EQ(during, Qt::ArrowCursor);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        EXPECT_EQ(CWaitCursor::Depth(), 2);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    CWaitCursor::End(); // unmatched: ignored
    EXPECT_EQ(CWaitCursor::Depth(), 0);
}

// A fill sets the texts of its new rows without a change notice per cell; rows the view
// has already shown, or that moved, are still told every change.
TEST(ReportList, ChangesToRowsTheViewHasShownReachIt)
{
    CReportListCtrl list;
    list.InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::FormatLeft, 120);
    list.InsertColumn(1, QStringLiteral("City"), CReportListCtrl::FormatLeft, 90);
    list.AppendItem(QStringLiteral("LEE"));
    list.SetItemText(0, 1, QStringLiteral("Omaha"));
    QSignalSpy changed(list.model(), &QAbstractItemModel::dataChanged);
    list.show();
    QApplication::processEvents();
    list.SetItemText(0, 1, QStringLiteral("Lincoln"));
    EXPECT_EQ(changed.count(), 1);

    list.AppendItem(QStringLiteral("KIM"));
    list.SetItemText(1, 1, QStringLiteral("Ames"));
    list.InsertItem(0, QStringLiteral("NAME")); // the rows move down under the heading
    list.SetItemText(1, 1, QStringLiteral("Kearney"));
    list.SetItemData(1, 4711);
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(list.GetItemText(1, 1), QStringLiteral("Kearney"));
    EXPECT_EQ(list.GetItemText(2, 1), QStringLiteral("Ames"));
    EXPECT_EQ(list.GetItemData(1), 4711);
}

class ViewWidget : public QWidget, public CCmdTarget {};

class CommandRoutingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame.SetDocumentTarget(&document);
        frame.SetApplicationTarget(&application);
        frame.setCentralWidget(view);
    }

    TFrameWnd frame;
    CCmdTarget document;
    CCmdTarget application;
    ViewWidget* view = new ViewWidget;
    std::string log;
};

TEST_F(CommandRoutingTest, ActiveViewComesBeforeDocumentFrameAndApplication)
{
    const std::pair<CCmdTarget*, const char*> targets[] = {
        {view, "view"}, {&document, "doc"}, {&frame, "frame"}, {&application, "app"}};
    // Command 100 has every handler, 101 all but the view's, 102 the frame's and the
    // application's, 103 the application's alone, 104 none.
    for (unsigned id = 100; id < 104; ++id)
        for (std::size_t t = id - 100; t < 4; ++t)
            targets[t].first->CommandMap().On(id, [this, name = std::string(targets[t].second)] { log += name + ";"; });
    EXPECT_TRUE(frame.ExecuteCommand(100));
    EXPECT_EQ(log, "doc;"); // no active view yet
    frame.SetActiveView(view);
    for (unsigned id = 100; id < 104; ++id)
        EXPECT_TRUE(frame.ExecuteCommand(id));
    EXPECT_FALSE(frame.ExecuteCommand(104));
    EXPECT_FALSE(frame.QueryCommand(104).IsEnabled());
    EXPECT_EQ(log, "doc;view;doc;frame;app;");
}

TEST_F(CommandRoutingTest, UpdateHandlersDecideTheStatesAndTheActionsFollow)
{
    bool enabled = false;
    int runs = 0;
    document.CommandMap().On(300, [&] { ++runs; });
    document.CommandMap().OnUpdate(300, [&](CCmdUI* ui) { ui->Enable(enabled); });
    auto action = new QAction(QStringLiteral("Three hundred"), &frame);
    frame.RegisterCommandAction(300, action);
    frame.UpdateCommandUI();
    EXPECT_FALSE(action->isEnabled());
    enabled = true;
    frame.UpdateCommandUI();
    EXPECT_TRUE(action->isEnabled());
    action->trigger();
    EXPECT_EQ(runs, 1);

}

TWindowClass PlainView()
{
    return TWindowClass{QStringLiteral("CPlainView"), 5,
                        [](QWidget* parent, CCreateContext*) -> QWidget* { return new QWidget(parent); }};
}

// A refused node stays the caller's, whole: the framework neither keeps nor deletes it.
TEST(VisualFramework, RefusedNodesStayTheCallersWhole)
{
    TVisualFramework framework;
    auto root = new TVisualNode(1, QString(), TTabWnd::WindowClass(), nullptr, TVisualNode::TabsTop);
    EXPECT_TRUE(framework.Add(root));
    EXPECT_TRUE(framework.Add(root, new TVisualNode(2, QStringLiteral("Page"), PlainView(), nullptr)));
    auto again = std::make_unique<TVisualNode>(1, QStringLiteral("again"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(again.get()));
    EXPECT_EQ(again->m_pFramework, nullptr);
    auto twice = std::make_unique<TVisualNode>(2, QStringLiteral("Twice"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(root, twice.get()));
    EXPECT_EQ(twice->m_pParent, nullptr);
    // Nor is a child hung under a parent that is not in the tree.
    auto stranger = std::make_unique<TVisualNode>(7, QStringLiteral("Stranger"), PlainView(), nullptr);
    auto orphan = std::make_unique<TVisualNode>(8, QStringLiteral("Orphan"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(stranger.get(), orphan.get()));
    EXPECT_TRUE(stranger->m_children.empty());
    EXPECT_EQ(framework.FindNode(8), nullptr);
    EXPECT_EQ(framework.FindNode(2)->m_pParent, root);
    EXPECT_EQ(root->m_children.size(), 1u);
}

} // namespace
