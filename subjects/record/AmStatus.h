#pragma once
// The subject status the Audiogram Manager keeps in info.Velmar, and the one statement
// that sends it. Written after every save, and compared set-wise by the bulk update so
// that a status a run could not send is sent by the next one.

#include <QString>

namespace quorin {

// The Audiogram Manager's word for a subject status (0 Active, 1 Withdrawn, other).
inline const char* AmStatusWord(int status)
{
    switch (status) {
    case 0: return "Yes";
    case 1: return "Declined";
    default: return "No";
    }
}

// The same rule as an SQL expression over a status column, for set-wise comparisons.
inline QString AmStatusWordSql(const QString& column)
{
    return QStringLiteral("CASE %1 WHEN 0 THEN '%2' WHEN 1 THEN '%3' ELSE '%4' END")
        .arg(column, QLatin1String(AmStatusWord(0)), QLatin1String(AmStatusWord(1)), QLatin1String(AmStatusWord(2)));
}

// The update of one clinic patient's status; `unit` a checked KV Number, `quotedBirth`
// the birth date as the server reads it, apostrophes doubled.
inline QString AmStatusUpdate(int status, const QString& unit, const QString& quotedBirth)
{
    return QStringLiteral("Update info set Velmar = '%1' where patientnum = %2 and Birthdate = '%3' ")
        .arg(QLatin1String(AmStatusWord(status)), unit, quotedBirth);
}

} // namespace quorin
