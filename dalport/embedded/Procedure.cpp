#include "dalport/embedded/Procedure.h"

#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/Tokenizer.h"
#include "dalport/embedded/ValueConversion.h"

#include <cmath>
#include <cstdio>

namespace dalport::embedded {

namespace {

using Kind = Token::Kind;

[[noreturn]] void syntaxError(const Token& t)
{
    if (t.kind == Kind::End)
        throw errors::syntaxAtEnd();
    throw errors::syntaxNear(t.kind == Kind::String ? "'" + t.value + "'" : t.value);
}

ProcedureParameter::Type typeOf(const Token& t, bool& hasLength, bool& padded)
{
    const std::string n = toLower(t.value);
    hasLength = false;
    padded = false;
    if (n == "int" || n == "integer" || n == "bigint" || n == "smallint" || n == "tinyint" || n == "bit")
        return ProcedureParameter::Type::Int;
    if (n == "float" || n == "real" || n == "decimal" || n == "numeric" || n == "money")
        return ProcedureParameter::Type::Float;
    if (n == "datetime" || n == "smalldatetime" || n == "date" || n == "datetime2")
        return ProcedureParameter::Type::DateTime;
    if (n == "varchar" || n == "nvarchar" || n == "char" || n == "nchar") {
        hasLength = true;
        padded = n == "char" || n == "nchar";
        return ProcedureParameter::Type::Text;
    }
    if (n == "text" || n == "ntext")
        return ProcedureParameter::Type::Text;
    throw EngineError{2715, 16, 3, "Column, parameter, or variable #1: Cannot find data type " + t.value + "."};
}

std::string numberText(double d)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", d);
    return buf;
}

} // namespace

ProcedureDefinition parseProcedure(std::string_view text)
{
    const std::vector<Token> t = tokenize(text);
    std::size_t i = 0;
    if (!t[i].isWord("create"))
        syntaxError(t[i]);
    ++i;
    if (!t[i].isWord("procedure") && !t[i].isWord("proc"))
        syntaxError(t[i]);
    ++i;
    ProcedureDefinition def;
    // [dbo.]name
    if (t[i].kind != Kind::Word && t[i].kind != Kind::Quoted)
        syntaxError(t[i]);
    def.name = t[i++].value;
    if (t[i].isSymbol(".")) {
        ++i;
        if (t[i].kind != Kind::Word && t[i].kind != Kind::Quoted)
            syntaxError(t[i]);
        def.name = t[i++].value;
    }
    const bool parenthesised = t[i].isSymbol("(");
    if (parenthesised)
        ++i;
    while (t[i].kind == Kind::Variable) {
        ProcedureParameter p;
        p.name = t[i++].value;
        if (t[i].isWord("as"))
            ++i;
        if (t[i].kind != Kind::Word)
            syntaxError(t[i]);
        bool hasLength = false;
        p.type = typeOf(t[i], hasLength, p.padded);
        ++i;
        if (t[i].isSymbol("(")) {
            ++i;
            if (t[i].isWord("max"))
                p.length = -1;
            else if (t[i].kind == Kind::Number)
                p.length = smallIntegerValue(t[i]);
            else
                syntaxError(t[i]);
            ++i;
            if (t[i].isSymbol(",")) { // decimal(p, s)
                i += 2;
            }
            if (!t[i].isSymbol(")"))
                syntaxError(t[i]);
            ++i;
        } else if (hasLength) {
            p.length = 1; // char and varchar without a length hold one character
        }
        if (p.type != ProcedureParameter::Type::Text)
            p.length = -1;
        if (t[i].isSymbol("=")) {
            ++i;
            bool negative = false;
            if (t[i].isSymbol("-")) {
                negative = true;
                ++i;
            }
            if (t[i].kind == Kind::String)
                p.defaultValue = Value::text(t[i].value);
            else if (t[i].kind == Kind::Number)
                p.defaultValue = t[i].value.find_first_of(".eE") == std::string::npos
                    ? Value::integer((negative ? -1 : 1) * integerValue(t[i]))
                    : Value::real((negative ? -1 : 1) * realValue(t[i]));
            else if (t[i].isWord("null"))
                p.defaultValue = Value::null();
            else
                syntaxError(t[i]);
            ++i;
        }
        if (t[i].isWord("output") || t[i].isWord("out"))
            ++i;
        def.parameters.push_back(std::move(p));
        if (!t[i].isSymbol(","))
            break;
        ++i;
    }
    if (parenthesised) {
        if (!t[i].isSymbol(")"))
            syntaxError(t[i]);
        ++i;
    }
    if (!t[i].isWord("as"))
        syntaxError(t[i]);
    def.body = std::string(text.substr(t[i].end));
    return def;
}

Value convertArgument(const ProcedureParameter& p, const Value& v)
{
    if (v.isNull())
        return v;
    switch (p.type) {
    case ProcedureParameter::Type::Int:
        switch (v.kind) {
        case Value::Kind::Int: return v;
        case Value::Kind::Double: return Value::integer(static_cast<std::int64_t>(std::trunc(v.d)));
        default: return Value::integer(intFromText(v.s));
        }
    case ProcedureParameter::Type::Float:
        switch (v.kind) {
        case Value::Kind::Int: return Value::real(static_cast<double>(v.i));
        case Value::Kind::Double: return v;
        default: return Value::real(floatFromText(v.s));
        }
    case ProcedureParameter::Type::Text: {
        std::string s = v.kind == Value::Kind::Int ? std::to_string(v.i)
            : v.kind == Value::Kind::Double        ? numberText(v.d)
                                                   : v.s;
        // Parameters hold at most their declared length in characters, cut silently
        // between characters; char pads to it.
        if (p.length > 0) {
            s.resize(leadingCharacters(s, static_cast<std::size_t>(p.length)).size());
            const std::size_t count = characterCount(s);
            if (p.padded && count < static_cast<std::size_t>(p.length))
                s.append(static_cast<std::size_t>(p.length) - count, ' ');
        }
        return Value::text(std::move(s));
    }
    case ProcedureParameter::Type::DateTime:
        switch (v.kind) {
        case Value::Kind::Int: return Value::text(canonicalText(fromDayNumber(v.i)));
        case Value::Kind::Double: return Value::text(canonicalText(fromDayNumber(static_cast<std::int64_t>(std::floor(v.d)))));
        default: return Value::text(canonicalText(dateFromText(v.s)));
        }
    }
    return v;
}

} // namespace dalport::embedded
