#pragma once
// One prepared INSERT reused for every row of a table: the demo writes hundreds of
// thousands of rows, and preparing once is what keeps that fast.

#include "database/demo/DemoDate.h"

#include <sqlite3.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace quorin::demo {

struct Null {};
using SqlValue = std::variant<Null, std::int64_t, double, std::string, DemoDate>;

inline SqlValue num(std::int64_t v) { return SqlValue{v}; }
inline SqlValue real(double v) { return SqlValue{v}; }
inline SqlValue text(std::string_view v) { return SqlValue{std::string(v)}; }

class SqliteInserter {
public:
    // table may carry a schema prefix ("Aud.info"); columns in the order rows give them.
    SqliteInserter(sqlite3* db, const std::string& table, std::initializer_list<const char*> columns);
    ~SqliteInserter();
    SqliteInserter(const SqliteInserter&) = delete;
    SqliteInserter& operator=(const SqliteInserter&) = delete;

    // Inserts one row and returns its rowid (the new key of an INTEGER PRIMARY KEY).
    std::int64_t insert(std::initializer_list<SqlValue> values);

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    int m_columns = 0;
    std::string m_table;
};

// Runs statements that return nothing; throws std::runtime_error with SQLite's message.
void execute(sqlite3* db, const std::string& sql);
// The first column of the first row as a number (0 when there is no row).
std::int64_t queryNumber(sqlite3* db, const std::string& sql);

} // namespace quorin::demo
