// quorin-registry check: SQLite's full integrity check of every database of an embedded
// registry, values of the wrong type in typed columns, then the registry's own rules.

#include "tools/quorin-registry/Commands.h"

#include "dalport/Backup.h"
#include "database/RegistryRules.h"
#include "tools/quorin-registry/NightlyRun.h"

#include <iostream>
#include <stdexcept>
#include <string>

namespace quorin::tools {

namespace {

constexpr const char* kArguments = "[-S server]";

int runCheck(const ParsedCommandLine& cmd)
{
    if (!cmd.positional.empty())
        throw std::runtime_error(std::string("usage: quorin-registry check ") + kArguments);
    const std::string server = registryFolderServer(cmd, "check a SQL Server's databases with its own DBCC CHECKDB");
    const dalport::CheckReport report = dalport::CheckServer(server, registryRules());
    for (const std::string& problem : report.problems)
        std::cout << problem << "\n";
    const std::size_t found = report.problems.size();
    if (found == 0)
        std::cout << "No problems found.\n";
    else
        std::cout << found << (found == 1 ? " problem found.\n" : " problems found.\n");
    std::cout << std::flush;
    return found == 0 ? kExitDone : kExitFailed;
}

} // namespace

Command checkCommand()
{
    return Command{"check",
                   kArguments,
                   "check every database of an embedded registry (SQLite's integrity check, the column types,\n"
                   "  the registry's own rules) and print each problem found",
                   {
                       {"-S", true, "server: a registry folder (empty: the default registry)"},
                   },
                   &runCheck,
                   kExitNotStarted};
}

} // namespace quorin::tools
