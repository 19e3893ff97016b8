#include "NightlyFixture.h"
#include "support/RegistryTemplate.h"

#include "support/ProcessRun.h"

#include "dalport/Registry.h"

#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace quorin::test {

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// One word for the shell, whatever it holds.
std::string shellWord(const std::string& word)
{
    std::string out = "'";
    for (const char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs a shell command line; standard output and error kept apart.
ToolRun run(const std::string& command)
{
    const fs::path err = TestRoot() / UniqueName("err-");
    const ProcessRun r = runCommand("{ " + command + " 2>" + shellWord(err.string()) + "; }");
    ToolRun out{r.status, r.output, readFile(err)};
    fs::remove(err);
    return out;
}

// Made by this build of the tool: another build may write another demo.
fs::path demoTemplate()
{
    std::error_code ec;
    const auto stamp = fs::last_write_time(QUORIN_REGISTRY_TOOL, ec).time_since_epoch().count();
    return TemplateFolder("demo300-" + std::to_string(stamp), [](const std::string& building) {
        const ToolRun made = run(shellWord(QUORIN_REGISTRY_TOOL) + " create --demo " + shellWord(building) + " --size 300");
        if (made.status != 0)
            throw std::runtime_error("the demo registry could not be made: " + made.err);
    });
}

} // namespace

std::vector<std::string> ToolRun::outLines() const
{
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void NightlyTest::SetUpTestSuite()
{
    setenv("QUORIN_CLOCK", "2026-06-15 02:00:00", 1);
    unsetenv("QUORIN_PASSWORD");
    unsetenv("QUORIN_REGISTRY");
}

void NightlyTest::SetUp()
{
    base = TestRoot() / UniqueName("test-");
    fs::create_directories(base);
    fs::permissions(base, fs::perms::owner_all);
    folder = (base / "registry").string();
    CopyTemplate(demoTemplate(), folder);
}

void NightlyTest::TearDown()
{
    std::error_code ec;
    fs::remove_all(base, ec);
}

ToolRun NightlyTest::Tool(const std::string& args, const char* password)
{
    const std::string env = password ? "QUORIN_PASSWORD=" + shellWord(password) + " " : "";
    // Standard input that has ended, as a scheduled job's: an empty file of the test's
    // own rather than /dev/null, which a program running as root may have replaced.
    const fs::path ended = base / "no-input";
    std::ofstream{ended};
    return run(env + shellWord(QUORIN_REGISTRY_TOOL) + " " + args + " <" + shellWord(ended.string()));
}

ToolRun NightlyTest::Registry(const std::string& command, const std::string& registry, const std::string& args)
{
    return Tool(command + " -S " + shellWord(registry) + " -U " + kDemoUser + " " + args);
}

std::string NightlyTest::Sql(const std::string& database, const std::string& statement)
{
    const ToolRun r = run(shellWord(QUORIN_SQL_TOOL) + " -S " + shellWord(folder) + " -U admin -P QuorinDemo-Admin1 -d "
                          + database + " -h -1 -W -Q " + shellWord(statement));
    EXPECT_EQ(r.status, 0) << statement << "\n" << r.out << r.err;
    return r.out;
}

std::map<std::string, std::string> NightlyTest::Files() const
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".db")
            files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

std::shared_ptr<void> HoldWriteLock(const std::string& folder, const std::string& database,
                                    const std::string& statements)
{
    sqlite3* db = nullptr;
    const std::string path = dalport::DatabaseFilePath(folder, database);
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    std::shared_ptr<void> held(db, [](void* handle) {
        sqlite3_exec(static_cast<sqlite3*>(handle), "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(static_cast<sqlite3*>(handle));
    });
    dalport::RegisterEngineFunctions(db);
    if (sqlite3_exec(db, ("BEGIN IMMEDIATE;" + statements).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("cannot hold the write lock: ") + sqlite3_errmsg(db));
    return held;
}

} // namespace quorin::test
