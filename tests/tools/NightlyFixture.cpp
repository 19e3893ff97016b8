#include "NightlyFixture.h"

#include "document/CQuorinDoc.h"
#include "dalport/Clock.h"
#include "dalport/Registry.h"
#include "support/ScriptedUserInterface.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quorin::test {

namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string unique(const char* prefix)
{
    std::random_device rd;
    return std::string(prefix) + std::to_string(::getpid()) + "-" + std::to_string(rd());
}

fs::path root()
{
    return fs::temp_directory_path() / "quorin-nightly-tests";
}

// Made by this build of the tool: another build may write another demo.
fs::path demoTemplate()
{
    std::error_code ec;
    const auto stamp = fs::last_write_time(QUORIN_REGISTRY_TOOL, ec).time_since_epoch().count();
    const fs::path folder = root() / ("demo300-" + std::to_string(stamp));
    if (fs::exists(folder / "master.db"))
        return folder;
    fs::create_directories(root());
    const fs::path building = root() / unique("building-");
    const ToolRun made = runTool(QUORIN_REGISTRY_TOOL, {"create", "--demo", building.string(), "--size", "300"});
    if (made.status != 0)
        throw std::runtime_error("the demo registry could not be made: " + made.err);
    fs::rename(building, folder, ec);
    if (ec) // another test process was first
        fs::remove_all(building, ec);
    return folder;
}

// Plain SQLite on a database file, with the engine's collation and functions.
class RawFile {
public:
    RawFile(const std::string& folder, const std::string& database, bool write)
    {
        const std::string path = dalport::DatabaseFilePath(folder, database);
        if (sqlite3_open_v2(path.c_str(), &m_db, write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr)
            != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
        dalport::RegisterEngineFunctions(m_db);
        sqlite3_busy_timeout(m_db, 10000);
    }
    ~RawFile() { sqlite3_close(m_db); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    std::vector<std::vector<std::string>> rows(const std::string& sql) const
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(m_db));
        std::vector<std::vector<std::string>> out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const unsigned char* text = sqlite3_column_text(st, c);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "<NULL>");
            }
            out.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        return out;
    }
    void exec(const std::string& sql) const
    {
        char* message = nullptr;
        const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message);
        const std::string error = message ? message : "";
        sqlite3_free(message);
        if (rc != SQLITE_OK)
            throw std::runtime_error("raw SQL failed: " + error);
    }

private:
    sqlite3* m_db = nullptr;
};

} // namespace

std::vector<std::string> ToolRun::outLines() const
{
    return splitLines(out);
}

std::vector<std::string> ToolRun::errLines() const
{
    return splitLines(err);
}

ToolRun runTool(const std::string& tool, const std::vector<std::string>& args, const ToolOptions& options)
{
    const fs::path dir = root() / unique("run-");
    fs::create_directories(dir);
    const std::string outPath = (dir / "out").string();
    const std::string errPath = (dir / "err").string();
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open(options.stdinPath.c_str(), O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0)
            _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (options.withoutPassword)
            unsetenv("QUORIN_PASSWORD");
        for (const std::string& e : options.env) {
            const auto eq = e.find('=');
            setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(tool.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    ToolRun r;
    int status = 0;
    // Not a timing check: only a run that hangs is stopped, so the test fails instead.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readFile(outPath);
    r.err = readFile(errPath);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return r;
}

void NightlyTest::SetUpTestSuite()
{
    setenv("QUORIN_CLOCK", kNightlyClock, 1);
    unsetenv("QUORIN_PASSWORD");
    unsetenv("QUORIN_REGISTRY");
}

void NightlyTest::SetUp()
{
    base = root() / unique("test-");
    fs::create_directories(base);
    fs::permissions(base, fs::perms::owner_all);
    folder = CopyDemo("registry");
}

void NightlyTest::TearDown()
{
    std::error_code ec;
    fs::remove_all(base, ec);
}

std::string NightlyTest::CopyDemo(const std::string& name)
{
    const fs::path to = base / name;
    fs::copy(demoTemplate(), to, fs::copy_options::recursive);
    // A registry folder is its owner's only; anything else makes the engine warn.
    fs::permissions(to, fs::perms::owner_all);
    for (const auto& entry : fs::directory_iterator(to))
        fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write);
    return to.string();
}

ToolRun NightlyTest::Registry(const std::string& command, const std::string& registry,
                              const std::vector<std::string>& args, ToolOptions options)
{
    std::vector<std::string> all = {command, "-S", registry, "-U", kDemoUser};
    all.insert(all.end(), args.begin(), args.end());
    if (!options.withoutPassword)
        options.env.push_back(std::string("QUORIN_PASSWORD=") + kDemoUserPassword);
    return runTool(QUORIN_REGISTRY_TOOL, all, options);
}

std::vector<std::vector<std::string>> NightlyTest::Sql(const std::string& registry, const std::string& database,
                                                       const std::string& query)
{
    const ToolRun r = runTool(QUORIN_SQL_TOOL, {"-S", registry, "-U", kDemoAdmin, "-P", kDemoAdminPassword, "-d",
                                                database, "-h", "-1", "-W", "-s", "|", "-Q", query});
    EXPECT_EQ(r.status, 0) << query << "\n" << r.out << r.err;
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : r.outLines()) {
        if (line.empty() || line.rfind("(", 0) == 0)
            continue;
        std::vector<std::string> cells;
        std::string cell;
        std::istringstream in(line);
        while (std::getline(in, cell, '|'))
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

int NightlyTest::SqlNumber(const std::string& registry, const std::string& database, const std::string& query)
{
    const auto rows = Sql(registry, database, query);
    if (rows.size() != 1 || rows[0].size() != 1) {
        ADD_FAILURE() << query << " gave no single number";
        return -1;
    }
    return std::stoi(rows[0][0]);
}

std::string NightlyTest::Dump(const std::string& registry, const std::string& database, const std::string& where)
{
    RawFile db(registry, database, false);
    std::string out;
    for (const auto& table : db.rows("SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE "
                                     "'sqlite%' ORDER BY name")) {
        const std::string name = table[0];
        bool hasSubject = false;
        for (const auto& column : db.rows("SELECT name FROM pragma_table_info('" + name + "')"))
            hasSubject = hasSubject || column[0] == "SubjectId" || column[0] == "SubjectID";
        if (!where.empty() && !hasSubject)
            continue;
        const std::string sql = "SELECT * FROM \"" + name + "\"" + (where.empty() ? "" : " WHERE " + where);
        std::vector<std::string> lines;
        for (const auto& row : db.rows(sql)) {
            std::string line;
            for (const std::string& cell : row)
                line += cell + "|";
            lines.push_back(line);
        }
        std::sort(lines.begin(), lines.end());
        out += "== " + name + "\n";
        for (const std::string& line : lines)
            out += line + "\n";
    }
    return out;
}

void NightlyTest::ExecRaw(const std::string& registry, const std::string& database, const std::string& sql)
{
    RawFile db(registry, database, true);
    db.exec(sql);
}

std::map<std::string, std::string> NightlyTest::Files(const std::string& registry)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(registry))
        if (entry.path().extension() == ".db")
            files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

HeldWriteLock::HeldWriteLock(const std::string& registry, const std::string& database, const std::string& statements)
{
    sqlite3* db = nullptr;
    const std::string path = dalport::DatabaseFilePath(registry, database);
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    dalport::RegisterEngineFunctions(db);
    const std::string sql = "BEGIN IMMEDIATE;" + statements;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string error = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error("cannot hold the write lock: " + error);
    }
    m_db = db;
}

HeldWriteLock::~HeldWriteLock()
{
    Release();
}

void HeldWriteLock::Release()
{
    if (!m_db)
        return;
    auto* db = static_cast<sqlite3*>(m_db);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    m_db = nullptr;
}

TerminalRun::TerminalRun(const std::string& tool, const std::vector<std::string>& args,
                         const std::vector<std::string>& env)
{
    m_dir = root() / unique("terminal-");
    fs::create_directories(m_dir);
    const std::string outPath = (m_dir / "out").string();
    m_pid = forkpty(&m_master, nullptr, nullptr, nullptr);
    if (m_pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0)
            _exit(127);
        dup2(out, 1);
        for (const std::string& e : env) {
            const auto eq = e.find('=');
            setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(tool.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    if (m_pid < 0)
        throw std::runtime_error("cannot start a tool on a terminal");
}

TerminalRun::~TerminalRun()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_master >= 0)
        close(m_master);
    std::error_code ec;
    fs::remove_all(m_dir, ec);
}

bool TerminalRun::ReadSome(int timeoutMs)
{
    pollfd p{m_master, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0)
        return true; // nothing yet
    char buf[4096];
    const ssize_t n = read(m_master, buf, sizeof buf);
    if (n <= 0)
        return false; // the tool has closed the terminal
    m_terminal.append(buf, static_cast<std::size_t>(n));
    return true;
}

bool TerminalRun::WaitFor(const std::string& text)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (m_terminal.find(text) == std::string::npos) {
        if (!ReadSome(100) || std::chrono::steady_clock::now() > deadline)
            return false;
    }
    return true;
}

void TerminalRun::Signal(int signal)
{
    kill(m_pid, signal);
}

int TerminalRun::Finish()
{
    while (ReadSome(100)) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            while (ReadSome(0) && m_terminal.size() < (1u << 24)) {
                pollfd p{m_master, POLLIN, 0};
                if (poll(&p, 1, 0) <= 0)
                    break;
            }
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string TerminalRun::Out() const
{
    return readFile(m_dir / "out");
}

void NightlyTest::ExpectSameAsMenuCommand(const std::string& command,
                                          const std::function<std::optional<int>(CQuorinDoc&)>& job)
{
    const std::string window = CopyDemo("window");
    const ToolRun tool = Registry(command, folder);
    ASSERT_EQ(tool.status, 0) << tool.err;

    dalport::SetFixedClock(kNightlyClock);
    ScriptedUserInterface ui;
    {
        CQuorinDoc document(ui);
        document.m_strServer = QString::fromStdString(window);
        document.m_strUserName = kDemoUser;
        document.m_strPassword = kDemoUserPassword;
        document.OnNewDocument();
        EXPECT_TRUE(document.m_db.IsConnected());
        const std::optional<int> count = document.m_db.IsConnected() ? job(document) : std::nullopt;
        EXPECT_TRUE(count);
        if (count) {
            EXPECT_EQ("Updated " + std::to_string(*count) + " records!", tool.outLines().back());
        }
    }
    dalport::ResetClock();
    for (const char* database : {"Quorin", "Aud", "CID"})
        EXPECT_EQ(Dump(folder, database), Dump(window, database)) << database;
}

} // namespace quorin::test
