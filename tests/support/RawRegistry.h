#pragma once
// Access to a registry's files with plain SQLite, to look at what the demo wrote (role
// tables, rows the program never selects) without going through a session, and to set
// up what a session cannot.

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorin::test {

class RawRegistry {
public:
    explicit RawRegistry(const std::string& folder);
    ~RawRegistry();
    RawRegistry(const RawRegistry&) = delete;
    RawRegistry& operator=(const RawRegistry&) = delete;

    // First column of the first row (0 without a row); Aud and CID are attached.
    std::int64_t number(const std::string& sql) const;
    // Every row of every column joined into one text, to compare whole tables.
    std::string dump(const std::string& sql) const;
    // Every row as its column texts; NULL reads as std::nullopt.
    std::vector<std::vector<std::optional<std::string>>> rows(const std::string& sql) const;

private:
    sqlite3* m_db = nullptr;
};

// Runs statements on one database file of a registry with plain SQLite and the engine's
// functions, for set-up a session cannot do (a trigger, a dropped index, a catalogue
// row); throws std::runtime_error with SQLite's message when they fail.
void ExecRaw(const std::string& folder, const std::string& database, const std::string& sql);

} // namespace quorin::test
