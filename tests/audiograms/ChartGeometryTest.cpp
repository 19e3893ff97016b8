// Where the chart puts its lines and points, and where a click lands.

#include "audiograms/record/ChartGeometry.h"

#include <gtest/gtest.h>

using quorin::ChartGeometry;

TEST(ChartGeometry, An800By600ChartHasTheLayoutsNumbers)
{
    const ChartGeometry g(800, 600);
    EXPECT_EQ(g.Dx(), 38);
    EXPECT_EQ(g.Dy(), 36);
    EXPECT_DOUBLE_EQ(g.HalfStep(), 18.5);
    EXPECT_EQ(g.FrequencyX(4), 326) << "1000 Hz";
    EXPECT_EQ(g.FrequencyX(3), 295) << "750 Hz";
    EXPECT_EQ(g.RowLineY(1), 96) << "0 dB";
    EXPECT_EQ(g.PointX(4), 326);
    EXPECT_EQ(g.PointY(5), 171) << "20 dB";
    EXPECT_EQ(g.GridRight(), 592);
    EXPECT_EQ(g.GridBottom(), 564);
    // Level steps alternate between half-way points and lines, -5 dB first.
    EXPECT_EQ(g.LevelSnapY(0), 78);
    EXPECT_EQ(g.LevelSnapY(1), 96);
    EXPECT_EQ(g.LevelSnapY(27), 564) << "130 dB is the bottom line";
}

TEST(ChartGeometry, FrequencyPositionsRunInColumnsAndUnknownIndexesSitAtZero)
{
    EXPECT_DOUBLE_EQ(ChartGeometry::FreqIndexPosition(0), 1.0);
    EXPECT_DOUBLE_EQ(ChartGeometry::FreqIndexPosition(9), 12.2);
    EXPECT_DOUBLE_EQ(ChartGeometry::FreqIndexPosition(10), 13.0);
    EXPECT_DOUBLE_EQ(ChartGeometry::FreqIndexPosition(11), 0.0);
    EXPECT_DOUBLE_EQ(ChartGeometry::FreqIndexPosition(-1), 0.0);
    const ChartGeometry big(1280, 960);
    EXPECT_EQ(big.Dx(), 68);
    EXPECT_EQ(big.Dy(), 62);
    EXPECT_DOUBLE_EQ(big.HalfStep(), 31.5);
    int previous = 0;
    for (int i = 0; i < ChartGeometry::kFrequencies; ++i) {
        EXPECT_GT(big.FrequencyX(i), previous) << "frequency lines ascend, " << i;
        EXPECT_EQ(big.FrequencyX(i), big.PointX(i)) << "a point sits on its line, " << i;
        previous = big.FrequencyX(i);
    }
}

TEST(ChartGeometry, AClickSnapsToTheNearerLineAndATieGoesUp)
{
    const ChartGeometry g(800, 600);
    // 125 Hz at 98, 250 Hz at 174: 136 is half way.
    EXPECT_EQ(g.SnapX(135), 98);
    EXPECT_EQ(g.SnapX(136), 174);
    EXPECT_EQ(g.SnapX(137), 174);
    // -5 dB at 78, 0 dB at 96: 87 is half way and goes to the higher level.
    EXPECT_EQ(g.SnapY(86), 78);
    EXPECT_EQ(g.SnapY(87), 96);
    // Past the last lines the last lines win.
    EXPECT_EQ(g.SnapX(700), 554);
    EXPECT_EQ(g.SnapY(590), 564);
}

TEST(ChartGeometry, MarginsAnd130dBHaveNoIndex)
{
    const ChartGeometry g(800, 600);
    EXPECT_EQ(g.SnapX(40), 0) << "nearer the margin than 125 Hz";
    EXPECT_EQ(g.SnapX(60), 98);
    EXPECT_EQ(g.SnapY(30), 0);
    EXPECT_EQ(g.FrequencyIndexOf(0), -1);
    EXPECT_EQ(g.LevelIndexOf(0), -1);
    EXPECT_EQ(g.LevelIndexOf(564), -1) << "130 dB has no level index";
    EXPECT_EQ(g.LevelIndexOf(g.LevelSnapY(26)), 26) << "125 dB";
    EXPECT_EQ(g.FrequencyIndexOf(295), 3);
    EXPECT_TRUE(g.OnGrid(60, 60));
    EXPECT_TRUE(g.OnGrid(592, 564));
    EXPECT_FALSE(g.OnGrid(59, 100));
    EXPECT_FALSE(g.OnGrid(600, 100)) << "the key";
    EXPECT_FALSE(g.OnGrid(100, 565));
}
