#pragma once
// How the tools print what a server reported, in sqlcmd's form:
//   Msg 18456, Level 14, State 1, Server ~/registry, Line 1
//   Login failed for user 'jsmith'.

#include "dalport/ErrorReporter.h"

#include <ostream>
#include <string>

namespace quorin::tools {

// The server as the messages name it; the empty name is the default registry.
std::string serverLabel(const std::string& server);

void printProviderMessage(std::ostream& out, const std::string& server, long number, int level, int state,
                          const std::string& message);

// A reporter for the session's errors: each provider error in the form above; the
// closing text of a failure only when the server said nothing about it itself.
dalport::ErrorReporter providerErrorPrinter(std::ostream& out, const std::string& server);

} // namespace quorin::tools
