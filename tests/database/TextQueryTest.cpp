// The program's text queries run on the demo registry and its stand-in databases and
// return the columns the program reads; some counts agree with what the demo wrote.
#include "support/RawRegistry.h"
#include "database/RegistryFixture.h"
#include "database/TextQueryTable.h"

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

} // namespace
} // namespace quorin::test
