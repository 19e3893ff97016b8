// The helpers that put values into statement texts: quotes doubled, numbers in canonical
// form, login names checked and bracketed, LIKE patterns that match only the name.
#include "rules/AtoI.h"
#include "rules/DbString.h"
#include "rules/KvNumber.h"
#include "rules/LoginName.h"
#include "rules/SqlText.h"
#include "dalport/Registry.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace sql = quorin::sql;

TEST(SqlText, ValuesEnterTheTextOnlyInTheirSafeForm)
{
    EXPECT_EQ(sql::Text("''; drop table subjects; --"), "''''; drop table subjects; --");
    const std::pair<const char*, const char*> numbers[] = {
        {" 0042 ", "42"}, {"+7", "7"}, {"-0", "0"}, {"2147483647", "2147483647"}, {"2147483648", nullptr},
        {"", nullptr},    {"1 2", nullptr}, {"1.5", nullptr}, {"1 or 1=1", nullptr}, {"0x10", nullptr}};
    for (const auto& [typed, canonical] : numbers)
        EXPECT_EQ(sql::Number(typed), canonical ? std::optional<QString>(canonical) : std::nullopt) << typed;
    EXPECT_FALSE(sql::KvNumber(" 000 "));
    EXPECT_FALSE(sql::KvNumber("12; delete from info"));
    EXPECT_EQ(sql::KvNumber(" 00123"), "123");
    EXPECT_EQ(sql::LoginName("j.doe-2@lab"), "[j.doe-2@lab]");
    for (const QString& hostile : {QString(), QStringLiteral("1abc"), QStringLiteral("bad]name"),
                                   QStringLiteral("a b"), QStringLiteral("jdoe\n"),
                                   QStringLiteral("x'; drop login sa; --"), QString(129, QLatin1Char('a'))})
        EXPECT_FALSE(sql::LoginName(hostile)) << hostile.toStdString();
    EXPECT_TRUE(sql::LoginName(QString(128, QLatin1Char('a'))));
    EXPECT_EQ(quorin::AtoI("  42abc"), 42);
    EXPECT_EQ(quorin::AtoI("-99999999999"), -2147483647 - 1);
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
    EXPECT_EQ(sql::LikeText("50%_done"), "50[%][_]done");
    EXPECT_TRUE(likeFinds("Dataset A[1]", "A[1]"));
    EXPECT_FALSE(likeFinds("Dataset A1", "A[1]"));
    EXPECT_TRUE(likeFinds("50%_done", "50%_done"));
    EXPECT_FALSE(likeFinds("50%Xdone", "50%_done"));
    EXPECT_TRUE(likeFinds("Mr O'Brien", "o'brien")); // the collation still ignores case
}
