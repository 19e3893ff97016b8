// Creating servers: what is refused and leaves nothing behind; what a login is told of a
// registry that is damaged or that others can read.

#include "TestServer.h"

#include "database/RegistryScripts.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(Registry, CreationRefusesAnEmptyPasswordABrokenProcedureOrAnExistingServerLeavingNothing)
{
    EXPECT_THROW(dalport::CreateServer(folder, "admin", "", TestServer::scripts()), std::runtime_error);
    EXPECT_FALSE(fs::exists(folder + "/master.db"));
    const std::pair<const char*, const char*> broken[] = {
        {"CREATE PROCEDURE uspBroken\n    @x int\nAS\nSELECT * FROM nosuchtable WHERE id = @x;\n", "uspBroken"},
        {"CREATE PROCEDURE uspTypo\n    @id int\nAS\nSELECT @idd AS v;\n", "Must declare the scalar variable \"@idd\"."},
    };
    for (const auto& [procedure, words] : broken) {
        auto scripts = TestServer::scripts();
        scripts[0].procedures.push_back(procedure);
        try {
            dalport::CreateServer(folder, "admin", "pw", scripts);
            ADD_FAILURE() << "created a server with " << procedure;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(folder + "/master.db") || fs::exists(folder + "/Quorin.db"));
    }
    // The folder serves again, once.
    dalport::CreateServer(folder, "admin", "pw", TestServer::scripts());
    EXPECT_THROW(dalport::CreateServer(folder, "admin", "pw", {}), std::runtime_error);
}

// Bytes written over a file, at the first place it holds a text.
void overwrite(const std::string& file, const std::string& text, const std::string& bytes)
{
    std::ifstream in(file, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(text.empty() ? 0 : content.find(text)));
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(Registry, ADamagedOrTruncatedFileIsNamedWithWhatIsWrong)
{
    const std::string quorin = folder + "/Quorin.db";
    const std::pair<std::function<void()>, std::string> cases[] = {
        // A schema entry's text damaged: SQLite's parser would say "near "-"".
        {[&] { overwrite(quorin, "CREATE TABLE", "CREATE -----"); }, " is damaged: "},
        {[&] { fs::resize_file(quorin, fs::file_size(quorin) / 2 + 100); }, " is damaged: it is truncated"},
        {[&] { overwrite(folder + "/master.db", "", "not a database at all"); }, "master.db is damaged: it is not a"},
    };
    for (const auto& [damage, words] : cases) {
        SCOPED_TRACE(words);
        std::error_code ec;
        fs::remove_all(folder, ec);
        // The real schema: its indexes need the engine's collation even to be checked.
        dalport::CreateServer(folder, "admin", "pw", quorin::registryScripts());
        damage();
        // What a login was told, one "<number> <message>" line per error.
        struct Probe : MyADO { using MyADO::GetConnectionErrors; } db;
        ASSERT_EQ(db.SetDataSource(folder.c_str(), "admin", "pw", "Quorin"), 0);
        std::string text;
        for (const dalport::ReportedError& e : db.GetConnectionErrors())
            text += std::to_string(e.number) + " " + e.message + "\n";
        EXPECT_EQ(text.rfind("824 The registry file " + folder + "/", 0), 0u) << text;
        EXPECT_NE(text.find(words), std::string::npos) << text;
        EXPECT_NE(text.find("Restore the registry from its latest backup."), std::string::npos) << text;
        EXPECT_EQ(text.find("syntax"), std::string::npos) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    }
}

// A widened folder opens all the same, with one warning per process.
TEST_F(Registry, AFolderOthersCanReadIsReportedOnce)
{
    dalport::CreateServer(folder, kAdmin, kAdminPassword, TestServer::scripts());
    fs::permissions(folder, fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
                                | fs::perms::others_exec, fs::perm_options::add);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        MyADO db;
        ASSERT_EQ(db.SetDataSource(folder.c_str(), kAdmin, kAdminPassword, "Quorin"), 1);
    }
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("Warning: other users of this computer can read the registry in " + folder), std::string::npos)
        << printed;
    EXPECT_NE(printed.find("the folder is 0755"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("Warning", printed.find("Warning") + 1), std::string::npos) << "warned twice: " << printed;
}

} // namespace
