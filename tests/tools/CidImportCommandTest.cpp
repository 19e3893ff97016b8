// quorin-registry cid-import as a scheduled job runs it, on the demo registry: clinic reads
// that fail, subjects another program has locked, what stops the start, and bad input.

#include "NightlyFixture.h"

#include "dalport/Registry.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quorin::test;

namespace {

using CidImportCommand = NightlyTest;

// The indented lines after the one that starts with `after`, sorted.
std::vector<std::string> Listed(const std::vector<std::string>& lines, const std::string& after)
{
    auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(after); });
    std::vector<std::string> out;
    for (it = it == lines.end() ? it : it + 1; it != lines.end() && it->starts_with("  "); ++it)
        out.push_back(*it);
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(CidImportCommand, ACidThatRefusesReadsFailsTheRunAndSaysWhy)
{
    // Every implant subject is listed: with the reason, or as having no KV Number.
    std::vector<std::string> expected;
    std::istringstream subjects(
        Sql("Quorin", "select SubjectId, Unit from subjects where patimpression = 'Cochlear Implant'"));
    for (std::string id, unit; subjects >> id >> unit && std::isdigit(static_cast<unsigned char>(id[0]));)
        expected.push_back("  " + id + (unit == "0" ? " - no KV Number" : " " + unit + " CID read failed"));
    std::sort(expected.begin(), expected.end());
    ASSERT_FALSE(expected.empty());
    Sql("CID", "DENY SELECT ON patient TO QuorinUser");
    const std::string before = Files().at("Quorin.db");

    const ToolRun run = Registry("cid-import", folder);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_NE(run.err.find("Msg 229"), std::string::npos) << run.err;
    const std::vector<std::string> lines = run.outLines();
    EXPECT_EQ(lines.at(1), "Found in CID: 0");
    EXPECT_EQ(Listed(lines, "Not updated:"), expected);
    EXPECT_EQ(lines.back(), "Updated 0 records!");
    EXPECT_EQ(Files().at("Quorin.db"), before);
}

TEST_F(CidImportCommand, SubjectsLockedByAnotherProgramFailAndTheNextRunTakesThemUp)
{
    // What the run finds, from a dry run: "  <subject> <KV Number> <CID patient>" each.
    const std::vector<std::string> dry = Registry("cid-import", folder, "--dry-run").outLines();
    const int found = NumberIn(dry.at(1));
    ASSERT_GE(found, 2);
    std::vector<std::string> expected = Listed(dry, "Not updated:");
    for (int i = 0; i < found; ++i)
        expected.push_back(dry.at(2 + i).substr(0, dry[2 + i].rfind(' ')) + " save failed");
    std::sort(expected.begin(), expected.end());

    // A second program is saving a subject, its transaction open for the whole run.
    ToolRun run;
    {
        const auto other = HoldWriteLock(folder, "Quorin", "update subjects set Notes = 'saved elsewhere' "
                                                           "where SubjectId = (select max(SubjectId) from subjects);");
        run = Registry("cid-import", folder);
    }
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(Listed(run.outLines(), "Not updated:"), expected) << run.out;
    EXPECT_EQ(run.outLines().back(), "Updated 0 records!");
    EXPECT_NE(run.err.find("Msg 1222, Level 16, State 56, Server " + folder + ", Line 1\n"), std::string::npos)
        << run.err;
    // The other program's save is kept, and the next run takes every subject up.
    EXPECT_EQ(std::stoi(Sql("Quorin", "select count(*) from subjects where Notes like 'saved elsewhere'")), 1);
    const ToolRun next = Registry("cid-import", folder);
    EXPECT_EQ(next.status, 0) << next.out << next.err;
    EXPECT_EQ(next.outLines().back(), "Updated " + std::to_string(found) + " records!");
}

// A run that cannot start, or bad input (one line of usage), changes nothing and exits 2.
TEST_F(CidImportCommand, WhatStopsTheStartOrBadInputChangesNothingAndExitsWithTwo)
{
    // A login with a user in the registry and the Audiogram Manager but none in CID.
    dalport::CreateLogin(folder, "clerk", "Clerk-pw-1");
    dalport::CreateDatabaseUser(folder, "Quorin", "clerk", "QuorinUser");
    dalport::CreateDatabaseUser(folder, "Aud", "clerk", "QuorinUser");
    std::ofstream(base / "readable") << kDemoUserPassword << "\n";
    std::filesystem::permissions(base / "readable", std::filesystem::perms::others_read,
                                 std::filesystem::perm_options::add);
    const auto before = Files();
    const std::string at = " -S '" + folder + "' ", file = "-U jsmith --password-file '" + base.string();
    const std::string usage = "quorin-registry cid-import: ";
    const struct {
        std::string args;
        const char* password;
        std::string says;
    } cases[] = {
        {at + "-U jsmith -P nope", nullptr, "Msg 18456, Level 14, State 1, Server " + folder + ", Line 1\n"},
        {" -S '" + (base / "none").string() + "' -U jsmith", kDemoUserPassword, "Msg "},
        {at + "-U clerk -P Clerk-pw-1", nullptr, "Unable to connect to Database CID!\n"},
        // A scheduled job without a password: standard input has ended, nobody is asked.
        {at + "-U jsmith", nullptr, "no password given"},
        {at + "-U jsmith --frobnicate", kDemoUserPassword, usage},
        {at, kDemoUserPassword, usage},
        {at + file + "/none'", kDemoUserPassword, usage},
        {at + file + "/readable'", kDemoUserPassword, usage},
    };
    for (const auto& c : cases) {
        const ToolRun r = Tool("cid-import" + c.args, c.password);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
        if (c.says == usage)
            EXPECT_TRUE(r.err.starts_with(usage) && std::count(r.err.begin(), r.err.end(), '\n') == 1) << r.err;
        else
            EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(base / "none"));
    EXPECT_EQ(Files(), before);
}

} // namespace
