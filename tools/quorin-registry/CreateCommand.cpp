#include "tools/quorin-registry/Commands.h"

#include "dalport/Registry.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "tools/common/PasswordPrompt.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include <unistd.h>

namespace quorin::tools {

namespace {

constexpr const char* kUsage =
    "usage: quorin-registry create <folder> --admin <name> [--password-file F]\n"
    "       quorin-registry create --demo [<folder>] [--size N] [--if-missing]";

// The password from the file, or typed twice on the terminal.
std::string adminPassword(const ParsedCommandLine& cmd)
{
    if (auto file = cmd.value("--password-file"))
        return readPasswordFile(*file);
    const auto first = promptPassword("Administrator's password: ");
    const auto second = first ? promptPassword("Once more: ") : std::nullopt;
    if (!first || !second)
        throw std::runtime_error("no password given");
    if (*first != *second)
        throw std::runtime_error("the two passwords differ");
    return *first;
}

// What to type into the login dialog's Server field for the registry in the folder:
// nothing for the default registry; otherwise its absolute path, since a relative name
// such as "demo" would be read as the name of an ODBC server.
std::string serverFieldText(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path given = fs::weakly_canonical(fs::absolute(folder), ec);
    const fs::path fallback = fs::absolute(folder).lexically_normal();
    const fs::path defaultFolder = fs::weakly_canonical(fs::absolute(dalport::DefaultRegistryFolder()), ec);
    if (!ec && given == defaultFolder)
        return "";
    return (given.empty() ? fallback : given).string();
}

void printServerField(const std::string& folder)
{
    const std::string server = serverFieldText(folder);
    if (server.empty())
        std::cout << "Server: leave the field empty (this is the default registry)\n";
    else
        std::cout << "Server: " << server << "\n";
}

// The demo registry: its own staff logins, data from the fixed seed, a progress line
// on the terminal while it is written, and at the end how its subjects spread.
int runCreateDemo(const ParsedCommandLine& cmd)
{
    if (cmd.positional.size() > 1 || cmd.has("--admin") || cmd.has("--password-file"))
        throw std::runtime_error(kUsage);
    const std::string folder = cmd.positional.empty() ? dalport::DefaultRegistryFolder() : cmd.positional[0];
    const int size = positiveNumber(cmd, "--size", demo::kDefaultDemoSubjects, "a number of subjects");
    if (cmd.has("--if-missing") && std::filesystem::exists(std::filesystem::path(folder) / "master.db")) {
        std::cout << "Using the registry in " << folder << ".\n";
        printServerField(folder);
        return 0;
    }
    const bool terminal = isatty(2);
    // Written whole or not at all: a run that fails part-way (a full disk) must not leave
    // a registry with logins and no subjects, which --if-missing would then take.
    int shown = -1; // a count is printed once, though the end is reported twice
    const demo::DemoSummary summary =
        demo::CreateDemoRegistryWhole(folder, size, demo::kDefaultDemoSeed, [&](int done, int total) {
            if (done == shown)
                return;
            shown = done;
            std::cerr << (terminal ? "\r" : "") << "Writing subjects: " << done << " of " << total
                      << (terminal ? "" : "\n") << std::flush;
        });
    if (terminal)
        std::cerr << "\n";
    std::cout << "Created the demo registry in " << folder << " with " << summary.subjects << " subjects.\n";
    for (const demo::DemoDistribution& distribution : summary.distributions)
        std::cout << demo::DescribeDistribution(distribution) << "\n";
    std::cout << "Log in to it with one of these (user name / password):\n";
    for (const demo::DemoStaffLogin& login : demo::demoStaffLogins())
        std::cout << "  " << login.login << " / " << login.password
                  << (login.status == 3 ? "   (administrator)" : "") << "\n";
    printServerField(folder);
    return 0;
}

int runCreate(const ParsedCommandLine& cmd)
{
    if (cmd.has("--demo"))
        return runCreateDemo(cmd);
    if (cmd.has("--size") || cmd.positional.size() != 1 || !cmd.has("--admin"))
        throw std::runtime_error(kUsage);
    const std::string folder = cmd.positional[0];
    const std::string admin = *cmd.value("--admin");
    const std::string password = adminPassword(cmd);
    if (password.empty())
        throw std::runtime_error("the administrator's password must not be empty");
    dalport::CreateServer(folder, admin, password, quorin::registryScripts());
    std::cout << "Created the registry in " << folder << " with the administrator " << admin << ".\n";
    return 0;
}

} // namespace

Command createCommand()
{
    return Command{"create",
                   "<folder> | --demo [<folder>]",
                   "create a registry server (master.db, Quorin.db, Aud.db, CID.db) in a new folder;\n"
                   "  with --demo, the demo registry (the default registry when no folder is given)",
                   {
                       {"--admin", true, "the administrator's login"},
                       {"--password-file", true, "read the password from the first line of this file"},
                       {"--demo", false, "fill the registry with the demo data and its staff logins"},
                       {"--size", true, "with --demo: the number of subjects (default 2000)"},
                       {"--if-missing", false, "with --demo: leave an existing registry as it is"},
                   },
                   &runCreate};
}

} // namespace quorin::tools
