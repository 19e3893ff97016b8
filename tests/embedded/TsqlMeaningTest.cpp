// Statements whose meaning SQL Server defines and SQLite would read otherwise: patterns,
// the collation, typed operators, dates, conversions to the column's type, and SQL
// Server's errors instead of guesses; each a text and its rows, "done" or its error.

#include "TestServer.h"

#include "dalport/Clock.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

using namespace testing_embedded;

namespace {

class TsqlMeaning : public ::testing::Test {
protected:
    void SetUp() override
    {
        dalport::SetFixedClock("2009-03-07 10:30:00");
        connect(db, server, kAdmin, kAdminPassword);
        ASSERT_EQ(1, db.RunTextQuery("insert into subjects(subjectid, lastname, firstname, status) values "
                                     "(1, N'Adams', 'Anna', 0), (2, N'baker', 'Bob', 0), (3, N'Carter', 'Cy', 0), (4, N'Davis', "
                                     "'Dee', 0), (5, N'Öberg', 'Örjan', 0), (6, N'Olsen', 'Ole', 0), (7, N'Peters', 'Pia', 1), "
                                     "(8, N'Müller', 'Max', 1), (9, N'Zeller', 'Zoe', 1), (10, N'Abbot', 'Al', 1), (11, N'50% off', 'Sale', 1)"));
    }
    void TearDown() override { dalport::ResetClock(); }

    void expect(const std::vector<Answer>& table) { expectAnswers(db, boxes, table); }

    TestServer server;
    Boxes boxes;
    MyADO db;
};

TEST_F(TsqlMeaning, TextsCompareAndMatchPatternsIgnoringCaseAndTrailingBlanksButNotAccents)
{
    expect({
        {"select count(*) as v from subjects where lastname = 'MÜLLER'", "1"},
        {"select CASE WHEN 'muller' = 'müller' THEN 1 ELSE 0 END as v", "0"},
        {"select CASE WHEN 'abc' = 'ABC   ' THEN 1 ELSE 0 END as v", "1"},
        {"select case when 'abd' > 'ABC' then 1 else 0 end as v", "1"},
        {"select UPPER('müller') as v", "MÜLLER"}, {"select LOWER(N'ÀÉÎ Straße') as v", "àéî straße"},
        // Patterns have bracket classes, ranges and escapes.
        {"SELECT COUNT(*) as v FROM subjects WHERE Lastname LIKE '[A-C]%'", "4"},
        {"SELECT COUNT(*) as v FROM subjects WHERE Lastname NOT LIKE '[^A]%'", "2"},
        {"select lastname as v from subjects where lastname like '_ls__' ", "Olsen"},
        {"select lastname as v from subjects where lastname like '%[%]%'", "50% off"},
        {"select lastname as v from subjects where lastname like '%!% %' escape '!'", "50% off"},
        // Trailing blanks of the value do not prevent a match; the pattern's own are kept.
        {"select CASE WHEN 'abc ' LIKE 'abc' THEN 1 ELSE 0 END as v", "1"},
        {"select CASE WHEN 'abc' LIKE 'abc ' THEN 1 ELSE 0 END as v", "0"},
        // Accents count, case does not; an unclosed bracket matches nothing.
        {"select count(*) as v from subjects where lastname like 'MÜ%'", "1"},
        {"select count(*) as v from subjects where lastname like 'mu%'", "0"},
        {"select CASE WHEN 'a[' LIKE 'a[' THEN 1 ELSE 0 END as v", "0"},
        {"select CASE WHEN 'a-b' LIKE 'a[-]b' THEN 1 ELSE 0 END as v", "1"},
        {"select count(*) as v from subjects where lastname like 'a' escape 'xy'", "error 506"},
    });
}

TEST_F(TsqlMeaning, PlusAddsNumbersAndJoinsTexts)
{
    expect({
        {"SELECT TOP 1 Lastname + ', ' + Firstname as v FROM subjects order by subjectid", "Adams, Anna"},
        {"select subjectid + status as v from subjects where subjectid = 8", "9"},
        {"select subjectid + '10' as v from subjects where subjectid = 2", "12"},
        {"select 2 * 3 + 4 - 1 as v", "9"}, {"select 10 - 2 - 3 as v", "5"}, {"select 1 - -1 as v", "2"},
        {"select 'a' + 'b' + 'c' as v", "abc"}, {"select getdate() - 1 as v", "2009-03-06 10:30:00.000"},
        // A text that is no number, or a sum that overflows, fails as SQL Server fails.
        {"select 'abc' + 1 as v", "error 245"}, {"select subjectid + lastname as v from subjects", "error 245"},
        {"select 2147483647 + 1 as v", "error 8115"}, {"select 'a' - 'b' as v", "error 402"},
        // So does a date beyond datetime's range.
        {"select getdate() + 10000000000000000000000 as v", "error 8115"},
        {"select getdate() - 3000000 as v", "error 8115"}, {"select convert(datetime, 1e30) as v", "error 8115"},
        {"select datediff(dd, 9223372036854775807, getdate()) as v", "error 8115"},
    });
}

TEST_F(TsqlMeaning, ColumnsTakeAtMostTheirLengthInCharacters)
{
    expect({
        {"create table notes(id int, code char(3), name varchar(5), memo nvarchar(4))", "done"},
        // The longest values fit, counted in characters: 5 and 4 characters of 10 and 8 bytes.
        {"insert into notes values (1, 'abc', N'Müßig', N'üüüü')", "done"},
        {"select name + '|' + memo as v from notes", "Müßig|üüüü"},
        {"select len(name) * 10 + len(N'üü ') as v from notes", "52"},
        // Blanks beyond the length are cut, as SQL Server cuts them.
        {"insert into notes (id, name) values (2, 'abcde   ')", "done"},
        {"select name + '|' as v from notes where id = 2", "abcde|"},
        // One character more is refused, whatever the value comes from, and nothing changes.
        {"insert into notes (id, name) values (3, N'Müßige')",
         "error 2628: String or binary data would be truncated in table 'Quorin.dbo.notes', column 'name'. "
         "Truncated value: 'Müßig'."},
        {"insert into notes (id, memo) values (3, 'ab'), (4, 'abcde')", "error 2628"},
        {"update notes set code = name", "error 2628"},
        {"update notes set memo = (select top 1 lastname from subjects order by subjectid) where id = 1", "error 2628"},
        {"insert into notes (id, name) select subjectid, firstname + lastname from subjects", "error 2628"},
        {"insert into notes select subjectid, 'abc', lastname + firstname, null from subjects", "error 2628"},
        // An unbound parameter is NULL.
        {"update notes set name = ? where id = 1", "done"},
        {"select count(*) * 10 + count(name) as v from notes", "21"},
    });
}

TEST_F(TsqlMeaning, ValuesOfAnyOriginAreConvertedToTheirColumnsType)
{
    expect({
        // Text from a catalogue view, a subquery or a column refused by a number column.
        {"update subjects set status = (select top 1 lastname from subjects order by subjectid) where subjectid = 1",
         "error 245: Conversion failed when converting the varchar value 'Adams' to data type int."},
        {"update subjects set birthdate = lastname where subjectid = 2", "error 241"},
        {"update subjects set status = 3000000000 where subjectid = 2", "error 8115"},
        {"insert into cidevice (SubjectId) select name from sys.sql_logins", "error 245"},
        {"insert into cidevice (SubjectId, Ear) select lastname, 1 as Ear from subjects "
         "union select subjectid, 2 from subjects order by Ear", "error 245"},
        {"insert into cidevice (SubjectId, Ear) select * from (select lastname, 1 as e from subjects) d", "error 245"},
        {"insert into cidevice (SubjectId, Ear) select subjectid from subjects", "error 120"},
        {"select count(*) as v from cidevice", "0"},
        {"select sum(status) + count(birthdate) as v from subjects", "5"},
        // What converts is stored converted: numbers from text, dates from text and numbers.
        {"insert into cidevice (SubjectId, Ear, SurgDate, AgeAtImplant) select subjectid, subjectid, '3/7/2009', 2.9 "
         "from subjects where subjectid < 3 order by subjectid", "done"},
        {"select sum(SubjectId * AgeAtImplant) as v from cidevice", "6"},
        {"select convert(varchar, max(SurgDate), 121) + '|' + max(Ear) as v from cidevice", "2009-03-07 00:00:00.000|2"},
        {"update cidevice set AgeAtImplant = ' 12 ', SurgDate = 1 where SubjectId = 1", "done"},
        {"select convert(varchar, SurgDate, 121) + '/' + convert(varchar, AgeAtImplant) as v from cidevice "
         "where SubjectId = 1", "1900-01-02 00:00:00.000/12"},
        // Text compared with a number column converts to a number too; '' is 0, as the
        // program sends empty numbers.
        {"SELECT * FROM subjects WHERE SubjectId = 'abc'",
         "error 245: Conversion failed when converting the varchar value 'abc' to data type int."},
        {"SELECT * FROM subjects s WHERE s.SubjectId in ('1', 'x')", "error 245"},
        {"select lastname as v from subjects where subjectid = ' 3 '", "Carter"},
        {"select lastname as v from subjects s where s.subjectid between '2' and '2'", "baker"},
        {"select count(*) as v from subjects where status = ''", "6"},
        {"update subjects set unit = '' where subjectid = 1", "done"},
        {"select unit + 1 as v from subjects where subjectid = 1", "1"},
        {"insert into subjects(subjectid, lastname) values ('x', 'bad')", "error 245"},
    });
}

TEST_F(TsqlMeaning, DatesAreReadComparedAndShownAsSqlServerDoes)
{
    // The forms a us_english session reads, years of two digits turning at 2049, milliseconds
    // rounded to ticks; malformed is 241, out of range 242, in the stored form too.
    const std::pair<const char*, const char*> readings[] = {
        {"3/7/2009", "2009-03-07 00:00:00.000"}, {"03/07/2009 14:05", "2009-03-07 14:05:00.000"},
        {"2009-03-07", "2009-03-07 00:00:00.000"}, {"20090307", "2009-03-07 00:00:00.000"},
        {"2009-03-07T08:09:10.123", "2009-03-07 08:09:10.123"}, {"7 March 2009", "2009-03-07 00:00:00.000"},
        {"Mar 7 2009 2:05PM", "2009-03-07 14:05:00.000"}, {"12:00 AM", "1900-01-01 00:00:00.000"},
        {"", "1900-01-01 00:00:00.000"}, {"2/29/2008", "2008-02-29 00:00:00.000"},
        {"1/2/49", "2049-01-02 00:00:00.000"}, {"1/2/50", "1950-01-02 00:00:00.000"},
        {"2009-03-07 10:00:00.001", "2009-03-07 10:00:00.000"}, {"2009-03-07 10:00:00.005", "2009-03-07 10:00:00.007"},
        {"2009-12-31 23:59:59.999", "2010-01-01 00:00:00.000"},
        {"abc", "error 241: Conversion failed when converting date and/or time from character string."},
        {"2/30/2005", "error 242: The conversion of a varchar data type to a datetime data type resulted in an "
                      "out-of-range value."},
        {"3/7", "error 241"}, {"2009-03-07 25:00", "error 242"}, {"2005-01-01 00:00:00.0x0", "error 241"},
        {"1700-01-01 00:00:00.000", "error 242"}, {"2005-01-01 23:60:00.000", "error 242"},
    };
    std::vector<Answer> table;
    for (const auto& [text, expected] : readings)
        table.push_back({"select convert(char(23), convert(datetime, '" + std::string(text) + "'), 121) as v", expected});
    expect(table);
    expect({
        // DATEDIFF counts the boundaries between its dates.
        {"select datediff(yy, '12/31/2008', '1/1/2009') as v", "1"}, {"select DATEDIFF(mm, '1/31/2009', '2/1/2009') as v", "1"},
        {"select datediff(dd, '2009-03-07 23:59', '2009-03-08 00:00') as v", "1"},
        {"select DateDiff(month, '12/31/1990', getdate()) - datediff(d, '3/8/2009', '3/7/2009') as v", "220"},
        // Rows without a column list take their dates by position; a date column compares
        // with date literals as dates, which as texts would sort otherwise.
        {"insert into CiDevice values (1, 'Left', '12/31/1990', 54)", "done"},
        {"insert into CiDevice values (2, 'Right', '', 0)", "done"},
        {"insert into CiDevice values (3, 'Left', '2000-06-15', 9)", "done"},
        {"insert into CiDevice (SubjectId, Ear) values (4, 'None')", "done"},
        {"select SubjectId as v from CiDevice where '12/1/1999' < SurgDate", "3"},
        {"select SubjectId as v from CiDevice where SurgDate in ('12/31/1990', '2000-06-15') order by SubjectId",
         "1; 3"},
        {"select count(*) as v from CiDevice where SurgDate between '1/1/1990' and '1/31/1991'", "1"},
        {"select SurgDate as v from CiDevice where SurgDate = 'not a date'", "error 241"},
        {"update CiDevice set SurgDate = '2/30/2005' where SubjectId = 1", "error 242"},
        // Style 101 is char(30), padded, and keeps NULL; the empty date (1900-01-01) reads
        // as ""; a comparison ignores the padding.
        {"select convert(char, SurgDate, 101) as v from CiDevice order by SubjectId", "12/31/1990; ; 06/15/2000; "},
        {"select convert(char, SurgDate, 101) + '|' as v from CiDevice where SubjectId = 3",
         "06/15/2000                    |"},
        {"select isnull(convert(char, SurgDate, 101), 'null') as v from CiDevice where SubjectId = 4", "null"},
        {"select SubjectId as v from CiDevice where convert(char, SurgDate, 101) = '12/31/1990'", "1"},
        // CONVERT to text stays text; a date column reads as a date, as the platform shows it.
        {"select convert(varchar(10), SurgDate, 112) as v from CiDevice where SubjectId = 1", "19901231"},
        {"select SurgDate as v from CiDevice where SubjectId = 1", "12/31/1990"},
    });
    // GETDATE reads the one clock.
    dalport::SetFixedClock("12/25/2010 08:05:09");
    expect({{"select convert(char(23), GETDATE(), 121) as v", "2010-12-25 08:05:09.000"}});
    EXPECT_THROW(dalport::SetFixedClock("2/30/2005"), std::invalid_argument);
}

TEST_F(TsqlMeaning, EveryFailureCarriesAServerNumberAndNoStorageWording)
{
    // Texts SQLite would run with a meaning of its own, or refuse in its own words.
    const std::vector<Answer> failures = {
        {"selec * from subjects", "error 102: Incorrect syntax near 'selec'."},
        {"select * from subjects where", "error 102: Incorrect syntax near the end of the statement."},
        {"PRAGMA table_info(subjects)", "error 102: Incorrect syntax near 'PRAGMA'."},
        {"ATTACH DATABASE 'x' AS y", "error 102: Incorrect syntax near 'ATTACH'."},
        {"select 'abc", "error 105: Unclosed quotation mark after the character string 'abc'."},
        {"select * from user", "error 156: Incorrect syntax near the keyword 'user'."},
        {"select date('now') as v", "error 195: 'date' is not a recognized built-in function name."},
        {"select \"lastname2\" from subjects", "error 207: Invalid column name 'lastname2'."},
        {"insert into subjects(subjectid, lastname) values (1, 'again')", "error 2627"},
        {"insert into subjects(subjectid) values (1, 2)", "error 110"},
        {"select convert(char, getdate(), 999)", "error 281"}, {"select cast(1 as nosuchtype)", "error 243"},
        {"select datediff(fortnight, getdate(), getdate())", "error 155"}, {"select @undeclared", "error 137"},
        {"SELECT TOP 99999999999999999999 * FROM subjects", "error 8115"},
    };
    const char* storageWords[] = {"sqlite", "SQLITE", "no such", "syntax error", "datatype mismatch",
                                  "constraint failed", "near \"", "unrecognized", "misuse"};
    for (const Answer& failure : failures) {
        expectAnswers(db, boxes, {failure});
        ASSERT_EQ(boxes.provider().size(), 1u) << failure.sql;
        const std::string message = lastError(boxes).message;
        EXPECT_FALSE(message.empty()) << failure.sql;
        for (const char* w : storageWords)
            EXPECT_EQ(message.find(w), std::string::npos) << failure.sql << ": " << message;
    }
}

std::string chain(const std::string& term, const std::string& op, int terms)
{
    std::string out = term;
    for (int i = 1; i < terms; ++i)
        out += op + term;
    return out;
}

// Machine-made conditions can be very long; none may exhaust the engine's stack.
TEST_F(TsqlMeaning, LongOperatorChainsRunOrAreRefusedWith191)
{
    // ORs and ANDs of any length mean what they say.
    const std::string count = "select count(*) as v from subjects where ";
    EXPECT_EQ(scalar(db, count + chain("status = 9", " or ", 49999) + " or lastname = 'adams'"), "1");
    EXPECT_EQ(scalar(db, count + chain("status >= 0", " and ", 50000) + " and status = 1"), "5");
    EXPECT_EQ(scalar(db, "select " + chain("1", " + ", 20) + " as v"), "20");
    // Arithmetic goes step by step, each step's type depending on the one before: a chain
    // deeper than the engine can evaluate is refused as SQL Server refuses deep nesting.
    for (const std::string& sql : {"select " + chain("1", " + ", 50000) + " as v",
                                   "select " + chain("2", " * ", 50000) + " as v",
                                   "select " + chain("'a'", " + ", 50000) + " as v",
                                   "select " + chain("1", " + ", 100) + " as v",
                                   "select " + std::string(300, '(') + "1" + std::string(300, ')') + " as v"})
        EXPECT_EQ(answer(db, boxes, sql), "error 191") << sql.substr(0, 60);
    EXPECT_EQ(lastError(boxes).message,
              "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into smaller "
              "queries.");
    EXPECT_EQ(scalar(db, "select 1 as v"), "1");
}

int byteOrder(void*, int la, const void* a, int lb, const void* b)
{
    const int n = std::memcmp(a, b, static_cast<std::size_t>(std::min(la, lb)));
    return n != 0 ? n : la - lb;
}

TEST(CollationVersion, IndexesBuiltUnderAnotherOrderAreRebuiltOnceOnOpening)
{
    TestServer server;
    {
        // A file whose index was built in plain byte order, as by an older engine.
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open((server.folder + "/Quorin.db").c_str(), &raw), SQLITE_OK);
        sqlite3_create_collation(raw, "TSQL", SQLITE_UTF8, nullptr, byteOrder);
        const char* sql = "CREATE INDEX byname ON subjects(lastname);"
                          "INSERT INTO subjects(lastname) VALUES ('Zeller'), ('apple'), ('Öberg'), ('Olsen'), ('peters');"
                          "PRAGMA application_id = 0;";
        ASSERT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
    }
    Boxes boxes;
    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    expectAnswers(db, boxes, {
        {"select count(*) as v from subjects where lastname = 'ÖBERG'", "1"},
        {"select count(*) as v from subjects where lastname = 'Apple'", "1"},
        {"select count(*) as v from subjects where lastname between 'O' and 'Q'", "3"},
        {"select lastname as v from subjects order by lastname", "apple; Öberg; Olsen; peters; Zeller"},
    });
}

} // namespace
