// What a tool that shows whole results reads through ODBC: every result of a statement,
// typed values with NULL kept apart, and the rows a change touched. The walk MyADO's
// callers do is the same whether or not a tool has read the whole result.

#include "OdbcFixture.h"
#include "support/WholeResultReader.h"

namespace {

using dalport::Value;

class OdbcBatchResults : public OdbcFixture {
protected:
    void SetUp() override
    {
        OdbcFixture::SetUp();
        ASSERT_TRUE(connect(db));
        exec(db, "CREATE TABLE subjects (SubjectId INTEGER, Lastname TEXT, Birthdate DATETIME, Status INTEGER)");
        exec(db, "INSERT INTO subjects VALUES (1, 'Smith', '1990-12-31 00:00:00.000', 0), (2, NULL, NULL, 0),"
                 " (3, 'Young', '2001-02-03 04:05:06.007', 1)");
    }

    WholeResultReader db;
};

TEST_F(OdbcBatchResults, AResultCarriesTypedValuesWithNullApartAndTheCallersWalkIsAsItWas)
{
    ASSERT_EQ(1, db.RunTextQuery("SELECT SubjectId, Lastname, Birthdate FROM subjects ORDER BY SubjectId"));
    ASSERT_EQ(1, db.GetResultCount()); // reads everything the driver holds
    ASSERT_EQ(1, db.SelectResult(0));
    EXPECT_EQ((std::vector<std::string>{"SubjectId", "Lastname", "Birthdate"}), db.GetColumnNames());
    EXPECT_EQ(-1, db.GetRowsAffected());
    std::vector<std::vector<Value>> rows;
    for (; db.IsEOF() == 0; db.MoveNext()) {
        rows.push_back({db.GetFieldValue(0), db.GetFieldValue(1), db.GetFieldValue(2)});
        EXPECT_EQ(static_cast<int>(rows.size()), db.GetIntField("SubjectId"));
    }
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(Value::Kind::Int, rows[0][0].kind);
    EXPECT_EQ(1, rows[0][0].i);
    EXPECT_EQ(Value::Kind::Text, rows[0][1].kind);
    EXPECT_EQ("Smith", rows[0][1].s);
    EXPECT_EQ(Value::Kind::DateTime, rows[0][2].kind);
    EXPECT_EQ(0u, rows[0][2].s.rfind("1990-12-31", 0)) << rows[0][2].s;
    // NULL is told from an empty text and from a date.
    EXPECT_TRUE(rows[1][1].isNull());
    EXPECT_TRUE(rows[1][2].isNull());
    EXPECT_EQ(Value::Kind::DateTime, rows[2][2].kind);
    // Past the last row, and past the last column, a read is NULL and shows nothing.
    EXPECT_TRUE(db.GetFieldValue(0).isNull());
    EXPECT_TRUE(db.GetFieldValue(7).isNull());
    EXPECT_TRUE(m_errors.all.empty()) << m_errors.text();
    // The walk ends as it always did: one more step is the ADO error. A result that does
    // not exist is refused without a box.
    db.MoveNext();
    ASSERT_EQ(1u, m_errors.all.size());
    EXPECT_NE(m_errors.all[0].text.find("800a0bcd"), std::string::npos) << m_errors.all[0].text;
    EXPECT_EQ(0, db.SelectResult(1));
    EXPECT_EQ(0, db.SelectResult(-1));
    EXPECT_EQ(1u, m_errors.all.size());
}

TEST_F(OdbcBatchResults, ChangesCountTheirRowsAndNoRowsIsZero)
{
    ASSERT_EQ(1, db.RunTextQuery("UPDATE subjects SET Status = 2 WHERE Status = 0"));
    ASSERT_EQ(1, db.GetResultCount());
    ASSERT_EQ(1, db.SelectResult(0));
    EXPECT_TRUE(db.GetColumnNames().empty());
    EXPECT_EQ(2, db.GetRowsAffected());
    // The driver answers a change of no rows with "no data": still a count, of 0.
    ASSERT_EQ(1, db.RunTextQuery("DELETE FROM subjects WHERE SubjectId = 99"));
    ASSERT_EQ(1, db.GetResultCount());
    EXPECT_EQ(0, db.GetRowsAffected());
    // MyADO's callers see a change as before: a result at its end, without columns.
    EXPECT_EQ(-1, db.IsEOF());
    EXPECT_TRUE(m_errors.all.empty()) << m_errors.text();
}

} // namespace
