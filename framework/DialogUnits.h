#pragma once
// Dialog units to pixels: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of its height, so a form keeps its layout
// at any font size.

#include <QFont>
#include <QRect>

namespace framework {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int cx, int cy) const;

private:
    int m_baseX;
    int m_baseY;
};

} // namespace framework
