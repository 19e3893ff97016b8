// T-SQL text as the program sends it, run with SQL Server's meaning.

#include "TestServer.h"

#include "dalport/Clock.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

class TextQuery : public ::testing::Test {
protected:
    void SetUp() override
    {
        dalport::SetFixedClock("2009-03-07 10:30:00");
        connect(db, server, kAdmin, kAdminPassword);
        const char* rows[] = {
            "INSERT INTO subjects(subjectid, lastname, firstname, birthdate, status, sex, race, sent, returned, unit, "
            "patimpression) VALUES (1, 'Smith', 'Anna', '12/31/1990', 0, 'Female', 'White', '1/15/2009', "
            "'01/01/1901', 1001, 'Cochlear Implant')",
            "INSERT INTO subjects(subjectid, lastname, firstname, birthdate, status, sex, race, sent, returned, unit) "
            "VALUES (2, 'O''Brien', 'Liam', '2000-06-15', 0, 'Male', 'White ', '2/1/2009', '2/20/2009', 1002)",
            "INSERT INTO subjects(subjectid, lastname, firstname, birthdate, status, sex, race, unit) "
            "VALUES (3, 'smith', 'Bob', '3-7-1950 08:15', 1, 'male', 'Black', 1003)",
            "INSERT INTO subjects(subjectid, lastname, firstname, birthdate, status, unit) "
            "VALUES (4, 'Young', 'Zoe', '', 0, 1004)",
        };
        for (const char* sql : rows)
            ASSERT_EQ(db.RunTextQuery(sql), 1) << sql;
    }
    void TearDown() override { dalport::ResetClock(); }

    TestServer server;
    MyADO db;
    Boxes boxes;
};

TEST_F(TextQuery, DateDiffCountsBoundariesAsSqlServerDoes)
{
    EXPECT_EQ(scalar(db, "select datediff(yy, '12/31/2008', '1/1/2009') as v"), "1");
    EXPECT_EQ(scalar(db, "select DATEDIFF(mm, '1/31/2009', '2/1/2009') as v"), "1");
    EXPECT_EQ(scalar(db, "select datediff(dd, '2009-03-07 23:59', '2009-03-08 00:00') as v"), "1");
    EXPECT_EQ(scalar(db, "select datediff(d, '3/8/2009', '3/7/2009') as v"), "-1");
    EXPECT_EQ(scalar(db, "select datediff(year, '1/1/2009', '12/31/2009') as v"), "0");
    EXPECT_EQ(scalar(db, "select DateDiff(month, birthdate, getdate()) as v from subjects where subjectid = 1"), "219");
    // Ages as the reports compute them: years between birth year and this year.
    EXPECT_EQ(column(db, "select subjectid from subjects where datediff(yy,birthdate, GetDate()) < 19 order by subjectid",
                     "subjectid"),
              (std::vector<std::string>{"2"}));
}

TEST_F(TextQuery, ConvertStyle101GivesPaddedMonthDayYearAndKeepsNull)
{
    EXPECT_EQ(scalar(db, "select CONVERT(char, birthdate, 101) as v from subjects where subjectid = 1"), "12/31/1990");
    // char(30): the text is padded with blanks to 30 characters.
    EXPECT_EQ(scalar(db, "select Convert(char,birthdate,101)+'|' as v from subjects where subjectid = 2"),
              "06/15/2000                    |");
    EXPECT_EQ(scalar(db, "select CONVERT(char, sent, 101) as v from subjects where subjectid = 3"), "");
    EXPECT_EQ(scalar(db, "select isnull(CONVERT(char, sent, 101), 'null') as v from subjects where subjectid = 3"), "null");
    // The empty date '' was stored as 1900-01-01, which reads back as "".
    EXPECT_EQ(scalar(db, "select CONVERT(char, birthdate, 101) as v from subjects where subjectid = 4"), "");
    EXPECT_EQ(scalar(db, "select CONVERT(char, birthdate, 101)+'' as v from subjects where subjectid = 4"), "");
    EXPECT_EQ(scalar(db, "select convert(char,birthdate,101)as v from subjects where subjectid = 3"), "03/07/1950");
}

TEST_F(TextQuery, DateLiteralsCompareWithDateColumnsAsDates)
{
    // As text '3/7/2009' would sort after '12/...'; as dates it does not.
    EXPECT_EQ(column(db, "Select count(distinct subjectid) as num from subjects where Sent between '1/1/2009' and '1/31/2009' ", "num"),
              (std::vector<std::string>{"1"}));
    EXPECT_EQ(column(db, "select subjectid from subjects where Returned != '01/01/1901' and returned > '2/1/2009' order by subjectid",
                     "subjectid"),
              (std::vector<std::string>{"2"}));
    EXPECT_EQ(column(db, "select subjectid from subjects where '12/1/1999' < birthdate order by subjectid", "subjectid"),
              (std::vector<std::string>{"2"}));
    EXPECT_EQ(column(db, "select subjectid from subjects where birthdate in ('12/31/1990', '2000-06-15') order by subjectid",
                     "subjectid"),
              (std::vector<std::string>{"1", "2"}));
}

TEST_F(TextQuery, BadDatesFailWithSqlServerErrors)
{
    EXPECT_EQ(db.RunTextQuery("select subjectid from subjects where birthdate = 'not a date'"), 0);
    ASSERT_FALSE(boxes.provider().empty());
    EXPECT_EQ(boxes.provider().back().number, 241);
    EXPECT_EQ(boxes.provider().back().message, "Conversion failed when converting date and/or time from character string.");
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("update subjects set sent = '2/30/2005' where subjectid = 1"), 0);
    ASSERT_FALSE(boxes.provider().empty());
    EXPECT_EQ(boxes.provider().back().number, 242);
    EXPECT_EQ(boxes.provider().back().message,
              "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value.");
}

TEST_F(TextQuery, TopAndDistinctTop)
{
    EXPECT_EQ(column(db, "select top 2 subjectid from subjects order by subjectid desc", "subjectid"),
              (std::vector<std::string>{"4", "3"}));
    EXPECT_EQ(column(db, "SELECT DISTINCT TOP 300 LastName AS Last FROM subjects WHERE status = 0 order by Lastname ", "Last"),
              (std::vector<std::string>{"O'Brien", "Smith", "Young"}));
    // TOP inside a subquery applies to the subquery only.
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where subjectid in (select top 1 subjectid from subjects order by subjectid)"),
              "1");
}

TEST_F(TextQuery, NumbersRunIntoKeywords)
{
    EXPECT_EQ(column(db, "select subjectid from subjects where DATEDIFF(d, birthdate,getdate()) >= 19*365.25and status = 0 order by subjectid",
                     "subjectid"),
              (std::vector<std::string>{"4"}));
    EXPECT_EQ(column(db, "select sex, count(sex) as num from subjects where status=0group by sex order by sex", "num"),
              (std::vector<std::string>{"1", "1", "1"}));
    EXPECT_EQ(column(db, "SELECT DISTINCT TOP 300 lastname AS Last FROM subjects WHERE unit = 1001order by Lastname ", "Last"),
              (std::vector<std::string>{"Smith"}));
}

TEST_F(TextQuery, TextComparesIgnoringCaseAndTrailingBlanks)
{
    EXPECT_EQ(column(db, "select subjectid from subjects where lastname = 'SMITH' order by subjectid", "subjectid"),
              (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where race = 'white'"), "2");
    EXPECT_EQ(column(db, "select race, count(race) as num from subjects group by race order by race", "num"),
              (std::vector<std::string>{"1", "1", "2"}));
    EXPECT_EQ(scalar(db, "SELECT subjectid as v from subjects where firstname like 'an%' and lastname like 'smi%'"), "1");
}

TEST_F(TextQuery, TextsCompareAsSqlServerDoesWhereNoColumnLendsACollation)
{
    EXPECT_EQ(scalar(db, "select case when 'abc' = 'ABC  ' then 1 else 0 end as v"), "1");
    EXPECT_EQ(scalar(db, "select case when 'b' in ('a', 'B ') then 1 else 0 end as v"), "1");
    EXPECT_EQ(scalar(db, "select case when 'abd' > 'ABC' then 1 else 0 end as v"), "1");
    // CONVERT's char(30) keeps its padding; the comparison ignores it.
    EXPECT_EQ(scalar(db, "select subjectid as v from subjects where CONVERT(char, birthdate, 101) = '12/31/1990'"),
              "1");
    EXPECT_EQ(column(db, "select subjectid from subjects where rtrim(lastname) = 'smith' order by subjectid",
                     "subjectid"),
              (std::vector<std::string>{"1", "3"}));
}

TEST_F(TextQuery, ApostropheInsideALiteral)
{
    EXPECT_EQ(scalar(db, "select subjectid as v from subjects where lastname = 'O''Brien'"), "2");
    ASSERT_EQ(db.RunTextQuery("update subjects set firstname = 'D''Arcy' where subjectid = 4"), 1);
    EXPECT_EQ(scalar(db, "select firstname as v from subjects where subjectid = 4"), "D'Arcy");
}

TEST_F(TextQuery, TextComparedWithNumberColumnConverts)
{
    EXPECT_EQ(scalar(db, "select subjectid as v from subjects where unit = '1003'"), "3");
}

TEST_F(TextQuery, BracketedNamesAndThreePartNames)
{
    ASSERT_EQ(db.RunTextQuery("insert into Aud.dbo.info(PatientIndex, PatientNum, [Date], Birthdate, Lastname) "
                              "values (7, 1001, '3/1/2009', '12/31/1990', 'Smith')"),
              1);
    EXPECT_EQ(scalar(db, "SELECT CONVERT(char, Info.[Date], 101) AS v FROM Aud.dbo.Info WHERE (Info.PatientIndex = 7)"),
              "03/01/2009");
    MyADO aud;
    connect(aud, server, kAdmin, kAdminPassword, "Aud");
    EXPECT_EQ(aud.RunTextQuery("Update info set Velmar = 'Yes' where patientnum = 1001 and Birthdate = '12/31/1990' "), 1);
    EXPECT_EQ(scalar(aud, "Select patientindex as v from info WHERE date > '2/28/2009' AND patientnum = 1001 "), "7");
    EXPECT_EQ(scalar(aud, "select Velmar as v from [info]"), "Yes");
    EXPECT_EQ(scalar(aud, "select count(*) as v from Quorin.dbo.subjects"), "4");
}

TEST_F(TextQuery, CatalogueViewsAndIfExists)
{
    EXPECT_EQ(scalar(db, "SELECT [name] AS v FROM sys.server_principals WHERE [name] = 'JDOE'"), "jdoe");
    EXPECT_EQ(scalar(db, "SELECT count(*) AS v FROM sys.database_principals WHERE [name] = 'QuorinAdmin'"), "1");
    EXPECT_EQ(scalar(db, "SELECT count(*) AS v FROM sys.schemas WHERE [name] = 'dbo'"), "1");
    ASSERT_EQ(db.RunTextQuery("IF NOT EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'newbie') "
                              "CREATE LOGIN newbie with Password = 'plain-phrase', CHECK_POLICY = Off"),
              1);
    // Running it again does nothing, since the login exists now.
    ASSERT_EQ(db.RunTextQuery("IF NOT EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'newbie') "
                              "CREATE LOGIN newbie with Password = 'plain-phrase', CHECK_POLICY = Off"),
              1);
    EXPECT_TRUE(boxes.all.empty());
    ASSERT_EQ(db.RunTextQuery("IF EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'nobody') DROP LOGIN nobody"), 1);
    // The password hash is never readable through a query.
    EXPECT_EQ(db.RunTextQuery("select password_hash from master.logins"), 0);
}

TEST_F(TextQuery, GetDateReadsTheClock)
{
    EXPECT_EQ(scalar(db, "select convert(char, getdate(), 101) as v"), "03/07/2009");
    dalport::SetFixedClock("12/25/2010 08:00");
    EXPECT_EQ(scalar(db, "select convert(char, GETDATE(), 101) as v"), "12/25/2010");
}

TEST_F(TextQuery, UntranslatableTextIsASyntaxErrorNotAnotherMeaning)
{
    struct Case { const char* sql; long number; const char* message; };
    const Case cases[] = {
        {"selec * from subjects", 102, "Incorrect syntax near 'selec'."},
        {"select * from subjects where", 102, "Incorrect syntax near the end of the statement."},
        {"select date('now') as v", 195, "'date' is not a recognized built-in function name."},
        {"select * from nosuchtable", 208, "Invalid object name 'nosuchtable'."},
        {"select nosuchcolumn from subjects", 207, "Invalid column name 'nosuchcolumn'."},
        {"select \"lastname2\" from subjects", 207, "Invalid column name 'lastname2'."},
        {"PRAGMA table_info(subjects)", 102, "Incorrect syntax near 'PRAGMA'."},
        {"ATTACH DATABASE 'x' AS y", 102, "Incorrect syntax near 'ATTACH'."},
        {"select 'abc", 105, "Unclosed quotation mark after the character string 'abc'."},
    };
    for (const Case& c : cases) {
        boxes.clear();
        EXPECT_EQ(db.RunTextQuery(c.sql), 0) << c.sql;
        ASSERT_FALSE(boxes.provider().empty()) << c.sql;
        EXPECT_EQ(boxes.provider().front().number, c.number) << c.sql;
        EXPECT_EQ(boxes.provider().front().message, c.message) << c.sql;
    }
}

TEST_F(TextQuery, InsertWithoutColumnListTypesDatesByPosition)
{
    ASSERT_EQ(db.RunTextQuery("Insert into CiDevice values(1, 'Left','3/7/2009', 54)"), 1);
    ASSERT_EQ(db.RunTextQuery("Insert into CiDevice values(1, 'Right','', 0)"), 1);
    EXPECT_EQ(column(db, "select CONVERT(char,SurgDate,101) as SurgDate from cidevice where subjectid = 1 order by Ear", "SurgDate"),
              (std::vector<std::string>{"03/07/2009", ""}));
    EXPECT_EQ(scalar(db, "Delete from cidevice where subjectid = 1"), "<none>");
    EXPECT_EQ(scalar(db, "select count(*) as v from cidevice"), "0");
}

TEST_F(TextQuery, KeywordsInAnyCaseAndCountWithBlank)
{
    EXPECT_EQ(scalar(db, "SeLeCt  count (*) AS num FROM subjects WHERE status = 0", "num"), "3");
    EXPECT_EQ(scalar(db, "select count(*)as num from release where title = 'x' and irb = 'y' ", "num"), "0");
}

TEST_F(TextQuery, ADateColumnReadsBackAsADate)
{
    // Without CONVERT the column arrives as a date and reads as the platform writes it.
    const std::string birth = scalar(db, "select birthdate as v from subjects where subjectid = 1");
    EXPECT_NE(birth.find("1990"), std::string::npos) << birth;
}

} // namespace
