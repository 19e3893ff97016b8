#pragma once
// The data-access components the program really uses, with their versions, for the
// About box: the ODBC driver manager and the SQLite library of the embedded engine.

#include <QString>

namespace quorin {

// The driver manager's SQL_DM_VER answer ("03.52.0002.0003" style: ODBC API level, then
// the manager's own numbers), or "" when it gives none.
QString OdbcDriverManagerVersion();
// The unixODBC release the program runs with ("2.3.11"), or "" under another manager.
QString UnixOdbcVersion();
// The driver manager as users know it: "unixODBC 2.3.11 (ODBC 03.52)"; another manager
// by its version; "not available" when there is no driver manager.
QString OdbcDriverManagerText();
QString SqliteVersion();

// The three "Name:  value" lines of the About box.
QString DataAccessLine();
QString OdbcLine();
QString SqliteLine();

} // namespace quorin
