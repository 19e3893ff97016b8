// Texts read as datetime under us_english, through CONVERT(datetime, ...) in T-SQL.

#include "TestServer.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

class DateReading : public ::testing::Test {
protected:
    void SetUp() override { connect(db, server, kAdmin, kAdminPassword); }

    std::string read(const std::string& text)
    {
        return scalar(db, "select convert(char(23), convert(datetime, '" + text + "'), 121) as v");
    }
    long errorOf(const std::string& text)
    {
        boxes.clear();
        if (db.RunTextQuery(("select convert(datetime, '" + text + "') as v").c_str()))
            return 0;
        const auto p = boxes.provider();
        return p.empty() ? -1 : p.back().number;
    }

    TestServer server;
    Boxes boxes;
    MyADO db;
};

TEST_F(DateReading, FormsTheSessionReads)
{
    EXPECT_EQ(read("3/7/2009"), "2009-03-07 00:00:00.000");
    EXPECT_EQ(read("03/07/2009 14:05"), "2009-03-07 14:05:00.000");
    EXPECT_EQ(read("3-7-2009"), "2009-03-07 00:00:00.000");
    EXPECT_EQ(read("2009-03-07"), "2009-03-07 00:00:00.000");
    EXPECT_EQ(read("2009-03-07T08:09:10.123"), "2009-03-07 08:09:10.123");
    EXPECT_EQ(read("20090307"), "2009-03-07 00:00:00.000");
    EXPECT_EQ(read("Mar 7 2009 2:05PM"), "2009-03-07 14:05:00.000");
    EXPECT_EQ(read("7 March 2009"), "2009-03-07 00:00:00.000");
    EXPECT_EQ(read("12:00 AM"), "1900-01-01 00:00:00.000");
    EXPECT_EQ(read(""), "1900-01-01 00:00:00.000");
}

TEST_F(DateReading, TwoDigitYearsTurnAt2049)
{
    EXPECT_EQ(read("1/2/49"), "2049-01-02 00:00:00.000");
    EXPECT_EQ(read("1/2/50"), "1950-01-02 00:00:00.000");
}

TEST_F(DateReading, MillisecondsRoundToDatetimeTicks)
{
    EXPECT_EQ(read("2009-03-07 10:00:00.001"), "2009-03-07 10:00:00.000");
    EXPECT_EQ(read("2009-03-07 10:00:00.005"), "2009-03-07 10:00:00.007");
    EXPECT_EQ(read("2009-12-31 23:59:59.999"), "2010-01-01 00:00:00.000");
}

TEST_F(DateReading, MalformedIs241AndOutOfRangeIs242)
{
    EXPECT_EQ(errorOf("2/30/2005"), 242);
    EXPECT_EQ(errorOf("13/1/2005"), 242);
    EXPECT_EQ(errorOf("1/1/1700"), 242);
    EXPECT_EQ(errorOf("2/29/2009"), 242);
    EXPECT_EQ(errorOf("2/29/2008"), 0);
    EXPECT_EQ(errorOf("abc"), 241);
    EXPECT_EQ(errorOf("3/7"), 241);
    EXPECT_EQ(errorOf("3/7-2009"), 241);
    EXPECT_EQ(errorOf("2009-03-07 25:00"), 242);
    // The stored form is read by a shorter path; its ranges are the same.
    EXPECT_EQ(errorOf("2005-02-30 00:00:00.000"), 242);
    EXPECT_EQ(errorOf("1700-01-01 00:00:00.000"), 242);
    EXPECT_EQ(errorOf("2005-01-01 23:60:00.000"), 242);
    EXPECT_EQ(errorOf("2005-01-01 00:00:00.0x0"), 241);
    EXPECT_EQ(read("2008-02-29 23:59:59.997"), "2008-02-29 23:59:59.997");
    EXPECT_EQ(errorOf("0999-01-01 00:00:00.000"), 242);
}

TEST_F(DateReading, ConvertToTextStaysText)
{
    // Style 121 looks like the stored form, but CONVERT made it text.
    ASSERT_EQ(db.RunTextQuery("insert into subjects(lastname, birthdate) values ('a', '5/6/1977')"), 1);
    EXPECT_EQ(scalar(db, "select convert(char(23), max(birthdate), 121) as v from subjects"), "1977-05-06 00:00:00.000");
    EXPECT_EQ(scalar(db, "select convert(varchar(10), birthdate, 112) as v from subjects"), "19770506");
}

} // namespace
