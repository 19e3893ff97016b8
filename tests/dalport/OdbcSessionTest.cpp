// Connecting, running statements, walking results, binding parameters and sharing a
// session between copies, through the real driver manager and driver.

#include "OdbcFixture.h"

namespace {

using OdbcSession = OdbcFixture;

TEST_F(OdbcSession, ConnectsThroughTheSqlServerDriverNameWalksRowsAndCallsProcedures)
{
    MyADO db;
    EXPECT_EQ(0, db.IsConnected());
    ASSERT_TRUE(connect(db));
    EXPECT_EQ(1, db.IsConnected());
    exec(db, "CREATE TABLE t (n INTEGER, name TEXT)");
    // A statement without a result, and an empty result, are at their end at once.
    ASSERT_EQ(1, db.RunTextQuery("SELECT * FROM t"));
    EXPECT_EQ(-1, db.IsEOF());
    ASSERT_EQ(1, db.RunTextQuery("INSERT INTO t VALUES (1, 'Ølstrøm-Müller'), (2, 'O''Brien'), (3, '')"));
    EXPECT_NE(0, db.IsEOF());
    ASSERT_EQ(1, db.RunTextQuery("SELECT n, name FROM t ORDER BY n"));
    std::vector<std::string> seen;
    for (; db.IsEOF() == 0; db.MoveNext())
        seen.push_back(std::to_string(db.GetIntField("n")) + " " + db.GetStringField("name"));
    EXPECT_EQ((std::vector<std::string>{"1 Ølstrøm-Müller", "2 O'Brien", "3 "}), seen);
    EXPECT_TRUE(m_errors.all.empty()) << m_errors.text();
    // A procedure goes out as an ODBC call, which SQLite's driver refuses: the provider's
    // error comes first, then the raised error.
    db.BindIntParam("@id", 3);
    EXPECT_EQ(0, db.RunStoredProcedure("uspLoadSubjectbyId"));
    ASSERT_GE(m_errors.all.size(), 2u);
    EXPECT_EQ(dalport::ReportedError::Kind::Provider, m_errors.all.front().kind);
    EXPECT_EQ(0u, m_errors.all.front().text.rfind("Error number: ", 0));
    EXPECT_EQ(dalport::ReportedError::Kind::Com, m_errors.all.back().kind);
}

TEST_F(OdbcSession, ParametersBindByPositionAndAccumulateUntilRemoved)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    db.BindStringParam("@last", "Smith");
    db.BindFloatParam("@score", 2.5f);
    db.BindIntParam("@last", 3); // a repeated name still takes the next place
    ASSERT_EQ(1, db.RunTextQuery("SELECT ? AS a, ? AS b, ? AS c"));
    EXPECT_EQ("Smith", db.GetStringField("a"));
    EXPECT_FLOAT_EQ(2.5f, db.GetFloatField("b"));
    EXPECT_EQ(3, db.GetIntField("c"));
    // Without RemoveParams the first statement's parameters stay at the head.
    db.BindIntParam("@next", 9);
    ASSERT_EQ(1, db.RunTextQuery("SELECT ? AS a, ? AS b, ? AS c, ? AS d"));
    EXPECT_EQ(9, db.GetIntField("d"));
    db.RemoveParams();
    db.RemoveParams(); // on an empty list: nothing happens
    // An empty text goes as an empty text, and texts travel as Unicode.
    db.BindStringParam("@name", "");
    db.BindStringParam("@other", "Ølstrøm O'Brien");
    ASSERT_EQ(1, db.RunTextQuery("SELECT length(?) AS n, ? AS v")) << m_errors.text();
    EXPECT_EQ(0, db.GetIntField("n"));
    EXPECT_EQ("Ølstrøm O'Brien", db.GetStringField("v"));
    EXPECT_TRUE(m_errors.all.empty()) << m_errors.text();
}

TEST_F(OdbcSession, CopiesShareConnectionAndCommand)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    MyADO copy(db);
    EXPECT_EQ(1, copy.IsConnected());

    copy.BindIntParam("@n", 41); // bound on the copy ...
    ASSERT_EQ(1, db.RunTextQuery("SELECT ? + 1 AS n")); // ... used by the original
    EXPECT_EQ(42, db.GetIntField("n"));

    exec(copy, "CREATE TABLE shared (x INTEGER)");
    exec(db, "INSERT INTO shared VALUES (5)");
    ASSERT_EQ(1, copy.RunTextQuery("SELECT x FROM shared"));
    EXPECT_EQ(5, copy.GetIntField("x"));

    MyADO assigned;
    assigned = copy;
    assigned = assigned; // self-assignment keeps everything
    ASSERT_EQ(1, assigned.RunTextQuery("SELECT count(*) AS num FROM shared"));
    EXPECT_EQ(1, assigned.GetIntField("num"));
}

TEST_F(OdbcSession, AFailedFirstConnectionIsSilentAndALaterOneReports)
{
    const auto unreachable = (m_folder / "no" / "such" / "folder" / "x.db").string();
    for (const bool tried : {false, true}) {
        MyADO db;
        EXPECT_EQ(0, tried ? db.SetDataSource("localhost", "staff", "secret", unreachable.c_str()) : 0);
        // Every call reads as a failure and shows nothing.
        EXPECT_EQ(0, db.IsConnected());
        EXPECT_EQ(0, db.RunStoredProcedure("uspLoadSubject"));
        EXPECT_EQ(0, db.RunTextQuery("SELECT 1 AS n"));
        EXPECT_NE(0, db.IsEOF());
        db.MoveNext();
        db.BindIntParam("@id", 1);
        db.RemoveParams();
        EXPECT_EQ("", db.GetStringField("n"));
        EXPECT_EQ(-1, db.GetIntField("n"));
        EXPECT_EQ(-1.0f, db.GetFloatField("n"));
        EXPECT_TRUE(m_errors.all.empty()) << m_errors.text();
    }
    // A connected session that fails to connect again says so, and stays connected.
    MyADO db;
    ASSERT_TRUE(connect(db));
    EXPECT_EQ(0, db.SetDataSource("localhost", "staff", "secret", unreachable.c_str()));
    EXPECT_EQ(1, db.IsConnected());
    ASSERT_FALSE(m_errors.all.empty());
    EXPECT_EQ(dalport::ReportedError::Kind::Com, m_errors.all.back().kind);
    EXPECT_EQ(0u, m_errors.all.back().text.rfind("Error\n80004005Unspecified error", 0));
}

} // namespace
