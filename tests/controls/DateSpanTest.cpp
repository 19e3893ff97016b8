// Day numbers and ages between date texts: the one count the Data tab's age at test, the
// Audiogram Manager import and the implant forms' months all rest on.

#include "rules/DateSpan.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

using quorin::AgeInYears;
using quorin::DayNumber;

TEST(DayNumber, CountsFromTheFirstOfJanuary1970WithQuarterDayYears)
{
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(DayNumber(1970, 3, 1), 59);
    EXPECT_EQ(DayNumber(2000, 1, 1), 10957);
    // Within a year the months have their calendar lengths.
    const QDate start(1999, 3, 1);
    for (QDate d = start; d < QDate(2000, 3, 1); d = d.addDays(1))
        EXPECT_EQ(DayNumber(d.year(), d.month(), d.day()) - DayNumber(1999, 3, 1), start.daysTo(d))
            << d.toString(Qt::ISODate).toStdString();
    // Years are 365.25 days, the quarter counted from March 1970: the leap day of 1972
    // reaches the count only in March 1974. Ten calendar years around three leap days
    // are therefore one day short: a tenth birthday is 9.9986 years.
    EXPECT_EQ(DayNumber(2000, 5, 20) - DayNumber(1990, 5, 20), 3652);
    EXPECT_EQ(QDate(1990, 5, 20).daysTo(QDate(2000, 5, 20)), 3653);
    // January and February count from the year before, so 1 March follows 28 February.
    EXPECT_EQ(DayNumber(2001, 3, 1) - DayNumber(2001, 2, 28), 1);
}

TEST(AgeInYears, TheExamplesOfTheDataTab)
{
    // 3652 day numbers: 9.9986 years, shown as 9; one day more is 10.
    EXPECT_NEAR(AgeInYears("05/20/1990", "05/20/2000"), 3652 / 365.25, 1e-12);
    EXPECT_NEAR(AgeInYears("05/20/1990", "05/21/2000"), 3653 / 365.25, 1e-12);
    EXPECT_EQ(static_cast<int>(AgeInYears("05/20/1990", "05/20/2000")), 9);
}

TEST(AgeInYears, ReadsMonthDayAndYearAsTheTextsPiecesNotByPosition)
{
    // Fixed positions ("the first two characters, 4-5") misread the form the program
    // writes itself: "5/9/2000" would be month "5/", day "/2".
    EXPECT_DOUBLE_EQ(AgeInYears("5/9/2000", "5/9/2010"), AgeInYears("05/09/2000", "05/09/2010"));
    EXPECT_EQ(static_cast<int>(AgeInYears("5/9/2000", "5/9/2010")), 10);
    EXPECT_EQ(static_cast<int>(AgeInYears("5/9/2000", "5/8/2010")), 9);
    // Hyphens and backslashes as the date rule allows them, and blanks around the text.
    EXPECT_DOUBLE_EQ(AgeInYears("1-5-2001", "1\\5\\2011 "), AgeInYears("01/05/2001", "01/05/2011"));
    EXPECT_NEAR(AgeInYears(" 1-5-2001", "7/5/2001"), (DayNumber(2001, 7, 5) - DayNumber(2001, 1, 5)) / 365.25,
                1e-12);
}

TEST(AgeInYears, AnEmptyOrUnreadableDateIsZero)
{
    const char* unreadable[][2] = {{"", "05/20/2000"},        {"05/20/1990", ""},           {"  ", "05/20/2000"},
                                   {"not a date", "05/20/2000"}, {"05/20/1990", "May 20, 2000"}, {"05/1990", "05/20/2000"},
                                   {"ab/cd/efgh", "05/20/2000"}, {"13/20/1990", "05/20/2000"}, {"05/32/1990", "05/20/2000"}};
    for (const auto& [birth, test] : unreadable)
        EXPECT_EQ(AgeInYears(birth, test), 0.0) << birth << " " << test;
}

TEST(AgeInYears, ABirthAfterTheTestHasAHundredAdded)
{
    const double forward = AgeInYears("05/20/2000", "05/20/2010");
    const double back = AgeInYears("05/20/2010", "05/20/2000");
    EXPECT_NEAR(back, 100.0 - forward, 1e-9);
    EXPECT_EQ(static_cast<int>(forward), 10);
    EXPECT_EQ(static_cast<int>(back), 89);
    EXPECT_EQ(AgeInYears("05/20/2000", "05/20/2000"), 0.0);
}

TEST(AgeInYears, CountsWithTheSameDayNumbersAsTheImplantMonths)
{
    // One day count for both: the months are the same days over 30.33.
    for (const auto& [from, to] : {std::pair{"03/15/2003", "03/15/2008"}, std::pair{"1/10/2008", "2/10/2009"},
                                   std::pair{"7/4/1999", "12/31/2004"}}) {
        const double days = AgeInYears(from, to) * 365.25;
        EXPECT_NEAR(quorin::MonthsBetween(from, to), days * 0.032970656116056714, 1e-9) << from << " " << to;
    }
}

} // namespace
