// Pure pieces of the library: call texts, status texts, value conversions, column positions,
// and the order of error boxes (scripted: a real driver gives one diagnostic per statement).

#include "support/ErrorRecorder.h"
#include "dalport/Backend.h"
#include "dalport/ColumnPositions.h"
#include "dalport/ComError.h"
#include "dalport/MyADO.h"
#include "dalport/SessionObjects.h"
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
    EXPECT_EQ(-1, positions.find("subjectid "));
    EXPECT_EQ(-1, ColumnPositions({}).find("a"));
}

TEST(CallText, OneMarkerPerBoundParameter)
{
    EXPECT_EQ("{call uspLoadPers}", odbc::callText("uspLoadPers", 0));
    EXPECT_EQ("{call uspWriteAudPts(?,?,?)}", odbc::callText("uspWriteAudPts", 3));
}

TEST(ComErrorMessage, CodesOfTheDispatchRangeAreNumberedFrom0x200)
{
    // The system's own texts show in the boxes FieldRead checks; 0x80040200 itself is unknown.
    EXPECT_EQ("IDispatch error #3092", ComError(static_cast<long>(0x80040E14)).ErrorMessage());
    EXPECT_EQ("Unknown error 0x80040200", ComError(static_cast<long>(0x80040200)).ErrorMessage());
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

// A backend whose every statement fails with two diagnostics.
struct TwoErrorsConnection final : Connection {
    std::unique_ptr<Result> execute(CommandType, const std::string&, const std::vector<Param>&) override
    {
        m_errors = {ProviderError{2812, 16, 62, "Could not find stored procedure 'uspX'.",
                                  "[Driver][SQL Server]Could not find stored procedure 'uspX'."},
                    ProviderError{8180, 16, 1, "Statement(s) could not be prepared.",
                                  "[Driver][SQL Server]Statement(s) could not be prepared."}};
        throw ComError(hr::Fail, "Provider", m_errors.back().description);
    }
    const std::vector<ProviderError>& errors() const override { return m_errors; }
    std::vector<ProviderError> m_errors;
};

// A session wired to the scripted backend through the members a subclass may reach.
struct ScriptedSession : MyADO {
    ScriptedSession()
    {
        m_pConnection = std::make_shared<AdoConnection>();
        m_pConnection->backend = std::make_unique<TwoErrorsConnection>();
        m_pCommand = std::make_shared<AdoCommand>();
        m_pCommand->activeConnection = m_pConnection;
        m_bConnected = 1;
    }
};

TEST(ErrorReporting, ProviderErrorsComeFirstInOrderThenTheRaisedError)
{
    ErrorRecorder recorder;
    ScriptedSession db;
    EXPECT_EQ(0, db.RunStoredProcedure("uspX"));
    EXPECT_EQ((std::vector<std::string>{
                  "Error number: afc\t[Driver][SQL Server]Could not find stored procedure 'uspX'.\n",
                  "Error number: 1ff4\t[Driver][SQL Server]Statement(s) could not be prepared.\n",
                  "Error\n80004005Unspecified errorProvider[Driver][SQL Server]Statement(s) could not be prepared.",
              }),
              recorder.texts());
    EXPECT_EQ(2812, recorder.all[0].number);
    EXPECT_EQ("Could not find stored procedure 'uspX'.", recorder.all[0].message);
}

} // namespace
