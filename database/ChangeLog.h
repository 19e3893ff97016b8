#pragma once
// The change history: which of the registry's tables are logged, and the triggers that
// log them, written for both engines from one table. Every insert, update and delete of
// those tables writes rows to `changelog` in the Quorin database: an insert one row, an
// update one row per column whose value changed, a delete one row per column that held a
// value (so that nothing deleted is lost); who (the login), when (the system clock, to
// the millisecond), the table, the row's key and the subject it belongs to.

#include <string>
#include <vector>

namespace quorin {

// The tables the change history logs.
std::vector<std::string> changeLogTables();

// The embedded engine's triggers (SQLite), added to the Quorin schema of new registries.
// They log nothing on a raw SQLite handle (original_login() is NULL there).
std::string embeddedChangeLogTriggers(const std::string& schema);

// The same triggers for SQL Server (database/mssql/07-quorin-changelog.sql holds this
// text; a test keeps the two equal).
std::string sqlServerChangeLogScript(const std::string& schema);

// Notes in the Quorin database of the registry folder `folder` (not yet in use) that it
// was restored from `backupFile` by the operating-system user: one row of kind
// "restore". Throws std::runtime_error when it cannot.
void logRestore(const std::string& folder, const std::string& backupFile);

} // namespace quorin
