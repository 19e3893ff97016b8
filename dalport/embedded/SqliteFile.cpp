#include "dalport/embedded/SqliteFile.h"

#include "dalport/embedded/EngineFunctions.h"

#include <stdexcept>

namespace dalport::embedded {

SqliteFile::SqliteFile(const std::filesystem::path& path, Mode mode, int busyTimeoutMs)
{
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                                             : SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.string().c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        const std::string msg = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw std::runtime_error("cannot open " + path.string() + ": " + msg);
    }
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
    registerEngineFunctions(m_db);
}

SqliteFile::~SqliteFile() { sqlite3_close_v2(m_db); }

void SqliteFile::exec(const std::string& sql, const std::string& what)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(what + ": " + text);
    }
}

bool SqliteFile::run(const char* sql, std::initializer_list<std::string> args)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    int i = 1;
    for (const std::string& a : args)
        sqlite3_bind_text(stmt, i++, a.c_str(), static_cast<int>(a.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    return rc == SQLITE_ROW;
}

} // namespace dalport::embedded
