// MyADO through the real driver manager and driver: sessions, parameters and copies; typed
// fields and their failures; and the whole results a tool reads, typed, with changed rows.

#include "support/ErrorRecorder.h"
#include "support/WholeResultReader.h"
#include "dalport/MyADO.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class OdbcSession : public ::testing::Test {
protected:
    // The SQLite driver registered as "SQL Server", so the program's connection string meets a real driver.
    static void SetUpTestSuite()
    {
        const auto dir = std::filesystem::temp_directory_path() / ("quorin-odbcinst-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "odbcinst.ini") << "[SQL Server]\nDescription=SQLite3 standing in for SQL Server\n"
                                               "Driver=libsqlite3odbc.so\nUsageCount=1\n";
        std::ofstream(dir / "odbc.ini") << "";
        ::setenv("ODBCSYSINI", dir.c_str(), 1);
        ::setenv("ODBCINSTINI", "odbcinst.ini", 1);
        ::setenv("ODBCINI", (dir / "odbc.ini").c_str(), 1);
    }

    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() / ("quorin-odbc-" + std::to_string(::getpid()) + "-"
                   + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_database = (m_folder / "registry.db").string();
    }

    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // connect: a session on this test's database; exec: a set-up statement that must succeed.
    bool connect(MyADO& db) { return db.SetDataSource("localhost", "staff", "secret", m_database.c_str()) == 1; }

    void exec(MyADO& db, const char* sql)
    {
        ASSERT_EQ(1, db.RunTextQuery(sql)) << sql << ::testing::PrintToString(m_errors.texts());
        db.RemoveParams();
    }

    std::filesystem::path m_folder;
    std::string m_database;
    ErrorRecorder m_errors;
};

using dalport::Value;

TEST_F(OdbcSession, ConnectsThroughTheSqlServerDriverNameWalksRowsAndCallsProcedures)
{
    MyADO db;
    ASSERT_TRUE(connect(db));
    exec(db, "CREATE TABLE t (n INTEGER, name TEXT)");
    // An empty result is at its end at once (a change too: OdbcBatchResults).
    ASSERT_EQ(1, db.RunTextQuery("SELECT * FROM t"));
    EXPECT_EQ(-1, db.IsEOF());
    exec(db, "INSERT INTO t VALUES (1, 'Ølstrøm-Müller'), (2, 'O''Brien'), (3, '')");
    ASSERT_EQ(1, db.RunTextQuery("SELECT n, name FROM t ORDER BY n"));
    std::vector<std::string> seen;
    for (; db.IsEOF() == 0; db.MoveNext())
        seen.push_back(std::to_string(db.GetIntField("n")) + " " + db.GetStringField("name"));
    EXPECT_EQ((std::vector<std::string>{"1 Ølstrøm-Müller", "2 O'Brien", "3 "}), seen);
    EXPECT_TRUE(m_errors.all.empty()) << m_errors.text();
    // A procedure goes out as an ODBC call, which SQLite's driver refuses: provider's box first.
    db.BindIntParam("@id", 3);
    EXPECT_EQ(0, db.RunStoredProcedure("uspLoadSubjectbyId"));
    ASSERT_GE(m_errors.all.size(), 2u);
    EXPECT_EQ(dalport::ReportedError::Kind::Provider, m_errors.all.front().kind);
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
    copy.BindIntParam("@n", 41); // bound on the copy, used by the original
    ASSERT_EQ(1, db.RunTextQuery("SELECT ? + 1 AS n"));
    EXPECT_EQ(42, db.GetIntField("n"));
    exec(copy, "CREATE TABLE shared (x INTEGER)");
    exec(db, "INSERT INTO shared VALUES (5)");
    MyADO assigned;
    assigned = copy;
    assigned = assigned; // self-assignment keeps everything
    ASSERT_EQ(1, assigned.RunTextQuery("SELECT x FROM shared"));
    EXPECT_EQ(5, assigned.GetIntField("x"));
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

class FieldRead : public OdbcSession {
protected:
    void SetUp() override
    {
        OdbcSession::SetUp();
        ASSERT_TRUE(connect(db));
        exec(db, "CREATE TABLE r (txt TEXT, padded CHAR(12), n INTEGER, x REAL, empty TEXT, nonum INTEGER)");
        exec(db, "INSERT INTO r VALUES ('01/01/1900', 'Smith   ', 42, 3.5, NULL, NULL)");
        ASSERT_EQ(1, db.RunTextQuery("SELECT * FROM r"));
    }

    MyADO db;
};

TEST_F(FieldRead, EachReadConvertsOrReportsWithItsBox)
{
    const std::string mismatch = "Error\n80020005Type mismatch.";
    const std::string notFound = "Error\n800a0cc1Unknown error 0x800A0CC1ADODB.Fields"
                                 "Item cannot be found in the collection corresponding to the requested name or ordinal.";
    // A column read as 's'tring, 'i'nt or 'f'loat; the value and the box it shows ("": none).
    const struct { const char* column; char as; const char* value; std::string box; } reads[] = {
        // Texts lose their trailing blanks, the empty date reads as "", column names
        // match without regard to case, and NULL text is silently empty.
        {"padded", 's', "Smith", ""}, {"PADDED", 's', "Smith", ""}, {"txt", 's', "", ""}, {"empty", 's', "", ""},
        // Numbers read as text and as other numbers (ValueConversion has the rules).
        {"n", 's', "42", ""}, {"x", 's', "3.5", ""}, {"N", 'i', "42", ""}, {"n", 'f', "42", ""},
        // A NULL number is a type mismatch; an unknown column is not found; each gives
        // the failure value and one box.
        {"nonum", 'i', "-1", mismatch}, {"empty", 'f', "-1", mismatch},
        {"Lastname", 's', "", notFound}, {"Lastname", 'i', "-1", notFound}, {"Lastname", 'f', "-1", notFound},
    };
    for (const auto& r : reads) {
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

class OdbcBatchResults : public OdbcSession {
protected:
    void SetUp() override
    {
        OdbcSession::SetUp();
        ASSERT_TRUE(connect(db));
        exec(db, "CREATE TABLE subjects (SubjectId INTEGER, Lastname TEXT, Birthdate DATETIME, Status INTEGER)");
        exec(db, "INSERT INTO subjects VALUES (1, 'Smith', '1990-12-31 00:00:00.000', 0), (2, NULL, NULL, 0)");
    }

    WholeResultReader db;
};

TEST_F(OdbcBatchResults, AResultCarriesTypedValuesWithNullApartAChangeCountsItsRowsAndTheWalkIsAsItWas)
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
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(Value::Kind::Int, rows[0][0].kind);
    EXPECT_EQ(Value::Kind::Text, rows[0][1].kind);
    EXPECT_EQ("Smith", rows[0][1].s);
    EXPECT_EQ(Value::Kind::DateTime, rows[0][2].kind);
    EXPECT_EQ(0u, rows[0][2].s.rfind("1990-12-31", 0)) << rows[0][2].s;
    // NULL is told from an empty text and from a date.
    EXPECT_TRUE(rows[1][1].isNull());
    EXPECT_TRUE(rows[1][2].isNull());
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
    // A change counts its rows, none ("no data" from the driver) as 0, and is at its end.
    m_errors.clear();
    ASSERT_EQ(1, db.RunTextQuery("UPDATE subjects SET Status = 2 WHERE Status = 0"));
    ASSERT_EQ(1, db.GetResultCount());
    ASSERT_EQ(1, db.SelectResult(0));
    EXPECT_TRUE(db.GetColumnNames().empty());
    EXPECT_EQ(2, db.GetRowsAffected());
    ASSERT_EQ(1, db.RunTextQuery("DELETE FROM subjects WHERE SubjectId = 99"));
    ASSERT_EQ(1, db.GetResultCount());
    EXPECT_EQ(0, db.GetRowsAffected());
    EXPECT_EQ(-1, db.IsEOF());
    EXPECT_TRUE(m_errors.all.empty()) << m_errors.text();
}

} // namespace
