#pragma once
// The one clock of the system: GETDATE() of the embedded engine and the program's
// Today() both read it, so a test (or QUORIN_CLOCK="YYYY-MM-DD[ HH:MM:SS]" for a whole
// process) can fix the date everything sees.

#include "dalport/DalportExport.h"

#include <optional>
#include <string>

namespace dalport {

struct ClockTime {
    int year = 1900;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Fixes the clock at a time given as "YYYY-MM-DD[ HH:MM:SS[.fff]]" or as a us_english
// date ("M/D/YYYY[ HH:MM:SS]"). Throws std::invalid_argument for a text that is no date.
DALPORT_EXPORT void SetFixedClock(const std::string& when);
DALPORT_EXPORT void SetFixedClock(const ClockTime& when);
// Back to the system's local time (or to QUORIN_CLOCK when that is set).
DALPORT_EXPORT void ResetClock();
// Now, as local time.
DALPORT_EXPORT ClockTime ClockNow();
// Now as the engine stores dates: "YYYY-MM-DD HH:MM:SS.fff".
DALPORT_EXPORT std::string ClockNowText();

// What is wrong with QUORIN_CLOCK, as a sentence naming the variable and the form it
// takes; nothing when it is unset, empty or a date. Programs stop with this message
// rather than run on the system's time while the user believes the clock fixed.
DALPORT_EXPORT std::optional<std::string> ClockEnvironmentProblem();

} // namespace dalport
