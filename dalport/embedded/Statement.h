#pragma once
// One SQLite statement the engine runs for itself (catalogue, logins, roles): prepared,
// bound, stepped and finalized in one place, every failure reported as an EngineError.

#include "dalport/embedded/EngineError.h"

#include <sqlite3.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace dalport::embedded {

class Statement {
public:
    // Throws EngineError when the text does not prepare.
    Statement(sqlite3* db, std::string_view sql);
    Statement(sqlite3* db, std::string_view sql, std::initializer_list<std::string> textArguments);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bindText(int index, const std::string& text);
    // True on a row, false when done; throws EngineError on failure.
    bool step();
    std::string text(int column) const; // "" for NULL
    long long integer(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// The first column of every row.
std::vector<std::string> firstColumn(sqlite3* db, std::string_view sql);

} // namespace dalport::embedded
