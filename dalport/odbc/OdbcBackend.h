#pragma once
// SQL Server through ODBC: the driver "SQL Server" (the vendor's driver or FreeTDS
// registered under that name).

#include "dalport/Backend.h"

namespace dalport::odbc {

// "driver={SQL Server}; server=%s;uid=%s;pwd=%s;database=%s", a value holding ";", "{"
// or "}" in braces ("{...}", each "}" doubled).
std::string connectionString(const std::string& server, const std::string& uid, const std::string& pwd,
                             const std::string& database);

// With `oldPassword` the driver is asked to change the login's password to `pwd` as it
// logs in (SQL Server's drivers: the connection attribute SQL_COPT_SS_OLDPWD); a driver
// without that attribute refuses the connection with a message saying so.
std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database,
                                           const std::optional<std::string>& oldPassword = std::nullopt);

} // namespace dalport::odbc
