#pragma once
// The registry tool's nightly jobs run as processes on a copy of a 300-subject demo
// registry (made once and kept for every test process of the same tool build), with a
// fixed clock; what they stored is read back through quorin-sql and, for whole-table
// comparisons, with plain SQLite.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class CQuorinDoc;

namespace quorin::test {

inline constexpr const char* kNightlyClock = "2026-06-15 02:00:00";
inline constexpr const char* kDemoAdmin = "admin";
inline constexpr const char* kDemoAdminPassword = "QuorinDemo-Admin1";
inline constexpr const char* kDemoUser = "jsmith";
inline constexpr const char* kDemoUserPassword = "QuorinDemo-User1";

struct ToolRun {
    int status = -1; // the exit status; -1 when ended by a signal or killed at the deadline
    std::string out;
    std::string err;
    std::vector<std::string> outLines() const;
    std::vector<std::string> errLines() const;
};

struct ToolOptions {
    std::vector<std::string> env; // "NAME=value", added to the test's environment
    bool withoutPassword = false; // QUORIN_PASSWORD not set
    std::string stdinPath = "/dev/null";
};

// Runs a built tool with its arguments; standard output and error kept apart.
ToolRun runTool(const std::string& tool, const std::vector<std::string>& args, const ToolOptions& options = {});

// Another program's transaction on a database of the registry, holding its write lock
// from construction until Release (or destruction): its statements are run at once.
class HeldWriteLock {
public:
    HeldWriteLock(const std::string& folder, const std::string& database, const std::string& statements = "");
    ~HeldWriteLock();
    HeldWriteLock(const HeldWriteLock&) = delete;
    HeldWriteLock& operator=(const HeldWriteLock&) = delete;
    void Release();

private:
    void* m_db = nullptr;
};

// A tool started with standard input and error on a terminal (a pseudo-terminal the
// test reads) and standard output in a file.
class TerminalRun {
public:
    TerminalRun(const std::string& tool, const std::vector<std::string>& args, const std::vector<std::string>& env);
    ~TerminalRun();
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    // Reads the terminal until the text has appeared; false when the tool ended first.
    bool WaitFor(const std::string& text);
    void Signal(int signal);
    // Waits for the end; the exit status (-1 when ended by a signal).
    int Finish();
    const std::string& Terminal() const { return m_terminal; }
    std::string Out() const;

private:
    bool ReadSome(int timeoutMs);

    int m_pid = -1;
    int m_master = -1;
    std::filesystem::path m_dir;
    std::string m_terminal;
};

class NightlyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A fresh copy of the demo registry in the test's folder.
    std::string CopyDemo(const std::string& name);

    // quorin-registry <command> -S folder -U jsmith [args], QUORIN_PASSWORD set.
    ToolRun Registry(const std::string& command, const std::string& folder, const std::vector<std::string>& args = {},
                     ToolOptions options = {});
    // The rows of a query through quorin-sql as the administrator, cells split.
    std::vector<std::vector<std::string>> Sql(const std::string& folder, const std::string& database,
                                              const std::string& query);
    int SqlNumber(const std::string& folder, const std::string& database, const std::string& query);

    // Every table of a database file, rows sorted, as text.
    static std::string Dump(const std::string& folder, const std::string& database, const std::string& where = "");
    // Plain SQLite on a database file, for set-up the program cannot do (a trigger).
    static void ExecRaw(const std::string& folder, const std::string& database, const std::string& sql);
    // The bytes of every database file, to show that nothing was written.
    static std::map<std::string, std::string> Files(const std::string& folder);
    // quorin-registry <command> on the test's copy and `job` through a document on another
    // copy, as the menu runs it: both count the same and leave every database alike.
    // `job` returns the count it reports ("Updated N records!"), or nothing when it stopped.
    void ExpectSameAsMenuCommand(const std::string& command, const std::function<std::optional<int>(CQuorinDoc&)>& job);

    std::filesystem::path base;
    std::string folder; // the copy most tests use
};

} // namespace quorin::test
