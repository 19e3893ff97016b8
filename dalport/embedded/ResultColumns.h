#pragma once
// The column names of a result, for tools that print whole result sets (quorin-sql).
// Results of the embedded engine know them; for other backends the list is empty.

#include "dalport/DalportExport.h"

#include <string>
#include <vector>

namespace dalport {
class Result;

DALPORT_EXPORT std::vector<std::string> ResultColumnNames(const Result* result);
} // namespace dalport
