#pragma once
// Prints a result set as sqlcmd does: a header, a rule, aligned rows, the row count.

#include <ostream>
#include <string>
#include <vector>

namespace quorin::tools {

void printResult(std::ostream& out, const std::vector<std::string>& columns,
                 const std::vector<std::vector<std::string>>& rows);

} // namespace quorin::tools
