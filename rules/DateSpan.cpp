#include "rules/DateSpan.h"

#include "rules/DateText.h"

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

double MonthsBetween(const QString& a, const QString& b)
{
    // Month, day and year are the three parts of the text, so "3/7/2009" (the form
    // the program writes) reads as well as "03/07/2009".
    const std::optional<DateParts> from = SplitDate(a.trimmed());
    const std::optional<DateParts> to = SplitDate(b.trimmed());
    if (!from || !to)
        return 0.0;
    const long days = DayNumber(to->year, to->month, to->day) - DayNumber(from->year, from->month, from->day);
    double months = days * 0.032970656116056714;
    if (months < 0)
        months += 1200;
    return months;
}

} // namespace quorin
