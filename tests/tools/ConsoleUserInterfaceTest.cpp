// The nightly jobs' user interface, in process: what nobody is there to answer is answered
// No and counted (it fails the run), the boxes go to standard error, and a signal cancels.

#include "tools/quorin-registry/ConsoleUserInterface.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

using quorin::UserInterface;
using quorin::tools::ConsoleUserInterface;

TEST(ConsoleUserInterface, QuestionsAndDialogsGetNoAndAreCountedBoxesArePrinted)
{
    std::ostringstream err;
    ConsoleUserInterface ui(err, false);
    EXPECT_EQ(ui.MessageBox("Unable to connect to Database Aud!", UserInterface::Icon::Stop, UserInterface::Buttons::Ok),
              UserInterface::Answer::Ok);
    EXPECT_EQ(ui.Unanswered(), 0);
    EXPECT_EQ(ui.MessageBox("Save Current Subject?", UserInterface::Icon::Default, UserInterface::Buttons::YesNo),
              UserInterface::Answer::No);
    EXPECT_EQ(ui.RunDialog(UserInterface::Dialog::CidLookup), 2);
    EXPECT_EQ(ui.GetOpenFileName("txt"), "");
    EXPECT_EQ(ui.Unanswered(), 3);
    const std::string text = err.str();
    EXPECT_EQ(text.rfind("Unable to connect to Database Aud!\nSave Current Subject? - answered No", 0), 0u) << text;
}

// Once SIGTERM (or SIGINT) has come, every progress step asks to cancel, so a run stops
// between subjects; the steps show only on a terminal, never on standard output.
TEST(ConsoleUserInterface, ASignalCancelsAtTheNextStepAndStepsShowOnlyOnATerminal)
{
    std::ostringstream file, terminal;
    ConsoleUserInterface quiet(file, false), shown(terminal, true);
    ConsoleUserInterface::CatchCancelSignals();
    EXPECT_FALSE(quiet.StepProgress("Updating subject 1 of 2"));
    EXPECT_FALSE(shown.StepProgress("Updating subject 1 of 2"));
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_TRUE(quiet.StepProgress("Updating subject 2 of 2"));
    EXPECT_TRUE(shown.StepProgress("Updating subject 2 of 2"));
    shown.EndProgress();
    EXPECT_EQ(file.str(), "");
    EXPECT_EQ(terminal.str(), "\rUpdating subject 1 of 2\rUpdating subject 2 of 2\n");
}
