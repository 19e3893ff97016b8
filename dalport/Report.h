#pragma once
// Hands one error box to the installed reporter (internal).

#include "dalport/ErrorReporter.h"

namespace dalport {
void report(const ReportedError& error);
}
