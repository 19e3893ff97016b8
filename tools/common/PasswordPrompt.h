#pragma once
// Reads a password from the terminal without echoing it.

#include <optional>
#include <string>

namespace quorin::tools {

// Empty when standard input has ended.
std::optional<std::string> promptPassword(const std::string& prompt);

// The first line of a file, without its line end. Throws std::runtime_error, also for a
// file that others than its owner may read.
std::string readPasswordFile(const std::string& path);

} // namespace quorin::tools
