#include "tools/quorin-sql/SqlClient.h"


#include <cctype>
#include <cstdio>
#include <sstream>

namespace quorin::tools {

namespace {

std::string trimmed(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

bool isGo(const std::string& line)
{
    const std::string t = trimmed(line);
    return t.size() == 2 && std::toupper(static_cast<unsigned char>(t[0])) == 'G'
        && std::toupper(static_cast<unsigned char>(t[1])) == 'O';
}

} // namespace

std::vector<std::string> SqlClient::splitBatches(const std::string& script)
{
    std::vector<std::string> batches;
    std::istringstream in(script);
    std::string line, current;
    while (std::getline(in, line)) {
        if (isGo(line)) {
            if (!trimmed(current).empty())
                batches.push_back(current);
            current.clear();
        } else {
            current += line + "\n";
        }
    }
    if (!trimmed(current).empty())
        batches.push_back(current);
    return batches;
}

std::string SqlClient::cellText(const dalport::Value& v)
{
    using Kind = dalport::Value::Kind;
    switch (v.kind) {
    case Kind::Null: return "NULL";
    case Kind::Int: return std::to_string(v.i);
    case Kind::Double: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", v.d);
        return buf;
    }
    case Kind::DateTime: {
        // "YYYY-MM-DD[ HH:MM[:SS[.f...]]]" completed to SQL Server's datetime form.
        std::string s = v.s;
        static const std::string full = "1900-01-01 00:00:00.000";
        if (s.size() < full.size())
            s += full.substr(s.size());
        return s.substr(0, full.size());
    }
    case Kind::Text: break;
    }
    return v.s;
}

bool SqlClient::runBatch(const std::string& text, std::ostream& out, const PrintOptions& options)
{
    if (!RunTextQuery(text.c_str()))
        return false;
    const int results = GetResultCount();
    bool allOk = true;
    for (int r = 0; r < results; ++r) {
        if (!SelectResult(r)) {
            allOk = false; // reported as it came; the batch's later results still show
            continue;
        }
        const std::vector<std::string> columns = GetColumnNames();
        if (columns.empty()) {
            const long changed = GetRowsAffected();
            if (changed >= 0) {
                printRowsAffected(out, changed);
            }
            continue;
        }
        std::vector<std::vector<std::string>> rows;
        while (!IsEOF()) {
            std::vector<std::string> row;
            for (std::size_t c = 0; c < columns.size(); ++c)
                row.push_back(cellText(GetFieldValue(static_cast<int>(c))));
            rows.push_back(std::move(row));
            MoveNext();
        }
        printResult(out, columns, rows, options);
    }
    return allOk;
}

} // namespace quorin::tools
