#pragma once
// quorin-registry's commands. Each command has its options in a table; a new command or
// option is one more entry.

#include "tools/common/CommandLine.h"

#include <string>
#include <vector>

namespace quorin::tools {

struct Command {
    std::string name;
    std::string arguments; // the positional arguments, for the usage text
    std::string summary;
    std::vector<Option> options;
    int (*run)(const ParsedCommandLine& cmd);
    // The exit status for a wrong command line or an error that stopped the command.
    int errorStatus = 1;
};

// "create <folder> --admin <name> [--password-file F]"
Command createCommand();

// "cid-import [-S server] -U login [-P password | --password-file F] [--dry-run]"
Command cidImportCommand();

// "update [-S server] -U login [-P password | --password-file F] [--dry-run]"
Command updateCommand();

// "backup [-S server] --to <folder> [--keep N]"
Command backupCommand();

// "restore --from <backup file> --to <folder> [--force]"
Command restoreCommand();

// "check [-S server]"
Command checkCommand();

// "history [-S server] -U login [-P password | --password-file F] [--subject N] [--user NAME]
//  [--since M/D/YYYY] [--csv]"
Command historyCommand();

} // namespace quorin::tools
