#include "tools/quorin-sql/ResultPrinter.h"

#include <algorithm>

namespace quorin::tools {

namespace {

constexpr std::size_t kMaxWidth = 256;

std::string fit(const std::string& text, std::size_t width)
{
    std::string s = text.size() > width ? text.substr(0, width) : text;
    s.append(width - s.size(), ' ');
    return s;
}

} // namespace

void printResult(std::ostream& out, const std::vector<std::string>& columns,
                 const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        std::size_t w = std::max<std::size_t>(columns[c].size(), 1);
        for (const auto& row : rows)
            w = std::max(w, row[c].size());
        widths.push_back(std::min(w, kMaxWidth));
    }
    auto line = [&](auto cell) {
        std::string text;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c)
                text += ' ';
            text += cell(c);
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        out << text << "\n";
    };
    line([&](std::size_t c) { return fit(columns[c], widths[c]); });
    line([&](std::size_t c) { return std::string(widths[c], '-'); });
    for (const auto& row : rows)
        line([&](std::size_t c) { return fit(row[c], widths[c]); });
    out << "\n(" << rows.size() << (rows.size() == 1 ? " row affected)" : " rows affected)") << "\n";
}

} // namespace quorin::tools
