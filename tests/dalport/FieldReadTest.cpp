// Reading typed fields: conversions, blanks, the empty date, NULLs, and failures.

#include "OdbcFixture.h"

namespace {

class FieldRead : public OdbcFixture {
protected:
    void SetUp() override
    {
        OdbcFixture::SetUp();
        ASSERT_TRUE(connect(db));
        exec(db, "CREATE TABLE r (txt TEXT, padded CHAR(12), n INTEGER, x REAL, empty TEXT, nonum INTEGER,"
                 " numtext TEXT, word TEXT)");
        exec(db, "INSERT INTO r VALUES ('01/01/1900', 'Smith   ', 42, 3.5, NULL, NULL, ' 17 ', 'abc')");
        ASSERT_EQ(1, db.RunTextQuery("SELECT * FROM r"));
    }

    MyADO db;
};

TEST_F(FieldRead, TextsLoseTrailingBlanksAndTheEmptyDateReadsEmpty)
{
    EXPECT_EQ("Smith", db.GetStringField("padded"));
    EXPECT_EQ("", db.GetStringField("txt"));
    ASSERT_EQ(1, db.RunTextQuery("SELECT '01/01/1900   ' AS a, '1/1/1900' AS b, '  lead' AS c, '01/01/1901' AS d"));
    EXPECT_EQ("", db.GetStringField("a"));
    EXPECT_EQ("1/1/1900", db.GetStringField("b"));
    EXPECT_EQ("  lead", db.GetStringField("c"));
    EXPECT_EQ("01/01/1901", db.GetStringField("d"));
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(FieldRead, ColumnNamesMatchWithoutRegardToCase)
{
    EXPECT_EQ(42, db.GetIntField("N"));
    EXPECT_EQ("Smith", db.GetStringField("PADDED"));
}

TEST_F(FieldRead, EachStatementsColumnsAreFoundAfresh)
{
    // The first of two columns of one name; the next statement has its columns elsewhere.
    ASSERT_EQ(1, db.RunTextQuery("SELECT 1 AS id, 2 AS Id, 'Lee' AS name"));
    EXPECT_EQ(1, db.GetIntField("ID"));
    ASSERT_EQ(1, db.RunTextQuery("SELECT 'O''Brien' AS name, 7 AS id"));
    EXPECT_EQ(7, db.GetIntField("id"));
    EXPECT_EQ("O'Brien", db.GetStringField("NAME"));
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(FieldRead, NumbersReadAsTextAndTextsAsNumbers)
{
    EXPECT_EQ("42", db.GetStringField("n"));
    EXPECT_EQ("3.5", db.GetStringField("x"));
    EXPECT_EQ(17, db.GetIntField("numtext"));
    EXPECT_FLOAT_EQ(42.0f, db.GetFloatField("n"));
    EXPECT_EQ(4, db.GetIntField("x")); // 3.5 rounds half to even
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(FieldRead, NullTextIsSilentNullNumberIsReported)
{
    EXPECT_EQ("", db.GetStringField("empty"));
    EXPECT_TRUE(m_errors.boxes.empty());

    EXPECT_EQ(-1, db.GetIntField("nonum"));
    EXPECT_EQ(-1.0f, db.GetFloatField("empty"));
    EXPECT_EQ((std::vector<std::string>{"Error\n80020005Type mismatch.", "Error\n80020005Type mismatch."}),
              m_errors.texts());
}

TEST_F(FieldRead, TextThatIsNoNumberIsATypeMismatch)
{
    EXPECT_EQ(-1, db.GetIntField("word"));
    EXPECT_EQ((std::vector<std::string>{"Error\n80020005Type mismatch."}), m_errors.texts());
}

TEST_F(FieldRead, UnknownColumnShowsOneBoxAndReturnsFailureValues)
{
    EXPECT_EQ("", db.GetStringField("Lastname"));
    EXPECT_EQ(-1, db.GetIntField("Lastname"));
    EXPECT_EQ(-1.0f, db.GetFloatField("Lastname"));
    const std::string box = "Error\n800a0cc1Unknown error 0x800A0CC1ADODB.Fields"
                            "Item cannot be found in the collection corresponding to the requested name or ordinal.";
    EXPECT_EQ((std::vector<std::string>{box, box, box}), m_errors.texts());
}

TEST_F(FieldRead, ReadingPastTheLastRowIsReported)
{
    db.MoveNext();
    ASSERT_NE(0, db.IsEOF());
    EXPECT_EQ(-1, db.GetIntField("n"));
    db.MoveNext();
    ASSERT_EQ(2u, m_errors.boxes.size());
    EXPECT_EQ(0u, m_errors.boxes[0].text.rfind("Error\n800a0bcdUnknown error 0x800A0BCDADODB.Field", 0));
    EXPECT_EQ(0u, m_errors.boxes[1].text.rfind("Error\n800a0bcdUnknown error 0x800A0BCDADODB.Recordset", 0));
}

TEST_F(FieldRead, FailedStatementKeepsThePreviousResult)
{
    EXPECT_EQ(0, db.RunTextQuery("SELEC nonsense"));
    ASSERT_GE(m_errors.boxes.size(), 2u);
    EXPECT_EQ(dalport::ReportedError::Kind::Provider, m_errors.boxes.front().kind);
    EXPECT_EQ(0u, m_errors.boxes.back().text.rfind("Error\n80004005Unspecified errorDalport ODBC Provider", 0));
    // The walk goes on over the last good result.
    EXPECT_EQ(42, db.GetIntField("n"));
}

} // namespace
