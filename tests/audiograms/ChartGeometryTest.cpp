// Where a click on the chart lands; where the chart draws its lines and symbols is
// checked on the painted pixels.

#include "audiograms/record/ChartGeometry.h"

#include <gtest/gtest.h>

using quorin::ChartGeometry;

TEST(ChartGeometry, AClickSnapsToTheNearerLineAndMarginsAnd130dBHaveNoIndex)
{
    const ChartGeometry g(800, 600);
    // 125 Hz at 98, 250 Hz at 174: 136 is half way and goes up.
    EXPECT_EQ(g.SnapX(135), 98);
    EXPECT_EQ(g.SnapX(136), 174);
    // -5 dB at 78, 0 dB at 96: 87 is half way and goes to the higher level.
    EXPECT_EQ(g.SnapY(86), 78);
    EXPECT_EQ(g.SnapY(87), 96);
    // Past the last lines the last lines win.
    EXPECT_EQ(g.SnapX(700), 554);
    EXPECT_EQ(g.SnapY(590), 564);
    EXPECT_EQ(g.SnapX(40), 0) << "nearer the margin than 125 Hz";
    EXPECT_EQ(g.SnapY(30), 0);
    EXPECT_EQ(g.FrequencyIndexOf(0), -1);
    EXPECT_EQ(g.LevelIndexOf(0), -1);
    EXPECT_EQ(g.LevelIndexOf(564), -1) << "130 dB has no level index";
    EXPECT_EQ(g.LevelIndexOf(g.LevelSnapY(26)), 26) << "125 dB";
    EXPECT_EQ(g.FrequencyIndexOf(295), 3) << "750 Hz";
    EXPECT_TRUE(g.OnGrid(60, 60));
    EXPECT_TRUE(g.OnGrid(592, 564));
    EXPECT_FALSE(g.OnGrid(59, 100));
    EXPECT_FALSE(g.OnGrid(600, 100)) << "the key";
    EXPECT_FALSE(g.OnGrid(100, 565));
    // Frequencies that are no column sit at the margin.
    EXPECT_DOUBLE_EQ(ChartGeometry::FreqIndexPosition(11), 0.0);
    EXPECT_DOUBLE_EQ(ChartGeometry::FreqIndexPosition(-1), 0.0);
}
