#include "dalport/embedded/Tokenizer.h"

#include "dalport/embedded/EngineError.h"

#include <cctype>
#include <stdexcept>

namespace dalport::embedded {

namespace {

bool isWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c == '#' || c >= 0x80; }
bool isWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c == '#' || c >= 0x80; }

EngineError unclosedQuote(std::string_view rest)
{
    return EngineError{105, 15, 1, "Unclosed quotation mark after the character string '" + std::string(rest) + "'."};
}

class Scanner {
public:
    explicit Scanner(std::string_view s) : m_s(s) {}

    std::vector<Token> run()
    {
        std::vector<Token> out;
        while (skipSpaceAndComments()) {
            Token t;
            t.begin = m_i;
            scanOne(t);
            t.end = m_i;
            if (t.kind == Token::Kind::String || t.kind == Token::Kind::Number)
                t.literal = m_literals++;
            out.push_back(std::move(t));
        }
        Token end;
        end.begin = end.end = m_s.size();
        out.push_back(end);
        return out;
    }

private:
    unsigned char at(std::size_t i) const { return i < m_s.size() ? static_cast<unsigned char>(m_s[i]) : 0; }

    bool skipSpaceAndComments()
    {
        for (;;) {
            while (m_i < m_s.size() && std::isspace(at(m_i)))
                ++m_i;
            if (at(m_i) == '-' && at(m_i + 1) == '-') {
                while (m_i < m_s.size() && at(m_i) != '\n')
                    ++m_i;
            } else if (at(m_i) == '/' && at(m_i + 1) == '*') {
                // T-SQL block comments nest.
                int depth = 0;
                do {
                    if (m_i >= m_s.size())
                        throw EngineError{113, 15, 1, "Missing end comment mark '*/'."};
                    if (at(m_i) == '/' && at(m_i + 1) == '*') {
                        ++depth;
                        m_i += 2;
                    } else if (at(m_i) == '*' && at(m_i + 1) == '/') {
                        --depth;
                        m_i += 2;
                    } else {
                        ++m_i;
                    }
                } while (depth > 0);
            } else {
                return m_i < m_s.size();
            }
        }
    }

    void scanString(Token& t)
    {
        const std::size_t start = m_i;
        ++m_i; // opening quote
        std::string value;
        for (;;) {
            if (m_i >= m_s.size())
                throw unclosedQuote(m_s.substr(start + 1));
            if (at(m_i) == '\'') {
                if (at(m_i + 1) == '\'') {
                    value += '\'';
                    m_i += 2;
                    continue;
                }
                ++m_i;
                break;
            }
            value += m_s[m_i++];
        }
        t.kind = Token::Kind::String;
        t.value = std::move(value);
    }

    void scanDelimited(Token& t, char close)
    {
        const std::size_t start = m_i;
        ++m_i;
        std::string value;
        for (;;) {
            if (m_i >= m_s.size()) {
                if (close == ']')
                    throw EngineError{105, 15, 1, "Unclosed quotation mark after the character string '"
                                                       + std::string(m_s.substr(start + 1)) + "'."};
                throw unclosedQuote(m_s.substr(start + 1));
            }
            if (m_s[m_i] == close) {
                if (m_s[m_i + 1 < m_s.size() ? m_i + 1 : m_i] == close && m_i + 1 < m_s.size()) {
                    value += close;
                    m_i += 2;
                    continue;
                }
                ++m_i;
                break;
            }
            value += m_s[m_i++];
        }
        t.kind = Token::Kind::Quoted;
        t.value = std::move(value);
    }

    void scanNumber(Token& t)
    {
        const std::size_t start = m_i;
        while (std::isdigit(at(m_i)))
            ++m_i;
        if (at(m_i) == '.') {
            ++m_i;
            while (std::isdigit(at(m_i)))
                ++m_i;
        }
        // An exponent only when digits follow, so "1else" stays a number and a word.
        if ((at(m_i) == 'e' || at(m_i) == 'E')
            && (std::isdigit(at(m_i + 1)) || ((at(m_i + 1) == '+' || at(m_i + 1) == '-') && std::isdigit(at(m_i + 2))))) {
            m_i += 2;
            while (std::isdigit(at(m_i)))
                ++m_i;
        }
        t.kind = Token::Kind::Number;
        t.value = std::string(m_s.substr(start, m_i - start));
    }

    void scanOne(Token& t)
    {
        const unsigned char c = at(m_i);
        if (c == '\'') {
            scanString(t);
        } else if ((c == 'N' || c == 'n') && at(m_i + 1) == '\'') {
            ++m_i;
            scanString(t);
        } else if (c == '[') {
            scanDelimited(t, ']');
        } else if (c == '"') {
            scanDelimited(t, '"');
        } else if (c == '`') {
            scanDelimited(t, '`');
        } else if (std::isdigit(c) || (c == '.' && std::isdigit(at(m_i + 1)))) {
            scanNumber(t);
        } else if (c == '@') {
            const std::size_t start = m_i;
            m_i += at(m_i + 1) == '@' ? 2 : 1;
            while (isWordChar(at(m_i)))
                ++m_i;
            t.kind = Token::Kind::Variable;
            t.value = std::string(m_s.substr(start, m_i - start));
        } else if (isWordStart(c)) {
            const std::size_t start = m_i;
            while (isWordChar(at(m_i)))
                ++m_i;
            t.kind = Token::Kind::Word;
            t.value = std::string(m_s.substr(start, m_i - start));
        } else if (c == '?') {
            ++m_i;
            t.kind = Token::Kind::Parameter;
            t.value = "?";
        } else {
            static const char* twoChar[] = {"<=", ">=", "<>", "!=", "!<", "!>", "||", "==", "<<", ">>"};
            t.kind = Token::Kind::Symbol;
            for (const char* op : twoChar) {
                if (at(m_i) == static_cast<unsigned char>(op[0]) && at(m_i + 1) == static_cast<unsigned char>(op[1])) {
                    t.value = op;
                    m_i += 2;
                    return;
                }
            }
            t.value = std::string(1, static_cast<char>(c));
            ++m_i;
        }
    }

    std::string_view m_s;
    std::size_t m_i = 0;
    int m_literals = 0;
};

} // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string toLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

namespace {
EngineError overflow(const std::string& text)
{
    return EngineError{8115, 16, 2, "Arithmetic overflow error converting expression to data type int: " + text + "."};
}
} // namespace

long long integerValue(const Token& t)
{
    try {
        return std::stoll(t.value);
    } catch (const std::exception&) {
        throw overflow(t.value);
    }
}

double realValue(const Token& t)
{
    try {
        return std::stod(t.value);
    } catch (const std::exception&) {
        throw overflow(t.value);
    }
}

int smallIntegerValue(const Token& t)
{
    const long long v = integerValue(t);
    if (v > 2147483647LL || v < -2147483648LL)
        throw overflow(t.value);
    return static_cast<int>(v);
}

bool Token::isWord(std::string_view w) const { return kind == Kind::Word && equalsIgnoreCase(value, w); }

std::vector<Token> tokenize(std::string_view text) { return Scanner(text).run(); }

} // namespace dalport::embedded
