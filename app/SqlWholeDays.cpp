#include "app/SqlText.h"

namespace quorin::sql {

QString WholeDays(const QString& column, const QString& from, const QString& to)
{
    return QStringLiteral("%1 >= '%2' and datediff(dd, %1, '%3') >= 0").arg(column, Text(from), Text(to));
}

} // namespace quorin::sql
