#include "controls/DateCheck.h"

#include "app/DateText.h"
#include "dalport/Clock.h"

#include <QDate>

namespace controls {

int LatestAcceptedYear()
{
    return dalport::ClockNow().year + 20;
}

bool IsRealDate(int month, int day, int year)
{
    if (year < 1900 || year > LatestAcceptedYear())
        return false;
    return QDate::isValid(year, month, day);
}

bool IsValidDateText(const QString& text)
{
    const auto parts = quorin::SplitDate(text);
    return parts && IsRealDate(parts->month, parts->day, parts->year);
}

} // namespace controls
