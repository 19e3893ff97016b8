#pragma once
// A statement's results, read to the end when the statement ran: the engine never
// leaves a statement open between calls, so a session holds no read lock while the
// program walks its rows. A batch keeps every statement's result in order (result sets
// and changed-row counts); the walk MyADO does starts on the first result set.

#include "dalport/Backend.h"

#include <sqlite3.h>

#include <string>
#include <vector>

namespace dalport::embedded {

class RowsResult final : public Result {
public:
    RowsResult();
    // Takes the column names of a prepared statement.
    explicit RowsResult(sqlite3_stmt* stmt);

    // Appends the statement's current row.
    void addRow(sqlite3_stmt* stmt);
    // For a statement without columns: how many rows it changed.
    void setRowsAffected(long n) { m_sets.back().rowsAffected = n; }
    // Appends another statement's results after these (a batch).
    void append(RowsResult&& later);
    // Whether there is anything to show: a result set or a changed-row count.
    bool isEmpty() const;

    bool hasColumns() const { return !current().columns.empty(); }
    std::size_t rowCount() const { return current().rows.size(); }

    bool atEnd() const override;
    void moveNext() override;
    Value field(const std::string& name) const override;
    std::vector<std::string> columns() const override { return current().columns; }
    std::size_t resultCount() const override { return m_sets.size(); }
    void selectResult(std::size_t index) override;
    long rowsAffected() const override { return current().rowsAffected; }
    Value fieldAt(std::size_t column) const override;

private:
    struct Set {
        std::vector<std::string> columns;
        std::vector<bool> dateColumns;
        std::vector<std::vector<Value>> rows;
        long rowsAffected = -1;
    };
    const Set& current() const { return m_sets[m_current]; }

    std::vector<Set> m_sets;
    std::size_t m_current = 0;
    std::size_t m_pos = 0;
};

} // namespace dalport::embedded
