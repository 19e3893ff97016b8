#include "dalport/embedded/Snapshot.h"

#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Tokenizer.h"

#include <algorithm>
#include <random>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

// How long the snapshot waits for one database's lock while it may hold others: a writer
// waiting for those meanwhile waits about this long per database, far below its own
// time-out.
constexpr int kLockWaitMs = 200;

bool execBusy(sqlite3* db, const char* sql)
{
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if ((rc & 0xff) == SQLITE_BUSY)
        return false;
    if (rc != SQLITE_OK)
        throw std::runtime_error(std::string("cannot read the registry: ") + sqlite3_errmsg(db));
    return true;
}

// The write locks of every database, taken in the sessions' order (by name) or not at all.
class WriteGate {
public:
    explicit WriteGate(std::vector<std::pair<std::string, fs::path>> files)
    {
        std::sort(files.begin(), files.end(),
                  [](const auto& a, const auto& b) { return toLower(a.first) < toLower(b.first); });
        for (const auto& [name, path] : files)
            m_files.push_back(std::make_unique<SqliteFile>(path, SqliteFile::Mode::Existing, kLockWaitMs));
    }
    ~WriteGate() { release(); }

    bool tryClose()
    {
        for (const auto& file : m_files) {
            if (!execBusy(file->handle(), "BEGIN IMMEDIATE")) {
                release();
                return false;
            }
            ++m_held;
        }
        return true;
    }

    void release()
    {
        for (std::size_t i = 0; i < m_held; ++i)
            sqlite3_exec(m_files[i]->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        m_held = 0;
    }

private:
    std::vector<std::unique_ptr<SqliteFile>> m_files;
    std::size_t m_held = 0;
};

} // namespace

Snapshot::Snapshot(const std::vector<std::pair<std::string, fs::path>>& files, std::chrono::milliseconds patience)
{
    m_reader = std::make_unique<SqliteFile>(":memory:", SqliteFile::Mode::Create);
    for (const auto& [name, path] : files)
        m_reader->exec("ATTACH DATABASE " + quoteString(path.string()) + " AS " + quoteName(name), name);
    m_reader->exec("PRAGMA query_only = 1", "the snapshot");

    WriteGate gate(files);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::minstd_rand jitter(std::random_device{}());
    while (!gate.tryClose()) {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the registry stayed busy with other programs' writing; try again later");
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + jitter() % 40));
    }
    // With every write lock held no transaction is half committed: what is read now is one
    // point in time, and each database's read transaction keeps it after the gate opens.
    m_reader->exec("BEGIN", "the snapshot");
    for (const auto& [name, path] : files)
        m_reader->exec("SELECT count(*) FROM " + quoteName(name) + ".sqlite_schema", name);
    gate.release();
}

Snapshot::~Snapshot()
{
    if (m_reader)
        sqlite3_exec(m_reader->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace dalport::embedded
