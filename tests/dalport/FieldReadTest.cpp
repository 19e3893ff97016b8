// Reading typed fields: conversions, blanks, the empty date, NULLs, and failures.

#include "OdbcFixture.h"

#include <sstream>

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

TEST_F(FieldRead, EachReadConvertsOrReportsWithItsBox)
{
    const std::string mismatch = "Error\n80020005Type mismatch.";
    const std::string notFound = "Error\n800a0cc1Unknown error 0x800A0CC1ADODB.Fields"
                                 "Item cannot be found in the collection corresponding to the requested name or ordinal.";
    struct Read {
        const char* column;
        char as; // 's'tring, 'i'nt or 'f'loat
        const char* value;
        std::string box; // "" for none
    };
    const Read reads[] = {
        // Texts lose their trailing blanks, the empty date reads as "", column names
        // match without regard to case, and NULL text is silently empty.
        {"padded", 's', "Smith", ""}, {"PADDED", 's', "Smith", ""}, {"txt", 's', "", ""}, {"empty", 's', "", ""},
        // Numbers read as text and texts as numbers; 3.5 rounds half to even.
        {"n", 's', "42", ""}, {"x", 's', "3.5", ""}, {"N", 'i', "42", ""}, {"numtext", 'i', "17", ""},
        {"x", 'i', "4", ""}, {"n", 'f', "42", ""},
        // A NULL number and a text that is no number are a type mismatch; an unknown
        // column is not found; each gives the failure value and one box.
        {"nonum", 'i', "-1", mismatch}, {"empty", 'f', "-1", mismatch}, {"word", 'i', "-1", mismatch},
        {"Lastname", 's', "", notFound}, {"Lastname", 'i', "-1", notFound}, {"Lastname", 'f', "-1", notFound},
    };
    for (const Read& r : reads) {
        m_errors.clear();
        std::ostringstream value;
        if (r.as == 's')
            value << db.GetStringField(r.column);
        else if (r.as == 'i')
            value << db.GetIntField(r.column);
        else
            value << db.GetFloatField(r.column);
        EXPECT_EQ(value.str(), r.value) << r.column << " as " << r.as;
        EXPECT_EQ(m_errors.texts(), r.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.box})
            << r.column << " as " << r.as;
    }
    // Each statement's columns are found afresh: the first of two of one name, then the
    // next statement's elsewhere. Only the empty date itself reads as "".
    m_errors.clear();
    ASSERT_EQ(1, db.RunTextQuery("SELECT 1 AS id, 2 AS Id"));
    EXPECT_EQ(1, db.GetIntField("ID"));
    ASSERT_EQ(1, db.RunTextQuery("SELECT '01/01/1900   ' AS a, '1/1/1900' AS b, '  lead' AS c, 7 AS id"));
    EXPECT_EQ(7, db.GetIntField("id"));
    EXPECT_EQ("", db.GetStringField("a"));
    EXPECT_EQ("1/1/1900", db.GetStringField("b"));
    EXPECT_EQ("  lead", db.GetStringField("c"));
    EXPECT_TRUE(m_errors.all.empty()) << m_errors.text();
}

TEST_F(FieldRead, AFailedStatementKeepsThePreviousResultAndReadingPastItsEndIsReported)
{
    EXPECT_EQ(0, db.RunTextQuery("SELEC nonsense"));
    ASSERT_GE(m_errors.all.size(), 2u);
    EXPECT_EQ(dalport::ReportedError::Kind::Provider, m_errors.all.front().kind);
    EXPECT_EQ(0u, m_errors.all.back().text.rfind("Error\n80004005Unspecified errorDalport ODBC Provider", 0));
    // The walk goes on over the last good result.
    EXPECT_EQ(42, db.GetIntField("n"));
    ASSERT_EQ(1, db.RunTextQuery("SELECT n FROM r"));
    m_errors.clear();
    db.MoveNext();
    ASSERT_NE(0, db.IsEOF());
    EXPECT_EQ(-1, db.GetIntField("n"));
    db.MoveNext();
    ASSERT_EQ(2u, m_errors.all.size());
    EXPECT_EQ(0u, m_errors.all[0].text.rfind("Error\n800a0bcdUnknown error 0x800A0BCDADODB.Field", 0));
    EXPECT_EQ(0u, m_errors.all[1].text.rfind("Error\n800a0bcdUnknown error 0x800A0BCDADODB.Recordset", 0));
}

} // namespace
