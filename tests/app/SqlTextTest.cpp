#include "rules/DbString.h"
#include "rules/AtoI.h"
#include "rules/SqlText.h"
#include "rules/KvNumber.h"
#include "rules/LoginName.h"
#include "dalport/Registry.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace sql = quorin::sql;

TEST(SqlText, DoublesEveryApostrophe)
{
    EXPECT_EQ(sql::Text("O'Brien"), "O''Brien");
    EXPECT_EQ(sql::Text("''; drop table subjects; --"), "''''; drop table subjects; --");
    EXPECT_EQ(sql::Text(""), "");
}

TEST(SqlText, NumberAcceptsOnlyWholeNumbersInCanonicalForm)
{
    EXPECT_EQ(sql::Number(" 0042 "), "42");
    EXPECT_EQ(sql::Number("-7"), "-7");
    EXPECT_EQ(sql::Number("+7"), "7");
    EXPECT_EQ(sql::Number("-0"), "0");
    EXPECT_EQ(sql::Number("2147483647"), "2147483647");
    EXPECT_FALSE(sql::Number("2147483648"));
    EXPECT_FALSE(sql::Number(""));
    EXPECT_FALSE(sql::Number("12a"));
    EXPECT_FALSE(sql::Number("1 2"));
    EXPECT_FALSE(sql::Number("1.5"));
    EXPECT_FALSE(sql::Number("1 or 1=1"));
    EXPECT_FALSE(sql::Number("0x10"));
}

TEST(SqlText, KvNumberTreatsEmptyAndZeroAsNoNumber)
{
    EXPECT_FALSE(sql::KvNumber(""));
    EXPECT_FALSE(sql::KvNumber("0"));
    EXPECT_FALSE(sql::KvNumber(" 000 "));
    EXPECT_FALSE(sql::KvNumber("12; delete from info"));
    EXPECT_EQ(sql::KvNumber(" 00123"), "123");
}

TEST(SqlText, LoginNamesAreCheckedAndBracketed)
{
    EXPECT_EQ(sql::LoginName("jdoe"), "[jdoe]");
    EXPECT_EQ(sql::LoginName("j.doe-2@lab"), "[j.doe-2@lab]");
    EXPECT_FALSE(sql::LoginName(""));
    EXPECT_FALSE(sql::LoginName("1abc"));
    EXPECT_FALSE(sql::LoginName("bad]name"));
    EXPECT_FALSE(sql::LoginName("a b"));
    EXPECT_FALSE(sql::LoginName("jdoe\n"));
    EXPECT_FALSE(sql::LoginName("x'; drop login sa; --"));
    EXPECT_FALSE(sql::LoginName(QString(129, QLatin1Char('a'))));
    EXPECT_TRUE(sql::LoginName(QString(128, QLatin1Char('a'))));
}

TEST(DbString, AtoIReadsLikeC)
{
    EXPECT_EQ(quorin::AtoI("  42abc"), 42);
    EXPECT_EQ(quorin::AtoI("-13"), -13);
    EXPECT_EQ(quorin::AtoI("abc"), 0);
    EXPECT_EQ(quorin::AtoI(""), 0);
    EXPECT_EQ(quorin::AtoI("99999999999"), 2147483647);
    EXPECT_EQ(quorin::AtoI("-99999999999"), -2147483647 - 1);
}

TEST(DbString, TextCrossesTheSessionAsUtf8)
{
    const QString name = QString::fromUtf8("M\u00fcller-\u00d8stergaard");
    EXPECT_EQ(quorin::FromDb(quorin::ToDb(name)), name);
}

namespace {

// Whether `text` LIKE '%' + LikeText(name) + '%' under the embedded engine's LIKE.
bool likeFinds(const QString& text, const QString& name)
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    dalport::RegisterEngineFunctions(db);
    const std::string sql = "SELECT CASE WHEN '" + sql::Text(text).toStdString() + "' LIKE '%"
        + sql::LikeText(name).toStdString() + "%' THEN 1 ELSE 0 END";
    sqlite3_stmt* stmt = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        found = sqlite3_column_int(stmt, 0) == 1;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return found;
}

} // namespace

TEST(SqlText, LikeTextMatchesTheNameLiterallyAndNothingElse)
{
    EXPECT_EQ(sql::LikeText("A[1]"), "A[[]1]");
    EXPECT_EQ(sql::LikeText("50%_done"), "50[%][_]done");
    EXPECT_EQ(sql::LikeText("O'Brien"), "O''Brien");
    EXPECT_TRUE(likeFinds("Dataset A[1]", "A[1]"));
    EXPECT_FALSE(likeFinds("Dataset A1", "A[1]"));
    EXPECT_TRUE(likeFinds("50%_done", "50%_done"));
    EXPECT_FALSE(likeFinds("50 and done", "50%_done"));
    EXPECT_FALSE(likeFinds("50%Xdone", "50%_done"));
    EXPECT_TRUE(likeFinds("Mr O'Brien", "o'brien")); // the collation still ignores case
}
