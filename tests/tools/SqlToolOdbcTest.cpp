// quorin-sql against a server reached through ODBC (the SQLite driver standing in for
// SQL Server): every batch's results, NULL and dates as sqlcmd prints them, the rows a
// change touched, and the driver's own refusal of several statements in one batch.

#include "dalport/OdbcFixture.h"
#include "support/ProcessRun.h"

#include <fstream>
#include <string>

namespace {

using quorin::test::ProcessRun;

class SqlToolOverOdbc : public OdbcFixture {
protected:
    void SetUp() override
    {
        OdbcFixture::SetUp();
        MyADO db;
        ASSERT_TRUE(connect(db));
        exec(db, "CREATE TABLE subjects (SubjectId INTEGER, Lastname TEXT, Birthdate DATETIME, Status INTEGER)");
        exec(db, "INSERT INTO subjects VALUES (1, 'Smith', '1990-12-31 00:00:00.000', 0), (2, NULL, NULL, 0)");
    }

    // The child inherits the fixture's ODBC configuration through the environment.
    ProcessRun sql(const std::string& args)
    {
        return quorin::test::runCommand(std::string(QUORIN_SQL_TOOL) + " -S localhost -U staff -P secret -d '"
                                        + m_database + "' " + args);
    }
};

TEST_F(SqlToolOverOdbc, ScriptShowsEveryBatchWithNullsDatesAndChangedRows)
{
    const std::string script = (m_folder / "batch.sql").string();
    std::ofstream(script) << "SELECT SubjectId, Lastname, Birthdate FROM subjects ORDER BY SubjectId\nGO\n"
                             "SELECT COUNT(*) AS n FROM subjects WHERE Lastname IS NULL\nGO\n"
                             "UPDATE subjects SET Status = 1\nGO\n"
                             "DELETE FROM subjects WHERE SubjectId = 99\n";
    const ProcessRun r = sql("-i '" + script + "'");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "SubjectId Lastname Birthdate\n"
                        "--------- -------- -----------------------\n"
                        "1         Smith    1990-12-31 00:00:00.000\n"
                        "2         NULL     NULL\n"
                        "\n"
                        "(2 rows affected)\n"
                        "n\n"
                        "-\n"
                        "1\n"
                        "\n"
                        "(1 row affected)\n"
                        "(2 rows affected)\n"
                        "(0 rows affected)\n");
    // The options shape the output as on the embedded engine.
    const ProcessRun bare = sql("-h -1 -s \\| -W -Q \"SELECT SubjectId, Lastname FROM subjects ORDER BY SubjectId\"");
    EXPECT_EQ(bare.status, 0) << bare.output;
    EXPECT_EQ(bare.output, "1|Smith\n2|NULL\n\n(2 rows affected)\n");
}

// The SQLite driver takes one statement per call; several in one batch are its error,
// printed as the server's message, and nothing of the batch runs.
TEST_F(SqlToolOverOdbc, BatchOfSeveralStatementsIsTheDriversErrorAndChangesNothing)
{
    const ProcessRun r = sql("-Q \"SELECT SubjectId FROM subjects; SELECT COUNT(*) AS n FROM subjects; "
                             "UPDATE subjects SET Status = 5\"");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("only one SQL statement allowed"), std::string::npos) << r.output;
    const ProcessRun after = sql("-h -1 -Q \"SELECT COUNT(*) AS n FROM subjects WHERE Status = 5\"");
    EXPECT_EQ(after.output, "0\n\n(1 row affected)\n");
}

} // namespace
