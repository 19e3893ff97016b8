// quorin-sql on the embedded engine: every result of a batch, NULL and dates as sqlcmd
// prints them, and a malformed clock refused with exit status 2 (the rest is the tools').

#include "TestServer.h"
#include "support/ProcessRun.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

using quorin::test::ProcessRun;

// quorin-sql as the administrator of a new test server, `environment` before it.
ProcessRun sql(const std::string& args, const std::string& environment = "QUORIN_CLOCK= ")
{
    const TestServer server;
    return quorin::test::runCommand(environment + " " + QUORIN_SQL_TOOL + " -S '" + server.folder + "' -U " + kAdmin
                                    + " -P " + kAdminPassword + " " + args);
}

TEST(SqlTool, ShowsEveryResultOfABatchWithNullsDatesAndChangedRowsAndRefusesAMalformedClock)
{
    const ProcessRun r = sql(
        "-Q \"insert into subjects(subjectid, lastname, birthdate) values (1, 'Smith', '12/31/1990'); "
        "insert into subjects(subjectid, lastname) values (2, 'Young'); "
        "select subjectid, lastname, birthdate from subjects order by subjectid; update subjects set status = 1; "
        "select count(*) as n from subjects where status = 1\"");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "(1 row affected)\n(1 row affected)\n"
                        "subjectid lastname birthdate\n"
                        "--------- -------- -----------------------\n"
                        "1         Smith    1990-12-31 00:00:00.000\n"
                        "2         Young    NULL\n\n"
                        "(2 rows affected)\n(2 rows affected)\n"
                        "n\n-\n2\n\n(1 row affected)\n");
    // A malformed clock stops the tool, naming the variable and its form.
    const ProcessRun clock = sql("-Q \"select getdate() as now\"", "QUORIN_CLOCK='next tuesday'");
    EXPECT_EQ(clock.status, 2);
    EXPECT_NE(clock.output.find("QUORIN_CLOCK"), std::string::npos) << clock.output;
    EXPECT_NE(clock.output.find("YYYY-MM-DD HH:MM:SS"), std::string::npos) << clock.output;
}

} // namespace
