#pragma once
// A small, table-driven reader of command-line options shared by the tools.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorin::tools {

struct Option {
    std::string name;       // "-S", "--admin"
    bool takesValue = true;
    std::string help;
};

struct ParsedCommandLine {
    std::map<std::string, std::string> options; // flags without value hold ""
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return options.count(name) > 0; }
    std::optional<std::string> value(const std::string& name) const;
};

// Throws std::runtime_error for an unknown option or a missing value.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args, const std::vector<Option>& table);

std::string usageLines(const std::vector<Option>& table);

// The option's value as a whole number from 1 up, `absent` without the option. Throws
// std::runtime_error "<name> takes <what> (a whole number from 1 up), not '<value>'".
int positiveNumber(const ParsedCommandLine& cmd, const std::string& name, int absent, const std::string& what);

// The -S option of a command that works on a registry's files: absent or empty the
// default registry, else a folder. A SQL Server's name is refused with std::runtime_error,
// which ends with `instead` (what to use on a SQL Server).
std::string registryFolderServer(const ParsedCommandLine& cmd, const std::string& instead);

} // namespace quorin::tools
