// Names bound as SQL Server binds them: each to one column of its scope, or SQL Server's
// error; operators typed by what their operands are bound to.

#include "TestServer.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

class NameBinding : public ::testing::Test {
protected:
    void SetUp() override
    {
        MyADO admin;
        connect(admin, server, kAdmin, kAdminPassword);
        for (const char* sql :
             {"insert into subjects(subjectid, lastname, firstname, status, unit) values (1, 'Adams', 'Anna', 0, 1001)",
              "insert into subjects(subjectid, lastname, firstname, status, unit) values (2, 'Baker', 'Bob', 1, 1002)",
              "insert into subjects(subjectid, lastname, firstname, status, unit) values (3, 'Carter', 'Cy', 0, 1003)",
              "insert into CiDevice(SubjectId, Ear, AgeAtImplant) values (1, 'Left', 4)",
              "insert into CiDevice(SubjectId, Ear, AgeAtImplant) values (1, 'Right', 6)",
              "insert into CiDevice(SubjectId, Ear, AgeAtImplant) values (3, 'Left', 9)",
              "insert into pers(persid, username, status) values (1, 'jdoe', 7)"})
            ASSERT_EQ(admin.RunTextQuery(sql), 1) << sql;
        // The queries run as an ordinary staff member.
        connect(db, server, "jdoe", kStaffPassword);
        boxes.clear();
    }

    // The error a text fails with: number and message (0 and "" when it runs).
    std::pair<long, std::string> failure(const std::string& sql)
    {
        boxes.clear();
        if (db.RunTextQuery(sql.c_str()))
            return {0, ""};
        const auto p = boxes.provider();
        if (p.empty())
            return {-1, ""};
        return {p.back().number, p.back().message};
    }

    TestServer server;
    Boxes boxes;
    MyADO db;
};

TEST_F(NameBinding, UnknownNamesAreRefusedWithTheServersErrors)
{
    EXPECT_EQ(failure("SELECT Foo FROM subjects"), std::make_pair(207L, std::string("Invalid column name 'Foo'.")));
    EXPECT_EQ(failure("SELECT lastname FROM subjects WHERE nosuch = 1").first, 207);
    EXPECT_EQ(failure("SELECT s.Foo FROM subjects s").first, 207);
    EXPECT_EQ(failure("SELECT x.Foo FROM subjects s"),
              std::make_pair(4104L, std::string("The multi-part identifier \"x.Foo\" could not be bound.")));
    // An alias hides its table's name, as on SQL Server.
    EXPECT_EQ(failure("SELECT subjects.lastname FROM subjects s").first, 4104);
    EXPECT_EQ(failure("SELECT count(*) AS v FROM nosuchtable"),
              std::make_pair(208L, std::string("Invalid object name 'nosuchtable'.")));
    EXPECT_EQ(failure("SELECT count(*) AS v FROM nosuchdb.dbo.subjects").first, 911);
    // A table of another database is found only by naming that database.
    EXPECT_EQ(failure("SELECT count(*) AS v FROM info"), std::make_pair(208L, std::string("Invalid object name 'info'.")));
    EXPECT_EQ(failure("SELECT count(*) AS v FROM logins").first, 208);
    // Named so it is found; this login has no user there.
    EXPECT_EQ(failure("SELECT count(*) AS v FROM Aud.dbo.info").first, 916);
    EXPECT_EQ(failure("insert into subjects(nosuch) values (1)").first, 207);
    EXPECT_EQ(failure("update subjects set nosuch = 1").first, 207);
    EXPECT_EQ(failure("delete from subjects where nosuch = 1").first, 207);
    // A name the statement does not use is not checked by guessing: the unused table of
    // the database with such a column does not make it valid.
    EXPECT_EQ(failure("SELECT username FROM subjects").first, 207);
}

TEST_F(NameBinding, AColumnOfTwoTablesMustBeQualified)
{
    EXPECT_EQ(failure("SELECT subjectid FROM subjects s JOIN CiDevice c ON c.SubjectId = s.subjectid"),
              std::make_pair(209L, std::string("Ambiguous column name 'subjectid'.")));
    EXPECT_EQ(failure("SELECT count(*) AS v FROM subjects, pers WHERE status = 0").first, 209);
    // Qualified, or present in one table only, it binds.
    EXPECT_EQ(column(db, "SELECT s.subjectid AS id FROM subjects s JOIN CiDevice c ON c.SubjectId = s.subjectid "
                         "WHERE Ear = 'Right'",
                     "id"),
              (std::vector<std::string>{"1"}));
    EXPECT_EQ(scalar(db, "SELECT p.status AS v FROM subjects, pers p WHERE lastname = 'Adams'"), "7");
    // The column name a caller reads is the column's own, whatever the qualifier.
    EXPECT_EQ(column(db, "SELECT s.SubjectId FROM subjects s WHERE s.lastname = 'Baker'", "SubjectId"),
              (std::vector<std::string>{"2"}));
    EXPECT_EQ(column(db, "SELECT Lastname FROM dbo.subjects WHERE dbo.subjects.subjectid = 3", "Lastname"),
              (std::vector<std::string>{"Carter"}));
}

TEST_F(NameBinding, SubqueriesSeeTheirOwnTablesFirstThenTheOuterOnes)
{
    // Correlated: AgeAtImplant only in CiDevice, lastname only in the outer subjects.
    EXPECT_EQ(column(db, "SELECT lastname FROM subjects s WHERE EXISTS (SELECT 1 FROM CiDevice c "
                         "WHERE c.SubjectId = s.subjectid AND AgeAtImplant > 5) ORDER BY lastname",
                     "lastname"),
              (std::vector<std::string>{"Adams", "Carter"}));
    EXPECT_EQ(column(db, "SELECT lastname FROM subjects WHERE (SELECT count(*) FROM CiDevice "
                         "WHERE CiDevice.SubjectId = subjects.subjectid) = 2",
                     "lastname"),
              (std::vector<std::string>{"Adams"}));
    // subjectid exists in both: the inner table's wins, no ambiguity across scopes.
    EXPECT_EQ(scalar(db, "SELECT count(*) AS v FROM subjects WHERE subjectid IN (SELECT subjectid FROM CiDevice)"), "2");
    // A qualifier of the outer query that the inner one does not have is still bound.
    EXPECT_EQ(failure("SELECT lastname FROM subjects s WHERE EXISTS (SELECT 1 FROM CiDevice c WHERE q.x = 1)").first,
              4104);
}

TEST_F(NameBinding, DerivedTablesAndOrderByAliases)
{
    // A derived table exposes its select list's names, not its tables' columns.
    EXPECT_EQ(column(db, "SELECT d.who FROM (SELECT lastname AS who, status FROM subjects) d WHERE d.status = 0 "
                         "ORDER BY d.who DESC",
                     "who"),
              (std::vector<std::string>{"Carter", "Adams"}));
    EXPECT_EQ(failure("SELECT d.lastname FROM (SELECT lastname AS who FROM subjects) d").first, 207);
    EXPECT_EQ(scalar(db, "SELECT max(n) AS v FROM (SELECT count(*) AS n FROM CiDevice GROUP BY SubjectId) t"), "2");
    // Its typed columns keep their type: the text compared with a number is converted.
    EXPECT_EQ(scalar(db, "SELECT count(*) AS v FROM (SELECT subjectid AS id FROM subjects) t WHERE t.id > '1'"), "2");
    // ORDER BY sees the select list's aliases, and the columns besides.
    EXPECT_EQ(column(db, "SELECT lastname AS who, subjectid * 10 AS rank FROM subjects ORDER BY rank DESC", "who"),
              (std::vector<std::string>{"Carter", "Baker", "Adams"}));
    EXPECT_EQ(column(db, "SELECT lastname AS who FROM subjects ORDER BY firstname DESC", "who"),
              (std::vector<std::string>{"Carter", "Baker", "Adams"}));
    EXPECT_EQ(failure("SELECT lastname AS a, firstname AS a FROM subjects ORDER BY a").first, 209);
    // UNION: ordered by the result's columns.
    EXPECT_EQ(column(db, "SELECT lastname FROM subjects WHERE subjectid = 1 UNION SELECT username FROM pers "
                         "ORDER BY lastname DESC",
                     "lastname"),
              (std::vector<std::string>{"jdoe", "Adams"}));
}

TEST_F(NameBinding, PlusIsTypedByWhatItsOperandsAreBoundTo)
{
    EXPECT_EQ(scalar(db, "SELECT Lastname + Firstname AS v FROM subjects WHERE subjectid = 1"), "AdamsAnna");
    EXPECT_EQ(scalar(db, "SELECT SubjectId + 1 AS v FROM subjects WHERE subjectid = 1"), "2");
    EXPECT_EQ(scalar(db, "SELECT SubjectId + unit AS v FROM subjects WHERE subjectid = 2"), "1004");
    EXPECT_EQ(scalar(db, "SELECT SubjectId + '5' AS v FROM subjects WHERE subjectid = 2"), "7");
    EXPECT_EQ(scalar(db, "SELECT CASE WHEN status = 0 THEN 10 ELSE 20 END + 1 AS v FROM subjects WHERE subjectid = 2"),
              "21");
    EXPECT_EQ(scalar(db, "SELECT CASE status WHEN 0 THEN 'open' ELSE 'closed' END + '!' AS v FROM subjects "
                         "WHERE subjectid = 1"),
              "open!");
    // A text that is no number meets a number: SQL Server's conversion errors.
    EXPECT_EQ(failure("SELECT SubjectId + 'abc' AS v FROM subjects").first, 245);
    EXPECT_EQ(failure("SELECT SubjectId - 'abc' AS v FROM subjects").first, 245);
    EXPECT_EQ(failure("SELECT lastname - firstname AS v FROM subjects").first, 402);
    EXPECT_EQ(failure("SELECT count(*) AS v FROM subjects WHERE unit = 'x'").first, 245);
    // An expression without a name shows an empty heading, as on SQL Server.
    ASSERT_EQ(db.RunTextQuery("SELECT @@TRANCOUNT"), 1);
    EXPECT_EQ(scalar(db, "SELECT @@TRANCOUNT", ""), "0");
}

TEST_F(NameBinding, ReservedWordsAsNamesNeedBrackets)
{
    EXPECT_EQ(failure("SELECT select FROM subjects").first, 102);
    EXPECT_EQ(failure("SELECT lastname FROM subjects WHERE file = 1"),
              std::make_pair(156L, std::string("Incorrect syntax near the keyword 'file'.")));
    EXPECT_EQ(failure("SELECT [select] FROM subjects"), std::make_pair(207L, std::string("Invalid column name 'select'.")));
    EXPECT_EQ(failure("SELECT s.key FROM subjects s").first, 156);
    EXPECT_EQ(failure("SELECT s.[key] FROM subjects s").first, 207);
    EXPECT_EQ(failure("SELECT count(*) AS v FROM subjects AS [order] WHERE [order].status = 0").first, 0);
}

TEST_F(NameBinding, ThreePartNamesAndCatalogueViewsBindTheirColumns)
{
    MyADO admin;
    connect(admin, server, kAdmin, kAdminPassword);
    ASSERT_EQ(admin.RunTextQuery("insert into Aud.dbo.info(PatientIndex, PatientNum, [Date], Lastname) "
                                 "values (7, 1001, '3/7/2009', 'Adams')"),
              1);
    // Another database's table, its columns typed: the date literal is read as a date.
    EXPECT_EQ(scalar(admin, "SELECT count(*) AS v FROM Aud.dbo.info WHERE info.[Date] > '3/6/2009'"), "1");
    EXPECT_EQ(scalar(admin, "SELECT count(*) AS v FROM Aud.dbo.info i JOIN subjects s ON s.unit = i.PatientNum "
                            "WHERE Aud.dbo.info.Lastname = 'x'"),
              "<failed>");
    EXPECT_EQ(scalar(admin, "SELECT s.lastname AS v FROM Aud.dbo.info i JOIN subjects s ON s.unit = i.PatientNum "
                            "WHERE i.[Date] = '2009-03-07'"),
              "Adams");
    // Lastname is a column of both tables.
    EXPECT_EQ(failure("SELECT Lastname FROM Aud.dbo.info i JOIN subjects s ON s.unit = i.PatientNum").first, 209);
    EXPECT_EQ(scalar(db, "SELECT count(*) AS v FROM sys.database_principals p WHERE p.name = 'QuorinUser'"), "1");
    EXPECT_EQ(failure("SELECT count(*) AS v FROM sys.nosuchview").first, 208);
    EXPECT_EQ(failure("SELECT p.nosuch FROM sys.database_principals p").first, 207);
}

TEST_F(NameBinding, LeftAndRightAreFunctionsAndJoins)
{
    EXPECT_EQ(scalar(db, "SELECT LEFT(lastname, 3) AS v FROM subjects WHERE subjectid = 3"), "Car");
    EXPECT_EQ(scalar(db, "SELECT RIGHT(lastname, 3) AS v FROM subjects WHERE subjectid = 3"), "ter");
    EXPECT_EQ(scalar(db, "SELECT RIGHT(lastname, 0) AS v FROM subjects WHERE subjectid = 3"), "");
    EXPECT_EQ(scalar(db, "SELECT RIGHT(lastname, 40) AS v FROM subjects WHERE subjectid = 3"), "Carter");
    EXPECT_EQ(scalar(db, "SELECT LEFT(N'Müller', 2) + RIGHT(N'Müller', 4) AS v"), "Müller");
    EXPECT_EQ(failure("SELECT LEFT(lastname, -1) AS v FROM subjects"),
              std::make_pair(536L, std::string("Invalid length parameter passed to the left function.")));
    EXPECT_EQ(failure("SELECT RIGHT(lastname, -1) AS v FROM subjects").first, 536);
    // LEFT is still a join.
    EXPECT_EQ(scalar(db, "SELECT count(*) AS v FROM subjects s LEFT JOIN CiDevice c ON c.SubjectId = s.subjectid"), "4");
}

TEST_F(NameBinding, UserNamesTheSessionsDatabaseUser)
{
    EXPECT_EQ(scalar(db, "SELECT USER AS v"), "jdoe");
    EXPECT_EQ(scalar(db, "SELECT CURRENT_USER AS v"), "jdoe");
    EXPECT_EQ(scalar(db, "SELECT count(*) AS v FROM pers WHERE username = USER_NAME()"), "1");
    MyADO admin;
    connect(admin, server, kAdmin, kAdminPassword);
    EXPECT_EQ(scalar(admin, "SELECT USER AS v"), "dbo");
    // A column cannot be called user without brackets: the word is the function.
    EXPECT_EQ(failure("SELECT [user] FROM subjects").first, 207);
}

} // namespace
