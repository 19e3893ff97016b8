#pragma once
// Whether a typed date names a real day: month 1-12, a day the month has (leap years
// counted), and a year from 1900 to twenty years past the clock's current year. A fixed
// ceiling would sooner or later refuse today's date, which the program writes itself.

#include <QString>

namespace controls {

int LatestAcceptedYear();
bool IsRealDate(int month, int day, int year);
// Splits at "/", "-" or "\" and checks the first three pieces; fewer is invalid.
bool IsValidDateText(const QString& text);

} // namespace controls
