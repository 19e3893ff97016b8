#include "tools/quorin-sql/SqlClient.h"

#include "dalport/SessionObjects.h"
#include "tools/quorin-sql/ResultPrinter.h"

#include <cctype>
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

std::vector<dalport::ProviderError> SqlClient::connectionErrors() const
{
    return m_pConnection ? m_pConnection->errors : std::vector<dalport::ProviderError>{};
}

std::vector<std::string> SqlClient::columnNames() const
{
    const dalport::Result* result = m_pRecordset ? m_pRecordset->result.get() : nullptr;
    return result ? result->columns() : std::vector<std::string>{};
}

bool SqlClient::runBatch(const std::string& text, std::ostream& out)
{
    if (!RunTextQuery(text.c_str()))
        return false;
    const std::vector<std::string> columns = columnNames();
    if (columns.empty())
        return true;
    std::vector<std::vector<std::string>> rows;
    while (!IsEOF()) {
        std::vector<std::string> row;
        for (const std::string& c : columns)
            row.push_back(GetStringField(c.c_str()));
        rows.push_back(std::move(row));
        MoveNext();
    }
    printResult(out, columns, rows);
    return true;
}

} // namespace quorin::tools
