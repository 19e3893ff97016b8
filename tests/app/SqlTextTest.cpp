#include "app/DbString.h"
#include "app/SqlText.h"

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
