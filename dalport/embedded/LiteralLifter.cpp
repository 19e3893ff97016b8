#include "dalport/embedded/LiteralLifter.h"

#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/Tokenizer.h"
#include "dalport/embedded/ValueConversion.h"

#include <charconv>
#include <cstdint>

namespace dalport::embedded {

namespace {

constexpr char kMark = '\x01';

Literal::Kind kindOf(const Token& t)
{
    if (t.kind == Token::Kind::String)
        return Literal::Kind::Text;
    return t.value.find_first_of(".eE") == std::string::npos ? Literal::Kind::WholeNumber : Literal::Kind::RealNumber;
}

char markOf(Literal::Kind kind)
{
    switch (kind) {
    case Literal::Kind::Text: return 't';
    case Literal::Kind::WholeNumber: return 'w';
    case Literal::Kind::RealNumber: return 'r';
    }
    return '?';
}

// Text between literals, its own marks doubled so that no text can look like another
// text's shape.
void appendVerbatim(std::string& out, std::string_view text)
{
    for (char c : text) {
        out += c;
        if (c == kMark)
            out += kMark;
    }
}

std::optional<Value> valueOf(const Literal& literal, LiteralConversion conversion)
{
    switch (conversion) {
    case LiteralConversion::AsWritten:
        if (literal.kind == Literal::Kind::Text)
            return Value::text(literal.text);
        if (literal.kind == Literal::Kind::WholeNumber && wholeNumberLiteral(literal.text)) {
            std::int64_t v = 0;
            std::from_chars(literal.text.data(), literal.text.data() + literal.text.size(), v);
            return Value::integer(v);
        }
        return std::nullopt;
    case LiteralConversion::ToInteger:
        if (literal.kind != Literal::Kind::Text)
            return std::nullopt;
        return Value::integer(intFromText(literal.text));
    case LiteralConversion::ToDate:
        if (literal.kind != Literal::Kind::Text)
            return std::nullopt;
        return Value::text(canonicalText(dateFromText(literal.text)));
    }
    return std::nullopt;
}

bool bindNode(const Plan& plan, const std::vector<Literal>& literals, std::vector<Value>& values)
{
    for (std::size_t i = 0; i < plan.literals.size(); ++i) {
        const LiteralUse& use = plan.literals[i];
        if (use.literal < 0 || static_cast<std::size_t>(use.literal) >= literals.size())
            return false;
        auto v = valueOf(literals[static_cast<std::size_t>(use.literal)], use.conversion);
        if (!v)
            return false;
        const std::size_t at = plan.firstValue + i;
        if (values.size() <= at)
            values.resize(at + 1);
        values[at] = std::move(*v);
    }
    if (plan.then && !bindNode(*plan.then, literals, values))
        return false;
    for (const auto& part : plan.parts)
        if (!bindNode(*part, literals, values))
            return false;
    return true;
}

} // namespace

std::optional<LiftedText> liftLiterals(std::string_view text)
{
    // SQLite reads a written text only up to a zero byte; bound, it would take it whole.
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::vector<Token> tokens;
    try {
        tokens = tokenize(text);
    } catch (const EngineError&) {
        return std::nullopt; // translated whole, it fails with the same error
    }
    LiftedText out;
    out.shape.reserve(text.size());
    std::size_t copied = 0;
    for (const Token& t : tokens) {
        if (t.kind == Token::Kind::Parameter)
            return std::nullopt;
        if (t.literal < 0)
            continue;
        appendVerbatim(out.shape, text.substr(copied, t.begin - copied));
        const Literal::Kind kind = kindOf(t);
        out.shape += kMark;
        out.shape += markOf(kind);
        out.literals.push_back(Literal{kind, t.value});
        copied = t.end;
    }
    appendVerbatim(out.shape, text.substr(copied));
    return out;
}

bool wholeNumberLiteral(std::string_view text)
{
    if (text.empty() || text.find_first_of(".eE") != std::string_view::npos)
        return false;
    std::int64_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    return error == std::errc() && end == text.data() + text.size();
}

bool boundValues(const Plan& plan, const std::vector<Literal>& literals, std::vector<Value>& values)
{
    values.clear();
    return bindNode(plan, literals, values);
}

} // namespace dalport::embedded
