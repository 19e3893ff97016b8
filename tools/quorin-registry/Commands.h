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
};

// "create <folder> --admin <name> [--password-file F]"
Command createCommand();

} // namespace quorin::tools
