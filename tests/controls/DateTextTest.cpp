// The program's one date rule, as the field exchange, the document and the reports
// share it.

#include "rules/DateText.h"

#include "dalport/Clock.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using quorin::IsValidDateText;
using quorin::SplitDate;

class DateText : public ::testing::Test {
protected:
    void SetUp() override { dalport::SetFixedClock("2026-03-07 08:00:00"); }
    void TearDown() override { dalport::ResetClock(); }
};

TEST_F(DateText, SplitsAtSlashDashAndBackslashIntoThreeParts)
{
    for (const char* text : {"3/7/2009", "03-07-2009", "3\\7\\2009", "03/07/2009 "}) {
        const auto d = SplitDate(QString::fromLatin1(text));
        ASSERT_TRUE(d) << text;
        EXPECT_EQ(d->month, 3) << text;
        EXPECT_EQ(d->day, 7) << text;
        EXPECT_EQ(d->year, 2009) << text;
    }
    EXPECT_FALSE(SplitDate("12/2003"));
    EXPECT_FALSE(SplitDate("1//2003"));
    EXPECT_FALSE(SplitDate(""));
}

TEST_F(DateText, BackslashesBecomeSlashesForTheDatabase)
{
    EXPECT_EQ(quorin::DbDate("1\\2\\2003"), "1/2/2003");
    EXPECT_EQ(quorin::DbDate("01/02/2003"), "01/02/2003");
}

// Empty is no date given; otherwise at most 19 characters naming a real day of the
// accepted years, among them the not-applicable date and today as the program writes it.
TEST_F(DateText, ValidTextsAreEmptyOrRealDaysInTheAcceptedYears)
{
    for (const QString& valid : QStringList{QString(), "01/01/2000 and more", "2/29/2004", "12/31/1900", "12/31/2046",
                                            "01/01/1901", quorin::TodayText()})
        EXPECT_TRUE(IsValidDateText(valid)) << valid.toStdString();
    for (const char* invalid : {"12/2003", "1//2003", "01/01/2000 and more!", "01/01/2000 00:00:00.000", "02/30/2020",
                                "2/29/1900", "12/31/1899", "1/1/2047"})
        EXPECT_FALSE(IsValidDateText(invalid)) << invalid;
    EXPECT_EQ(quorin::LatestAcceptedYear(), 2046);
    EXPECT_EQ(quorin::TodayText(), "3/7/2026");
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
