#include "dalport/embedded/RowsResult.h"

#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/Tokenizer.h"

#include <cctype>

namespace dalport::embedded {

namespace {

// Whether a declared type holds the lower-case word, in any case (type names are ASCII).
bool containsWord(std::string_view text, std::string_view word)
{
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; };
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
        std::size_t k = 0;
        while (k < word.size() && fold(text[at + k]) == word[k])
            ++k;
        if (k == word.size())
            return true;
    }
    return false;
}

// Asked for every column of every statement run: no copy of the declared type.
bool isDateType(const char* decl)
{
    if (!decl)
        return false;
    const std::string_view t(decl);
    return containsWord(t, "date") || containsWord(t, "time");
}

} // namespace

RowsResult::RowsResult() : m_sets(1) {}

RowsResult::RowsResult(sqlite3_stmt* stmt) : m_sets(1)
{
    Set& set = m_sets.front();
    const int n = sqlite3_column_count(stmt);
    set.columns.reserve(static_cast<std::size_t>(n));
    set.dateColumns.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const char* name = sqlite3_column_name(stmt, i);
        set.columns.emplace_back(name ? name : "");
        // Only a column declared as a date is handed on as a date: an expression may be
        // CONVERT(char(23), d, 121), whose text looks the same but is text.
        set.dateColumns.push_back(isDateType(sqlite3_column_decltype(stmt, i)));
    }
}

void RowsResult::addRow(sqlite3_stmt* stmt)
{
    Set& set = m_sets.back();
    std::vector<Value> row;
    row.reserve(set.columns.size());
    for (int i = 0; i < static_cast<int>(set.columns.size()); ++i) {
        switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_NULL: row.push_back(Value::null()); break;
        case SQLITE_INTEGER: row.push_back(Value::integer(sqlite3_column_int64(stmt, i))); break;
        case SQLITE_FLOAT: row.push_back(Value::real(sqlite3_column_double(stmt, i))); break;
        default: {
            const unsigned char* t = sqlite3_column_text(stmt, i);
            const int len = sqlite3_column_bytes(stmt, i);
            std::string s(reinterpret_cast<const char*>(t), static_cast<std::size_t>(len));
            // Only a date in the engine's stored form is handed on as a date.
            if (set.dateColumns[static_cast<std::size_t>(i)] && hasStoredShape(s))
                row.push_back(Value::dateTime(std::move(s)));
            else
                row.push_back(Value::text(std::move(s)));
        }
        }
    }
    set.rows.push_back(std::move(row));
}

bool RowsResult::isEmpty() const
{
    for (const Set& set : m_sets)
        if (!set.columns.empty() || set.rowsAffected >= 0)
            return false;
    return true;
}

void RowsResult::append(RowsResult&& later)
{
    const bool hadRows = hasColumns();
    if (isEmpty())
        m_sets.clear();
    for (Set& set : later.m_sets)
        if (!set.columns.empty() || set.rowsAffected >= 0)
            m_sets.push_back(std::move(set));
    if (m_sets.empty())
        m_sets.emplace_back();
    // MyADO's walk stays on the batch's first result set.
    if (!hadRows) {
        m_current = 0;
        for (std::size_t k = 0; k < m_sets.size(); ++k) {
            if (!m_sets[k].columns.empty()) {
                m_current = k;
                break;
            }
        }
    }
    m_pos = 0;
}

void RowsResult::selectResult(std::size_t index)
{
    if (index < m_sets.size()) {
        m_current = index;
        m_pos = 0;
    }
}

bool RowsResult::atEnd() const { return m_pos >= current().rows.size(); }

void RowsResult::moveNext()
{
    if (atEnd())
        throw ComError(hr::NoCurrentRecord, "ADODB.Recordset", descr::NoCurrentRecord);
    ++m_pos;
}

Value RowsResult::field(const std::string& name) const
{
    const Set& set = current();
    for (std::size_t i = 0; i < set.columns.size(); ++i) {
        if (equalsIgnoreCase(set.columns[i], name)) {
            if (atEnd())
                throw ComError(hr::NoCurrentRecord, "ADODB.Field", descr::NoCurrentRecord);
            return set.rows[m_pos][i];
        }
    }
    throw ComError(hr::ItemNotFound, "ADODB.Fields", descr::ItemNotFound);
}

Value RowsResult::fieldAt(std::size_t column) const
{
    const Set& set = current();
    if (column >= set.columns.size())
        throw ComError(hr::ItemNotFound, "ADODB.Fields", descr::ItemNotFound);
    if (atEnd())
        throw ComError(hr::NoCurrentRecord, "ADODB.Field", descr::NoCurrentRecord);
    return set.rows[m_pos][column];
}

} // namespace dalport::embedded
