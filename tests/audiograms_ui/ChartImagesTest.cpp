// The chart's painting checked pixel by pixel where the layout puts its lines and
// symbols, and every symbol in every colour with and without its mark.

#include "audiograms/AudiogramFixture.h"
#include "audiograms/record/ChartGeometry.h"
#include "audiograms/ui/ChartPainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

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
        EXPECT_TRUE(image.pixelColor(x, 96) == black) << x;
        EXPECT_TRUE(image.pixelColor(x, 564) == black) << x;
        EXPECT_TRUE(image.pixelColor(x, 60) == black) << x;
    }
    for (int y : {61, 200, 400, 563}) {
        EXPECT_TRUE(image.pixelColor(60, y) == black) << y;
        EXPECT_TRUE(image.pixelColor(592, y) == black) << y;
        EXPECT_TRUE(image.pixelColor(98, y) == black) << y;
    }
    EXPECT_TRUE(image.pixelColor(593, 300) == white) << "the grid ends at 60 + 14 dx";
    // The 750 Hz line is dotted.
    int dots = 0;
    for (int y = 100; y <= 140; ++y)
        dots += image.pixelColor(295, y) == black;
    EXPECT_GT(dots, 5);
    EXPECT_LT(dots, 35);

    // 1000 Hz / 20 dB: the red circle 2 px right of (326, 171), r = 600 / 76 = 7.
    std::vector<int> circle;
    for (int x = 300; x <= 350; ++x)
        if (image.pixelColor(x, 171) == red)
            circle.push_back(x);
    ASSERT_FALSE(circle.empty());
    EXPECT_EQ(std::pair(circle.front(), circle.back()), std::pair(321, 334));
    EXPECT_TRUE(image.pixelColor(328, 171) == white) << "TDH-49 is filled white";

    // 1000 Hz / 60 dB at (326, 319): the blue X 2 px left, arms of 7 (the last pixel of
    // a stroke is not drawn).
    for (QPoint p : {QPoint(324, 319), QPoint(318, 313), QPoint(330, 313), QPoint(318, 325), QPoint(330, 325),
                     QPoint(320, 315)})
        EXPECT_TRUE(image.pixelColor(p.x(), p.y()) == blue) << p.x() << "," << p.y();
    EXPECT_FALSE(image.pixelColor(329, 319) == blue);

    // An earlier test's symbol is grey whatever its ear: ER-3A right, filled.
    const quorin::ChartGeometry g(800, 600);
    EXPECT_TRUE(image.pixelColor(g.PointX(6) + 2, g.PointY(7)) == grey);
    // Code 0 is never drawn, not even at the grid's corner.
    EXPECT_TRUE(image.pixelColor(g.PointX(0) + 5, g.PointY(0) + 5) == white);
}

TEST(ChartImages, EverySymbolInEveryColourWithAndWithoutItsMark)
{
    // The pixels of the colour that one symbol, drawn alone in a cell, leaves there.
    auto count = [](int code, const QColor& colour, bool mark) {
        QImage cell(48, 48, QImage::Format_RGB32);
        cell.fill(Qt::white);
        {
            QPainter painter(&cell);
            quorin::DrawSymbol(painter, code, 24, 24, colour, mark, 600);
        }
        int n = 0;
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                n += cell.pixelColor(x, y) == colour;
        return n;
    };
    const QColor red = quorin::ChartColour(0);
    for (int code = 1; code <= 12; ++code) {
        for (int colour = 0; colour < 4; ++colour)
            EXPECT_GT(count(code, quorin::ChartColour(colour), false), 3) << code << " in colour " << colour;
        // A no-response mark adds pixels to 1-7 only.
        if (code <= 7)
            EXPECT_GT(count(code, red, true), count(code, red, false)) << code;
        else
            EXPECT_EQ(count(code, red, true), count(code, red, false)) << code;
    }
}

} // namespace
} // namespace quorin::test
