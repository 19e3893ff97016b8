#pragma once
// Splits T-SQL text into tokens. It also serves procedure bodies (SQLite text), so it
// keeps every token's place in the source: a rewrite can splice the original text.

#include <string>
#include <string_view>
#include <vector>

namespace dalport::embedded {

struct Token {
    enum class Kind {
        Word,       // identifier or keyword: letters, digits, _, $, #
        Quoted,     // [name] or "name"; value holds the name
        String,     // 'text' or N'text'; value holds the text with '' undone
        Number,     // 12, 365.25, 1e5
        Variable,   // @name or @@name
        Parameter,  // ?
        Symbol,     // operators and punctuation (value holds the symbol)
        End
    };
    Kind kind = Kind::End;
    std::string value;
    std::size_t begin = 0; // offset of the token in the source
    std::size_t end = 0;
    int literal = -1; // String, Number: its place among the literals of the text (0, 1, ...)

    bool isWord(std::string_view w) const; // a Word equal to w, ignoring case
    bool isSymbol(std::string_view s) const { return kind == Kind::Symbol && value == s; }
};

// Throws EngineError 102/105 for an unterminated string, bracket or comment.
std::vector<Token> tokenize(std::string_view text);

// The value of a Number token; throws EngineError 8115 when it does not fit.
long long integerValue(const Token& t);
double realValue(const Token& t);
int smallIntegerValue(const Token& t); // fits an int

bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLower(std::string_view s);

} // namespace dalport::embedded
