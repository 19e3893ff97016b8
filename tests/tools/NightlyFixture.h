#pragma once
// The registry tool's nightly jobs run as processes on a copy of a 300-subject demo
// registry (made once and kept for every test process of the same tool build), with a
// fixed clock. The tests hold to what a scheduler sees: options, the lines printed, and
// the exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
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
// until the last copy of the handle goes; its statements are run at once.
std::shared_ptr<void> HoldWriteLock(const std::string& folder, const std::string& database,
                                    const std::string& statements = "");

class NightlyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

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
    std::string folder; // the test's copy of the demo registry
};

} // namespace quorin::test
