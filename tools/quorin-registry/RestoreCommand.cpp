// quorin-registry restore: a registry made again from a backup, whole or not at all.

#include "tools/quorin-registry/Commands.h"

#include "dalport/Backup.h"
#include "database/ChangeLog.h"
#include "tools/quorin-registry/NightlyRun.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

namespace quorin::tools {

namespace {

constexpr const char* kArguments = "--from <backup file> --to <folder> [--force]";

int runRestore(const ParsedCommandLine& cmd)
{
    const auto from = cmd.value("--from");
    const auto to = cmd.value("--to");
    if (!cmd.positional.empty() || !from || !to || from->empty() || to->empty())
        throw std::runtime_error(std::string("usage: quorin-registry restore ") + kArguments);
    try {
        const std::string backup = std::filesystem::absolute(*from).string();
        dalport::RestoreServer(*from, *to, cmd.has("--force"),
                               [&](const std::string& folder) { quorin::logRestore(folder, backup); });
    } catch (const std::exception& e) {
        std::cerr << "quorin-registry restore: " << e.what() << "\nNothing was changed.\n";
        return kExitNotStarted;
    }
    std::cout << "Restored the registry in " << *to << " from " << *from
              << ": its logins, passwords, grants and data are those of the backup.\n";
    return kExitDone;
}

} // namespace

Command restoreCommand()
{
    return Command{"restore",
                   kArguments,
                   "make the registry in the folder from a backup, once the whole backup has been checked;\n"
                   "  an existing registry is replaced only with --force, and never while a program has it open",
                   {
                       {"--from", true, "the backup file (made by backup)"},
                       {"--to", true, "the registry's folder"},
                       {"--force", false, "replace the registry that is in the folder"},
                   },
                   &runRestore,
                   kExitNotStarted};
}

} // namespace quorin::tools
