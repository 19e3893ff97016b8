#pragma once
// The embedded engine: a stand-in for SQL Server built on SQLite. A server is a folder
// holding master.db (the logins) and one <database>.db file per database.

#include "dalport/Backend.h"

#include <memory>
#include <string>

namespace dalport::embedded {

// Opens a session on one database of the server named by `server` (empty: the default
// registry; otherwise a path, "~/...", "./..." or "file:..."). Authenticates the login
// and checks that it may use the database. Throws ConnectError carrying SQL Server's
// errors (18456 for a wrong login or password, 4060 for a database the login may not open).
std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database);

// $QUORIN_REGISTRY when set, else the per-user data folder ("Quorin/registry" inside it).
std::string defaultRegistryFolder();

} // namespace dalport::embedded
