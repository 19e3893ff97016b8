// quorin-registry update as a scheduled job runs it, on the demo registry: a dry run, the
// summary, the exit status, and clinic reads that fail.

#include "NightlyFixture.h"

#include <QRegularExpression>

using namespace quorin::test;

namespace {

using UpdateCommand = NightlyTest;

TEST_F(UpdateCommand, ADryRunListsWhatTheRunImportsAndASecondRunFindsNothing)
{
    const int withKv = std::stoi(Sql("Quorin", "select count(*) from subjects where Unit <> 0"));
    const std::string checked = "Checked: " + std::to_string(withKv) + " subjects with a KV Number";
    const auto before = Files();
    const ToolRun dry = Registry("update", folder, "--dry-run");
    EXPECT_EQ(dry.status, 0) << dry.err;
    const std::vector<std::string> lines = dry.outLines();
    ASSERT_GE(lines.size(), 4u) << dry.out;
    const int newer = NumberIn(lines[1]);
    ASSERT_GE(newer, 3) << "the demo should have newer clinic tests";
    ASSERT_EQ(lines.size(), 4u + newer) << dry.out;
    EXPECT_EQ(lines[0], checked);
    // "  <subject> <KV Number> <the registry's newest test> <the clinic's newest test>"
    const QRegularExpression listed(R"(^  \d+ \d+ \d\d?/\d\d?/\d{4} \d\d?/\d\d?/\d{4}$)");
    for (int i = 0; i < newer; ++i)
        EXPECT_TRUE(listed.match(QString::fromStdString(lines[2 + i])).hasMatch()) << lines[2 + i];
    EXPECT_EQ(lines[2 + newer], "Not updated: 0");
    EXPECT_EQ(lines.back(), "Updated 0 records!");
    EXPECT_EQ(Files(), before);

    for (const std::string& n : {std::to_string(newer), std::string("0")}) {
        const ToolRun run = Registry("update", folder);
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.outLines(), (std::vector<std::string>{checked, "Newer tests: " + n, "Not updated: 0",
                                                            "Updated " + n + " records!"}));
    }
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
