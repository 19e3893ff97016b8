// The program's text queries run on the demo registry and its stand-in databases and
// return the columns the program reads; some counts agree with what the demo wrote.
#include "support/RawRegistry.h"
#include "database/RegistryFixture.h"
#include "database/TextQueryTable.h"
#include "dalport/PasswordChangeSession.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace quorin::test {
namespace {

class TextQueries : public RegistryTest {
protected:
    void SetUp() override
    {
        RegistryTest::SetUp();
        m_sessions["Quorin"] = &m_db;
        m_aud = connect("Aud");
        m_cid = connect("CID");
        m_sessions["Aud"] = m_aud.get();
        m_sessions["CID"] = m_cid.get();
        m_values = textQueryValues(m_db, *m_aud, *m_cid);
        for (const char* name : {"subject", "unit", "last", "first", "birth", "irb", "dataset", "index", "cid"})
            ASSERT_TRUE(m_values.count(name)) << "demo registry lacks " << name;
    }

    static std::string text(MyADO& session, const std::string& sql, const char* column)
    {
        if (!session.RunTextQuery(sql.c_str()) || session.IsEOF())
            return "";
        return session.GetStringField(column);
    }

    std::string fill(const std::string& sql) const { return fillQuery(sql, m_values); }

    // Runs the query and reads every named column of every row; returns the row count.
    int run(const TextQuery& query)
    {
        MyADO& session = *m_sessions.at(query.database);
        const std::string sql = fill(query.sql);
        EXPECT_EQ(session.RunTextQuery(sql.c_str()), 1) << sql << "\n" << errorText();
        int rows = 0;
        for (; !session.IsEOF(); session.MoveNext(), ++rows) {
            std::stringstream columns(query.columns);
            std::string column;
            while (std::getline(columns, column, ','))
                session.GetStringField(column.c_str());
        }
        return rows;
    }

    int count(const std::string& sql) { return queryInt(fill(sql)); }

    std::unique_ptr<MyADO> m_aud, m_cid;
    std::map<std::string, MyADO*> m_sessions;
    std::map<std::string, std::string> m_values;
};

TEST_F(TextQueries, EveryReadingQueryRunsAndReturnsItsColumns)
{
    for (const auto& query : readingQueries()) {
        SCOPED_TRACE(query.sql);
        // The demo is meant to show something in every report.
        EXPECT_GT(run(query), 0) << "no rows";
        ASSERT_TRUE(errors().empty()) << errorText();
    }
}

TEST_F(TextQueries, EveryChangingStatementRuns)
{
    for (const auto& statement : changingStatements()) {
        SCOPED_TRACE(statement.sql);
        run(statement);
        ASSERT_TRUE(errors().empty()) << errorText();
    }
    EXPECT_EQ(count("select count(*) as num from calllog where dataset not in (select dataset from dataset)"), 0);
    EXPECT_EQ(count("select count(*) as num from CiDevice where SubjectId = 1"), 1);
    EXPECT_EQ(queryText("select convert(char(10), SurgDate, 101) as v from CiDevice where SubjectId = 1", "v"), "03/07/2009");
    // Stored as a date, so that it sorts and compares as one.
    EXPECT_EQ(RawRegistry(folder()).number("select count(*) from CiDevice where SubjectId = 1 and "
                                           "SurgDate = '2009-03-07 00:00:00.000' and ExplantDate = '1900-01-01 00:00:00.000'"),
              1);
    EXPECT_EQ(count("select status as num from pers where UserName = 'rolson'"), 1);
}

TEST_F(TextQueries, DatabaseNumbersAgreeWithTheGenerator)
{
    EXPECT_EQ(count("select  count (*) as num from subjects"), summary().subjects);
    for (int status = 0; status < 4; ++status)
        EXPECT_EQ(count("select  count (*) as num from subjects where status = " + std::to_string(status)),
                  summary().byStatus[static_cast<std::size_t>(status)]);
    EXPECT_EQ(count("select count(*) as num from aud"), summary().audiograms);
    int children = 0;
    ASSERT_EQ(m_db.RunTextQuery("select patimpression, count (patimpression) as num from subjects where datediff(yy,birthdate, "
                                "GetDate()) < 19 group by patimpression order by patimpression"),
              1);
    for (; !m_db.IsEOF(); m_db.MoveNext())
        children += m_db.GetIntField("num");
    EXPECT_EQ(children, summary().children);
}

TEST_F(TextQueries, StudyAndLetterCountsAgreeWithTheGenerator)
{
    EXPECT_EQ(count("select count(distinct dataset) as num from dataset"), summary().datasets);
    EXPECT_EQ(count("select count(distinct title) as num from release"), summary().openDatasets);
    EXPECT_EQ(count("Select count(*)as num from requesthistory"), summary().requests);
    EXPECT_EQ(count("Select count(*)as num from participationhistory"), summary().participations);
    EXPECT_EQ(run({"Quorin", readingQueries()[28].sql, ""}), summary().notContacted);
    EXPECT_EQ(count("Select count(distinct subjectid) as num from subjects where Sent between '1/1/1950' and '12/31/2030' "),
              summary().lettersSent);
    EXPECT_EQ(count("select count(*) as num from subjects where Returned = '01/01/1901'"), summary().lettersNotReturned);
    EXPECT_EQ(text(*m_aud, "select count(*) as num from info", "num"), std::to_string(summary().amTests));
}

} // namespace
} // namespace quorin::test

namespace quorin::test {
namespace {

// The Users window's statements, in the order adding, promoting, resetting and
// deactivating a staff member sends them.
TEST_F(TextQueries, StaffAdministrationStatementsRun)
{
    const char* statements[] = {
        "IF NOT EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'pnew') CREATE LOGIN [pnew] WITH PASSWORD = 'Tq7-xR2mWp.9aKz' MUST_CHANGE, CHECK_POLICY = ON, CHECK_EXPIRATION = ON",
        "IF NOT EXISTS (SELECT * FROM sys.database_principals WHERE [name] = 'pnew') CREATE USER [pnew]",
        "EXEC sp_addrolemember 'QuorinAdmin', [pnew]",
        "IF EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'pnew') ALTER LOGIN [pnew] WITH PASSWORD = 'Hb4=nV8cLs?2dQe' MUST_CHANGE, CHECK_POLICY = ON, CHECK_EXPIRATION = ON",
    };
    for (const char* sql : statements)
        EXPECT_EQ(m_db.RunTextQuery(sql), 1) << sql << "\n" << errorText();

    m_db.BindStringParam("@user", "pnew");
    for (const char* p : {"@last", "@first", "@name"})
        m_db.BindStringParam(p, "NEW");
    m_db.BindStringParam("@citi", "1/5/2010");
    m_db.BindStringParam("@nih", "");
    m_db.BindIntParam("@status", 3);
    ASSERT_EQ(m_db.RunStoredProcedure("uspCreateNewUser"), 1) << errorText();
    m_db.RemoveParams();

    PasswordChangeSession newcomer;
    ASSERT_EQ(newcomer.SetDataSourceWithNewPassword(folder().c_str(), "pnew", "Hb4=nV8cLs?2dQe", "First-Choice8",
                                                    "Quorin"),
              1);
    // SQL Server's order: the new password first, then the old one (no comma).
    EXPECT_EQ(newcomer.RunTextQuery("ALTER LOGIN pnew WITH PASSWORD = 'Chosen-Phrase9' OLD_PASSWORD = 'First-Choice8'"), 1)
        << errorText();
    newcomer.BindIntParam("@status", 4);
    EXPECT_EQ(newcomer.RunStoredProcedure("uspLoadPers"), 1) << errorText();
    newcomer = PasswordChangeSession();

    const char* deactivate[] = {
        "IF EXISTS (SELECT * FROM sys.schemas WHERE [name] = 'pnew') DROP SCHEMA pnew",
        "IF EXISTS (SELECT * FROM sys.database_principals WHERE [name] = 'pnew') DROP USER pnew",
        "IF EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'pnew') DROP LOGIN pnew",
        "Update Pers set status = 1 where username = 'pnew'",
    };
    for (const char* sql : deactivate)
        EXPECT_EQ(m_db.RunTextQuery(sql), 1) << sql << "\n" << errorText();
    EXPECT_EQ(queryInt("select Status as num from pers where UserName = 'pnew'"), 1);
    MyADO gone;
    EXPECT_EQ(gone.SetDataSource(folder().c_str(), "pnew", "Chosen-Phrase9", "Quorin"), 0);
}

} // namespace
} // namespace quorin::test
