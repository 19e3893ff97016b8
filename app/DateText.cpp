#include "app/DateText.h"

#include "app/DbString.h"

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

QString DbDate(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return out;
}

} // namespace quorin
