#pragma once
// Spans between two date texts, counted the way the program always has: day numbers
// built from 365.25-day years and 30.6-day months rather than the calendar, so that
// ages and durations agree with those stored by earlier versions. Ages at a hearing
// test (the audiogram Data tab, the Audiogram Manager import) and months since a
// surgery (the implant and speech forms) are all counted here.

#include <QString>

namespace quorin {

// The day number of a date. With Y = year - 1900: for January and February
// trunc((Y - 71) * 365.25) + trunc(30.6 * (month + 13)) + day - 64, otherwise
// trunc((Y - 70) * 365.25) + trunc(30.6 * (month + 1)) + day - 64 (trunc toward zero).
// Only the difference of two day numbers means anything.
long DayNumber(int year, int month, int day);

// Years from the date text `from` to the date text `to` (a birth date and a test date):
// (DayNumber(to) - DayNumber(from)) / 365.25, as a real number; callers show it
// truncated, so 05/20/1990 to 05/20/2000 (3652 days, 9.9986 years) is age 9.
// Month, day and year are the three pieces of each text split at "/", "-" or "\"
// (SplitDate), so "5/9/2000", "05/09/2000" and "5-9-2000" read alike; blanks around a
// text do not count. Either text empty or no date (fewer than three pieces, a month
// outside 1-12, a day outside 1-31, a year below 1) gives 0.0. A negative span (from
// later than to) has 100 added.
double AgeInYears(const QString& from, const QString& to);

// Months from the date text `a` to the date text `b` (the implant and speech forms):
// the day numbers' difference in 30.33-day months, as a real number. Texts are read as
// by AgeInYears; either one no date gives 0.0; a negative span has 1200 added.
double MonthsBetween(const QString& a, const QString& b);

} // namespace quorin
