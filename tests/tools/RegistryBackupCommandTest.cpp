// quorin-registry backup, restore and check as an administrator or a scheduler runs them,
// on a copy of the demo registry: what they print, their exit status, and what they leave
// on disk.

#include "NightlyFixture.h"

#include "support/ProcessRun.h"
#include "support/RawRegistry.h"

#include <algorithm>
#include <set>

namespace fs = std::filesystem;

using namespace quorin::test;

namespace {

// One word for the shell, whatever it holds.
std::string Word(const std::string& text)
{
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }

class RegistryBackup : public NightlyTest {
protected:
    ToolRun Backup(const std::string& more = "")
    {
        return Tool("backup -S " + Word(folder) + " --to " + Word(backups.string()) + more, nullptr);
    }
    // The file a backup that succeeded names on its first line ("Backup: <file>").
    std::string Made(const ToolRun& run)
    {
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        const auto lines = run.outLines();
        return !lines.empty() && lines[0].starts_with("Backup: ") ? lines[0].substr(8) : std::string();
    }
    ToolRun Restore(const std::string& file, const std::string& to, const std::string& more = "")
    {
        return Tool("restore --from " + Word(file) + " --to " + Word(to) + more, nullptr);
    }
    ToolRun Check(const std::string& server) { return Tool("check -S " + Word(server), nullptr); }
    // The names of the backups in the folder.
    std::set<std::string> Backups() const
    {
        std::set<std::string> names;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(backups, ec))
            if (entry.path().extension() == ".quorin-backup")
                names.insert(entry.path().filename().string());
        return names;
    }
    // quorin-sql on another registry as `login`; standard output and error together.
    static ProcessRun SqlAs(const std::string& server, const std::string& login, const std::string& password,
                            const std::string& statement)
    {
        return runCommand(Word(QUORIN_SQL_TOOL) + " -S " + Word(server) + " -U " + login + " -P " + Word(password)
                          + " -h -1 -W -Q " + Word(statement));
    }

    void SetUp() override
    {
        NightlyTest::SetUp();
        backups = base / "backups";
    }

    fs::path backups; // where the test's backups go
};

TEST_F(RegistryBackup, ARestoredBackupHasTheLoginsPasswordsAndDataOfItsMoment)
{
    const std::string speech = Sql("Quorin", "select count(*) from speech");
    const ToolRun made = Backup();
    const std::string file = Made(made);
    ASSERT_FALSE(file.empty()) << made.out;
    EXPECT_TRUE(fs::equivalent(fs::path(file).parent_path(), backups)) << file;
    EXPECT_EQ(made.outLines(), (std::vector<std::string>{"Backup: " + file,
                                                         "Size: " + std::to_string(fs::file_size(file)) + " bytes"}));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // What changes afterwards is not in the backup.
    Sql("Quorin", "delete from speech");
    Sql("Quorin", "ALTER LOGIN jsmith WITH PASSWORD = 'Changed-Pass9'");

    const std::string restored = (base / "restored").string();
    const ToolRun back = Restore(file, restored);
    ASSERT_EQ(back.status, 0) << back.out << back.err;
    const ProcessRun read = SqlAs(restored, kDemoUser, kDemoUserPassword, "select count(*) from speech");
    EXPECT_EQ(read.status, 0) << read.output;
    EXPECT_EQ(read.output, speech);
    EXPECT_NE(SqlAs(restored, kDemoUser, "Changed-Pass9", "select 1").status, 0);
    // The restored history says so, naming the file.
    EXPECT_EQ(quorin::test::RawRegistry(restored).number("select count(*) from changelog where ChangeKind = 'restore' "
                                                         "and NewValue like '%" + FileName(file) + "'"),
              1);
}

TEST_F(RegistryBackup, KeepLeavesExactlyTheNewestNBackups)
{
    constexpr int keep = 2;
    std::vector<std::string> made;
    for (int i = 0; i < keep + 2; ++i) {
        const ToolRun run = Backup(" --keep " + std::to_string(keep));
        made.push_back(FileName(Made(run)));
        std::vector<std::string> removed;
        for (const std::string& line : run.outLines())
            if (line.starts_with("Removed: "))
                removed.push_back(FileName(line.substr(9)));
        EXPECT_EQ(removed, i < keep ? std::vector<std::string>{} : std::vector<std::string>{made[i - keep]}) << run.out;
    }
    // Made within a second or two, yet each under its own name.
    EXPECT_EQ(std::set<std::string>(made.begin(), made.end()).size(), made.size());
    EXPECT_EQ(Backups(), (std::set<std::string>{made[2], made[3]}));
}

TEST_F(RegistryBackup, RestoreReplacesAnExistingRegistryOnlyWithForce)
{
    const std::string file = Made(Backup());
    ASSERT_FALSE(file.empty());
    Sql("Quorin", "delete from speech");
    const auto before = Files();

    const ToolRun refused = Restore(file, folder);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("Nothing was changed."), std::string::npos) << refused.err;
    EXPECT_EQ(Files(), before);

    const ToolRun forced = Restore(file, folder, " --force");
    EXPECT_EQ(forced.status, 0) << forced.out << forced.err;
    EXPECT_NE(Sql("Quorin", "select count(*) from speech"), "0\n");
}

TEST_F(RegistryBackup, CheckIsCleanOnTheDemoAndFindsEachPlantedProblem)
{
    const ToolRun clean = Check(folder);
    EXPECT_EQ(clean.status, 0) << clean.out << clean.err;
    EXPECT_EQ(clean.out, "No problems found.\n");

    struct Plant {
        const char* database;
        const char* sql;
        std::vector<std::string> told; // what the problem's line names
    };
    const Plant plants[] = {
        {"Quorin", "INSERT INTO audpoints (TestId, symbol, xy) VALUES (987654, 1, 101)", {"audiogram 987654"}},
        {"CID", "DELETE FROM sys_database_principals WHERE name = 'klee'", {"klee", "no user in CID"}},
        {"Quorin", "UPDATE subjects SET Zip = 'north' WHERE SubjectId = (SELECT min(SubjectId) FROM subjects)",
         {"subjects", "Zip"}},
    };
    std::size_t planted = 0;
    for (const Plant& plant : plants) {
        ExecRaw(folder, plant.database, plant.sql);
        ++planted;
        const ToolRun found = Check(folder);
        EXPECT_EQ(found.status, 1) << plant.sql << "\n" << found.out << found.err;
        const std::vector<std::string> lines = found.outLines();
        ASSERT_EQ(lines.size(), planted + 1) << plant.sql << "\n" << found.out;
        EXPECT_EQ(lines.back(), planted == 1 ? "1 problem found." : std::to_string(planted) + " problems found.");
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return std::all_of(plant.told.begin(), plant.told.end(),
                               [&](const std::string& word) { return line.find(word) != std::string::npos; });
        })) << plant.sql << "\n" << found.out;
    }
}

TEST_F(RegistryBackup, WhatCannotStartEndsWithStatus2AndMakesNothing)
{
    const std::string empty = (base / "empty").string(), fresh = (base / "fresh").string();
    fs::create_directories(empty);
    const std::string to = " --to " + Word(backups.string());
    for (const std::string& args : {
             "check -S " + Word(empty),
             std::string("check -S sqlserver01"),
             "backup -S " + Word(empty) + to,
             "backup -S sqlserver01" + to,
             "backup -S " + Word(folder) + to + " --keep 0",
             "restore --from " + Word((base / "none.quorin-backup").string()) + " --to " + Word(fresh),
         }) {
        const ToolRun r = Tool(args, nullptr);
        EXPECT_EQ(r.status, 2) << args << "\n" << r.out << r.err;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err, "") << args;
    }
    EXPECT_EQ(Backups(), std::set<std::string>{});
    EXPECT_FALSE(fs::exists(fresh));
}

} // namespace
