#include "dalport/embedded/LikePattern.h"

#include "dalport/embedded/Collation.h"

#include <unicode/utf8.h>

namespace dalport::embedded {

namespace {

bool isAsciiAlnum(std::int32_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Where a character falls between two others by the collation; plain letters and digits
// take a short way with the same answer.
bool inRange(std::int32_t c, std::int32_t low, std::int32_t high)
{
    if (isAsciiAlnum(c) && isAsciiAlnum(low) && isAsciiAlnum(high)) {
        auto key = [](std::int32_t x) { return x >= 'A' && x <= 'Z' ? x + 32 : x; };
        return key(low) <= key(c) && key(c) <= key(high);
    }
    return compareCharacters(low, c) <= 0 && compareCharacters(c, high) <= 0;
}

} // namespace

std::vector<std::int32_t> codePoints(std::string_view utf8)
{
    std::vector<std::int32_t> out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        out.push_back(c < 0 ? 0x110000 + s[start] : c); // an invalid byte matches only itself
    }
    return out;
}

LikePattern::LikePattern(std::string_view pattern, std::optional<std::int32_t> escape)
{
    const std::vector<std::int32_t> p = codePoints(pattern);
    for (std::size_t i = 0; i < p.size(); ++i) {
        const std::int32_t c = p[i];
        Element e;
        if (escape && c == *escape) {
            // The escaped character stands for itself; a trailing escape matches nothing.
            if (i + 1 >= p.size()) {
                e.kind = Element::Kind::Never;
            } else {
                e.c = foldCase(p[++i]);
            }
        } else if (c == '%') {
            if (!m_elements.empty() && m_elements.back().kind == Element::Kind::Any)
                continue;
            e.kind = Element::Kind::Any;
        } else if (c == '_') {
            e.kind = Element::Kind::One;
        } else if (c == '[') {
            std::size_t j = i + 1;
            e.kind = Element::Kind::Set;
            if (j < p.size() && p[j] == '^') {
                e.negate = true;
                ++j;
            }
            bool closed = false;
            while (j < p.size()) {
                std::int32_t x = p[j];
                if (x == ']') {
                    closed = true;
                    break;
                }
                if (escape && x == *escape && j + 1 < p.size())
                    x = p[++j];
                if (j + 2 < p.size() && p[j + 1] == '-' && p[j + 2] != ']') {
                    e.ranges.push_back({x, p[j + 2]});
                    j += 3;
                } else {
                    e.ranges.push_back({x, x});
                    ++j;
                }
            }
            if (!closed) {
                // An unclosed bracket matches nothing, as on SQL Server.
                m_elements.assign(1, Element{Element::Kind::Never, 0, false, {}});
                return;
            }
            i = j;
        } else {
            e.c = foldCase(c);
        }
        m_elements.push_back(std::move(e));
    }
}

bool LikePattern::elementMatches(const Element& e, std::int32_t c) const
{
    switch (e.kind) {
    case Element::Kind::Char: return foldCase(c) == e.c;
    case Element::Kind::One: return true;
    case Element::Kind::Set: {
        bool in = false;
        for (const Range& r : e.ranges) {
            if (r.low == r.high ? foldCase(c) == foldCase(r.low) : inRange(c, r.low, r.high)) {
                in = true;
                break;
            }
        }
        return in != e.negate;
    }
    case Element::Kind::Any:
    case Element::Kind::Never: return false;
    }
    return false;
}

bool LikePattern::matchCodePoints(const std::vector<std::int32_t>& text) const
{
    // Every element but % takes exactly one character, so the classic two-pointer walk
    // with a return point at the last % is exact.
    std::size_t t = 0, p = 0;
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < m_elements.size() && m_elements[p].kind == Element::Kind::Any) {
            starP = p++;
            starT = t;
        } else if (p < m_elements.size() && elementMatches(m_elements[p], text[t])) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < m_elements.size() && m_elements[p].kind == Element::Kind::Any)
        ++p;
    return p == m_elements.size();
}

bool LikePattern::matches(std::string_view text) const
{
    std::vector<std::int32_t> cps = codePoints(text);
    if (matchCodePoints(cps))
        return true;
    // Trailing blanks of the text do not count.
    std::size_t n = cps.size();
    while (n > 0 && cps[n - 1] == ' ')
        --n;
    if (n == cps.size())
        return false;
    cps.resize(n);
    return matchCodePoints(cps);
}

} // namespace dalport::embedded
