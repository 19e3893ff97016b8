#pragma once
// The data-access components the program really uses, with their versions, for the
// About box: the ODBC driver manager and the SQLite library of the embedded engine.

#include <QString>

namespace quorin {

// The driver manager's own version ("03.52.0011.0000" style), or "not available".
QString OdbcDriverManagerVersion();
QString SqliteVersion();

// The three "Name:  value" lines of the About box.
QString DataAccessLine();
QString OdbcLine();
QString SqliteLine();

} // namespace quorin
