#pragma once
// The registry tool's nightly jobs run as processes on a copy of a 300-subject demo
// registry (made once and kept for every test process of the same tool build), with a
// fixed clock. The tests hold to what a scheduler sees: options, the lines printed, and
// the exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quorin::test {

inline constexpr const char* kDemoUser = "jsmith";
inline constexpr const char* kDemoUserPassword = "QuorinDemo-User1";

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
    std::vector<std::string> outLines() const;
};

// The number a summary line gives: "Found in CID: 12" is 12.
inline int NumberIn(const std::string& line)
{
    return std::stoi(line.substr(line.find(": ") + 2));
}

// Another program's transaction on a database of the registry, holding its write lock
// from construction until Release (or destruction); its statements are run at once.
class HeldWriteLock {
public:
    HeldWriteLock(const std::string& folder, const std::string& database, const std::string& statements = "");
    ~HeldWriteLock() { Release(); }
    HeldWriteLock(const HeldWriteLock&) = delete;
    HeldWriteLock& operator=(const HeldWriteLock&) = delete;
    void Release();

private:
    void* m_db = nullptr;
};

// quorin-registry started with standard input and error on a terminal the test reads,
// standard output in a file, and the demo user's password in the environment.
class TerminalRun {
public:
    TerminalRun(const std::filesystem::path& dir, const std::vector<std::string>& args);
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
    int m_pid = -1;
    int m_master = -1;
    std::filesystem::path m_out;
    std::string m_terminal;
};

class NightlyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A fresh copy of the demo registry in the test's folder.
    std::string CopyDemo(const std::string& name);
    // quorin-registry with the arguments (a shell's words), standard input at its end,
    // and the password in QUORIN_PASSWORD unless it is null.
    ToolRun Tool(const std::string& args, const char* password = kDemoUserPassword);
    // quorin-registry <command> -S <registry> -U jsmith <args>.
    ToolRun Registry(const std::string& command, const std::string& registry, const std::string& args = "");
    // A statement run through quorin-sql by the demo's administrator; its output.
    std::string Sql(const std::string& database, const std::string& statement);
    // The bytes of every database file, to show that nothing was written.
    std::map<std::string, std::string> Files() const;

    std::filesystem::path base;
    std::string folder; // the copy most tests use
};

} // namespace quorin::test
