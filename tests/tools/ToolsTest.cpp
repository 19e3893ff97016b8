// quorin-registry create and quorin-sql, run as processes: what they print, their exit
// status, and what create leaves on disk.

#include "support/ProcessRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using quorin::test::ProcessRun;

std::string quote(const std::string& s) { return "'" + s + "'"; }

class Tools : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        base = fs::temp_directory_path() / ("quorin-tools-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
        fs::create_directories(base);
        passwordFile = (base / "pw").string();
        folder = (base / "registry").string();
        std::ofstream(passwordFile) << "T00ls-secret\n";
        fs::permissions(passwordFile, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
        const ProcessRun created = Create(folder);
        ASSERT_EQ(created.status, 0) << created.output;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(base, ec);
    }

    // `shell` goes before the command (a umask).
    ProcessRun Create(const std::string& where, const std::string& file = {}, const std::string& shell = {})
    {
        return quorin::test::runCommand(shell + QUORIN_REGISTRY_TOOL + " create " + quote(where) + " --admin admin "
                                        + "--password-file " + quote(file.empty() ? passwordFile : file));
    }
    ProcessRun Registry(const std::string& args)
    {
        return quorin::test::runCommand(std::string(QUORIN_REGISTRY_TOOL) + " " + args);
    }
    ProcessRun Sql(const std::string& args, const std::string& server = {})
    {
        return quorin::test::runCommand(std::string(QUORIN_SQL_TOOL) + " -S " + quote(server.empty() ? folder : server)
                                        + " " + args);
    }

    fs::path base;
    std::string passwordFile;
    std::string folder;
};

TEST_F(Tools, CreateBuildsTheServerRefusesToRepeatAndMakesMissingParentsTheOwnersOnly)
{
    for (const char* file : {"master.db", "Quorin.db", "Aud.db", "CID.db"})
        EXPECT_TRUE(fs::exists(fs::path(folder) / file)) << file;
    const ProcessRun again = Create(folder);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.output.find("exists already"), std::string::npos) << again.output;
    const std::string nested = (base / "a" / "b" / "registry").string();
    const ProcessRun made = Create(nested, {}, "umask 000; ");
    ASSERT_EQ(made.status, 0) << made.output;
    for (const fs::path& p : {base / "a", base / "a" / "b", fs::path(nested)})
        EXPECT_EQ(fs::status(p).permissions(), fs::perms::owner_all) << p;
}

TEST_F(Tools, APasswordFileOthersCanReadIsRefused)
{
    const std::string exposed = (base / "exposed").string();
    std::ofstream(exposed) << "T00ls-secret\n";
    fs::permissions(exposed, fs::perms::group_read | fs::perms::others_read, fs::perm_options::add);
    const ProcessRun r = Create((base / "other").string(), exposed);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("the password file " + exposed + " can be read by other users of this computer; make "
                            "it readable by its owner only (chmod 600 " + exposed + ")"),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(fs::exists(base / "other"));
}

TEST_F(Tools, SqlPrintsAlignedColumnsRowCountsAndTheServersErrorsAsSqlcmdDoes)
{
    const ProcessRun r = Sql("-U admin -P T00ls-secret -Q \"select name, type from sys.database_principals where "
                             "type = 'R' order by name\"");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "name        type\n"
                        "----------- ----\n"
                        "QuorinAdmin R\n"
                        "QuorinUser  R\n"
                        "\n"
                        "(2 rows affected)\n");
    const ProcessRun missing = Sql("-U admin -P T00ls-secret -Q \"select * from nosuchtable\"");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("Msg 208, Level 16, State 1, "), std::string::npos) << missing.output;
    EXPECT_NE(missing.output.find("Invalid object name 'nosuchtable'."), std::string::npos) << missing.output;
    const ProcessRun refused = Sql("-U admin -P nope -Q \"select 1 as x\"");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("Msg 18456, Level 14, State 1"), std::string::npos) << refused.output;
    EXPECT_NE(refused.output.find("Login failed for user 'admin'."), std::string::npos) << refused.output;
}

TEST_F(Tools, DemoRegistryIsMadeWithItsSizeOnceAndAWrongSizeIsRefused)
{
    const std::string demo = (base / "demo").string();
    const ProcessRun made = Registry("create --demo " + quote(demo) + " --size 40");
    ASSERT_EQ(made.status, 0) << made.output;
    EXPECT_NE(made.output.find("Server: " + fs::weakly_canonical(demo).string() + "\n"), std::string::npos)
        << made.output;
    const std::string count = "-d Quorin -Q \"select count(*) as num from subjects\"";
    // The staff password from the environment.
    const ProcessRun staff = quorin::test::runCommand("QUORIN_PASSWORD=QuorinDemo-User1 " + std::string(QUORIN_SQL_TOOL)
                                                      + " -S " + quote(demo) + " -U jsmith " + count);
    EXPECT_NE(staff.output.find("num\n---\n40\n"), std::string::npos) << staff.output;
    EXPECT_EQ(Registry("create --demo " + quote(demo)).status, 1); // nothing is overwritten
    EXPECT_EQ(Registry("create --demo " + quote(demo) + " --if-missing").status, 0); // as the run script asks
    EXPECT_NE(Sql("-U admin -P QuorinDemo-Admin1 " + count, demo).output.find("num\n---\n40\n"), std::string::npos);
    const ProcessRun wrong = Registry("create --demo " + quote((base / "d").string()) + " --size 12x");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.output.find("--size takes a whole number"), std::string::npos) << wrong.output;
    EXPECT_FALSE(fs::exists(base / "d" / "master.db"));
}

} // namespace
