#pragma once
// SQL Server through ODBC: the driver "SQL Server" (the vendor's driver or FreeTDS
// registered under that name).

#include "dalport/Backend.h"

namespace dalport::odbc {

// "driver={SQL Server}; server=%s;uid=%s;pwd=%s;database=%s", a value holding ";", "{"
// or "}" in braces ("{...}", each "}" doubled).
std::string connectionString(const std::string& server, const std::string& uid, const std::string& pwd,
                             const std::string& database);

std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database);

} // namespace dalport::odbc
