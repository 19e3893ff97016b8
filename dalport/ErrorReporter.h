#pragma once
// How a session's errors reach the user. The host program installs a reporter: the
// program shows each report as a message box (stop icon, OK button, caption "Quorin"),
// tests record them, the command-line tools print them. Without a reporter the texts
// go to standard error.

#include "dalport/DalportExport.h"

#include <functional>
#include <string>

namespace dalport {

struct ReportedError {
    enum class Kind {
        Provider, // one error of the provider's list: "Error number: %x\t%s\n"
        Com       // the error raised by the failing operation: "Error\n..."
    };
    Kind kind = Kind::Com;
    std::string text;     // the box text exactly as shown
    long number = 0;      // provider: the server's error number; com: the status code
    int level = 16;       // provider: severity as the server reports it
    int state = 1;        // provider: state as the server reports it
    std::string message;  // provider: the server's message without decoration
};

using ErrorReporter = std::function<void(const ReportedError&)>;

// Installs the reporter and returns the one it replaces (an empty function for none).
DALPORT_EXPORT ErrorReporter SetErrorReporter(ErrorReporter reporter);

} // namespace dalport
