#pragma once
// The SQL functions behind T-SQL's operators whose meaning depends on the operands'
// types: + (addition or concatenation), binary -, LIKE, UPPER and LOWER.

#include <sqlite3.h>

namespace dalport::embedded {

void registerOperatorFunctions(sqlite3* db);

} // namespace dalport::embedded
