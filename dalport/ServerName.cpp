#include "dalport/Backend.h"
#include "dalport/Registry.h"

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

bool IsEmbeddedServerName(const std::string& server) { return isEmbeddedServerName(server); }

} // namespace dalport
