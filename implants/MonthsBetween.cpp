// Months between two date texts, counted the way the implant and speech forms always
// have: day numbers with 30.33-day months.

#include "app/CQuorinDoc.h"
#include "controls/DateText.h"

namespace {

long DayNumber(const quorin::DateParts& d)
{
    const int y = d.year - 1970;
    if (d.month > 2)
        return d.day - 64 + static_cast<long>(365.25 * y) + static_cast<long>(30.6 * (d.month + 1));
    return d.day - 64 + static_cast<long>(365.25 * (y - 1)) + static_cast<long>(30.6 * (d.month + 13));
}

} // namespace

double CQuorinDoc::MonthsBetween(const QString& a, const QString& b)
{
    // Month, day and year are the three parts of the text, so "3/7/2009" (the form
    // the program writes) reads as well as "03/07/2009".
    const std::optional<quorin::DateParts> from = quorin::SplitDate(a.trimmed());
    const std::optional<quorin::DateParts> to = quorin::SplitDate(b.trimmed());
    if (!from || !to)
        return 0.0;
    double months = (DayNumber(*to) - DayNumber(*from)) * 0.032970656116056714;
    if (months < 0)
        months += 1200;
    return months;
}
