#include "tools/quorin-sql/SelectListNames.h"

#include <cctype>

namespace quorin::tools {

namespace {

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

std::string unbracket(std::string s)
{
    if (s.size() >= 2 && ((s.front() == '[' && s.back() == ']') || (s.front() == '"' && s.back() == '"')))
        return s.substr(1, s.size() - 2);
    return s;
}

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ']' || c == '"'; }

// The last word of an item ("expr AS name", "expr name", "t.col").
std::string itemName(const std::string& item)
{
    std::size_t end = item.size();
    std::size_t begin = end;
    if (end > 0 && (item[end - 1] == ']' || item[end - 1] == '"')) {
        const char open = item[end - 1] == ']' ? '[' : '"';
        const auto o = item.rfind(open, end - 2);
        begin = o == std::string::npos ? 0 : o;
    } else {
        while (begin > 0 && isWordChar(item[begin - 1]))
            --begin;
    }
    return unbracket(item.substr(begin, end - begin));
}

} // namespace

std::vector<std::string> selectListNames(const std::string& sql)
{
    const std::string low = lower(sql);
    std::size_t pos = low.find("select");
    if (pos == std::string::npos)
        return {};
    pos += 6;
    // Skip DISTINCT and TOP n.
    auto skipWord = [&](const char* w) {
        const std::size_t at = low.find_first_not_of(" \t\r\n", pos);
        const std::size_t n = std::char_traits<char>::length(w);
        if (at != std::string::npos && low.compare(at, n, w) == 0 && !isWordChar(low[at + n])) {
            pos = at + n;
            return true;
        }
        return false;
    };
    skipWord("distinct");
    if (skipWord("top")) {
        const std::size_t at = low.find_first_not_of(" \t\r\n", pos);
        pos = low.find_first_of(" \t\r\n", at);
    }
    std::vector<std::string> names;
    int depth = 0;
    bool quoted = false;
    std::size_t start = pos;
    for (std::size_t i = pos; i <= sql.size(); ++i) {
        const char c = i < sql.size() ? sql[i] : ',';
        if (quoted) {
            quoted = c != '\'';
            continue;
        }
        if (c == '\'')
            quoted = true;
        else if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        const bool atFrom = depth == 0 && i < sql.size() && low.compare(i, 4, "from") == 0
            && (i == 0 || !isWordChar(low[i - 1])) && !isWordChar(i + 4 < low.size() ? low[i + 4] : ' ');
        if ((depth == 0 && c == ',') || atFrom || i == sql.size()) {
            const std::string item = trim(sql.substr(start, i - start));
            if (item == "*" || (item.size() > 2 && item.compare(item.size() - 2, 2, ".*") == 0))
                return {};
            if (!item.empty())
                names.push_back(itemName(item));
            start = i + 1;
            if (atFrom || i == sql.size())
                break;
        }
    }
    return names;
}

} // namespace quorin::tools
