// IsValidDate, Today and CompareDates against the one clock.

#include "app/DocumentFixture.h"

#include "dalport/Clock.h"

namespace {

class SubjectDates : public ::testing::Test {
protected:
    void SetUp() override { dalport::SetFixedClock("2026-03-07 08:00:00"); }
    void TearDown() override { dalport::ResetClock(); }
    quorin::test::ScriptedUserInterface ui;
    CQuorinDoc doc{ui};
};

} // namespace

TEST_F(SubjectDates, TodayIsTheClocksDateWithoutLeadingZeros)
{
    EXPECT_EQ(doc.Today(), "3/7/2026");
}

TEST_F(SubjectDates, ValidDates)
{
    for (const char* d : {"", "2/28/2005", "2/29/2004", "1-2-2003", "1\\2\\2003", "12/31/1900",
                          "1/1/2011", "3/7/2026", "12/31/2046", "01/01/1901"})
        EXPECT_EQ(doc.IsValidDate(QString::fromLatin1(d)), 1) << d;
}

TEST_F(SubjectDates, InvalidDates)
{
    for (const char* d : {"13/1/2000", "0/1/2000", "1/0/2000", "1/32/2000", "2/30/2005", "2/29/2005",
                          "4/31/2010", "12/2003", "1/1/1899", "1/1/2047", "abc",
                          "01/01/2000 00:00:00.000", "1//2003"})
        EXPECT_EQ(doc.IsValidDate(QString::fromLatin1(d)), 0) << d;
}

TEST_F(SubjectDates, TheLastYearAcceptedMovesWithTheClock)
{
    EXPECT_EQ(doc.IsValidDate("1/1/2047"), 0);
    dalport::SetFixedClock("2027-01-01 00:00:00");
    EXPECT_EQ(doc.IsValidDate("1/1/2047"), 1);
}

TEST_F(SubjectDates, CompareDatesOrdersByYearMonthDay)
{
    EXPECT_EQ(CQuorinDoc::CompareDates("3/7/2009", "03/07/2009"), 0);
    EXPECT_EQ(CQuorinDoc::CompareDates("1/1/2010", "12/31/2009"), 1);
    EXPECT_EQ(CQuorinDoc::CompareDates("12/31/2009", "1/1/2010"), -1);
    EXPECT_EQ(CQuorinDoc::CompareDates("2/1/2009", "1/31/2009"), 1);
    EXPECT_EQ(CQuorinDoc::CompareDates("1/2/2009", "1/3/2009"), -1);
    EXPECT_EQ(CQuorinDoc::CompareDates("", "1/3/2009"), -1);
    EXPECT_EQ(CQuorinDoc::CompareDates("", ""), -1);
    EXPECT_EQ(CQuorinDoc::CompareDates("1/3/2009", ""), 1);
}
