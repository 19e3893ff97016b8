#include "app/DateText.h"

#include <gtest/gtest.h>

using quorin::SplitDate;

TEST(DateText, SplitsAtSlashDashAndBackslash)
{
    for (const char* text : {"3/7/2009", "03-07-2009", "3\\7\\2009", "03/07/2009 "}) {
        const auto d = SplitDate(QString::fromLatin1(text));
        ASSERT_TRUE(d) << text;
        EXPECT_EQ(d->month, 3) << text;
        EXPECT_EQ(d->day, 7) << text;
        EXPECT_EQ(d->year, 2009) << text;
    }
}

TEST(DateText, FewerThanThreePartsIsNoDate)
{
    EXPECT_FALSE(SplitDate("12/2003"));
    EXPECT_FALSE(SplitDate("1//2003"));
    EXPECT_FALSE(SplitDate(""));
}

TEST(DateText, BackslashesBecomeSlashesForTheDatabase)
{
    EXPECT_EQ(quorin::DbDate("1\\2\\2003"), "1/2/2003");
    EXPECT_EQ(quorin::DbDate("01/02/2003"), "01/02/2003");
}
