#pragma once
// Every database of a server read at one point in time, while programs go on writing.
//
// A transaction that spans databases commits them one after another, so reading each
// file whenever it comes could catch one database after such a commit and another before
// it. The snapshot first holds the write lock of every database (in the order sessions
// take them, never waiting long while holding some, so no writer times out), opens one
// read transaction over them all, and lets the writers go again: from then on writers
// work on while the snapshot still reads the state of that moment (the write-ahead log).

#include "dalport/embedded/SqliteFile.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dalport::embedded {

class Snapshot {
public:
    // `files`: each database's schema name and file. Throws std::runtime_error when the
    // databases stayed busy for `patience`.
    explicit Snapshot(const std::vector<std::pair<std::string, std::filesystem::path>>& files,
                      std::chrono::milliseconds patience = std::chrono::seconds(60));
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    // One connection with every database attached under its schema name, inside the
    // snapshot's read transaction.
    sqlite3* handle() const { return m_reader->handle(); }

private:
    std::unique_ptr<SqliteFile> m_reader;
};

} // namespace dalport::embedded
