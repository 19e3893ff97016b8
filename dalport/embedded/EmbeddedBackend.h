#pragma once
// The embedded engine: a stand-in for SQL Server built on SQLite. A server is a folder
// holding master.db (the logins) and one <database>.db file per database.

#include "dalport/Backend.h"

#include <memory>
#include <optional>
#include <string>

namespace dalport::embedded {

// Opens a session on one database of the server named by `server` (empty: the default
// registry; otherwise a path, "~/...", "./..." or "file:..."). Authenticates the login
// and checks that it may use the database. Throws ConnectError carrying SQL Server's
// errors (18456 for a wrong login or password, 4060 for a database the login may not open).
// A login whose password must be changed is refused with 18488; with `oldPassword`
// the login is checked against it and `pwd` becomes its password in the same step.
// When the registry's storage is at fault the error names the file and what is wrong.
std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database,
                                           const std::optional<std::string>& oldPassword = std::nullopt);

// The registry profile's folder variable when set, else its data folder inside the
// per-user data folder. Throws std::runtime_error when no profile names one.
std::string defaultRegistryFolder();

} // namespace dalport::embedded
