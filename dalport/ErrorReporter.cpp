#include "dalport/ErrorReporter.h"
#include "dalport/Report.h"

#include <cstdio>
#include <utility>

namespace dalport {

namespace {
ErrorReporter& installed()
{
    static ErrorReporter reporter;
    return reporter;
}
} // namespace

ErrorReporter SetErrorReporter(ErrorReporter reporter)
{
    return std::exchange(installed(), std::move(reporter));
}

void report(const ReportedError& error)
{
    if (installed()) {
        installed()(error);
        return;
    }
    std::fprintf(stderr, "%s\n", error.text.c_str());
}

} // namespace dalport
