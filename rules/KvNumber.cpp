#include "rules/KvNumber.h"

#include "rules/SqlText.h"

namespace quorin::sql {

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

} // namespace quorin::sql
