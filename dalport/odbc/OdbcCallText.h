#pragma once
// The ODBC escape that calls a stored procedure with positional markers:
// "{call name(?,?,?)}", or "{call name}" without parameters.

#include <cstddef>
#include <string>

namespace dalport::odbc {

std::string callText(const std::string& procedure, std::size_t parameterCount);

} // namespace dalport::odbc
