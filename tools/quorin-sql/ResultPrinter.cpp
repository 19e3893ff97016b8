#include "tools/quorin-sql/ResultPrinter.h"

#include <algorithm>

namespace quorin::tools {

namespace {

constexpr std::size_t kMaxWidth = 256;

// Width on screen in characters (code points), not bytes.
std::size_t displayWidth(const std::string& text)
{
    std::size_t n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string fit(const std::string& text, std::size_t width)
{
    std::string s;
    std::size_t shown = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lead = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (lead && shown == width)
            break;
        if (lead)
            ++shown;
        s += text[i];
    }
    s.append(width - shown, ' ');
    return s;
}

std::string trimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

void printResult(std::ostream& out, const std::vector<std::string>& columns,
                 const std::vector<std::vector<std::string>>& rows, const PrintOptions& options)
{
    std::vector<std::size_t> widths;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        std::size_t w = std::max<std::size_t>(displayWidth(columns[c]), 1);
        for (const auto& row : rows)
            w = std::max(w, displayWidth(row[c]));
        widths.push_back(std::min(w, kMaxWidth));
    }
    auto line = [&](auto cell) {
        std::string text;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c)
                text += options.separator;
            text += options.trimSpaces ? trimRight(cell(c, false)) : cell(c, true);
        }
        out << trimRight(text) << "\n";
    };
    auto header = [&] {
        line([&](std::size_t c, bool pad) { return pad ? fit(columns[c], widths[c]) : columns[c]; });
        line([&](std::size_t c, bool pad) {
            return std::string(pad ? widths[c] : std::max<std::size_t>(displayWidth(columns[c]), 1), '-');
        });
    };
    const int every = options.headerEvery.value_or(0);
    if (every >= 0)
        header();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (every > 0 && r > 0 && r % static_cast<std::size_t>(every) == 0) {
            out << "\n";
            header();
        }
        line([&](std::size_t c, bool pad) { return pad ? fit(rows[r][c], widths[c]) : rows[r][c]; });
    }
    out << "\n";
    printRowsAffected(out, static_cast<long>(rows.size()));
}

void printRowsAffected(std::ostream& out, long count)
{
    out << "(" << count << (count == 1 ? " row affected)" : " rows affected)") << "\n";
}

} // namespace quorin::tools
