#include "controls/DateSpan.h"

#include "controls/DateText.h"

#include <optional>

namespace quorin {

namespace {

// 1 / 365.25: a day as a part of the average year.
constexpr double kYearsPerDay = 0.0027378507871321013;

// Month, day and year of a text that holds a date, read piece by piece.
std::optional<DateParts> ReadDate(const QString& text)
{
    const std::optional<DateParts> d = SplitDate(text.trimmed());
    if (!d || d->month < 1 || d->month > 12 || d->day < 1 || d->day > 31 || d->year < 1)
        return std::nullopt;
    return d;
}

} // namespace

long DayNumber(int year, int month, int day)
{
    const int y = year - 1900;
    if (month < 3)
        return static_cast<long>((y - 71) * 365.25) + static_cast<long>(30.6 * (month + 13)) + day - 64;
    return static_cast<long>((y - 70) * 365.25) + static_cast<long>(30.6 * (month + 1)) + day - 64;
}

double AgeInYears(const QString& from, const QString& to)
{
    const std::optional<DateParts> a = ReadDate(from);
    const std::optional<DateParts> b = ReadDate(to);
    if (!a || !b)
        return 0.0;
    double years = (DayNumber(b->year, b->month, b->day) - DayNumber(a->year, a->month, a->day)) * kYearsPerDay;
    if (years < 0)
        years += 100;
    return years;
}

} // namespace quorin
