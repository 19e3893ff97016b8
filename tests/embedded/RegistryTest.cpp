// Creating servers: what is refused, what is checked, and raw SQLite access afterwards.

#include "TestServer.h"

#include "database/RegistryScripts.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
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

// What a login on the folder's Quorin database was told: "<number> <message>" lines.
std::string refusal(const std::string& folder)
{
    struct Probe : MyADO {
        using MyADO::GetConnectionErrors;
    } db;
    if (db.SetDataSource(folder.c_str(), "admin", "pw", "Quorin"))
        return "<connected>";
    std::string text;
    for (const dalport::ReportedError& e : db.GetConnectionErrors())
        text += std::to_string(e.number) + " " + e.message + "\n";
    return text;
}

void overwrite(const std::string& file, std::streamoff at, const std::string& bytes)
{
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(at);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::streamoff offsetOf(const std::string& file, const std::string& text)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return static_cast<std::streamoff>(bytes.find(text));
}

TEST_F(Registry, ADamagedOrTruncatedFileIsNamedWithWhatIsWrong)
{
    const std::string quorin = folder + "/Quorin.db";
    const std::pair<std::function<void()>, std::string> cases[] = {
        // A schema entry's text damaged: SQLite's parser would say "near "-"".
        {[&] { overwrite(quorin, offsetOf(quorin, "CREATE TABLE"), "CREATE -----"); }, " is damaged: "},
        {[&] { fs::resize_file(quorin, fs::file_size(quorin) / 2 + 100); }, " is damaged: it is truncated"},
        {[&] { overwrite(folder + "/master.db", 0, "not a database at all"); }, "master.db is damaged: it is not a"},
    };
    for (const auto& [damage, words] : cases) {
        SCOPED_TRACE(words);
        std::error_code ec;
        fs::remove_all(folder, ec);
        // The real schema: its indexes need the engine's collation even to be checked.
        dalport::CreateServer(folder, "admin", "pw", quorin::registryScripts());
        damage();
        const std::string text = refusal(folder);
        EXPECT_EQ(text.rfind("824 The registry file " + folder + "/", 0), 0u) << text;
        EXPECT_NE(text.find(words), std::string::npos) << text;
        EXPECT_NE(text.find("Restore the registry from its latest backup."), std::string::npos) << text;
        EXPECT_EQ(text.find("syntax"), std::string::npos) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    }
}

// A file system mounted for the test (root only: CI runs as root); skipped where the
// system allows no mounts.
class Mounted : public Registry {
protected:
    void TearDown() override
    {
        if (mounted)
            ::umount2(point.c_str(), MNT_DETACH);
        std::error_code ec;
        if (mounted || fs::is_empty(point, ec))
            fs::remove_all(point, ec);
        Registry::TearDown();
    }
    bool mount(const char* source, const char* type, unsigned long flags, const char* options)
    {
        fs::create_directories(point);
        mounted = ::mount(source, point.c_str(), type, flags, options) == 0;
        return mounted;
    }
    std::string point = folder + "-mount";
    bool mounted = false;
};

TEST_F(Mounted, AReadOnlyFolderIsNamedAtLogin)
{
    dalport::CreateServer(folder, "admin", "pw", TestServer::scripts());
    if (!mount(folder.c_str(), nullptr, MS_BIND, nullptr)
        || ::mount(nullptr, point.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        GTEST_SKIP() << "no read-only bind mount here";
    const std::string text = refusal(point);
    EXPECT_EQ(text, "3906 The registry folder " + point
                        + " is on a read-only file system, so the registry cannot be opened. Mount it for writing, "
                          "or copy the registry to a folder that can be written.\n");
}

TEST_F(Mounted, AFullDiskIsNamedAtLogin)
{
    if (!mount("tmpfs", "tmpfs", 0, "size=4m"))
        GTEST_SKIP() << "no tmpfs mount here";
    const std::string registry = point + "/registry";
    dalport::CreateServer(registry, "admin", "pw", TestServer::scripts());
    {
        std::ofstream filler(point + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
        }
    }
    const std::string text = refusal(registry);
    EXPECT_EQ(text, "1105 The disk that holds the registry folder " + registry
                        + " is full. Free some space on it, then log in again.\n");
}

} // namespace
