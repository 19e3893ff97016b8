#include "framework/DialogUnits.h"

#include <QFontMetrics>

namespace framework {

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, is what the platform calls the
    // dialog base unit.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = qMax(1, (letters / 26 + 1) / 2);
    m_baseY = qMax(1, metrics.height());
}

int DialogUnits::ToPixelsX(int units) const
{
    return (units * m_baseX + 2) / 4;
}

int DialogUnits::ToPixelsY(int units) const
{
    return (units * m_baseY + 4) / 8;
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const
{
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy));
}

} // namespace framework
