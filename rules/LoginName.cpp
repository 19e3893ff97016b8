#include "rules/LoginName.h"

#include <QRegularExpression>

namespace quorin::sql {

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
