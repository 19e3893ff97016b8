#include "dalport/embedded/Statement.h"

#include <vector>

namespace dalport::embedded {

Statement::Statement(sqlite3* db, std::string_view sql) : m_db(db)
{
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        EngineError e = fromSqlite(db, rc);
        sqlite3_finalize(m_stmt);
        throw e;
    }
    if (!m_stmt)
        throw errors::syntaxAtEnd();
}

Statement::Statement(sqlite3* db, std::string_view sql, std::initializer_list<std::string> textArguments)
    : Statement(db, sql)
{
    int i = 1;
    for (const std::string& a : textArguments)
        bindText(i++, a);
}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

void Statement::bindText(int index, const std::string& text)
{
    const int rc = sqlite3_bind_text(m_stmt, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        throw fromSqlite(m_db, rc);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw fromSqlite(m_db, rc);
}

std::string Statement::text(int column) const
{
    const unsigned char* t = sqlite3_column_text(m_stmt, column);
    return t ? std::string(reinterpret_cast<const char*>(t), static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
             : std::string();
}

long long Statement::integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

std::vector<std::string> firstColumn(sqlite3* db, std::string_view sql)
{
    Statement s(db, sql);
    std::vector<std::string> out;
    while (s.step())
        out.push_back(s.text(0));
    return out;
}

} // namespace dalport::embedded
