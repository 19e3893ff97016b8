// quorin-registry create and quorin-sql, run as processes.

#include "support/ProcessRun.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using quorin::test::ProcessRun;

ProcessRun run(const std::string& command) { return quorin::test::runCommand(command); }

std::string quote(const std::string& s) { return "'" + s + "'"; }

class Tools : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        base = fs::temp_directory_path() / ("quorin-tools-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
        fs::create_directories(base);
        passwordFile = (base / "pw").string();
        std::ofstream(passwordFile) << "T00ls-secret\n";
        fs::permissions(passwordFile, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
        folder = (base / "registry").string();
        const ProcessRun created = run(std::string(QUORIN_REGISTRY_TOOL) + " create " + quote(folder)
                                + " --admin admin --password-file " + quote(passwordFile));
        ASSERT_EQ(created.status, 0) << created.output;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(base, ec);
    }

    ProcessRun sql(const std::string& args)
    {
        return run(std::string(QUORIN_SQL_TOOL) + " -S " + quote(folder) + " -U admin -P T00ls-secret " + args);
    }

    fs::path base;
    std::string folder;
    std::string passwordFile;
};

TEST_F(Tools, CreateBuildsTheServerAndRefusesToRepeat)
{
    for (const char* file : {"master.db", "Quorin.db", "Aud.db", "CID.db"})
        EXPECT_TRUE(fs::exists(fs::path(folder) / file)) << file;
    const ProcessRun again = run(std::string(QUORIN_REGISTRY_TOOL) + " create " + quote(folder)
                          + " --admin admin --password-file " + quote(passwordFile));
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.output.find("exists already"), std::string::npos) << again.output;
}

TEST_F(Tools, APasswordFileOthersCanReadIsRefused)
{
    const std::string exposed = (base / "exposed").string();
    std::ofstream(exposed) << "T00ls-secret\n";
    fs::permissions(exposed, fs::perms::group_read | fs::perms::others_read, fs::perm_options::add);
    const std::string other = (base / "other").string();
    const ProcessRun r = run(std::string(QUORIN_REGISTRY_TOOL) + " create " + quote(other)
                             + " --admin admin --password-file " + quote(exposed));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("the password file " + exposed + " can be read by other users of this computer; make "
                            "it readable by its owner only (chmod 600 " + exposed + ")"),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(fs::exists(other));
}

TEST_F(Tools, AFailedDemoLeavesNothingBehind)
{
    // A disk too small for the demo's subjects: the registry's logins fit, its data not.
    const std::string point = (base / "small").string();
    fs::create_directories(point);
    if (::mount("tmpfs", point.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no tmpfs mount here";
    const std::string demo = point + "/demo";
    const ProcessRun made = run(std::string(QUORIN_REGISTRY_TOOL) + " create --demo " + quote(demo) + " --size 5000");
    const bool empty = fs::is_empty(point);
    ::umount2(point.c_str(), MNT_DETACH);
    EXPECT_EQ(made.status, 1) << made.output;
    EXPECT_TRUE(empty) << made.output;
}

TEST_F(Tools, MissingParentFoldersAreTheOwnersOnly)
{
    const std::string nested = (base / "a" / "b" / "registry").string();
    const ProcessRun made = run("umask 000; " + std::string(QUORIN_REGISTRY_TOOL) + " create " + quote(nested)
                                + " --admin admin --password-file " + quote(passwordFile));
    ASSERT_EQ(made.status, 0) << made.output;
    for (const fs::path& p : {base / "a", base / "a" / "b", fs::path(nested)})
        EXPECT_EQ(fs::status(p).permissions(), fs::perms::owner_all) << p;
}

TEST_F(Tools, QueryPrintsAlignedColumnsAndTheRowCount)
{
    const ProcessRun r = sql("-Q \"select name, type from sys.database_principals where type = 'R' order by name\"");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "name        type\n"
                        "----------- ----\n"
                        "QuorinAdmin R\n"
                        "QuorinUser  R\n"
                        "\n"
                        "(2 rows affected)\n");
}

TEST_F(Tools, ErrorsPrintAsSqlcmdDoesAndFail)
{
    const ProcessRun r = sql("-Q \"select * from nosuchtable\"");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Msg 208, Level 16, State 1, "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Invalid object name 'nosuchtable'."), std::string::npos) << r.output;
}

TEST_F(Tools, ScriptFileRunsEachBatch)
{
    const std::string script = (base / "script.sql").string();
    std::ofstream(script) << "CREATE LOGIN clerk WITH PASSWORD = 'Cl3rk-pw', CHECK_POLICY = OFF\nGO\n"
                             "CREATE USER clerk\ngo\n"
                             "EXEC sp_addrolemember 'QuorinUser', clerk\nGO\n"
                             "select count(*) as members from sys_role_members where member = 'clerk'\n";
    const ProcessRun r = sql("-i " + quote(script));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("members\n-------\n1\n"), std::string::npos) << r.output;
    // The new login works, with its password taken from the environment.
    const ProcessRun clerk = run("QUORIN_PASSWORD=Cl3rk-pw " + std::string(QUORIN_SQL_TOOL) + " -S " + quote(folder)
                          + " -U clerk -Q \"select count(*) as n from sys.schemas\"");
    EXPECT_EQ(clerk.status, 0) << clerk.output;
}

TEST_F(Tools, WrongPasswordFailsWithTheServersMessage)
{
    const ProcessRun r = run(std::string(QUORIN_SQL_TOOL) + " -S " + quote(folder) + " -U admin -P nope -Q \"select 1 as x\"");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Msg 18456, Level 14, State 1"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Login failed for user 'admin'."), std::string::npos) << r.output;
}

TEST_F(Tools, DemoRegistryIsMadeWithItsLoginsAndSize)
{
    const std::string demo = (base / "demo").string();
    const ProcessRun made = run(std::string(QUORIN_REGISTRY_TOOL) + " create --demo " + quote(demo) + " --size 40");
    ASSERT_EQ(made.status, 0) << made.output;
    EXPECT_NE(made.output.find("admin / "), std::string::npos) << made.output;
    // The exact Server text for a folder that is not the default registry, and the spread.
    EXPECT_NE(made.output.find("Server: " + fs::weakly_canonical(demo).string() + "\n"), std::string::npos) << made.output;
    EXPECT_NE(made.output.find("\nStatus: Active "), std::string::npos) << made.output;
    const ProcessRun count = run(std::string(QUORIN_SQL_TOOL) + " -S " + quote(demo)
                                 + " -U jsmith -P QuorinDemo-User1 -d Quorin -Q \"select count(*) as num from subjects\"");
    EXPECT_EQ(count.status, 0) << count.output;
    EXPECT_NE(count.output.find("num\n---\n40\n"), std::string::npos) << count.output;
    // A second demo in the same folder is refused, and nothing is overwritten.
    const ProcessRun again = run(std::string(QUORIN_REGISTRY_TOOL) + " create --demo " + quote(demo));
    EXPECT_EQ(again.status, 1) << again.output;
    // Unless asked to keep what is there, as the run script does.
    const ProcessRun kept = run(std::string(QUORIN_REGISTRY_TOOL) + " create --demo " + quote(demo) + " --if-missing");
    EXPECT_EQ(kept.status, 0) << kept.output;
    const ProcessRun still = run(std::string(QUORIN_SQL_TOOL) + " -S " + quote(demo)
                                 + " -U admin -P QuorinDemo-Admin1 -d Quorin -Q \"select count(*) as num from subjects\"");
    EXPECT_NE(still.output.find("num\n---\n40\n"), std::string::npos) << still.output;
}

TEST_F(Tools, DemoSizeMustBeAWholeNumber)
{
    const ProcessRun r = run(std::string(QUORIN_REGISTRY_TOOL) + " create --demo " + quote((base / "d").string())
                             + " --size 12x");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("--size takes a whole number"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(base / "d" / "master.db"));
}

} // namespace
