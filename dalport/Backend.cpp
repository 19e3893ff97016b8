#include "dalport/Backend.h"
#include "dalport/odbc/OdbcBackend.h"
#include "dalport/embedded/EmbeddedBackend.h"

namespace dalport {

std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database,
                                           const std::optional<std::string>& oldPassword)
{
    if (!isEmbeddedServerName(server))
        return odbc::openConnection(server, uid, pwd, database, oldPassword);
    return embedded::openConnection(server, uid, pwd, database, oldPassword);
}

} // namespace dalport
