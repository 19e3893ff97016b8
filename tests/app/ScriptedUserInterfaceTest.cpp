// The tests' user interface must itself catch what it promises to catch.

#include "support/ScriptedUserInterface.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using quorin::UserInterface;
using quorin::test::ScriptedUserInterface;

TEST(ScriptedUserInterface, AnswersInOrderAndRecordsEveryText)
{
    ScriptedUserInterface ui;
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(ui.MessageBox("first?", UserInterface::Icon::Default, UserInterface::Buttons::YesNo),
              UserInterface::Answer::Yes);
    EXPECT_EQ(ui.MessageBox("note", UserInterface::Icon::Information, UserInterface::Buttons::Ok),
              UserInterface::Answer::Ok);
    EXPECT_EQ(ui.MessageBox("second?", UserInterface::Icon::Stop, UserInterface::Buttons::YesNo),
              UserInterface::Answer::No);
    EXPECT_EQ(ui.Texts(), (QStringList{"first?", "note", "second?"}));
    EXPECT_EQ(ui.Messages()[1].icon, UserInterface::Icon::Information);
}

TEST(ScriptedUserInterface, AnUnexpectedQuestionFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUserInterface ui;
            ui.MessageBox("Are you sure?", UserInterface::Icon::Default, UserInterface::Buttons::YesNo);
        },
        "unexpected question: Are you sure?");
}

TEST(ScriptedUserInterface, AnAnswerNeverAskedForFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUserInterface ui;
            ui.AnswerNext(UserInterface::Answer::Yes);
        },
        "never asked for");
}

TEST(ScriptedUserInterface, TheWaitCursorMustBeBalanced)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUserInterface ui;
            ui.BeginWaitCursor();
        },
        "wait cursor left on");
    ScriptedUserInterface ui;
    {
        quorin::WaitCursor a(ui);
        quorin::WaitCursor b(ui);
        EXPECT_EQ(ui.WaitCursorDepth(), 2);
    }
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}
