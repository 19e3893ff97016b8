// quorin-sql run as an administrator runs it: every result of a batch, NULL and dates
// as sqlcmd prints them, its -h, -s and -W options, and a malformed clock refused.

#include "TestServer.h"
#include "support/ProcessRun.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

using namespace testing_embedded;

namespace {

using quorin::test::ProcessRun;

ProcessRun run(const std::string& command) { return quorin::test::runCommand(command); }

class SqlTool : public ::testing::Test {
protected:
    ProcessRun sql(const std::string& args, const std::string& environment = "QUORIN_CLOCK= ")
    {
        return run(environment + " " + QUORIN_SQL_TOOL + " -S '" + server.folder() + "' -U " + kAdmin + " -P "
                   + kAdminPassword + " " + args);
    }

    TestServer server;
};

TEST_F(SqlTool, ShowsEveryResultOfABatchWithNullsDatesAndChangedRows)
{
    const ProcessRun r = sql(
        "-Q \"insert into subjects(subjectid, lastname, birthdate) values (1, 'Smith', '12/31/1990'); "
        "insert into subjects(subjectid, lastname) values (2, 'Young'); "
        "select subjectid, lastname, birthdate from subjects order by subjectid; "
        "update subjects set status = 1; "
        "select count(*) as n from subjects where status = 1\"");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "(1 row affected)\n"
                        "(1 row affected)\n"
                        "subjectid lastname birthdate\n"
                        "--------- -------- -----------------------\n"
                        "1         Smith    1990-12-31 00:00:00.000\n"
                        "2         Young    NULL\n"
                        "\n"
                        "(2 rows affected)\n"
                        "(2 rows affected)\n"
                        "n\n"
                        "-\n"
                        "2\n"
                        "\n"
                        "(1 row affected)\n");
}

TEST_F(SqlTool, HeadersSeparatorAndTrimmingAsSqlcmdHasThem)
{
    ASSERT_EQ(sql("-Q \"insert into subjects(subjectid, lastname, firstname) values (1, 'Li', NULL), "
                  "(2, 'Okonkwo', 'Ada')\"")
                  .status,
              0);
    const std::string query = "-Q \"select lastname, firstname from subjects order by subjectid\"";
    EXPECT_EQ(sql("-h -1 " + query).output, "Li       NULL\nOkonkwo  Ada\n\n(2 rows affected)\n");
    EXPECT_EQ(sql("-W -s '|' " + query).output,
              "lastname|firstname\n--------|---------\nLi|NULL\nOkonkwo|Ada\n\n(2 rows affected)\n");
    EXPECT_EQ(sql("-h 1 -W " + query).output,
              "lastname firstname\n-------- ---------\nLi NULL\n\nlastname firstname\n-------- ---------\nOkonkwo Ada\n"
              "\n(2 rows affected)\n");
    const ProcessRun bad = sql("-h 0 " + query);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("-h takes -1"), std::string::npos) << bad.output;
}

TEST_F(SqlTool, MalformedClockStopsTheToolNamingTheVariableAndItsForm)
{
    const ProcessRun r = sql("-Q \"select getdate() as now\"", "QUORIN_CLOCK='next tuesday'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("QUORIN_CLOCK"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("YYYY-MM-DD HH:MM:SS"), std::string::npos) << r.output;
    const ProcessRun fixed = sql("-h -1 -Q \"select getdate() as now\"", "QUORIN_CLOCK='2009-03-07 10:30:00'");
    EXPECT_EQ(fixed.status, 0) << fixed.output;
    EXPECT_EQ(fixed.output, "2009-03-07 10:30:00.000\n\n(1 row affected)\n");
}

} // namespace
