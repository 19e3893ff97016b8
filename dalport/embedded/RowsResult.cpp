#include "dalport/embedded/RowsResult.h"

#include "dalport/embedded/Tokenizer.h"

#include <cctype>

namespace dalport::embedded {

namespace {

bool isDateType(const char* decl)
{
    if (!decl)
        return false;
    const std::string t = toLower(decl);
    return t.find("date") != std::string::npos || t.find("time") != std::string::npos;
}

// Only a date in the engine's stored form is handed on as a date.
bool isStoredDate(const unsigned char* s, int n)
{
    if (n != 23)
        return false;
    static const char pattern[] = "dddd-dd-dd dd:dd:dd.ddd";
    for (int i = 0; i < n; ++i) {
        const bool digit = std::isdigit(s[i]) != 0;
        if ((pattern[i] == 'd') != digit || (pattern[i] != 'd' && s[i] != static_cast<unsigned char>(pattern[i])))
            return false;
    }
    return true;
}

} // namespace

RowsResult::RowsResult(sqlite3_stmt* stmt)
{
    const int n = sqlite3_column_count(stmt);
    for (int i = 0; i < n; ++i) {
        const char* name = sqlite3_column_name(stmt, i);
        m_columns.emplace_back(name ? name : "");
        // Only a column declared as a date is handed on as a date: an expression may be
        // CONVERT(char(23), d, 121), whose text looks the same but is text.
        m_dateColumns.push_back(isDateType(sqlite3_column_decltype(stmt, i)));
    }
}

void RowsResult::addRow(sqlite3_stmt* stmt)
{
    std::vector<Value> row;
    row.reserve(m_columns.size());
    for (int i = 0; i < static_cast<int>(m_columns.size()); ++i) {
        switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_NULL: row.push_back(Value::null()); break;
        case SQLITE_INTEGER: row.push_back(Value::integer(sqlite3_column_int64(stmt, i))); break;
        case SQLITE_FLOAT: row.push_back(Value::real(sqlite3_column_double(stmt, i))); break;
        default: {
            const unsigned char* t = sqlite3_column_text(stmt, i);
            const int len = sqlite3_column_bytes(stmt, i);
            std::string s(reinterpret_cast<const char*>(t), static_cast<std::size_t>(len));
            if (m_dateColumns[static_cast<std::size_t>(i)] && isStoredDate(t, len))
                row.push_back(Value::dateTime(std::move(s)));
            else
                row.push_back(Value::text(std::move(s)));
        }
        }
    }
    m_rows.push_back(std::move(row));
}

bool RowsResult::atEnd() const { return m_pos >= m_rows.size(); }

void RowsResult::moveNext()
{
    if (atEnd())
        throw ComError(hr::NoCurrentRecord, "ADODB.Recordset", descr::NoCurrentRecord);
    ++m_pos;
}

Value RowsResult::field(const std::string& name) const
{
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (equalsIgnoreCase(m_columns[i], name)) {
            if (atEnd())
                throw ComError(hr::NoCurrentRecord, "ADODB.Field", descr::NoCurrentRecord);
            return m_rows[m_pos][i];
        }
    }
    throw ComError(hr::ItemNotFound, "ADODB.Fields", descr::ItemNotFound);
}

} // namespace dalport::embedded
