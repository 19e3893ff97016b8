#pragma once
// A field or parameter value as it crosses between a backend and the session.

#include <cstdint>
#include <string>

namespace dalport {

struct Value {
    enum class Kind { Null, Int, Double, Text, DateTime };
    Kind kind = Kind::Null;
    std::int64_t i = 0;
    double d = 0.0;
    std::string s; // Text: the text; DateTime: ISO "YYYY-MM-DD[ HH:MM:SS[.fff]]"

    static Value null() { return {}; }
    static Value integer(std::int64_t v) { Value x; x.kind = Kind::Int; x.i = v; return x; }
    static Value real(double v) { Value x; x.kind = Kind::Double; x.d = v; return x; }
    static Value text(std::string v) { Value x; x.kind = Kind::Text; x.s = std::move(v); return x; }
    static Value dateTime(std::string iso) { Value x; x.kind = Kind::DateTime; x.s = std::move(iso); return x; }

    bool isNull() const { return kind == Kind::Null; }
};

// One bound input parameter. The name travels for messages; the position decides.
struct Param {
    enum class Type { Int, Double, String };
    std::string name;
    Type type = Type::Int;
    std::size_t size = 0; // 4, 8, or the string's length in characters
    Value value;
};

} // namespace dalport
