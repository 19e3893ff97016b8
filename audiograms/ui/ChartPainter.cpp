#include "audiograms/ui/ChartPainter.h"

#include "audiograms/record/CAudRecord.h"
#include "audiograms/record/ChartGeometry.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace quorin {

namespace {

enum class Align { LeftTop, CentreTop, RightTop };

// Text placed as the chart's layout gives it: a reference point and an alignment, the
// top of the character cell on the point.
void TextAt(QPainter& p, int x, int y, const QString& text, Align align)
{
    const QFontMetrics fm = p.fontMetrics();
    const int width = fm.horizontalAdvance(text);
    const int left = align == Align::LeftTop ? x : align == Align::CentreTop ? x - width / 2 : x - width;
    p.drawText(QPoint(left, y + fm.ascent()), text);
}

QPen SolidPen(const QColor& colour = Qt::black)
{
    QPen pen(colour, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

void Line(QPainter& p, int x1, int y1, int x2, int y2)
{
    p.drawLine(x1, y1, x2, y2);
}

// A small filled arrowhead.
void Head(QPainter& p, const QColor& c, QPoint a, QPoint b, QPoint d)
{
    p.save();
    p.setBrush(c);
    p.drawPolygon(QPolygon({a, b, d}), Qt::OddEvenFill);
    p.restore();
}

// GDI-style ellipse in the rectangle (l, t)-(r, b), right and bottom edge excluded.
void Ellipse(QPainter& p, int l, int t, int r, int b)
{
    p.drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
}

void DrawGrid(QPainter& p, const ChartGeometry& g)
{
    const int W = g.Width();
    const int H = g.Height();
    p.setPen(SolidPen());
    SelectChartFont(p, 17);
    TextAt(p, W / 2, 10, QStringLiteral("Frequency in Hertz (Hz)"), Align::CentreTop);

    // The vertical title runs upward, centred on the middle of the height.
    SelectChartFont(p, 16);
    p.save();
    p.translate(10, H / 2);
    p.rotate(-90);
    TextAt(p, 0, 0, QStringLiteral("Hearing Level (HL) in dB"), Align::CentreTop);
    p.restore();

    SelectChartFont(p, 15);
    const int right = g.GridRight();
    const int bottom = g.GridBottom();
    for (int i = 1; i <= 14; ++i) {
        const int y = g.RowLineY(i);
        Line(p, ChartGeometry::kLeft, y, right, y);
        TextAt(p, 50, static_cast<int>(y - 0.3 * g.Dy()), QString::number((i - 1) * 10), Align::RightTop);
    }
    static const char* const kSolidLabels[] = {"125", "250", "500", "1000", "2000", "4000", "8000"};
    for (int k = 0; k < 7; ++k) {
        const int x = ChartGeometry::kLeft + (2 * k + 1) * g.Dx();
        Line(p, x, ChartGeometry::kTop, x, bottom);
        TextAt(p, x, 30, QString::fromLatin1(kSolidLabels[k]), Align::CentreTop);
    }
    Line(p, right, ChartGeometry::kTop, right, bottom);
    Line(p, ChartGeometry::kLeft, ChartGeometry::kTop, right, ChartGeometry::kTop);
    Line(p, ChartGeometry::kLeft, ChartGeometry::kTop, ChartGeometry::kLeft, bottom);

    p.setPen(QPen(Qt::black, 1, Qt::DotLine, Qt::FlatCap));
    static const char* const kDottedLabels[] = {"750", "1500", "3000", "6000"};
    const int dotted[] = {3, 5, 7, 9};
    for (int k = 0; k < 4; ++k) {
        const int x = g.FrequencyX(dotted[k]);
        Line(p, x, ChartGeometry::kTop, x, bottom);
        TextAt(p, x, 45, QString::fromLatin1(kDottedLabels[k]), Align::CentreTop);
    }
    p.setPen(SolidPen());
}

void DrawKey(QPainter& p, const ChartGeometry& g)
{
    const int kx = g.GridRight();
    const int H = g.Height();
    SelectChartFont(p, 14);
    p.setPen(SolidPen());
    const struct {
        const char* text;
        int y;
    } rows[] = {{"KEY TO AUDIOGRAM", 40}, {"Ear", 56},          {"AC (TDH-49)", 72},     {"AC (ER-3A)", 88},
                {"BC (masked)", 104},     {"NR", 120},          {"Unmasked BC", 136},    {"SF Warble Tones", 152},
                {"Vibrotactile", 168}};
    for (const auto& row : rows)
        TextAt(p, kx + 10, row.y, QString::fromLatin1(row.text), Align::LeftTop);
    TextAt(p, kx + 110, 56, QStringLiteral("R"), Align::LeftTop);
    TextAt(p, kx + 140, 56, QStringLiteral("L"), Align::LeftTop);

    const struct {
        int code, dx, y;
    } samples[] = {{2, 110, 94}, {1, 110, 78}, {4, 140, 94}, {3, 140, 78}, {5, 115, 108}, {7, 135, 108},
                   {8, 110, 118}, {9, 140, 118}, {6, 125, 144}, {10, 125, 158}, {12, 125, 178}};
    for (const auto& s : samples)
        DrawSymbol(p, s.code, kx + s.dx, s.y, SymbolColour(s.code), false, H);

    p.setPen(SolidPen());
    Line(p, kx + 7, 56, kx + 180, 56);
    Line(p, kx + 180, 56, kx + 180, 185);
    Line(p, kx + 180, 185, kx + 7, 185);
    Line(p, kx + 7, 185, kx + 7, 56);
    Line(p, kx + 7, 134, kx + 180, 134);
}

void DrawHeader(QPainter& p, const ChartGeometry& g, const ChartContent& content)
{
    const CAudRecord& record = *content.record;
    SelectChartFont(p, 14);
    if (record.Info.Imported) {
        p.setPen(ChartColour(0));
        TextAt(p, 150, 0,
               record.Info.Composite ? QStringLiteral("IMPORTED COMPOSITE RECORD") : QStringLiteral("IMPORTED RECORD"),
               Align::LeftTop);
    }
    p.setPen(SolidPen());
    TextAt(p, 10, 0, QStringLiteral("Test Date: %1").arg(record.Info.TestDate), Align::LeftTop);
    if (content.historyLoaded == 1)
        TextAt(p, 10, 12, QStringLiteral("Audiogram %1 of %2").arg(content.historyPos).arg(content.historyTotal),
               Align::LeftTop);

    for (const CAudPoint& point : record.Points) {
        const bool noResponse = point.symbol > 12;
        const int code = noResponse ? point.symbol - 128 : point.symbol;
        if (code < 1 || code > 12)
            continue;
        const QColor colour = point.recent == 1 ? SymbolColour(code) : ChartColour(3);
        DrawSymbol(p, code, g.PointX(point.x), g.PointY(point.y), colour, noResponse, g.Height());
    }
}

} // namespace

QColor ChartColour(int index)
{
    switch (index) {
    case 0: return QColor(255, 0, 0);
    case 2: return QColor(0, 0, 255);
    case 3: return QColor(150, 150, 150);
    default: return QColor(0, 0, 0);
    }
}

QColor SymbolColour(int code)
{
    switch (code) {
    case 1: case 2: case 5: case 8: return ChartColour(0);
    case 3: case 4: case 7: case 9: return ChartColour(2);
    default: return ChartColour(1);
    }
}

void SelectChartFont(QPainter& painter, int cellHeight)
{
    // The layout gives character-cell heights; take the largest size whose cell fits.
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setKerning(false);
    int size = cellHeight;
    for (; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cellHeight)
            break;
    }
    font.setPixelSize(size);
    painter.setFont(font);
}

void DrawSymbol(QPainter& p, int code, int x, int y, const QColor& c, bool nr, int height)
{
    p.save();
    p.setPen(SolidPen(c));
    p.setBrush(Qt::NoBrush);
    switch (code) {
    case 1:
    case 2: {
        const int r = height / 76;
        p.setBrush(code == 1 ? QColor(Qt::white) : c);
        Ellipse(p, x + 2 - r, y - r, x + 2 + r, y + r);
        p.setBrush(Qt::NoBrush);
        if (nr) {
            Line(p, x, y, x - r, y + 2 * r);
            Head(p, c, {x - r, y + 2 * r}, {x - r, y + 2 * r - 2}, {x - r + 2, y + 2 * r});
        }
        break;
    }
    case 3: {
        const int r = height / 76;
        Line(p, x - 2, y, x - 2 - r, y - r);
        Line(p, x - 2, y, x - 2 + r, y - r);
        Line(p, x - 2, y, x - 2 - r, y + r);
        Line(p, x - 2, y, x - 2 + r, y + r);
        if (nr) {
            Line(p, x - 2 + r, y + r, x + r, y + r + 2);
            Head(p, c, {x + r, y + r + 2}, {x + r, y + r}, {x + r - 2, y + r + 2});
        }
        break;
    }
    case 4: {
        const int r = height / 76;
        p.setBrush(c);
        p.drawPolygon(QPolygon({{x - 2, y - r}, {x - 2 - r, y + r}, {x - 2 + r, y + r}}), Qt::OddEvenFill);
        p.setBrush(Qt::NoBrush);
        if (nr) {
            Line(p, x, y, x + r, y + 2 * r);
            Head(p, c, {x + r + 1, y + 2 * r}, {x + r - 1, y + 2 * r}, {x + r + 1, y + 2 * r - 2});
        }
        break;
    }
    case 5: {
        const int r = height / 76;
        p.drawPolyline(QPolygon({{x - r, y - r}, {x - 2 * r, y - r}, {x - 2 * r, y + r}}));
        Line(p, x - r, y + r, x - 2 * r, y + r);
        if (nr) {
            Line(p, x - 2 * r, y + r, x - 2 * r - 3, y + r + 3);
            Head(p, c, {x - 2 * r - 3, y + r + 3}, {x - 2 * r - 3, y + r + 1}, {x - 2 * r - 1, y + r + 3});
        }
        break;
    }
    case 6: {
        const int r = height / 76;
        p.drawPolyline(QPolygon({{x - r, y}, {x - r, y - r}, {x + r, y - r}}));
        Line(p, x + r, y, x + r, y - r);
        if (nr) {
            p.drawPolyline(QPolygon({{x - r, y}, {x - r, y + 2}, {x - r - 2, y - r + 2}}));
            Line(p, x - r, y + 2, x - r + 2, y - r + 2);
        }
        break;
    }
    case 7: {
        const int r = height / 76;
        p.drawPolyline(QPolygon({{x + r, y - r}, {x + 2 * r, y - r}, {x + 2 * r, y + r}}));
        Line(p, x + r, y + r, x + 2 * r, y + r);
        if (nr) {
            Line(p, x + 2 * r, y + r, x + 2 * r + 3, y + r + 3);
            Head(p, c, {x + 2 * r + 3, y + r + 3}, {x + 2 * r + 3, y + r + 1}, {x + 2 * r + 1, y + r + 3});
        }
        break;
    }
    case 8: {
        const int r = height / 76;
        p.drawPolyline(QPolygon({{x, y + r}, {x - r, y + 2 * r}, {x - r, y + r}}));
        Line(p, x - r, y + 2 * r, x, y + 2 * r);
        break;
    }
    case 9: {
        const int r = height / 76;
        p.drawPolyline(QPolygon({{x, y + r}, {x + r, y + 2 * r}, {x + r, y + r}}));
        Line(p, x + r, y + 2 * r, x, y + 2 * r);
        break;
    }
    case 10: {
        const int r = height / 110;
        p.drawRect(QRect(x - r, y - r, 2 * r - 1, 2 * r - 1));
        Line(p, x, y - r, x - r, y);
        Line(p, x + r, y, x, y + r);
        break;
    }
    case 11: {
        const int r = height / 84;
        Line(p, x, y - r, x, y + r + 1);
        Line(p, x - r - 1, y + 1, x + r, y + 1);
        break;
    }
    case 12: {
        const int r = height / 60;
        Line(p, x, y - r, x + r, y - r);
        Line(p, x, y - r, x, static_cast<int>(y - 0.75 * r));
        Line(p, x + 1, y - r, x + 1, static_cast<int>(y - 0.25 * r));
        Line(p, x + 3, y - r, x + 3, static_cast<int>(y - 0.5 * r));
        break;
    }
    default: break;
    }
    p.restore();
}

void PaintAudiogramChart(QPainter& painter, QSize size, const ChartContent& content)
{
    painter.save();
    // Pixel-exact lines and shapes, as the layout places them.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const ChartGeometry g(size.width(), size.height());
    DrawGrid(painter, g);
    DrawKey(painter, g);
    if (content.record)
        DrawHeader(painter, g, content);
    painter.restore();
}

} // namespace quorin
