// quorin-registry update as a scheduled job runs it, on the demo registry: the summary,
// the exit status, a dry run, a cancel by signal, and clinic reads that fail.

#include "NightlyFixture.h"

#include <QRegularExpression>

#include <chrono>
#include <csignal>
#include <thread>

using namespace quorin::test;

namespace {

using UpdateCommand = NightlyTest;

TEST_F(UpdateCommand, ImportsEveryNewerTestPrintsTheSummaryAndFindsNothingTheSecondTime)
{
    const int withKv = std::stoi(Sql("Quorin", "select count(*) from subjects where Unit <> 0"));
    const std::string checked = "Checked: " + std::to_string(withKv) + " subjects with a KV Number";
    const ToolRun first = Registry("update", folder);
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_EQ(first.err, "");
    const std::vector<std::string> lines = first.outLines();
    ASSERT_EQ(lines.size(), 4u) << first.out;
    const int newer = NumberIn(lines[1]);
    EXPECT_GE(newer, 3) << "the demo should have newer clinic tests";
    EXPECT_EQ(lines, (std::vector<std::string>{checked, "Newer tests: " + std::to_string(newer), "Not updated: 0",
                                               "Updated " + std::to_string(newer) + " records!"}));
    const ToolRun second = Registry("update", folder);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.outLines(),
              (std::vector<std::string>{checked, "Newer tests: 0", "Not updated: 0", "Updated 0 records!"}));
}

TEST_F(UpdateCommand, DryRunListsTheSubjectsWithBothDatesAndWritesNothing)
{
    const auto before = Files();
    const ToolRun run = Registry("update", folder, "--dry-run");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = run.outLines();
    ASSERT_GE(lines.size(), 4u) << run.out;
    const int newer = NumberIn(lines[1]);
    ASSERT_EQ(lines.size(), 4u + newer) << run.out;
    // "  <subject> <KV Number> <the registry's newest test> <the clinic's newest test>"
    const QRegularExpression listed(R"(^  \d+ \d+ \d\d?/\d\d?/\d{4} \d\d?/\d\d?/\d{4}$)");
    for (int i = 0; i < newer; ++i)
        EXPECT_TRUE(listed.match(QString::fromStdString(lines[2 + i])).hasMatch()) << lines[2 + i];
    EXPECT_EQ(lines[2 + newer], "Not updated: 0");
    EXPECT_EQ(lines.back(), "Updated 0 records!");
    EXPECT_EQ(Files(), before);
}

TEST_F(UpdateCommand, InterruptStopsBetweenSubjectsKeepingTheOneInHand)
{
    const int newer = NumberIn(Registry("update", folder, "--dry-run").outLines().at(1));
    ASSERT_GE(newer, 3);
    // The first subject's status write to the Audiogram Manager waits for another
    // program's transaction, so the signal arrives while that subject is in hand.
    HeldWriteLock other(folder, "Aud");
    TerminalRun run(base, {"update", "-S", folder, "-U", kDemoUser});
    ASSERT_TRUE(run.WaitFor("Updating subject 1 of " + std::to_string(newer))) << run.Terminal();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    run.Signal(SIGTERM);
    other.Release();
    EXPECT_EQ(run.Finish(), 1) << run.Terminal();
    // The progress went to the terminal; standard output has only the summary.
    const std::string out = run.Out();
    EXPECT_EQ(out.find("subject 1 of"), std::string::npos) << out;
    EXPECT_NE(out.find("\nCancelled: " + std::to_string(newer - 1) + " not processed\nUpdated 1 records!\n"),
              std::string::npos)
        << out;
    // The next run takes up the rest, since their clinic tests are still newer.
    const ToolRun next = Registry("update", folder);
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(next.outLines().back(), "Updated " + std::to_string(newer - 1) + " records!");
}

TEST_F(UpdateCommand, AClinicThatRefusesReadsFailsTheRunAndSaysWhy)
{
    const int withKv = std::stoi(Sql("Quorin", "select count(*) from subjects where Unit <> 0"));
    Sql("Aud", "DENY SELECT ON info TO QuorinUser");
    const std::string before = Files().at("Quorin.db");

    const ToolRun run = Registry("update", folder);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_NE(run.err.find("Msg 229"), std::string::npos) << run.err;
    const std::vector<std::string> lines = run.outLines();
    ASSERT_EQ(lines.size(), 5u + withKv) << run.out;
    EXPECT_EQ(lines[1], "Newer tests: 0");
    EXPECT_EQ(lines[2], "Status sent: failed");
    EXPECT_EQ(lines[3], "Not updated: " + std::to_string(withKv));
    for (int i = 0; i < withKv; ++i)
        EXPECT_TRUE(lines[4 + i].ends_with(" Aud read failed")) << lines[4 + i];
    EXPECT_EQ(lines.back(), "Updated 0 records!");
    EXPECT_EQ(Files().at("Quorin.db"), before);
}

} // namespace
