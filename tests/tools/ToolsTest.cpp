// quorin-registry create and quorin-sql, run as processes: what they print, their exit
// status, and what create leaves on disk.

#include "NightlyFixture.h"

#include "support/ProcessRun.h"

#include <sys/stat.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

using quorin::test::ProcessRun;
using quorin::test::ToolRun;

std::string quote(const std::string& s) { return "'" + s + "'"; }

class Tools : public quorin::test::NightlyTest {
protected:
    // create with the administrator's password from the file, by default one that is
    // its owner's only.
    ToolRun Create(const fs::path& where, fs::path file = {})
    {
        if (file.empty()) {
            file = base / "pw";
            std::ofstream(file) << "T00ls-secret\n";
            fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
        }
        return Tool("create " + quote(where.string()) + " --admin admin --password-file " + quote(file.string()),
                    nullptr);
    }
    // quorin-sql on the server, `env` before it; what it printed on standard output and error.
    ProcessRun SqlTool(const std::string& args, const std::string& server, const std::string& env = "")
    {
        return quorin::test::runCommand(env + QUORIN_SQL_TOOL + " -S " + quote(server) + " " + args);
    }
};

TEST_F(Tools, CreateBuildsTheServerRefusesToRepeatAndMakesMissingParentsTheOwnersOnly)
{
    const fs::path server = base / "server", nested = base / "a" / "b" / "registry";
    const ToolRun created = Create(server);
    ASSERT_EQ(created.status, 0) << created.err;
    for (const char* file : {"master.db", "Quorin.db", "Aud.db", "CID.db"})
        EXPECT_TRUE(fs::exists(server / file)) << file;
    const ToolRun again = Create(server);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE((again.out + again.err).find("exists already"), std::string::npos) << again.err;
    const mode_t previous = ::umask(0);
    const ToolRun made = Create(nested);
    ::umask(previous);
    ASSERT_EQ(made.status, 0) << made.err;
    for (const fs::path& p : {base / "a", base / "a" / "b", nested})
        EXPECT_EQ(fs::status(p).permissions(), fs::perms::owner_all) << p;
}

TEST_F(Tools, APasswordFileOthersCanReadIsRefused)
{
    const std::string exposed = (base / "exposed").string();
    std::ofstream(exposed) << "T00ls-secret\n";
    fs::permissions(exposed, fs::perms::group_read | fs::perms::others_read, fs::perm_options::add);
    const ToolRun r = Create(base / "other", exposed);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE((r.out + r.err).find("the password file " + exposed + " can be read by other users of this computer; "
                                   "make it readable by its owner only (chmod 600 " + exposed + ")"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(base / "other"));
}

TEST_F(Tools, SqlPrintsAlignedColumnsRowCountsAndTheServersErrorsAsSqlcmdDoes)
{
    const ProcessRun r = SqlTool("-U admin -P QuorinDemo-Admin1 -Q \"select name, type from sys.database_principals "
                                 "where type = 'R' order by name\"",
                                 folder);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "name        type\n"
                        "----------- ----\n"
                        "QuorinAdmin R\n"
                        "QuorinUser  R\n"
                        "\n"
                        "(2 rows affected)\n");
    // A statement's failure as sqlcmd shows it (a refused login is the nightly jobs' test).
    const ProcessRun missing = SqlTool("-U admin -P QuorinDemo-Admin1 -Q \"select * from nosuchtable\"", folder);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("Msg 208, Level 16, State 1, "), std::string::npos) << missing.output;
    EXPECT_NE(missing.output.find("Invalid object name 'nosuchtable'."), std::string::npos) << missing.output;
}

TEST_F(Tools, DemoRegistryIsMadeWithItsSizeOnceAndAWrongSizeIsRefused)
{
    const std::string demo = (base / "demo").string();
    const ToolRun made = Tool("create --demo " + quote(demo) + " --size 40", nullptr);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("Server: " + fs::weakly_canonical(demo).string() + "\n"), std::string::npos) << made.out;
    // The staff password from the environment.
    const ProcessRun staff = SqlTool("-U jsmith -d Quorin -Q \"select count(*) as num from subjects\"", demo,
                                     "QUORIN_PASSWORD=QuorinDemo-User1 ");
    EXPECT_NE(staff.output.find("num\n---\n40\n"), std::string::npos) << staff.output;
    EXPECT_EQ(Tool("create --demo " + quote(demo), nullptr).status, 1); // nothing is overwritten
    EXPECT_EQ(Tool("create --demo " + quote(demo) + " --if-missing", nullptr).status, 0); // as the run script asks
    const ToolRun wrong = Tool("create --demo " + quote((base / "d").string()) + " --size 12x", nullptr);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE((wrong.out + wrong.err).find("--size takes a number of subjects"), std::string::npos) << wrong.err;
    EXPECT_FALSE(fs::exists(base / "d" / "master.db"));
}

} // namespace

namespace {

// Both tools say the project's version, from the one place the build sets it.
TEST(ToolVersions, EachToolPrintsTheProjectsVersion)
{
    for (const auto& [tool, name] : {std::pair{QUORIN_SQL_TOOL, "quorin-sql"}, {QUORIN_REGISTRY_TOOL, "quorin-registry"}}) {
        const ProcessRun run = quorin::test::runCommand(std::string(tool) + " --version");
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_EQ(run.output, std::string(name) + " " + QUORIN_VERSION_TEXT + "\n");
    }
}

} // namespace
