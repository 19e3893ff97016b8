// The nightly jobs' user interface, in process: what nobody is there to answer, where
// the texts go, and the cancel by signal.

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

TEST(ConsoleUserInterface, ProgressShowsOnlyOnATerminalOnOneLinePerPhase)
{
    std::ostringstream quiet;
    ConsoleUserInterface job(quiet, false);
    job.BeginProgress(2);
    EXPECT_FALSE(job.StepProgress("Checking subject 1 of 2"));
    job.EndProgress();
    EXPECT_EQ(quiet.str(), "");

    std::ostringstream terminal;
    ConsoleUserInterface shown(terminal, true);
    shown.BeginProgress(2);
    shown.StepProgress("Checking subject 1 of 2");
    shown.StepProgress("Checking subject 2 of 2");
    // A box in the middle starts on a line of its own.
    shown.MessageBox("Unable to connect to Database Aud!", UserInterface::Icon::Stop, UserInterface::Buttons::Ok);
    shown.EndProgress();
    shown.BeginProgress(1);
    shown.StepProgress("Updating subject 1 of 1");
    shown.EndProgress();
    EXPECT_EQ(terminal.str(), "\rChecking subject 1 of 2\rChecking subject 2 of 2\n"
                              "Unable to connect to Database Aud!\n"
                              "\rUpdating subject 1 of 1\n");
}

TEST(ConsoleUserInterface, ATerminationSignalCancelsAtTheNextStep)
{
    std::ostringstream err;
    ConsoleUserInterface ui(err, false);
    ConsoleUserInterface::CatchCancelSignals();
    EXPECT_FALSE(ui.StepProgress("Updating subject 1 of 3"));
    std::raise(SIGTERM); // the process goes on: only the cancel is asked for
    EXPECT_TRUE(ConsoleUserInterface::CancelRequested());
    EXPECT_TRUE(ui.StepProgress("Updating subject 2 of 3"));
}
