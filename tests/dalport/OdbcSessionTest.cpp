// Connecting, running statements, walking results and sharing a session between copies.

#include "OdbcFixture.h"

namespace {

using OdbcSession = OdbcFixture;

TEST_F(OdbcSession, ConnectsThroughTheSqlServerDriverName)
{
    MyADO db;
    EXPECT_EQ(0, db.IsConnected());
    ASSERT_TRUE(connect(db));
    EXPECT_EQ(1, db.IsConnected());
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(OdbcSession, EmptyResultIsAtEndRightAfterTheRun)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    exec(db, "CREATE TABLE subjects (SubjectId INTEGER, Lastname TEXT)");
    ASSERT_EQ(1, db.RunTextQuery("SELECT * FROM subjects"));
    EXPECT_EQ(-1, db.IsEOF());
}

TEST_F(OdbcSession, WalksEveryRowForwardInOrder)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    exec(db, "CREATE TABLE t (n INTEGER)");
    exec(db, "INSERT INTO t VALUES (1),(2),(3)");
    ASSERT_EQ(1, db.RunTextQuery("SELECT n FROM t ORDER BY n"));
    std::vector<int> seen;
    while (db.IsEOF() == 0) {
        seen.push_back(db.GetIntField("n"));
        db.MoveNext();
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3}), seen);
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(OdbcSession, ParametersAccumulateUntilRemoved)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    db.BindIntParam("@first", 7);
    ASSERT_EQ(1, db.RunTextQuery("SELECT ? AS a"));
    EXPECT_EQ(7, db.GetIntField("a"));

    // Without RemoveParams the first statement's parameter stays at the head.
    db.BindIntParam("@second", 9);
    ASSERT_EQ(1, db.RunTextQuery("SELECT ? AS a, ? AS b"));
    EXPECT_EQ(7, db.GetIntField("a"));
    EXPECT_EQ(9, db.GetIntField("b"));

    db.RemoveParams();
    db.RemoveParams(); // on an empty list: nothing happens
    db.BindStringParam("@third", "x");
    ASSERT_EQ(1, db.RunTextQuery("SELECT ? AS a"));
    EXPECT_EQ("x", db.GetStringField("a"));
}

TEST_F(OdbcSession, ParametersAreBoundByPositionNotByName)
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

TEST_F(OdbcSession, EmptyStringParameterBindsAsAnEmptyText)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    db.BindStringParam("@name", "");
    db.BindStringParam("@name2", "");
    ASSERT_EQ(1, db.RunTextQuery("SELECT ? AS v, length(?) AS n")) << ::testing::PrintToString(m_errors.texts());
    EXPECT_EQ("", db.GetStringField("v"));
    EXPECT_EQ(0, db.GetIntField("n"));
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(OdbcSession, TextsTravelAsUnicode)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    exec(db, "CREATE TABLE names (n TEXT)");
    db.BindStringParam("@n", "Ølstrøm-Müller O'Brien");
    ASSERT_EQ(1, db.RunTextQuery("INSERT INTO names VALUES (?)"));
    db.RemoveParams();
    ASSERT_EQ(1, db.RunTextQuery("SELECT n FROM names"));
    EXPECT_EQ("Ølstrøm-Müller O'Brien", db.GetStringField("n"));
}

TEST_F(OdbcSession, StatementWithoutResultReadsAsEmpty)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    exec(db, "CREATE TABLE t (n INTEGER)");
    ASSERT_EQ(1, db.RunTextQuery("INSERT INTO t VALUES (1)"));
    EXPECT_NE(0, db.IsEOF());
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(OdbcSession, FailedFirstConnectionShowsNothingAndReadsFailureValues)
{
    MyADO db;
    const auto unreachable = (m_folder / "no" / "such" / "folder" / "x.db").string();
    EXPECT_EQ(0, db.SetDataSource("localhost", "staff", "secret", unreachable.c_str()));
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
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(OdbcSession, NeverConnectedSessionIsSilent)
{
    MyADO db;
    EXPECT_EQ(0, db.RunTextQuery("SELECT 1"));
    EXPECT_NE(0, db.IsEOF());
    db.MoveNext();
    db.BindStringParam("@x", "y");
    EXPECT_EQ("", db.GetStringField("x"));
    EXPECT_TRUE(m_errors.boxes.empty());
}

TEST_F(OdbcSession, SecondFailingConnectionOnAConnectedSessionReports)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    const auto unreachable = (m_folder / "missing" / "x.db").string();
    EXPECT_EQ(0, db.SetDataSource("localhost", "staff", "secret", unreachable.c_str()));
    EXPECT_EQ(1, db.IsConnected()); // never reset once set
    ASSERT_FALSE(m_errors.boxes.empty());
    EXPECT_EQ(dalport::ReportedError::Kind::Com, m_errors.boxes.back().kind);
    EXPECT_EQ(0u, m_errors.boxes.back().text.rfind("Error\n80004005Unspecified error", 0));
}

TEST_F(OdbcSession, StoredProcedureGoesOutAsAnOdbcCall)
{
    // SQLite has no procedures: the driver refuses the call escape, and the refusal
    // arrives as the provider's error followed by the raised error.
    MyADO db;
    ASSERT_TRUE(connect(db));
    db.BindIntParam("@id", 3);
    EXPECT_EQ(0, db.RunStoredProcedure("uspLoadSubjectbyId"));
    ASSERT_GE(m_errors.boxes.size(), 2u);
    EXPECT_EQ(dalport::ReportedError::Kind::Provider, m_errors.boxes.front().kind);
    EXPECT_EQ(0u, m_errors.boxes.front().text.rfind("Error number: ", 0));
    EXPECT_EQ(dalport::ReportedError::Kind::Com, m_errors.boxes.back().kind);
}

} // namespace

#include "dalport/SessionObjects.h"

namespace {

// What a tool that prints whole results sees of a result's columns.
class ColumnReader : public MyADO {
public:
    std::vector<std::string> columns() const
    {
        return m_pRecordset && m_pRecordset->result ? m_pRecordset->result->columns() : std::vector<std::string>{};
    }
};

TEST_F(OdbcSession, ResultNamesItsColumnsInOrder)
{
    ColumnReader db;
    ASSERT_TRUE(connect(db));
    ASSERT_EQ(1, db.RunTextQuery("SELECT 1 AS SubjectId, 'x' AS Lastname, 2.5 AS score"));
    EXPECT_EQ((std::vector<std::string>{"SubjectId", "Lastname", "score"}), db.columns());
}

} // namespace
