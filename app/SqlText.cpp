#include "app/SqlText.h"

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

std::optional<QString> KvNumber(const QString& unit)
{
    std::optional<QString> n = Number(unit);
    if (!n || *n == QLatin1String("0"))
        return std::nullopt;
    return n;
}

KvReading ReadKvNumber(const QString& unit)
{
    if (unit.trimmed().isEmpty())
        return {};
    std::optional<QString> n = Number(unit);
    if (!n)
        return {KvReading::Kind::NotWhole, QString()};
    if (*n == QLatin1String("0"))
        return {};
    return {KvReading::Kind::Number, *n};
}

QString KvNumberMessage()
{
    return QStringLiteral("KV Number must be a whole number.");
}

std::optional<QString> LoginName(const QString& name)
{
    static const QRegularExpression pattern(
        // \z, not $: "$" also matches before a final line end, and a pasted "name\n"
        // would make a login nobody can type.
        QStringLiteral("\\A[A-Za-z_][A-Za-z0-9_.@-]{0,127}\\z"));
    if (!pattern.match(name).hasMatch())
        return std::nullopt;
    return QLatin1Char('[') + name + QLatin1Char(']');
}

} // namespace quorin::sql
