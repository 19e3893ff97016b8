#include "rules/SqlText.h"

#include "rules/DateText.h"

#include <QDate>

namespace quorin::sql {

namespace {

// The day after a typed date, as the program writes dates; nothing for a text that is
// no real day (the server then reads the typed text and says what is wrong with it).
std::optional<QString> DayAfter(const QString& typed)
{
    const auto parts = SplitDate(DbDate(typed));
    if (!parts || !IsRealDate(parts->month, parts->day, parts->year))
        return std::nullopt;
    const QDate next = QDate(parts->year, parts->month, parts->day).addDays(1);
    return QStringLiteral("%1/%2/%3").arg(next.month()).arg(next.day()).arg(next.year());
}

} // namespace

QString WholeDays(const QString& column, const QString& from, const QString& to)
{
    // Both bounds plain comparisons, so the column's index serves the whole range.
    if (const auto next = DayAfter(to))
        return QStringLiteral("%1 >= '%2' and %1 < '%3'").arg(column, Text(from), *next);
    return QStringLiteral("%1 >= '%2' and datediff(dd, %1, '%3') >= 0").arg(column, Text(from), Text(to));
}

} // namespace quorin::sql
