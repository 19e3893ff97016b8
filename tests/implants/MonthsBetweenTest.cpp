#include "rules/DateSpan.h"

#include <gtest/gtest.h>

TEST(MonthsBetween, FiveYearsToTheDayAreSixtyMonths)
{
    EXPECT_EQ(static_cast<int>(quorin::MonthsBetween("03/15/2003", "03/15/2008")), 60);
    EXPECT_EQ(static_cast<int>(quorin::MonthsBetween("3/15/2003", "3/15/2008")), 60);
}

TEST(MonthsBetween, ShortDatesReadTheirOwnParts)
{
    // The form the program writes itself; fixed positions misread it.
    EXPECT_DOUBLE_EQ(quorin::MonthsBetween("3/7/2009", "3/7/2010"),
                     quorin::MonthsBetween("03/07/2009", "03/07/2010"));
    EXPECT_EQ(static_cast<int>(quorin::MonthsBetween("3/7/2009", "9/7/2009")), 6);
    EXPECT_EQ(static_cast<int>(quorin::MonthsBetween("3-7-2009", "9\\7\\2009 ")), 6);
}

TEST(MonthsBetween, EmptyOrUnreadableIsZero)
{
    EXPECT_EQ(quorin::MonthsBetween("", "03/15/2008"), 0.0);
    EXPECT_EQ(quorin::MonthsBetween("03/15/2008", ""), 0.0);
    EXPECT_EQ(quorin::MonthsBetween("2008", "03/15/2008"), 0.0);
}

TEST(MonthsBetween, ABirthAfterTheSurgeryAddsTwelveHundred)
{
    const double back = quorin::MonthsBetween("03/15/2008", "03/15/2003");
    EXPECT_NEAR(back, 1200.0 - quorin::MonthsBetween("03/15/2003", "03/15/2008"), 1e-9);
    EXPECT_GT(back, 1100.0);
}

TEST(MonthsBetween, JanuaryAndFebruaryCountFromTheYearBefore)
{
    EXPECT_EQ(static_cast<int>(quorin::MonthsBetween("01/10/2008", "02/10/2008")), 1);
    EXPECT_EQ(static_cast<int>(quorin::MonthsBetween("02/01/2008", "04/01/2008")), 1); // 60 days
}
