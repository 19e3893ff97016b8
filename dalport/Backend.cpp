#include "dalport/Backend.h"
#include "dalport/odbc/OdbcBackend.h"
#ifdef DALPORT_WITH_EMBEDDED
#include "dalport/embedded/EmbeddedBackend.h"
#endif

#include <cctype>

namespace dalport {

bool isEmbeddedServerName(const std::string& server)
{
    if (server.empty())
        return true;
    auto startsWith = [&](const char* prefix) { return server.rfind(prefix, 0) == 0; };
    if (startsWith("/") || startsWith("./") || startsWith("../") || startsWith("~/") || startsWith("file:"))
        return true;
    // A Windows drive path, "C:\..." or "C:/...".
    return server.size() > 2 && std::isalpha(static_cast<unsigned char>(server[0])) && server[1] == ':'
        && (server[2] == '\\' || server[2] == '/');
}

std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database)
{
    if (!isEmbeddedServerName(server))
        return odbc::openConnection(server, uid, pwd, database);
#ifdef DALPORT_WITH_EMBEDDED
    return embedded::openConnection(server, uid, pwd, database);
#else
    ProviderError e;
    e.number = 0;
    e.message = e.description = "The embedded engine is not part of this build.";
    throw ConnectError{ComError(hr::Fail, "Dalport", e.description), {e}};
#endif
}

} // namespace dalport
