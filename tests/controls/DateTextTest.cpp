// The program's one date rule, as the field exchange, the document and the reports
// share it.

#include "rules/DateText.h"

#include "dalport/Clock.h"

#include <gtest/gtest.h>

namespace {

using quorin::SplitDate;

class DateText : public ::testing::Test {
protected:
    void SetUp() override { dalport::SetFixedClock("2026-03-07 08:00:00"); }
    void TearDown() override { dalport::ResetClock(); }
};

TEST_F(DateText, SplitsAtSlashDashAndBackslash)
{
    for (const char* text : {"3/7/2009", "03-07-2009", "3\\7\\2009", "03/07/2009 "}) {
        const auto d = SplitDate(QString::fromLatin1(text));
        ASSERT_TRUE(d) << text;
        EXPECT_EQ(d->month, 3) << text;
        EXPECT_EQ(d->day, 7) << text;
        EXPECT_EQ(d->year, 2009) << text;
    }
}

TEST_F(DateText, FewerThanThreePartsIsNoDate)
{
    EXPECT_FALSE(SplitDate("12/2003"));
    EXPECT_FALSE(SplitDate("1//2003"));
    EXPECT_FALSE(SplitDate(""));
    EXPECT_FALSE(quorin::IsValidDateText("12/2003"));
    EXPECT_FALSE(quorin::IsValidDateText("1//2003"));
}

TEST_F(DateText, BackslashesBecomeSlashesForTheDatabase)
{
    EXPECT_EQ(quorin::DbDate("1\\2\\2003"), "1/2/2003");
    EXPECT_EQ(quorin::DbDate("01/02/2003"), "01/02/2003");
}

TEST_F(DateText, EmptyIsNoDateGivenAndALongTextIsNoDate)
{
    EXPECT_TRUE(quorin::IsValidDateText(QString()));
    EXPECT_TRUE(quorin::IsValidDateText("01/01/2000 and more")); // 19 characters
    EXPECT_FALSE(quorin::IsValidDateText("01/01/2000 and more!"));
    EXPECT_FALSE(quorin::IsValidDateText("01/01/2000 00:00:00.000"));
}

TEST_F(DateText, OnlyRealDaysInTheAcceptedYears)
{
    EXPECT_TRUE(quorin::IsValidDateText("2/29/2004"));
    EXPECT_FALSE(quorin::IsValidDateText("02/30/2020"));
    EXPECT_FALSE(quorin::IsValidDateText("2/29/1900"));
    EXPECT_TRUE(quorin::IsValidDateText("12/31/1900"));
    EXPECT_FALSE(quorin::IsValidDateText("12/31/1899"));
    EXPECT_EQ(quorin::LatestAcceptedYear(), 2046);
    EXPECT_TRUE(quorin::IsValidDateText("12/31/2046"));
    EXPECT_FALSE(quorin::IsValidDateText("1/1/2047"));
    // The rule reads the same texts the forms accept: the not-applicable date, and
    // today as the program writes it.
    EXPECT_TRUE(quorin::IsValidDateText("01/01/1901"));
    EXPECT_EQ(quorin::TodayText(), "3/7/2026");
    EXPECT_TRUE(quorin::IsValidDateText(quorin::TodayText()));
}

TEST_F(DateText, ComparesByYearThenMonthThenDay)
{
    EXPECT_EQ(quorin::CompareDateTexts("3/7/2009", "03-07-2009"), 0);
    EXPECT_EQ(quorin::CompareDateTexts("1/1/2010", "12/31/2009"), 1);
    EXPECT_EQ(quorin::CompareDateTexts("12/31/2009", "1/1/2010"), -1);
    EXPECT_EQ(quorin::CompareDateTexts("", ""), -1);
    EXPECT_EQ(quorin::CompareDateTexts("1/3/2009", ""), 1);
}

} // namespace
