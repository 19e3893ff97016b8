#pragma once
// Prints results as sqlcmd does: a header, a rule, aligned rows, then the row count;
// "(N rows affected)" alone for a statement that changed rows.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorin::tools {

struct PrintOptions {
    // -h: rows between headers; nullopt prints one header, -1 none.
    std::optional<int> headerEvery;
    std::string separator = " "; // -s
    bool trimSpaces = false;     // -W: no padding, no trailing blanks
};

// One cell already formatted (NULL as "NULL", dates as SQL Server prints them).
void printResult(std::ostream& out, const std::vector<std::string>& columns,
                 const std::vector<std::vector<std::string>>& rows, const PrintOptions& options);

void printRowsAffected(std::ostream& out, long count);

} // namespace quorin::tools
