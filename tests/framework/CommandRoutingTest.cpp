// Commands go to the active view, then the document, the frame and the application;
// update handlers decide enabled and checked states, and the actions follow them.
#include "framework/TFrameWnd.h"

#include <QAction>
#include <QApplication>
#include <gtest/gtest.h>

#include <string>

namespace {

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

    // A view's range handler marks the chosen symbol as a radio item.
    view->CommandMap().OnUpdateRange(32795, 32805, [](CCmdUI* ui) { ui->SetRadio(ui->m_nID == 32797); });
    frame.SetActiveView(view);
    EXPECT_TRUE(frame.QueryCommand(32797).IsRadio());
    EXPECT_EQ(frame.QueryCommand(32797).Checked(), 1);
    EXPECT_EQ(frame.QueryCommand(32799).Checked(), 0);
    EXPECT_FALSE(frame.QueryCommand(32806).IsRadio());
}

TEST_F(CommandRoutingTest, FocusInsideAViewMakesItTheActiveView)
{
    TFrameWnd::MarkAsView(view);
    auto child = new QWidget(view);
    child->setFocusPolicy(Qt::StrongFocus);
    frame.show();
    QApplication::setActiveWindow(&frame);
    child->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(frame.GetActiveView(), view);
}

} // namespace
