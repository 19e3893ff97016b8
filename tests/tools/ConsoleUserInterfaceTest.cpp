// The nightly jobs' user interface, in process: what nobody is there to answer is answered
// No and counted (it fails the run), and the boxes go to standard error.

#include "tools/quorin-registry/ConsoleUserInterface.h"

#include <gtest/gtest.h>

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
