// Creating servers: what is refused, what is checked, and raw SQLite access afterwards.

#include "TestServer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

using namespace testing_embedded;
namespace fs = std::filesystem;

namespace {

class Registry : public ::testing::Test {
protected:
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    std::string folder = uniqueTempFolder("quorin-registry");
};

TEST_F(Registry, RefusesAnEmptyPasswordAndAnExistingServer)
{
    EXPECT_THROW(dalport::CreateServer(folder, "admin", "", TestServer::scripts()), std::runtime_error);
    EXPECT_FALSE(fs::exists(folder + "/master.db"));
    dalport::CreateServer(folder, "admin", "pw", {});
    EXPECT_THROW(dalport::CreateServer(folder, "admin", "pw", {}), std::runtime_error);
}

TEST_F(Registry, ABrokenProcedureFailsCreationAndLeavesNothing)
{
    auto scripts = TestServer::scripts();
    scripts[0].procedures.push_back("CREATE PROCEDURE uspBroken\n    @x int\nAS\nSELECT * FROM nosuchtable WHERE id = @x;\n");
    try {
        dalport::CreateServer(folder, "admin", "pw", scripts);
        FAIL() << "created a server with a broken procedure";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("uspBroken"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(folder + "/master.db"));
    EXPECT_FALSE(fs::exists(folder + "/Quorin.db"));
    // and the folder can be used again
    dalport::CreateServer(folder, "admin", "pw", TestServer::scripts());
}

TEST_F(Registry, ProcedureVariablesIgnoreCaseAndMustBeDeclared)
{
    auto scripts = TestServer::scripts();
    scripts[0].procedures.push_back("CREATE PROCEDURE uspEcho\n    @Name varchar(20),\n    @Count int\nAS\n"
                                    "SELECT @NAME AS name, @count + 1 AS next;\n");
    dalport::CreateServer(folder, "admin", "pw", scripts);
    MyADO db;
    ASSERT_EQ(db.SetDataSource(folder.c_str(), "admin", "pw", "Quorin"), 1);
    db.BindStringParam("@Name", "Ada");
    db.BindIntParam("@Count", 41);
    ASSERT_EQ(db.RunStoredProcedure("uspEcho"), 1);
    EXPECT_EQ(db.GetStringField("name"), "Ada");
    EXPECT_EQ(db.GetIntField("next"), 42);
    db.RemoveParams();

    const std::string other = folder + "-undeclared";
    scripts = TestServer::scripts();
    scripts[0].procedures.push_back("CREATE PROCEDURE uspTypo\n    @id int\nAS\nSELECT @idd AS v;\n");
    try {
        dalport::CreateServer(other, "admin", "pw", scripts);
        FAIL() << "created a server whose procedure reads an undeclared variable";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("Must declare the scalar variable \"@idd\"."), std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(fs::exists(other + "/master.db"));
}

TEST_F(Registry, RawSqliteWritersUseTheEngineCollationAndFunctions)
{
    dalport::CreateServer(folder, "admin", "pw", TestServer::scripts());
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(dalport::DatabaseFilePath(folder, "Quorin").c_str(), &raw), SQLITE_OK);
    dalport::RegisterEngineFunctions(raw);
    ASSERT_EQ(sqlite3_exec(raw,
                           "INSERT INTO subjects(lastname, birthdate) VALUES ('Bulk', todate('4/5/1980')), "
                           "('bulk  ', getdate())",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    MyADO db;
    ASSERT_EQ(db.SetDataSource(folder.c_str(), "admin", "pw", "Quorin"), 1);
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname = 'BULK'"), "2");
    EXPECT_EQ(scalar(db, "select convert(char, min(birthdate), 101) as v from subjects"), "04/05/1980");
}

TEST_F(Registry, DefaultRegistryFolderFollowsTheEnvironment)
{
    ::setenv("QUORIN_REGISTRY", folder.c_str(), 1);
    EXPECT_EQ(dalport::DefaultRegistryFolder(), folder);
    dalport::CreateServer(folder, "admin", "pw", TestServer::scripts());
    MyADO db;
    EXPECT_EQ(db.SetDataSource("", "admin", "pw", "Quorin"), 1);
    ::unsetenv("QUORIN_REGISTRY");
}

} // namespace
