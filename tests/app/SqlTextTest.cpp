// The helpers that put values into statement texts: quotes doubled, numbers in canonical
// form, KV Numbers read once, login names checked and bracketed, LIKE patterns escaped.
#include "rules/AtoI.h"
#include "rules/DbString.h"
#include "rules/KvNumber.h"
#include "rules/LoginName.h"
#include "rules/SqlText.h"

#include <gtest/gtest.h>

#include <tuple>

namespace sql = quorin::sql;

TEST(SqlText, ValuesEnterTheTextOnlyInTheirSafeForm)
{
    EXPECT_EQ(sql::Text("''; drop table subjects; --"), "''''; drop table subjects; --");
    // What the engine's LIKE makes of it is the duplicate check's test (subjects).
    EXPECT_EQ(sql::LikeText("50%_done"), "50[%][_]done");
    const std::pair<const char*, const char*> numbers[] = {
        {" 0042 ", "42"}, {"+7", "7"}, {"-0", "0"}, {"2147483647", "2147483647"}, {"2147483648", nullptr},
        {"", nullptr},    {"1 2", nullptr}, {"1.5", nullptr}, {"1 or 1=1", nullptr}, {"0x10", nullptr}};
    for (const auto& [typed, canonical] : numbers)
        EXPECT_EQ(sql::Number(typed), canonical ? std::optional<QString>(canonical) : std::nullopt) << typed;
    EXPECT_FALSE(sql::KvNumber(" 000 "));
    EXPECT_FALSE(sql::KvNumber("12; delete from info"));
    EXPECT_EQ(sql::KvNumber(" 00123"), "123");
    // The one reading of a typed KV Number before anything is sent: none, a number, or none
    // that is whole (said so with the message).
    using K = sql::KvReading::Kind;
    const std::tuple<const char*, K, const char*> readings[] = {
        {"   ", K::None, ""}, {"-0", K::None, ""}, {" 00123 ", K::Number, "123"},
        {"1;DROP TABLE info", K::NotWhole, ""}, {"99999999999", K::NotWhole, ""}};
    for (const auto& [typed, kind, number] : readings) {
        EXPECT_EQ(sql::ReadKvNumber(typed).kind, kind) << typed;
        EXPECT_EQ(sql::ReadKvNumber(typed).number, QString::fromLatin1(number)) << typed;
    }
    EXPECT_EQ(sql::KvNumberMessage(), "KV Number must be a whole number.");
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
