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
        connect(admin, server, kAdmin, kAdminPassword);
        for (const char* sql : {"insert into subjects(subjectid, lastname, firstname, status, unit) values "
                                "(1, 'Adams', 'Anna', 0, 1001), (2, 'Baker', 'Bob', 1, 1002), (3, 'Carter', 'Cy', 0, 1003)",
                                "insert into CiDevice(SubjectId, Ear, AgeAtImplant) values (1, 'Left', 4), (1, 'Right', 6), "
                                "(3, 'Left', 9)",
                                "insert into pers(persid, username, status) values (1, 'jdoe', 7)"})
            ASSERT_EQ(admin.RunTextQuery(sql), 1) << sql;
        connect(db, server, "jdoe", kStaffPassword);
        boxes.clear();
    }
    void expect(const std::vector<Answer>& table) { expectAnswers(db, boxes, table); }

    TestServer server;
    Boxes boxes;
    MyADO admin;
    MyADO db;
};

TEST_F(NameBinding, UnknownNamesAreRefusedWithTheServersErrors)
{
    expect({
        {"SELECT Foo FROM subjects", "error 207: Invalid column name 'Foo'."},
        {"SELECT lastname FROM subjects WHERE nosuch = 1", "error 207"}, {"SELECT s.Foo FROM subjects s", "error 207"},
        {"SELECT x.Foo FROM subjects s", "error 4104: The multi-part identifier \"x.Foo\" could not be bound."},
        // An alias hides its table's name, as on SQL Server.
        {"SELECT subjects.lastname FROM subjects s", "error 4104"},
        {"SELECT count(*) AS v FROM nosuchtable", "error 208: Invalid object name 'nosuchtable'."},
        {"SELECT count(*) AS v FROM nosuchdb.dbo.subjects", "error 911"},
        // A table of another database is found only by naming that database.
        {"SELECT count(*) AS v FROM info", "error 208: Invalid object name 'info'."},
        {"SELECT count(*) AS v FROM logins", "error 208"},
        // Named so it is found; this login has no user there.
        {"SELECT count(*) AS v FROM Aud.dbo.info", "error 916"}, {"update Aud.dbo.info set Velmar = 'x'", "error 916"},
        {"insert into subjects(nosuch) values (1)", "error 207"}, {"update subjects set nosuch = 1", "error 207"},
        {"delete from subjects where nosuch = 1", "error 207"},
        // A column of a table the statement does not use is no column of it.
        {"SELECT username FROM subjects", "error 207"},
    });
}

TEST_F(NameBinding, EachNameBindsToOneColumnOfItsScopeAndTypesItsOperators)
{
    expect({
        // A column of two tables must be qualified; qualified, or in one table only, it binds.
        {"SELECT subjectid FROM subjects s JOIN CiDevice c ON c.SubjectId = s.subjectid",
         "error 209: Ambiguous column name 'subjectid'."},
        {"SELECT s.subjectid AS v FROM subjects s JOIN CiDevice c ON c.SubjectId = s.subjectid WHERE Ear = 'Right'",
         "1"},
        {"SELECT p.status AS v FROM subjects, pers p WHERE lastname = 'Adams'", "7"},
        // Subqueries see their own tables first, then the outer ones (AgeAtImplant only in
        // CiDevice, lastname only in subjects); subjectid of both binds to the inner one.
        {"SELECT lastname AS v FROM subjects s WHERE EXISTS (SELECT 1 FROM CiDevice c "
         "WHERE c.SubjectId = s.subjectid AND AgeAtImplant > 5) ORDER BY lastname", "Adams; Carter"},
        {"SELECT count(*) AS v FROM subjects WHERE subjectid IN (SELECT subjectid FROM CiDevice)", "2"},
        {"SELECT lastname FROM subjects s WHERE EXISTS (SELECT 1 FROM CiDevice c WHERE q.x = 1)", "error 4104"},
        // A derived table exposes its select list's names, typed, not its tables' columns.
        {"SELECT d.who AS v FROM (SELECT lastname AS who, status FROM subjects) d WHERE d.status = 0 "
         "ORDER BY d.who DESC", "Carter; Adams"},
        {"SELECT d.lastname FROM (SELECT lastname AS who FROM subjects) d", "error 207"},
        {"SELECT count(*) AS v FROM (SELECT subjectid AS id FROM subjects) t WHERE t.id > '1'", "2"},
        // ORDER BY sees the select list's aliases and the columns besides; a UNION is
        // ordered by the result's columns.
        {"SELECT lastname AS v, subjectid * 10 AS rank FROM subjects ORDER BY rank DESC", "Carter; Baker; Adams"},
        {"SELECT lastname AS v FROM subjects ORDER BY firstname DESC", "Carter; Baker; Adams"},
        {"SELECT lastname AS a, firstname AS a FROM subjects ORDER BY a", "error 209"},
        {"SELECT lastname AS v FROM subjects WHERE subjectid = 1 UNION SELECT username FROM pers ORDER BY v DESC",
         "jdoe; Adams"},
        // + and - are typed by what their operands are bound to.
        {"SELECT SubjectId + unit AS v FROM subjects WHERE subjectid = 2", "1004"},
        {"SELECT CASE status WHEN 0 THEN 'open' ELSE 'closed' END + '!' AS v FROM subjects WHERE subjectid = 1",
         "open!"},
        {"SELECT SubjectId - 'abc' AS v FROM subjects", "error 245"},
        // Reserved words are names only in brackets; USER is the session's database user.
        {"SELECT select FROM subjects", "error 102"},
        {"SELECT lastname FROM subjects WHERE file = 1", "error 156: Incorrect syntax near the keyword 'file'."},
        {"SELECT [select] FROM subjects", "error 207: Invalid column name 'select'."},
        {"SELECT s.key FROM subjects s", "error 156"}, {"SELECT s.[key] FROM subjects s", "error 207"},
        {"SELECT count(*) AS v FROM subjects AS [order] WHERE [order].status = 0", "2"},
        {"SELECT USER AS v", "jdoe"}, {"SELECT CURRENT_USER AS v", "jdoe"},
        {"SELECT count(*) AS v FROM pers WHERE username = USER_NAME()", "1"},
        {"SELECT count(*) AS v FROM sys.database_principals p WHERE p.name = 'QuorinUser'", "1"},
        {"SELECT count(*) AS v FROM sys.nosuchview", "error 208"},
        {"SELECT p.nosuch FROM sys.database_principals p", "error 207"},
    });
    // Another database's table binds its typed columns: the date literal is read as a date.
    expectAnswers(admin, boxes, {
        {"insert into Aud.dbo.info(PatientIndex, PatientNum, [Date], Lastname) values (7, 1001, '3/7/2009', 'Adams')",
         "done"},
        {"SELECT count(*) AS v FROM Aud.dbo.info WHERE info.[Date] > '3/6/2009'", "1"},
        {"SELECT s.lastname AS v FROM Aud.dbo.info i JOIN subjects s ON s.unit = i.PatientNum "
         "WHERE i.[Date] = '2009-03-07'", "Adams"},
        {"SELECT count(*) AS v FROM Aud.dbo.info i JOIN subjects s ON s.unit = i.PatientNum "
         "WHERE Aud.dbo.info.Lastname = 'x'", "error 4104"},
        {"SELECT USER AS v", "dbo"},
    });
    // A caller reads a column by its own name, whatever the qualifier; an expression has none.
    EXPECT_EQ(scalar(db, "SELECT s.SubjectId FROM subjects s WHERE s.lastname = 'Baker'", "SubjectId"), "2");
    EXPECT_EQ(scalar(db, "SELECT Lastname FROM dbo.subjects WHERE dbo.subjects.subjectid = 3", "Lastname"), "Carter");
    EXPECT_EQ(scalar(db, "SELECT @@TRANCOUNT", ""), "0");
}

TEST_F(NameBinding, LeftAndRightAreFunctionsAndJoins)
{
    expect({
        {"SELECT LEFT(lastname, 3) AS v FROM subjects WHERE subjectid = 3", "Car"},
        {"SELECT RIGHT(lastname, 3) AS v FROM subjects WHERE subjectid = 3", "ter"},
        {"SELECT RIGHT(lastname, 0) AS v FROM subjects WHERE subjectid = 3", ""},
        {"SELECT RIGHT(lastname, 40) AS v FROM subjects WHERE subjectid = 3", "Carter"},
        {"SELECT LEFT(N'Müller', 2) + RIGHT(N'Müller', 4) AS v", "Müller"},
        {"SELECT LEFT(lastname, -1) AS v FROM subjects",
         "error 536: Invalid length parameter passed to the left function."},
        {"SELECT RIGHT(lastname, -1) AS v FROM subjects", "error 536"},
        // LEFT is still a join.
        {"SELECT count(*) AS v FROM subjects s LEFT JOIN CiDevice c ON c.SubjectId = s.subjectid", "4"},
    });
}

} // namespace
