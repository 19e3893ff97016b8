#include "NightlyFixture.h"

#include "dalport/Registry.h"

#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

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

fs::path root()
{
    return fs::temp_directory_path() / "quorin-nightly-tests";
}

fs::path unique(const char* prefix)
{
    std::random_device rd;
    return root() / (std::string(prefix) + std::to_string(::getpid()) + "-" + std::to_string(rd()));
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
    const fs::path err = unique("err-");
    ToolRun r;
    FILE* pipe = popen((command + " 2>" + shellWord(err.string())).c_str(), "r");
    if (!pipe)
        return r;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        r.out.append(buf, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = readFile(err);
    fs::remove(err);
    return r;
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
    const fs::path building = unique("building-");
    const ToolRun made =
        run(shellWord(QUORIN_REGISTRY_TOOL) + " create --demo " + shellWord(building.string()) + " --size 300");
    if (made.status != 0)
        throw std::runtime_error("the demo registry could not be made: " + made.err);
    fs::rename(building, folder, ec);
    if (ec) // another test process was first
        fs::remove_all(building, ec);
    return folder;
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
    base = unique("test-");
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

ToolRun NightlyTest::Tool(const std::string& args, const char* password)
{
    const std::string env = password ? "QUORIN_PASSWORD=" + shellWord(password) + " " : "";
    return run(env + shellWord(QUORIN_REGISTRY_TOOL) + " " + args + " </dev/null");
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

HeldWriteLock::HeldWriteLock(const std::string& registry, const std::string& database, const std::string& statements)
{
    sqlite3* db = nullptr;
    const std::string path = dalport::DatabaseFilePath(registry, database);
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    dalport::RegisterEngineFunctions(db);
    if (sqlite3_exec(db, ("BEGIN IMMEDIATE;" + statements).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string error = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error("cannot hold the write lock: " + error);
    }
    m_db = db;
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

TerminalRun::TerminalRun(const fs::path& dir, const std::vector<std::string>& args) : m_out(dir / "terminal-out")
{
    m_pid = forkpty(&m_master, nullptr, nullptr, nullptr);
    if (m_pid == 0) {
        const int out = open(m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0)
            _exit(127);
        dup2(out, 1);
        setenv("QUORIN_PASSWORD", kDemoUserPassword, 1);
        std::vector<char*> argv{const_cast<char*>(QUORIN_REGISTRY_TOOL)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(QUORIN_REGISTRY_TOOL, argv.data());
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
}

bool TerminalRun::WaitFor(const std::string& text)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (m_terminal.find(text) == std::string::npos) {
        pollfd p{m_master, POLLIN, 0};
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (poll(&p, 1, 100) <= 0)
            continue;
        char buf[4096];
        const ssize_t n = read(m_master, buf, sizeof buf);
        if (n <= 0)
            return false; // the tool has closed the terminal
        m_terminal.append(buf, static_cast<std::size_t>(n));
    }
    return true;
}

void TerminalRun::Signal(int signal)
{
    kill(m_pid, signal);
}

int TerminalRun::Finish()
{
    // The terminal is read on until the tool closes it, so that it never blocks writing.
    WaitFor(std::string(1, '\0'));
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string TerminalRun::Out() const
{
    return readFile(m_out);
}

} // namespace quorin::test
