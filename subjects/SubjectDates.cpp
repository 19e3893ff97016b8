// The document's date operations on date texts.

#include "app/CQuorinDoc.h"
#include "app/DateText.h"

#include "dalport/Clock.h"

#include <QDate>

int CQuorinDoc::IsValidDate(const QString& text) const
{
    if (text.isEmpty())
        return 1;
    // The text is read from a 19-character buffer: anything longer is no date.
    if (text.size() > 19)
        return 0;
    const std::optional<quorin::DateParts> d = quorin::SplitDate(text);
    if (!d)
        return 0;
    // The same years the date fields accept; the day must exist in its month, or the
    // database would refuse the date at save time.
    const int lastYear = dalport::ClockNow().year + 20;
    if (d->year < 1900 || d->year > lastYear)
        return 0;
    return QDate::isValid(d->year, d->month, d->day) ? 1 : 0;
}

QString CQuorinDoc::Today() const
{
    const dalport::ClockTime now = dalport::ClockNow();
    return QString::asprintf("%d/%d/%d", now.month, now.day, now.year);
}

int CQuorinDoc::CompareDates(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return -1;
    if (b.isEmpty())
        return 1;
    const quorin::DateParts x = quorin::SplitDate(a).value_or(quorin::DateParts{});
    const quorin::DateParts y = quorin::SplitDate(b).value_or(quorin::DateParts{});
    const int keys[3][2] = {{x.year, y.year}, {x.month, y.month}, {x.day, y.day}};
    for (const auto& k : keys) {
        if (k[0] > k[1])
            return 1;
        if (k[0] < k[1])
            return -1;
    }
    return 0;
}
