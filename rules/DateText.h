#pragma once
// The program's one date rule and its date-text helpers. Dates are held as text, as
// typed or as the database returns them ("MM/DD/YYYY"); the program writes "%d/%d/%d".
// The field exchange, the document's storage and the reports all read dates here.

#include <QString>
#include <optional>

namespace quorin {

struct DateParts {
    int month = 0;
    int day = 0;
    int year = 0;
};

// The longest text that can hold a date; anything longer is no date.
inline constexpr int kMaxDateChars = 19;

// Splits at "/", "-" or "\" (empty parts skipped) and reads month, day and year
// with atoi; nothing when there are fewer than three parts.
std::optional<DateParts> SplitDate(const QString& text);

// The text as the database may read it: backslashes (which the forms accept) become
// slashes.
QString DbDate(const QString& text);

// The last year a date may carry: twenty years past the clock's current year. A fixed
// ceiling would sooner or later refuse today's date, which the program writes itself.
int LatestAcceptedYear();

// A real day: month 1-12, a day the month has (leap years counted), a year from 1900 to
// LatestAcceptedYear(). The database would refuse anything else at save time.
bool IsRealDate(int month, int day, int year);

// The date rule for a typed text: empty is valid (no date given); otherwise at most 19
// characters, three pieces, and a real day.
bool IsValidDateText(const QString& text);

// A stored date and time ("2026-12-08T10:11:12.345" as the change history writes values,
// or "2026-12-08 10:11:12.345") as the program shows dates: "12/8/2026", or
// "12/8/2026 10:11:12 AM" with a time; the empty date 1900-01-01 as nothing. Any other
// text stays as it is.
QString ShownDateTime(const QString& value);

// Today from the one clock, as the program writes dates: "3/7/2009".
QString TodayText();

// 1 when a is later, -1 when earlier, 0 when equal; an empty a is earlier than
// anything, an empty b later. Pieces that cannot be read count as 0.
int CompareDateTexts(const QString& a, const QString& b);

} // namespace quorin
