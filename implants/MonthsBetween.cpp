// Months between two date texts, counted the way the implant and speech forms always
// have: day numbers (controls/DateSpan.h) with 30.33-day months.

#include "app/CQuorinDoc.h"
#include "controls/DateSpan.h"
#include "controls/DateText.h"

double CQuorinDoc::MonthsBetween(const QString& a, const QString& b)
{
    // Month, day and year are the three parts of the text, so "3/7/2009" (the form
    // the program writes) reads as well as "03/07/2009".
    const std::optional<quorin::DateParts> from = quorin::SplitDate(a.trimmed());
    const std::optional<quorin::DateParts> to = quorin::SplitDate(b.trimmed());
    if (!from || !to)
        return 0.0;
    const long days = quorin::DayNumber(to->year, to->month, to->day)
                      - quorin::DayNumber(from->year, from->month, from->day);
    double months = days * 0.032970656116056714;
    if (months < 0)
        months += 1200;
    return months;
}
