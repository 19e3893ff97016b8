#pragma once
// T-SQL's LIKE: % and _, [abc], [a-c], [^a] and an ESCAPE character, compared by the
// engine's collation (case-insensitive, accent-sensitive); trailing blanks of the
// matched text do not prevent a match. A pattern is compiled once and reused.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace dalport::embedded {

class LikePattern {
public:
    // `escape` is the ESCAPE character, if any.
    explicit LikePattern(std::string_view pattern, std::optional<std::int32_t> escape = std::nullopt);

    bool matches(std::string_view text) const;

private:
    struct Range {
        std::int32_t low;
        std::int32_t high; // == low for a single character
    };
    struct Element {
        enum class Kind { Char, One, Any, Set, Never };
        Kind kind = Kind::Char;
        std::int32_t c = 0; // Char: the case-folded character
        bool negate = false;
        std::vector<Range> ranges; // Set
    };

    bool matchCodePoints(const std::vector<std::int32_t>& text) const;
    bool elementMatches(const Element& e, std::int32_t c) const;

    std::vector<Element> m_elements;
};

// Decodes UTF-8 into code points (an invalid byte stands for itself).
std::vector<std::int32_t> codePoints(std::string_view utf8);

} // namespace dalport::embedded
