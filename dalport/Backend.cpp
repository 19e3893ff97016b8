#include "dalport/Backend.h"
#include "dalport/odbc/OdbcBackend.h"
#include "dalport/embedded/EmbeddedBackend.h"

namespace dalport {

std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database)
{
    if (!isEmbeddedServerName(server))
        return odbc::openConnection(server, uid, pwd, database);
    return embedded::openConnection(server, uid, pwd, database);
}

} // namespace dalport
