#include "audiograms/record/CAudRecord.h"

#include <gtest/gtest.h>

namespace {

CAudPoint Point(int xy, int symbol, int recent)
{
    CAudPoint p;
    p.xy = xy;
    p.SplitXy();
    p.symbol = symbol;
    p.type = CAudPoint::TypeOfSymbol(symbol);
    p.mask = 0;
    p.recent = recent;
    return p;
}

} // namespace

TEST(AudRecord, AResetRecordHoldsEveryEmptyValue)
{
    CAudRecord r;
    EXPECT_EQ(r.Speech.MatR, ""); // fresh
    r.TestId = 5;
    r.Latest = 0;
    r.Dirty = 1;
    r.Immittance.PeakYL = 1.5f;
    r.Findings.TinnitusL = 1;
    r.Findings.OAEL = 2;
    r.Points.push_back(Point(514, 1, 1));
    r.ResetAudRecord(false);
    EXPECT_EQ(r.TestId, -1);
    EXPECT_EQ(r.Latest, 1);
    EXPECT_EQ(r.Dirty, 0);
    EXPECT_EQ(r.Immittance.PeakYL, -999.0f);
    EXPECT_EQ(r.Findings.TinnitusL, 0);
    EXPECT_EQ(r.Findings.OAEL, -1);
    EXPECT_EQ(r.Speech.MatR, " ");
    EXPECT_EQ(r.Speech.MatL, " ");
    EXPECT_EQ(r.Points.size(), 1u); // kept without point clearing
    r.ResetAudRecord(true);
    EXPECT_TRUE(r.Points.empty());
}

TEST(AudRecord, StartNewAudiogramKeepsThePointsGreyedAndUnstored)
{
    CAudRecord r;
    r.TestId = 9;
    for (int i = 0; i < 5; ++i)
        r.Points.push_back(Point(100 * i + 10, 3, 1));
    r.StartNewAudiogram();
    EXPECT_EQ(r.Points.size(), 5u);
    for (const CAudPoint& p : r.Points)
        EXPECT_EQ(p.recent, 0);
    EXPECT_EQ(r.TestId, -1);
    EXPECT_EQ(r.Dirty, 1);
}

TEST(AudRecord, CopyHistoryDropsTheOldPointsCopyKeepsThem)
{
    CAudRecord source;
    source.TestId = 3;
    source.Info.TestDate = "01/02/2003";
    source.Points = {Point(514, 1, 0), Point(210, 3, 1), Point(305, 5, 0)};
    CAudRecord history;
    history.CopyHistoryAudRecord(source);
    EXPECT_EQ(history.TestId, 3);
    EXPECT_EQ(history.Info.TestDate, "01/02/2003");
    ASSERT_EQ(history.Points.size(), 1u);
    EXPECT_EQ(history.Points[0].xy, 210);

    CAudRecord allOld;
    allOld.Points = {Point(514, 1, 0)};
    history.CopyHistoryAudRecord(allOld);
    EXPECT_TRUE(history.Points.empty());

    CAudRecord copy;
    copy.CopyAudRecord(source);
    EXPECT_EQ(copy.Points.size(), 3u);
    EXPECT_EQ(copy.Points[0].recent, 0);

    // A history test was read from storage: shown, it counts as looked up, while the
    // current test carries its own state.
    source.Latest = 0;
    history.CopyHistoryAudRecord(source);
    EXPECT_EQ(history.LoadAttempted, 1);
    source.Latest = 1;
    history.CopyHistoryAudRecord(source);
    EXPECT_EQ(history.LoadAttempted, 0);
}

TEST(AudPoint, XySplitsIntoFrequencyAndLevel)
{
    const CAudPoint p = Point(514, 1, 1);
    EXPECT_EQ(p.x, 5);  // 1500 Hz
    EXPECT_EQ(p.y, 14); // 65 dB HL
    const CAudPoint q = Point(1026, 1, 1);
    EXPECT_EQ(q.x, 10);
    EXPECT_EQ(q.y, 26);
    const CAudPoint r = Point(7, 1, 1);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y, 7);
}

TEST(AudPoint, TypeFollowsTheSymbol)
{
    const int expected[13] = {3, 1, 1, 0, 0, 4, 5, 2, 3, 3, 3, 3, 3};
    for (int symbol = 0; symbol <= 12; ++symbol) {
        EXPECT_EQ(CAudPoint::TypeOfSymbol(symbol), expected[symbol]) << symbol;
        EXPECT_EQ(CAudPoint::TypeOfSymbol(symbol + 128), expected[symbol]) << symbol + 128;
    }
    EXPECT_EQ(CAudPoint::TypeOfSymbol(99), 3);
}
