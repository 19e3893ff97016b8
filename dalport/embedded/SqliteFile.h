#pragma once
// A raw SQLite handle on one file of a server, for the work done on files rather than in
// sessions (creating, backing up, restoring, checking): the engine's collation and
// functions registered, closed on every path, failures thrown as std::runtime_error.

#include <sqlite3.h>

#include <filesystem>
#include <initializer_list>
#include <string>

namespace dalport::embedded {

class SqliteFile {
public:
    enum class Mode { Existing, Create, ReadOnly };

    SqliteFile(const std::filesystem::path& path, Mode mode, int busyTimeoutMs = 30000);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    // Runs statements; `what` starts the message of a failure.
    void exec(const std::string& sql, const std::string& what);
    // Runs one statement with text parameters; true when it returned a row.
    bool run(const char* sql, std::initializer_list<std::string> args);

    sqlite3* handle() const { return m_db; }
    std::string error() const { return sqlite3_errmsg(m_db); }

private:
    sqlite3* m_db = nullptr;
};

} // namespace dalport::embedded
