#include "dalport/embedded/ValueConversion.h"

#include "dalport/embedded/Tokenizer.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace dalport::embedded {

namespace {

std::string_view trimmed(std::string_view s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

struct Range {
    long long low;
    long long high;
    const char* name;
};

Range rangeOf(StoredType type)
{
    switch (type) {
    case StoredType::SmallInt: return {-32768, 32767, "smallint"};
    case StoredType::TinyInt: return {0, 255, "tinyint"};
    case StoredType::BigInt: return {INT64_MIN, INT64_MAX, "bigint"};
    default: return {-2147483648LL, 2147483647LL, "int"};
    }
}

} // namespace

StoredType storedTypeOf(std::string_view declared)
{
    const std::string t = toLower(declared);
    const std::string base = t.substr(0, t.find('('));
    const std::string_view name = trimmed(base);
    if (name == "bit")
        return StoredType::Bit;
    if (name == "smallint")
        return StoredType::SmallInt;
    if (name == "tinyint")
        return StoredType::TinyInt;
    if (name == "bigint")
        return StoredType::BigInt;
    if (t.find("date") != std::string::npos || t.find("time") != std::string::npos)
        return StoredType::Date;
    if (t.find("int") != std::string::npos)
        return StoredType::Int;
    for (const char* f : {"real", "floa", "doub", "dec", "numeric", "money"})
        if (t.find(f) != std::string::npos)
            return StoredType::Float;
    return StoredType::Text;
}

int declaredLength(std::string_view declared)
{
    const std::string t = toLower(declared);
    if (t.find("char") == std::string::npos)
        return -1;
    const auto open = t.find('(');
    if (open == std::string::npos)
        return -1;
    const int n = std::atoi(t.c_str() + open + 1);
    return n > 0 ? n : -1; // (max) has no limit
}

long long intFromText(std::string_view text)
{
    const std::string_view core = trimmed(text);
    if (core.empty())
        return 0;
    std::size_t i = core[0] == '-' || core[0] == '+' ? 1 : 0;
    if (i == core.size() || core.find_first_not_of("0123456789", i) != std::string_view::npos)
        throw errors::intConversion(std::string(text));
    while (i + 1 < core.size() && core[i] == '0')
        ++i;
    if (core.size() - i > 10)
        throw errors::intConversion(std::string(text));
    long long v = std::stoll(std::string(core.substr(i)));
    if (core[0] == '-')
        v = -v;
    if (v > 2147483647LL || v < -2147483648LL)
        throw errors::intConversion(std::string(text));
    return v;
}

double floatFromText(std::string_view text)
{
    const std::string core(trimmed(text));
    if (core.empty())
        return 0.0;
    try {
        std::size_t used = 0;
        const double v = std::stod(core, &used);
        if (used == core.size() && std::isfinite(v))
            return v;
    } catch (const std::logic_error&) {
    }
    throw errors::floatConversion();
}

long long checkedInteger(long long v, StoredType type)
{
    if (type == StoredType::Bit)
        return v != 0 ? 1 : 0;
    const Range r = rangeOf(type);
    if (v < r.low || v > r.high)
        throw EngineError{8115, 16, 2, std::string("Arithmetic overflow error converting expression to data type ")
                                           + r.name + "."};
    return v;
}

std::size_t characterCount(std::string_view utf8)
{
    std::size_t n = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string_view leadingCharacters(std::string_view utf8, std::size_t n)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
            continue;
        if (seen == n)
            return utf8.substr(0, i);
        ++seen;
    }
    return utf8;
}

std::string_view fittedText(std::string_view text, int length, std::string_view table, std::string_view column)
{
    if (length < 0 || text.size() <= static_cast<std::size_t>(length))
        return text; // fewer bytes than the length: fewer characters too
    const std::string_view kept = leadingCharacters(text, static_cast<std::size_t>(length));
    if (kept.size() == text.size())
        return text;
    if (text.find_first_not_of(' ', kept.size()) == std::string_view::npos)
        return kept;
    throw truncation(table, column, kept);
}

EngineError truncation(std::string_view table, std::string_view column, std::string_view value)
{
    return EngineError{2628, 16, 1, "String or binary data would be truncated in table '" + std::string(table)
                                        + "', column '" + std::string(column) + "'. Truncated value: '"
                                        + std::string(value) + "'."};
}

} // namespace dalport::embedded
