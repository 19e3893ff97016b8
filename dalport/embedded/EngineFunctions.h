#pragma once
// The SQL functions and the collation every engine connection has, and raw SQLite users
// get through RegisterEngineFunctions.

#include "dalport/embedded/Collation.h"
#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/EngineError.h"

#include <sqlite3.h>

#include <optional>
#include <string>

namespace dalport::embedded {

// Registers the collation TSQL and getdate(), convert101(), datediff(), todate().
void registerEngineFunctions(sqlite3* db);


// How a value becomes a datetime, with SQL Server's rules: text is read as a date (''
// is 1900-01-01), a number counts days from 1900-01-01. Empty optional for NULL; throws
// EngineError 241/242 for text that is no date.
std::optional<DateTime> toDateTime(sqlite3_value* v);
DateTime dateFromText(std::string_view text); // throws EngineError 241/242

} // namespace dalport::embedded
