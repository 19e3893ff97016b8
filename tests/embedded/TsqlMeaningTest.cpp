// Statements whose meaning SQL Server defines and SQLite would read otherwise: patterns,
// the collation, operators typed by their operands, and the errors instead of guesses.

#include "TestServer.h"

#include "dalport/Clock.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>

using namespace testing_embedded;

namespace {

class TsqlMeaning : public ::testing::Test {
protected:
    void SetUp() override
    {
        dalport::SetFixedClock("2009-03-07 10:30:00");
        connect(db, server, kAdmin, kAdminPassword);
        const char* names[][2] = {{"Adams", "Anna"},   {"baker", "Bob"},     {"Carter", "Cy"},   {"Davis", "Dee"},
                                  {"Öberg", "Örjan"},  {"Olsen", "Ole"},     {"Peters", "Pia"},  {"Müller", "Max"},
                                  {"Zeller", "Zoe"},   {"Abbot", "Al"},      {"50% off", "Sale"}};
        int id = 0;
        for (const auto& n : names) {
            ++id;
            const std::string status = id <= 6 ? "0" : "1";
            const std::string sql = "insert into subjects(subjectid, lastname, firstname, status) values ("
                + std::to_string(id) + ", N'" + n[0] + "', '" + n[1] + "', " + status + ")";
            ASSERT_EQ(db.RunTextQuery(sql.c_str()), 1) << sql;
        }
        boxes.clear();
    }
    void TearDown() override { dalport::ResetClock(); }

    std::string v(const std::string& expression) { return scalar(db, "select " + expression + " as v"); }

    // Runs a text that must fail; the provider's number (0 when it did not fail).
    long failure(const std::string& sql)
    {
        boxes.clear();
        if (db.RunTextQuery(sql.c_str()))
            return 0;
        const auto p = boxes.provider();
        return p.empty() ? -1 : p.back().number;
    }

    TestServer server;
    Boxes boxes;
    MyADO db;
};

TEST_F(TsqlMeaning, PatternsHaveBracketClassesRangesAndEscapes)
{
    // Every A, B and C name, whatever its case.
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) as v FROM subjects WHERE Lastname LIKE '[A-C]%'"), "4");
    EXPECT_EQ(scalar(db, "SELECT COUNT(*) as v FROM subjects WHERE Lastname NOT LIKE '[^A]%'"), "2");
    EXPECT_EQ(column(db, "select lastname from subjects where lastname like '[bcd]%' order by lastname", "lastname"),
              (std::vector<std::string>{"baker", "Carter", "Davis"}));
    EXPECT_EQ(column(db, "select lastname from subjects where lastname like '_ls__' ", "lastname"),
              (std::vector<std::string>{"Olsen"}));
    EXPECT_EQ(column(db, "select lastname from subjects where lastname like '%[%]%'", "lastname"),
              (std::vector<std::string>{"50% off"}));
    EXPECT_EQ(column(db, "select lastname from subjects where lastname like '%!% %' escape '!'", "lastname"),
              (std::vector<std::string>{"50% off"}));
    // Trailing blanks of the value do not prevent a match; the pattern's own are kept.
    EXPECT_EQ(v("CASE WHEN 'abc ' LIKE 'abc' THEN 1 ELSE 0 END"), "1");
    EXPECT_EQ(v("CASE WHEN 'abc ' LIKE 'abc_' THEN 1 ELSE 0 END"), "1");
    EXPECT_EQ(v("CASE WHEN 'abc' LIKE 'abc ' THEN 1 ELSE 0 END"), "0");
    // Accents count, case does not; an unclosed bracket matches nothing.
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname like 'MÜ%'"), "1");
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname like 'mu%'"), "0");
    EXPECT_EQ(v("CASE WHEN 'a[' LIKE 'a[' THEN 1 ELSE 0 END"), "0");
    EXPECT_EQ(v("CASE WHEN 'a-b' LIKE 'a[-]b' THEN 1 ELSE 0 END"), "1");
    EXPECT_EQ(failure("select count(*) as v from subjects where lastname like 'a' escape 'xy'"), 506);
}

TEST_F(TsqlMeaning, CollationIgnoresCaseAndTrailingBlanksButNotAccents)
{
    EXPECT_EQ(v("CASE WHEN 'müller' = 'MÜLLER' THEN 1 ELSE 0 END"), "1");
    EXPECT_EQ(v("CASE WHEN 'muller' = 'müller' THEN 1 ELSE 0 END"), "0");
    EXPECT_EQ(v("CASE WHEN 'abc' = 'ABC   ' THEN 1 ELSE 0 END"), "1");
    EXPECT_EQ(v("CASE WHEN 'abc' <> 'ABC ' THEN 1 ELSE 0 END"), "0");
    EXPECT_EQ(v("CASE WHEN N'ÆRØ' = N'ærø' THEN 1 ELSE 0 END"), "1");
    EXPECT_EQ(v("UPPER('müller')"), "MÜLLER");
    EXPECT_EQ(v("LOWER(N'ÀÉÎ Straße')"), "àéî straße");
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname = 'MÜLLER'"), "1");
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname = 'OBERG'"), "0");
    // Ö sorts with O, before P, not after Z as its bytes would.
    EXPECT_EQ(column(db, "select lastname from subjects where lastname like '[O-Z]%' order by lastname", "lastname"),
              (std::vector<std::string>{"Öberg", "Olsen", "Peters", "Zeller"}));
    EXPECT_EQ(v("CASE WHEN 'Ö' < 'P' THEN 1 ELSE 0 END"), "1");
}

TEST_F(TsqlMeaning, PlusAddsNumbersAndJoinsTexts)
{
    EXPECT_EQ(scalar(db, "SELECT TOP 1 Lastname + Firstname as v FROM subjects order by subjectid"), "AdamsAnna");
    EXPECT_EQ(scalar(db, "SELECT TOP 1 Lastname + ', ' + Firstname as v FROM subjects order by subjectid"),
              "Adams, Anna");
    EXPECT_EQ(scalar(db, "select subjectid + status as v from subjects where subjectid = 8"), "9");
    EXPECT_EQ(scalar(db, "select subjectid + '10' as v from subjects where subjectid = 2"), "12");
    EXPECT_EQ(scalar(db, "select upper(lastname) + lower(firstname) v from subjects where subjectid = 1"), "ADAMSanna");
    EXPECT_EQ(v("2 * 3 + 4 - 1"), "9");
    EXPECT_EQ(v("10 - 2 - 3"), "5");
    EXPECT_EQ(v("1 - -1"), "2");
    EXPECT_EQ(v("'a' + 'b' + 'c'"), "abc");
    EXPECT_EQ(v("getdate() - 1"), "2009-03-06 10:30:00.000");
    // A text that is no number, or a sum that overflows, fails as SQL Server fails.
    EXPECT_EQ(failure("select 'abc' + 1 as v"), 245);
    EXPECT_EQ(failure("select subjectid + lastname as v from subjects"), 245);
    EXPECT_EQ(failure("select 2147483647 + 1 as v"), 8115);
    EXPECT_EQ(failure("select 'a' - 'b' as v"), 402);
    EXPECT_EQ(failure("select getdate() + 10000000000000000000000 as v"), 8115);
    EXPECT_EQ(failure("select getdate() - 3000000 as v"), 8115);
    EXPECT_EQ(failure("select convert(datetime, 1e30) as v"), 8115);
    EXPECT_EQ(failure("select datediff(dd, 9223372036854775807, getdate()) as v"), 8115);
}

TEST_F(TsqlMeaning, NumberColumnsConvertTheTextTheyMeet)
{
    EXPECT_EQ(failure("SELECT * FROM subjects WHERE SubjectId = 'abc'"), 245);
    EXPECT_EQ(boxes.provider().back().message,
              "Conversion failed when converting the varchar value 'abc' to data type int.");
    EXPECT_EQ(failure("SELECT * FROM subjects s WHERE s.SubjectId in ('1', 'x')"), 245);
    EXPECT_EQ(failure("SELECT * FROM subjects WHERE '1.5' = status"), 245);
    EXPECT_EQ(scalar(db, "select lastname as v from subjects where subjectid = ' 3 '"), "Carter");
    EXPECT_EQ(scalar(db, "select lastname as v from subjects s where s.subjectid between '2' and '2'"), "baker");
    // '' is 0, as the program sends empty numbers.
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where status = ''"), "6");
    ASSERT_EQ(db.RunTextQuery("update subjects set unit = '' where subjectid = 1"), 1);
    EXPECT_EQ(scalar(db, "select unit + 1 as v from subjects where subjectid = 1"), "1");
    EXPECT_EQ(failure("insert into subjects(subjectid, lastname) values ('x', 'bad')"), 245);
}

TEST_F(TsqlMeaning, ColumnsTakeAtMostTheirLengthInCharacters)
{
    ASSERT_EQ(db.RunTextQuery("create table notes(id int, code char(3), name varchar(5), memo nvarchar(4))"), 1);
    // The longest values fit, counted in characters: 5 and 4 characters of 10 and 8 bytes.
    ASSERT_EQ(db.RunTextQuery("insert into notes values (1, 'abc', N'Müßig', N'üüüü')"), 1);
    EXPECT_EQ(scalar(db, "select name + '|' + memo as v from notes"), "Müßig|üüüü");
    EXPECT_EQ(scalar(db, "select len(name) * 10 + len(N'üü ') as v from notes"), "52");
    // Blanks beyond the length are cut, as SQL Server cuts them.
    ASSERT_EQ(db.RunTextQuery("insert into notes (id, name) values (2, 'abcde   ')"), 1);
    EXPECT_EQ(scalar(db, "select name + '|' as v from notes where id = 2"), "abcde|");
    // One character more is refused, whatever the value comes from, and nothing changes.
    EXPECT_EQ(failure("insert into notes (id, name) values (3, N'Müßige')"), 2628);
    EXPECT_EQ(boxes.provider().back().message,
              "String or binary data would be truncated in table 'Quorin.dbo.notes', column 'name'. Truncated "
              "value: 'Müßig'.");
    EXPECT_EQ(failure("insert into notes (id, memo) values (3, 'ab'), (4, 'abcde')"), 2628);
    EXPECT_EQ(failure("update notes set code = name"), 2628);
    EXPECT_EQ(failure("update notes set memo = (select top 1 lastname from subjects order by subjectid) where id = 1"),
              2628);
    EXPECT_EQ(failure("insert into notes (id, name) select subjectid, firstname + lastname from subjects"), 2628);
    EXPECT_EQ(failure("insert into notes select subjectid, 'abc', lastname + firstname, null from subjects"), 2628);
    EXPECT_EQ(failure("update notes set name = ? where id = 1"), 0) << "an unbound parameter is NULL";
    EXPECT_EQ(scalar(db, "select count(*) * 10 + count(name) as v from notes"), "21");
}

TEST_F(TsqlMeaning, ValuesOfAnyOriginAreConvertedToTheirColumnsType)
{
    // Text from a catalogue view, a subquery or a column refused by a number column.
    EXPECT_EQ(failure("update subjects set status = (select top 1 lastname from subjects order by subjectid) "
                      "where subjectid = 1"),
              245);
    EXPECT_EQ(boxes.provider().back().message,
              "Conversion failed when converting the varchar value 'Adams' to data type int.");
    EXPECT_EQ(failure("update subjects set birthdate = lastname where subjectid = 2"), 241);
    EXPECT_EQ(failure("update subjects set status = 3000000000 where subjectid = 2"), 8115);
    EXPECT_EQ(failure("insert into cidevice (SubjectId) select name from sys.sql_logins"), 245);
    EXPECT_EQ(failure("insert into cidevice (SubjectId, Ear) select lastname, 1 as Ear from subjects "
                      "union select subjectid, 2 from subjects order by Ear"),
              245);
    EXPECT_EQ(failure("insert into cidevice (SubjectId, Ear) select * from (select lastname, 1 as e from subjects) d"),
              245);
    EXPECT_EQ(failure("insert into cidevice (SubjectId, Ear) select subjectid from subjects"), 120);
    EXPECT_EQ(scalar(db, "select count(*) as v from cidevice"), "0");
    EXPECT_EQ(scalar(db, "select sum(status) + count(birthdate) as v from subjects"), "5");
    // What converts is stored converted: numbers from text, dates from text and numbers.
    ASSERT_EQ(db.RunTextQuery("insert into cidevice (SubjectId, Ear, SurgDate, AgeAtImplant) "
                              "select subjectid, subjectid, '3/7/2009', 2.9 from subjects where subjectid < 3 "
                              "order by subjectid"),
              1);
    EXPECT_EQ(scalar(db, "select sum(SubjectId * AgeAtImplant) as v from cidevice"), "6");
    EXPECT_EQ(scalar(db, "select convert(varchar, max(SurgDate), 121) + '|' + max(Ear) as v from cidevice"),
              "2009-03-07 00:00:00.000|2");
    ASSERT_EQ(db.RunTextQuery("update cidevice set AgeAtImplant = ' 12 ', SurgDate = 1 where SubjectId = 1"), 1);
    EXPECT_EQ(scalar(db, "select convert(varchar, SurgDate, 121) + '/' + convert(varchar, AgeAtImplant) as v "
                         "from cidevice where SubjectId = 1"),
              "1900-01-02 00:00:00.000/12");
}

TEST_F(TsqlMeaning, ReservedWordsAsNamesNeedBrackets)
{
    EXPECT_EQ(failure("select * from user"), 156);
    EXPECT_EQ(boxes.provider().back().message, "Incorrect syntax near the keyword 'user'.");
    EXPECT_EQ(failure("select file from subjects"), 156);
    EXPECT_EQ(failure("select * from CID.dbo.external"), 156);
    EXPECT_EQ(failure("insert into subjects(key) values (1)"), 156);
    // Bracketed, the same names are names.
    ASSERT_EQ(db.RunTextQuery("create table [user]([file] int, [key] varchar(10))"), 1);
    ASSERT_EQ(db.RunTextQuery("insert into [user]([file], [key]) values (1, 'k')"), 1);
    EXPECT_EQ(scalar(db, "select [key] as v from [user] where [file] = 1"), "k");
}

TEST_F(TsqlMeaning, EveryFailureCarriesAServerNumberAndNoStorageWording)
{
    const char* statements[] = {
        "SELECT TOP 99999999999999999999 * FROM subjects",
        "select * from nosuchtable",
        "select nosuchcolumn from subjects",
        "select status from subjects, pers",
        "insert into subjects(subjectid, lastname) values (1, 'again')",
        "select 1 +",
        "select * from subjects where",
        "select nosuchfunction(1)",
        "select 'abc' + 1",
        "insert into subjects(subjectid) values (1, 2)",
        "update subjects set birthdate = 'soon'",
        "select convert(char, getdate(), 999)",
        "select cast(1 as nosuchtype)",
        "select datediff(fortnight, getdate(), getdate())",
        "ROLLBACK TRAN nosuchname",
        "SAVE TRAN s",
        "select @undeclared",
        "select * from nosuchdb.dbo.subjects",
        "select 'unterminated",
    };
    const char* storageWords[] = {"sqlite", "SQLITE", "no such", "syntax error", "datatype mismatch",
                                  "constraint failed", "near \"", "unrecognized", "misuse"};
    for (const char* sql : statements) {
        boxes.clear();
        EXPECT_EQ(db.RunTextQuery(sql), 0) << sql;
        const auto p = boxes.provider();
        ASSERT_EQ(p.size(), 1u) << sql;
        EXPECT_GT(p[0].number, 0) << sql;
        EXPECT_FALSE(p[0].message.empty()) << sql;
        for (const char* w : storageWords)
            EXPECT_EQ(p[0].message.find(w), std::string::npos) << sql << ": " << p[0].message;
    }
    EXPECT_EQ(failure("SELECT TOP 99999999999999999999 * FROM subjects"), 8115);
}

} // namespace

namespace {

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
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where " + chain("status = 9", " or ", 49999)
                             + " or lastname = 'adams'"),
              "1");
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where " + chain("status >= 0", " and ", 50000)
                             + " and status = 1"),
              "5");
    EXPECT_EQ(v(chain("1", " + ", 20)), "20");
    // Arithmetic goes step by step, each step's type and overflow depending on the one
    // before: a chain deeper than the engine can evaluate is refused as SQL Server
    // refuses what is nested too deeply.
    for (const std::string& sql : {"select " + chain("1", " + ", 50000) + " as v",
                                   "select " + chain("2", " * ", 50000) + " as v",
                                   "select " + chain("'a'", " + ", 50000) + " as v",
                                   "select " + chain("1", " + ", 100) + " as v",
                                   "select " + std::string(300, '(') + "1" + std::string(300, ')') + " as v"})
        EXPECT_EQ(failure(sql), 191) << sql.substr(0, 60);
    EXPECT_EQ(boxes.provider().back().message,
              "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into smaller "
              "queries.");
    EXPECT_EQ(v("1"), "1");
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
        ASSERT_EQ(sqlite3_open((server.folder() + "/Quorin.db").c_str(), &raw), SQLITE_OK);
        sqlite3_create_collation(raw, "TSQL", SQLITE_UTF8, nullptr, byteOrder);
        const char* sql = "CREATE INDEX byname ON subjects(lastname);"
                          "INSERT INTO subjects(lastname) VALUES ('Zeller'), ('apple'), ('Öberg'), ('Olsen'), ('peters');"
                          "PRAGMA application_id = 0;";
        ASSERT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
    }
    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname = 'ÖBERG'"), "1");
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname = 'Apple'"), "1");
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname between 'O' and 'Q'"), "3");
    EXPECT_EQ(column(db, "select lastname from subjects order by lastname", "lastname"),
              (std::vector<std::string>{"apple", "Öberg", "Olsen", "peters", "Zeller"}));
}

} // namespace
