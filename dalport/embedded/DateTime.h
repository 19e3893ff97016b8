#pragma once
// Dates as SQL Server's datetime knows them, read with the us_english (mdy) session
// settings, and stored by the engine as canonical text "YYYY-MM-DD HH:MM:SS.fff" so that
// text order is date order.

#include "dalport/Clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dalport::embedded {

// The same broken-down time the clock hands out.
using DateTime = ClockTime;

enum class DateReading {
    Ok,
    Malformed,  // SQL Server 241
    OutOfRange  // SQL Server 242
};

// Reads a text as SQL Server converts varchar to datetime under us_english:
// '' is 1900-01-01; 'M/D/YYYY', 'M-D-YYYY', 'M.D.YYYY' (two-digit years with the 2049
// cut-off), 'YYYY-MM-DD', 'YYYY/MM/DD', 'YYYYMMDD', 'Mon D YYYY' and 'D Mon YYYY', each
// with an optional time 'H:MM[:SS[.fff]]' and AM/PM; a time alone is on 1900-01-01.
DateReading readDate(std::string_view text, DateTime& out);

// Days since 1900-01-01 (SQL Server's day zero) and back.
std::int64_t dayNumber(int year, int month, int day);
DateTime fromDayNumber(std::int64_t days);

std::string canonicalText(const DateTime& t);     // "YYYY-MM-DD HH:MM:SS.fff"

// Whether a text has the shape of the stored form, "dddd-dd-dd dd:dd:dd.ddd" (digits and
// those separators); the one recogniser of a stored date.
bool hasStoredShape(std::string_view s);
std::string style101Text(const DateTime& t);      // "MM/DD/YYYY"

// DATEDIFF's boundary count between a and b for a unit name (yy, year, mm, month, dd, d,
// day, ...). Empty when the unit is unknown.
std::optional<std::int64_t> dateDiff(std::string_view unit, const DateTime& a, const DateTime& b);
bool isDateDiffUnit(std::string_view unit);

// Rounds milliseconds to datetime's 1/300 s ticks (.000, .003, .007), carrying over.
DateTime roundToTicks(const DateTime& t);

} // namespace dalport::embedded
