#pragma once
// A statement's first result set, read to the end when the statement ran: the engine
// never leaves a statement open between calls, so a session holds no read lock while
// the program walks its rows.

#include "dalport/Backend.h"

#include <sqlite3.h>

#include <string>
#include <vector>

namespace dalport::embedded {

class RowsResult final : public Result {
public:
    RowsResult() = default;
    // Takes the column names of a prepared statement.
    explicit RowsResult(sqlite3_stmt* stmt);

    // Appends the statement's current row.
    void addRow(sqlite3_stmt* stmt);
    bool hasColumns() const { return !m_columns.empty(); }
    std::size_t rowCount() const { return m_rows.size(); }

    bool atEnd() const override;
    void moveNext() override;
    Value field(const std::string& name) const override;
    std::vector<std::string> columns() const override { return m_columns; }

private:
    std::vector<std::string> m_columns;
    std::vector<bool> m_dateColumns;
    std::vector<std::vector<Value>> m_rows;
    std::size_t m_pos = 0;
};

} // namespace dalport::embedded
