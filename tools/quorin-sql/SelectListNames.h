#pragma once
// The column names a SELECT statement's list gives its result, read from the text. Used
// only when the backend cannot name the columns of a result itself.

#include <string>
#include <vector>

namespace quorin::tools {

// Empty when the text is not a SELECT or its list holds '*'.
std::vector<std::string> selectListNames(const std::string& sql);

} // namespace quorin::tools
