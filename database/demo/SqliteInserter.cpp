#include "database/demo/SqliteInserter.h"

#include <stdexcept>

namespace quorin::demo {

namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what)
{
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

void bind(sqlite3* db, sqlite3_stmt* statement, int index, const SqlValue& value)
{
    int rc = SQLITE_OK;
    if (std::holds_alternative<Null>(value))
        rc = sqlite3_bind_null(statement, index);
    else if (const auto* i = std::get_if<std::int64_t>(&value))
        rc = sqlite3_bind_int64(statement, index, *i);
    else if (const auto* d = std::get_if<double>(&value))
        rc = sqlite3_bind_double(statement, index, *d);
    else if (const auto* s = std::get_if<std::string>(&value))
        rc = sqlite3_bind_text(statement, index, s->c_str(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else
        rc = sqlite3_bind_text(statement, index, std::get<DemoDate>(value).stored().c_str(), -1, SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(db, "binding a demo value");
}

} // namespace

SqliteInserter::SqliteInserter(sqlite3* db, const std::string& table, std::initializer_list<const char*> columns)
    : m_db(db), m_columns(static_cast<int>(columns.size())), m_table(table)
{
    std::string names;
    std::string marks;
    for (const char* column : columns) {
        if (!names.empty()) {
            names += ", ";
            marks += ", ";
        }
        names += column;
        marks += "?";
    }
    const std::string sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
    if (sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr) != SQLITE_OK)
        fail(db, "preparing the demo rows of " + table);
}

SqliteInserter::~SqliteInserter()
{
    sqlite3_finalize(m_statement);
}

std::int64_t SqliteInserter::insert(std::initializer_list<SqlValue> values)
{
    if (static_cast<int>(values.size()) != m_columns)
        throw std::logic_error("demo row of " + m_table + " has the wrong number of values");
    int index = 1;
    for (const auto& value : values)
        bind(m_db, m_statement, index++, value);
    const int rc = sqlite3_step(m_statement);
    sqlite3_reset(m_statement);
    if (rc != SQLITE_DONE)
        fail(m_db, "writing a demo row of " + m_table);
    return sqlite3_last_insert_rowid(m_db);
}

void execute(sqlite3* db, const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("demo registry: " + text);
    }
}

std::int64_t queryNumber(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        fail(db, "demo registry query");
    std::int64_t value = 0;
    if (sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

} // namespace quorin::demo
