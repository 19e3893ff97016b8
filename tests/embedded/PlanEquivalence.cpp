#include "PlanEquivalence.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace testing_embedded {

namespace {

std::string valueText(const dalport::Value& v)
{
    switch (v.kind) {
    case dalport::Value::Kind::Null: return "null";
    case dalport::Value::Kind::Int: return "int " + std::to_string(v.i);
    case dalport::Value::Kind::Double: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "real %.17g", v.d);
        return buf;
    }
    case dalport::Value::Kind::Text: return "text '" + v.s + "'";
    case dalport::Value::Kind::DateTime: return "date " + v.s;
    }
    return "?";
}

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#' || c == '$'; }

std::string otherText(const std::string& text, int variant)
{
    switch (variant % kLiteralVariants) {
    case 1: return text + text + "x"; // longer
    case 2: return "";
    case 3: return "7";
    case 4: return "2/30/2005";
    default: return "12/31/1999";
    }
}

std::string otherNumber(const std::string& number, int variant)
{
    if (number.find_first_of(".eE") != std::string::npos)
        return variant % 2 ? number + "5" : "0.25";
    if (number.size() > 9)
        return number; // beyond what the engine binds: kept as written
    const long long n = std::atoll(number.c_str());
    return std::to_string(variant % 3 == 2 ? 0 : n + 7 * variant);
}

} // namespace

void connectByExactText(MyADO& session, const std::string& folder, const char* login, const char* password,
                        const char* database)
{
    ::setenv("QUORIN_PLAN_CACHE", "off", 1);
    const int ok = session.SetDataSource(folder.c_str(), login, password, database);
    ::unsetenv("QUORIN_PLAN_CACHE");
    ASSERT_EQ(ok, 1) << "cannot connect " << login << " to " << database;
}

std::vector<std::string> outcomeOf(WholeSession& session, Boxes& boxes, const std::string& text)
{
    boxes.clear();
    std::vector<std::string> out;
    const int ok = session.RunTextQuery(text.c_str());
    out.push_back(ok ? "ran" : "failed");
    for (int r = 0; ok && r < session.GetResultCount(); ++r) {
        if (!session.SelectResult(r)) {
            out.push_back("result " + std::to_string(r) + " failed");
            continue;
        }
        std::string columns = "columns";
        for (const std::string& c : session.GetColumnNames())
            columns += " [" + c + "]";
        out.push_back(columns + ", affected " + std::to_string(session.GetRowsAffected()));
        const int n = static_cast<int>(session.GetColumnNames().size());
        for (; !session.IsEOF(); session.MoveNext()) {
            std::string row = "row";
            for (int c = 0; c < n; ++c)
                row += " | " + valueText(session.GetFieldValue(c));
            out.push_back(row);
        }
    }
    for (const auto& e : boxes.all)
        out.push_back("box " + std::to_string(e.number) + ": " + e.text);
    return out;
}

std::string withOtherLiterals(const std::string& text, int variant)
{
    std::string out;
    std::size_t i = 0;
    auto skipTo = [&](const char* close) {
        const std::size_t end = text.find(close, i + 1);
        const std::size_t stop = end == std::string::npos ? text.size() : end + std::string(close).size();
        out.append(text, i, stop - i);
        i = stop;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            skipTo("\n");
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            skipTo("*/");
        } else if (c == '[') {
            skipTo("]");
        } else if (c == '"') {
            skipTo("\"");
        } else if (c == '\'') {
            std::string value;
            std::size_t j = i + 1;
            for (; j < text.size(); ++j) {
                if (text[j] == '\'' && j + 1 < text.size() && text[j + 1] == '\'') {
                    value += '\'';
                    ++j;
                } else if (text[j] == '\'') {
                    break;
                } else {
                    value += text[j];
                }
            }
            if (j >= text.size()) { // unclosed: left as it is
                out.append(text, i, std::string::npos);
                break;
            }
            std::string quoted = "'";
            for (char v : otherText(value, variant))
                quoted += v == '\'' ? std::string("''") : std::string(1, v);
            out += quoted + "'";
            i = j + 1;
        } else if (std::isdigit(static_cast<unsigned char>(c)) && (i == 0 || !isWordChar(text[i - 1]))
                   && (i == 0 || text[i - 1] != '.')) {
            std::size_t j = i;
            while (j < text.size() && (std::isdigit(static_cast<unsigned char>(text[j])) || text[j] == '.'))
                ++j;
            out += otherNumber(text.substr(i, j - i), variant);
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

} // namespace testing_embedded
