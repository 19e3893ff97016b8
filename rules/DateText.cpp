#include "rules/DateText.h"

#include "rules/AtoI.h"
#include "dalport/Clock.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <QRegularExpression>

namespace quorin {

std::optional<DateParts> SplitDate(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[/\\\\-]"));
    const QStringList parts = text.split(separators, Qt::SkipEmptyParts);
    if (parts.size() < 3)
        return std::nullopt;
    return DateParts{AtoI(parts[0]), AtoI(parts[1]), AtoI(parts[2])};
}

QString ShownDateTime(const QString& value)
{
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d\\d)-(\\d\\d)(?:[T ](\\d\\d):(\\d\\d)(?::(\\d\\d)(?:\\.\\d+)?)?)?$"));
    const QRegularExpressionMatch match = iso.match(value);
    if (!match.hasMatch())
        return value;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return value;
    if (time == QTime(0, 0) && date == QDate(1900, 1, 1))
        return QString();
    const QString day = QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
    if (time == QTime(0, 0))
        return day;
    return day + QLatin1Char(' ') + QLocale::c().toString(time, QStringLiteral("h:mm:ss AP"));
}

QString DbDate(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return out;
}

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
    if (text.isEmpty())
        return true;
    if (text.size() > kMaxDateChars)
        return false;
    const std::optional<DateParts> d = SplitDate(text);
    return d && IsRealDate(d->month, d->day, d->year);
}

QString TodayText()
{
    const dalport::ClockTime now = dalport::ClockNow();
    return QString::asprintf("%d/%d/%d", now.month, now.day, now.year);
}

int CompareDateTexts(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return -1;
    if (b.isEmpty())
        return 1;
    const DateParts x = SplitDate(a).value_or(DateParts{});
    const DateParts y = SplitDate(b).value_or(DateParts{});
    const int keys[3][2] = {{x.year, y.year}, {x.month, y.month}, {x.day, y.day}};
    for (const auto& k : keys) {
        if (k[0] > k[1])
            return 1;
        if (k[0] < k[1])
            return -1;
    }
    return 0;
}

} // namespace quorin
