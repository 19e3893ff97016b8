#include "tools/common/ProviderErrors.h"

#include <memory>

namespace quorin::tools {

std::string serverLabel(const std::string& server)
{
    return server.empty() ? "(default registry)" : server;
}

void printProviderMessage(std::ostream& out, const std::string& server, long number, int level, int state,
                          const std::string& message)
{
    out << "Msg " << number << ", Level " << level << ", State " << state << ", Server " << serverLabel(server)
        << ", Line 1\n"
        << message << "\n"
        << std::flush;
}

dalport::ErrorReporter providerErrorPrinter(std::ostream& out, const std::string& server)
{
    // A failure reports its provider errors first and its closing text last.
    auto providerSpoke = std::make_shared<bool>(false);
    return [&out, server, providerSpoke](const dalport::ReportedError& e) {
        if (e.kind == dalport::ReportedError::Kind::Provider) {
            *providerSpoke = true;
            printProviderMessage(out, server, e.number, e.level, e.state, e.message);
            return;
        }
        if (!*providerSpoke)
            out << e.text << "\n" << std::flush;
        *providerSpoke = false;
    };
}

} // namespace quorin::tools
