// Login values that hold the connection string's own signs (";", "{", "}") reach the
// driver as one value each, braced as ODBC reads them: a password cannot add a
// "database=" of its own. Other values go in exactly as typed.

#include "dalport/odbc/OdbcBackend.h"

#include <gtest/gtest.h>

namespace {

using dalport::odbc::connectionString;

TEST(OdbcConnectionString, ValuesWithSeparatorsOrBracesAreBraced)
{
    EXPECT_EQ("driver={SQL Server}; server=db01\\LAB;uid=jsmith;pwd=Temp Login-1!;database=Quorin",
              connectionString("db01\\LAB", "jsmith", "Temp Login-1!", "Quorin"));
    EXPECT_EQ("driver={SQL Server}; server=;uid=;pwd=;database=Aud", connectionString("", "", "", "Aud"));
    EXPECT_EQ("driver={SQL Server}; server=s;uid=u;pwd={p;database=other};database=Quorin",
              connectionString("s", "u", "p;database=other", "Quorin"));
    // A closing brace is doubled so that it cannot end the value early.
    EXPECT_EQ("driver={SQL Server}; server=s;uid=u;pwd={p}};database=other};database=CID",
              connectionString("s", "u", "p};database=other", "CID"));
    EXPECT_EQ("driver={SQL Server}; server=s;uid={a{b};pwd={{x}}};database=Aud", connectionString("s", "a{b", "{x}", "Aud"));
    EXPECT_EQ("driver={SQL Server}; server={s;x};uid=u;pwd=p;database={d}}}", connectionString("s;x", "u", "p", "d}"));
}

} // namespace
