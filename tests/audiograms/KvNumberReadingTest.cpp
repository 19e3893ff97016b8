// The one reading of a typed KV Number, before anything is sent to the Audiogram
// Manager.

#include "rules/KvNumber.h"

#include <gtest/gtest.h>

using quorin::sql::KvReading;
using quorin::sql::ReadKvNumber;

TEST(KvNumberReading, NoNumberANumberOrNotAWholeNumber)
{
    for (const char* none : {"", "   ", "0", " 0 ", "000", "+0", "-0"}) {
        const KvReading r = ReadKvNumber(none);
        EXPECT_EQ(r.kind, KvReading::Kind::None) << none;
        EXPECT_TRUE(r.number.isEmpty()) << none;
    }
    const std::pair<const char*, const char*> numbers[] = {{"4711", "4711"}, {" 00123 ", "123"}, {"+5", "5"}};
    for (const auto& [typed, canonical] : numbers) {
        const KvReading r = ReadKvNumber(typed);
        EXPECT_EQ(r.kind, KvReading::Kind::Number) << typed;
        EXPECT_EQ(r.number, canonical) << typed;
    }
    for (const char* bad : {"12a", "1;DROP TABLE info", "1 2", "1.5", "99999999999", "'", "--"}) {
        const KvReading r = ReadKvNumber(bad);
        EXPECT_EQ(r.kind, KvReading::Kind::NotWhole) << bad;
        EXPECT_TRUE(r.number.isEmpty()) << bad;
    }
    EXPECT_EQ(quorin::sql::KvNumberMessage(), "KV Number must be a whole number.");
}
