// Commands go to the active view, then the document, the frame and the application;
// update handlers decide enabled and checked states.
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
        view = new ViewWidget;
        frame.setCentralWidget(view);
    }

    TFrameWnd frame;
    CCmdTarget document;
    CCmdTarget application;
    ViewWidget* view = nullptr;
    std::string log;
};

TEST_F(CommandRoutingTest, ActiveViewComesBeforeDocumentFrameAndApplication)
{
    for (auto [target, name] : {std::pair<CCmdTarget*, const char*>{view, "view"},
                                {&document, "doc"}, {&frame, "frame"}, {&application, "app"}})
        target->CommandMap().On(100, [this, name = std::string(name)] { log += name + ";"; });

    EXPECT_TRUE(frame.ExecuteCommand(100));
    EXPECT_EQ(log, "doc;"); // no active view yet

    frame.SetActiveView(view);
    EXPECT_TRUE(frame.ExecuteCommand(100));
    EXPECT_EQ(log, "doc;view;");
}

TEST_F(CommandRoutingTest, FrameAndApplicationTakeWhatTheOthersLeave)
{
    frame.CommandMap().On(200, [this] { log += "frame;"; });
    application.CommandMap().On(200, [this] { log += "app;"; });
    application.CommandMap().On(201, [this] { log += "app;"; });
    frame.SetActiveView(view);
    EXPECT_TRUE(frame.ExecuteCommand(200));
    EXPECT_TRUE(frame.ExecuteCommand(201));
    EXPECT_FALSE(frame.ExecuteCommand(202));
    EXPECT_EQ(log, "frame;app;");
}

TEST_F(CommandRoutingTest, CommandWithoutAnyHandlerIsDisabled)
{
    EXPECT_FALSE(frame.QueryCommand(57607).IsEnabled());
    document.CommandMap().On(57603, [] {});
    EXPECT_TRUE(frame.QueryCommand(57603).IsEnabled());
}

TEST_F(CommandRoutingTest, UpdateHandlersDecideEnabledAndRadioStates)
{
    // Page Prev/Next style rules computed from members of the document.
    int historyLoaded = 0, historyPos = 1, historyCount = 2, pageDir = 0;
    document.CommandMap().On(32807, [] {});
    document.CommandMap().On(32808, [] {});
    document.CommandMap().OnUpdate(32807, [&](CCmdUI* ui) { ui->Enable(!(historyLoaded == 1 && historyPos == 1)); });
    document.CommandMap().OnUpdate(32808, [&](CCmdUI* ui) {
        ui->Enable(pageDir != 0 && historyPos != historyCount + 1);
    });
    EXPECT_TRUE(frame.QueryCommand(32807).IsEnabled());
    EXPECT_FALSE(frame.QueryCommand(32808).IsEnabled());
    historyLoaded = 1;
    pageDir = 1;
    EXPECT_FALSE(frame.QueryCommand(32807).IsEnabled());
    EXPECT_TRUE(frame.QueryCommand(32808).IsEnabled());
    historyPos = 3;
    EXPECT_FALSE(frame.QueryCommand(32808).IsEnabled());

    // A view's range update handler marks the chosen symbol as a radio item.
    unsigned chosen = 32797;
    view->CommandMap().OnUpdateRange(32795, 32805, [&](CCmdUI* ui) { ui->SetRadio(ui->m_nID == chosen); });
    frame.SetActiveView(view);
    EXPECT_TRUE(frame.QueryCommand(32797).IsRadio());
    EXPECT_EQ(frame.QueryCommand(32797).Checked(), 1);
    EXPECT_EQ(frame.QueryCommand(32799).Checked(), 0);
    EXPECT_EQ(frame.QueryCommand(32806).IsRadio(), false);
}

TEST_F(CommandRoutingTest, ActionsFollowTheUpdateHandlersAndTriggerTheirCommands)
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
