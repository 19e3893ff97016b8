#include "rules/AtoI.h"

#include <climits>

namespace quorin {

int AtoI(const QString& s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && (s[i] == QLatin1Char(' ') || (s[i].unicode() >= 9 && s[i].unicode() <= 13)))
        ++i;
    bool negative = false;
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    while (i < n && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9')) {
        value = value * 10 + (s[i].unicode() - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
        ++i;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace quorin
