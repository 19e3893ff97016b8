// The chart's painting checked pixel by pixel where the layout puts its lines and
// symbols, and every symbol in every colour with and without its mark.

#include "audiograms/record/CAudRecord.h"
#include "audiograms/record/ChartGeometry.h"
#include "audiograms/ui/ChartPainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace quorin::test {
namespace {

bool IsColour(const QImage& image, int x, int y, const QColor& colour)
{
    return image.pixelColor(x, y) == colour;
}

// Every x of a row in the colour, within [from, to].
std::vector<int> ColumnsOf(const QImage& image, int y, int from, int to, const QColor& colour)
{
    std::vector<int> xs;
    for (int x = from; x <= to; ++x)
        if (IsColour(image, x, y, colour))
            xs.push_back(x);
    return xs;
}

CAudPoint Point(int xy, int symbol, int recent)
{
    CAudPoint p;
    p.xy = xy;
    p.SplitXy();
    p.symbol = symbol;
    p.type = CAudPoint::TypeOfSymbol(symbol);
    p.recent = recent;
    return p;
}

TEST(ChartImages, PixelsSitWhereTheLayoutPutsThem)
{
    CAudRecord record;
    record.ResetAudRecord(true);
    record.Info.TestDate = "03/04/2025";
    record.Points = {Point(405, 1, 1), Point(413, 3, 1), Point(607, 2, 0), Point(0, 0, 1), Point(300, 140, 1)};
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        quorin::ChartContent content;
        content.record = &record;
        quorin::PaintAudiogramChart(painter, image.size(), content);
    }
    const QColor black(0, 0, 0), red(255, 0, 0), blue(0, 0, 255), grey(150, 150, 150), white(255, 255, 255);

    // Grid: the 0 dB and 130 dB lines, the borders, the 125 and 1000 Hz lines.
    for (int x : {61, 200, 400, 591}) {
        EXPECT_TRUE(IsColour(image, x, 96, black)) << x;
        EXPECT_TRUE(IsColour(image, x, 564, black)) << x;
        EXPECT_TRUE(IsColour(image, x, 60, black)) << x;
    }
    for (int y : {61, 200, 400, 563}) {
        EXPECT_TRUE(IsColour(image, 60, y, black)) << y;
        EXPECT_TRUE(IsColour(image, 592, y, black)) << y;
        EXPECT_TRUE(IsColour(image, 98, y, black)) << y;
    }
    EXPECT_TRUE(IsColour(image, 593, 300, white)) << "the grid ends at 60 + 14 dx";
    // The 750 Hz line is dotted.
    int dots = 0;
    for (int y = 100; y <= 140; ++y)
        dots += IsColour(image, 295, y, black);
    EXPECT_GT(dots, 5);
    EXPECT_LT(dots, 35);

    // 1000 Hz / 20 dB: the red circle 2 px right of (326, 171), r = 600 / 76 = 7.
    const auto circle = ColumnsOf(image, 171, 300, 350, red);
    ASSERT_FALSE(circle.empty());
    EXPECT_EQ(circle.front(), 321);
    EXPECT_EQ(circle.back(), 334);
    EXPECT_TRUE(IsColour(image, 328, 171, white)) << "TDH-49 is filled white";

    // 1000 Hz / 60 dB at (326, 319): the blue X 2 px left, arms of 7 (the last pixel of
    // a stroke is not drawn).
    for (QPoint p : {QPoint(324, 319), QPoint(318, 313), QPoint(330, 313), QPoint(318, 325), QPoint(330, 325),
                     QPoint(320, 315)})
        EXPECT_TRUE(IsColour(image, p.x(), p.y(), blue)) << p.x() << "," << p.y();
    EXPECT_FALSE(IsColour(image, 329, 319, blue));

    // An earlier test's symbol is grey whatever its ear: ER-3A right, filled.
    const quorin::ChartGeometry g(800, 600);
    EXPECT_TRUE(IsColour(image, g.PointX(6) + 2, g.PointY(7), grey));
    // Code 0 is never drawn, not even at the grid's corner.
    EXPECT_TRUE(IsColour(image, g.PointX(0) + 5, g.PointY(0) + 5, white));
}

TEST(ChartImages, EverySymbolInEveryColourWithAndWithoutItsMark)
{
    const int cell = 48;
    QImage sheet(cell * 13, cell * 9, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        quorin::SelectChartFont(painter, 14);
        const QColor colours[] = {quorin::ChartColour(0), quorin::ChartColour(1), quorin::ChartColour(2),
                                  quorin::ChartColour(3)};
        for (int code = 1; code <= 12; ++code)
            painter.drawText(QRect(code * cell, 0, cell, cell), Qt::AlignCenter, QString::number(code));
        for (int row = 0; row < 8; ++row) {
            const bool nr = row % 2 == 1;
            painter.drawText(QRect(0, (row + 1) * cell, cell, cell), Qt::AlignCenter, nr ? "NR" : "");
            for (int code = 1; code <= 12; ++code)
                quorin::DrawSymbol(painter, code, code * cell + cell / 2, (row + 1) * cell + cell / 2,
                                   colours[row / 2], nr, 600);
        }
    }

    // Each symbol leaves its colour in its cell, and a mark adds pixels to 1-7.
    auto count = [&sheet, cell](int code, int row, const QColor& c) {
        int n = 0;
        for (int y = (row + 1) * cell; y < (row + 2) * cell; ++y)
            for (int x = code * cell; x < (code + 1) * cell; ++x)
                n += sheet.pixelColor(x, y) == c;
        return n;
    };
    for (int code = 1; code <= 12; ++code) {
        EXPECT_GT(count(code, 0, quorin::ChartColour(0)), 3) << code;
        EXPECT_GT(count(code, 6, quorin::ChartColour(3)), 3) << code;
        if (code <= 7)
            EXPECT_GT(count(code, 1, quorin::ChartColour(0)), count(code, 0, quorin::ChartColour(0))) << code;
        else
            EXPECT_EQ(count(code, 1, quorin::ChartColour(0)), count(code, 0, quorin::ChartColour(0))) << code;
    }
}

} // namespace
} // namespace quorin::test
