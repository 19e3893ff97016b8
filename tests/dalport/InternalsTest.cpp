// Pure pieces of the library: the procedure call text, the message texts of status
// codes, the platform's value conversions, and column positions by name.

#include "dalport/Backend.h"
#include "dalport/ColumnPositions.h"
#include "dalport/ComError.h"
#include "dalport/ValueConversion.h"
#include "dalport/odbc/OdbcCallText.h"

#include <gtest/gtest.h>

namespace {

using namespace dalport;

TEST(ColumnPositions, EveryNameFoundWithoutRegardToCaseAndTheFirstOfTwoWins)
{
    // Enough columns that their hashes share slots.
    std::vector<std::string> names;
    for (int i = 0; i < 70; ++i)
        names.push_back("Col" + std::to_string(i));
    names.insert(names.begin() + 5, "subjectid");
    names.push_back("SubjectID");
    names.push_back("");
    const ColumnPositions positions(names);
    for (int i = 0; i < 70; ++i)
        EXPECT_EQ(i < 5 ? i : i + 1, positions.find("cOL" + std::to_string(i))) << i;
    EXPECT_EQ(5, positions.find("SUBJECTID"));
    EXPECT_EQ(72, positions.find(""));
    EXPECT_EQ(-1, positions.find("Col70"));
    EXPECT_EQ(-1, positions.find("subjectid "));
    EXPECT_EQ(-1, ColumnPositions({}).find("a"));
}

TEST(CallText, OneMarkerPerBoundParameter)
{
    EXPECT_EQ("{call uspLoadPers}", odbc::callText("uspLoadPers", 0));
    EXPECT_EQ("{call uspWriteAudPts(?,?,?)}", odbc::callText("uspWriteAudPts", 3));
}

TEST(ComErrorMessage, SystemTextsAndFallbacks)
{
    EXPECT_EQ("Type mismatch.", ComError(hr::TypeMismatch).ErrorMessage());
    EXPECT_EQ("Unspecified error", ComError(hr::Fail).ErrorMessage());
    // Codes of the dispatch range are numbered from 0x200; 0x80040200 itself is not.
    EXPECT_EQ("IDispatch error #3092", ComError(static_cast<long>(0x80040E14)).ErrorMessage());
    EXPECT_EQ("Unknown error 0x80040200", ComError(static_cast<long>(0x80040200)).ErrorMessage());
    EXPECT_EQ("Unknown error 0x800A0CC1", ComError(hr::ItemNotFound).ErrorMessage());
}

TEST(ValueConversion, NumbersDatesAndTextsConvertAsThePlatformDoes)
{
    EXPECT_EQ("0.1", toText(Value::real(0.1)));
    EXPECT_EQ("1E+20", toText(Value::real(1e20)));
    EXPECT_EQ(2, toInt(Value::real(2.5)));
    EXPECT_EQ(-4, toInt(Value::real(-3.5)));
    EXPECT_EQ(12, toInt(Value::text(" 12 ")));
    EXPECT_THROW(toInt(Value::text("")), ComError);
    EXPECT_THROW(toInt(Value::text("12abc")), ComError);
    EXPECT_THROW(toInt(Value::integer(5000000000LL)), ComError);
    EXPECT_THROW(toText(Value::null()), ComError);
    EXPECT_EQ("3/7/2009", toText(Value::dateTime("2009-03-07 00:00:00.000")));
    EXPECT_EQ("12/31/2008 2:05:09 PM", toText(Value::dateTime("2008-12-31 14:05:09.000")));
    EXPECT_EQ("1/1/1900 12:00:01 AM", toText(Value::dateTime("1900-01-01 00:00:01")));
    EXPECT_EQ(39879, toInt(Value::dateTime("2009-03-07 00:00:00.000")));
}

TEST(ServerName, EmptyOrAPathMeansTheEmbeddedEngine)
{
    for (const char* name : {"", "/srv/registry", "./registry", "../x", "~/quorin", "file:registry", "C:\\Quorin",
                             "d:/quorin"})
        EXPECT_TRUE(isEmbeddedServerName(name)) << name;
    for (const char* name : {"localhost", "SQLPROD01\\QUORIN", "10.0.0.5,1433", "registry", "C:"})
        EXPECT_FALSE(isEmbeddedServerName(name)) << name;
}

} // namespace
