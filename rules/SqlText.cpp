#include "rules/SqlText.h"

#include <QRegularExpression>

namespace quorin::sql {

QString Text(const QString& value)
{
    QString out = value;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString LikeText(const QString& value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (const QChar c : value) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('['))
            out += QLatin1Char('[') + c + QLatin1Char(']');
        else if (c == QLatin1Char('\''))
            out += QStringLiteral("''");
        else
            out += c;
    }
    return out;
}

std::optional<QString> Number(const QString& value)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = value.trimmed();
    if (!wholeNumber.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > INT32_MAX)
        return std::nullopt;
    return QString::number(n);
}

} // namespace quorin::sql
