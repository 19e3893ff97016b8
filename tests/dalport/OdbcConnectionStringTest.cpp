// Login values that hold the connection string's own signs (";", "{", "}") reach the
// driver as one value each, braced as ODBC reads them: a password cannot add a
// "database=" of its own. Other values go in exactly as typed.

#include "OdbcFixture.h"

#include "dalport/odbc/OdbcBackend.h"

namespace {

using dalport::odbc::connectionString;

TEST(OdbcConnectionString, PlainValuesGoInAsTyped)
{
    EXPECT_EQ("driver={SQL Server}; server=db01\\LAB;uid=jsmith;pwd=Temp Login-1!;database=Quorin",
              connectionString("db01\\LAB", "jsmith", "Temp Login-1!", "Quorin"));
    EXPECT_EQ("driver={SQL Server}; server=;uid=;pwd=;database=Aud", connectionString("", "", "", "Aud"));
}

TEST(OdbcConnectionString, ValuesWithSeparatorsOrBracesAreBraced)
{
    EXPECT_EQ("driver={SQL Server}; server=s;uid=u;pwd={p;database=other};database=Quorin",
              connectionString("s", "u", "p;database=other", "Quorin"));
    // A closing brace is doubled so that it cannot end the value early.
    EXPECT_EQ("driver={SQL Server}; server=s;uid=u;pwd={p}};database=other};database=CID",
              connectionString("s", "u", "p};database=other", "CID"));
    EXPECT_EQ("driver={SQL Server}; server=s;uid={a{b};pwd={{x}}};database=Aud", connectionString("s", "a{b", "{x}", "Aud"));
    EXPECT_EQ("driver={SQL Server}; server={s;x};uid=u;pwd=p;database={d}}}", connectionString("s;x", "u", "p", "d}"));
}

// Through the real driver manager and driver: values that need no braces connect as
// before, the password included.
using OdbcConnectionStringSession = OdbcFixture;

TEST_F(OdbcConnectionStringSession, PlainPasswordStillOpensTheTestsOwnDatabase)
{
    {
        MyADO setup;
        ASSERT_TRUE(connect(setup));
        exec(setup, "CREATE TABLE marker (n INTEGER)");
        exec(setup, "INSERT INTO marker VALUES (42)");
    }
    MyADO db;
    ASSERT_EQ(1, db.SetDataSource("localhost", "staff", "Temp Login-1!", m_database.c_str()));
    ASSERT_EQ(1, db.RunTextQuery("SELECT n FROM marker"));
    EXPECT_EQ(42, db.GetIntField("n"));
    EXPECT_TRUE(m_errors.boxes.empty()) << ::testing::PrintToString(m_errors.texts());
}

} // namespace
