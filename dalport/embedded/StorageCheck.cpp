#include "dalport/embedded/StorageCheck.h"

#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/ServerFolder.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <vector>

#if !defined(_WIN32)
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

constexpr long kDamaged = 824;
constexpr long kFull = 1105;
constexpr long kReadOnly = 3906;
constexpr long kCannotWrite = 5120;

EngineError problem(long number, const std::string& message) { return EngineError{number, 16, 1, message}; }

EngineError damaged(const fs::path& file, const std::string& what)
{
    return problem(kDamaged, "The registry file " + file.string() + " is damaged: " + what
                                 + ". Restore the registry from its latest backup.");
}

std::uint32_t bigEndian(const unsigned char* p, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

// The header of an SQLite file says its page size and, when the count is current, how
// many pages it holds: a shorter file was cut short. While a write-ahead log holds pages
// (a program has it open, or one ended without a checkpoint) the file may lag behind its
// header, so only a file without pending log is measured.
std::optional<EngineError> fileHeaderProblem(const fs::path& file)
{
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec || size == 0)
        return std::nullopt; // SQLite reads an empty file as an empty database
    constexpr std::size_t kHeader = 100;
    if (size < kHeader)
        return damaged(file, "it is truncated (" + std::to_string(size) + " bytes, not even its header)");
    std::array<unsigned char, kHeader> h{};
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(h.data()), h.size()))
        return std::nullopt; // unreadable: the permission check says why
    static const char kMagic[] = "SQLite format 3";
    if (!std::equal(kMagic, kMagic + sizeof kMagic, h.begin()))
        return damaged(file, "it is not a database file (its header is overwritten)");
    std::uint32_t pageSize = bigEndian(&h[16], 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return damaged(file, "its header is overwritten");
    const std::uint32_t pages = bigEndian(&h[28], 4);
    const bool countCurrent = bigEndian(&h[24], 4) == bigEndian(&h[92], 4);
    const std::uintmax_t expected = std::uintmax_t(pages) * pageSize;
    const auto log = fs::file_size(file.string() + "-wal", ec);
    if (!ec && log > 0)
        return std::nullopt;
    if (size % pageSize != 0 || (countCurrent && pages > 0 && size < expected))
        return damaged(file, "it is truncated (" + std::to_string(size) + " bytes of "
                                 + std::to_string(countCurrent ? expected : (size / pageSize + 1) * pageSize) + ")");
    return std::nullopt;
}

#if !defined(_WIN32)
std::optional<EngineError> writeProblem(const fs::path& path, bool folder)
{
    if (access(path.c_str(), W_OK) == 0)
        return std::nullopt;
    const std::string what = folder ? "The registry folder " : "The registry file ";
    if (errno == EROFS)
        return problem(kReadOnly, what + path.string() + " is on a read-only file system, so the registry cannot "
                                                         "be opened. Mount it for writing, or copy the registry to "
                                                         "a folder that can be written.");
    if (errno == EACCES || errno == EPERM)
        return problem(kCannotWrite, what + path.string() + " cannot be written by this account (permission "
                                                            "denied). The registry's folder and files must belong "
                                                            "to the account that uses it.");
    return std::nullopt;
}

std::optional<EngineError> diskFull(const fs::path& folder)
{
    struct statvfs vfs {};
    if (statvfs(folder.c_str(), &vfs) != 0 || vfs.f_bavail > 0)
        return std::nullopt;
    return problem(kFull, "The disk that holds the registry folder " + folder.string()
                              + " is full. Free some space on it, then log in again.");
}
#endif

// Opens the file as the engine does and reads its schema, which is where a damaged page
// of the schema shows, then SQLite's quick check of its pages. The verdict is told in
// the engine's words: the storage library's own stay inside.
std::optional<EngineError> openProblem(const fs::path& file)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        // The indexes are ordered by the engine's collation: without it a check fails.
        registerEngineFunctions(db);
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
        std::string verdict = "ok";
        const auto first = [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) = values[0] ? values[0] : "";
            return 1; // the first row says it
        };
        if (rc == SQLITE_OK && sqlite3_exec(db, "PRAGMA quick_check(1)", first, &verdict, nullptr) != SQLITE_OK
            && verdict != "ok")
            rc = SQLITE_CORRUPT;
    }
    sqlite3_close(db);
    switch (rc & 0xff) {
    case SQLITE_OK: return std::nullopt;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return damaged(file, "its tables or their index pages cannot be read");
    case SQLITE_FULL:
        return problem(kFull, "The disk that holds the registry file " + file.string()
                                  + " is full. Free some space on it, then log in again.");
    case SQLITE_READONLY:
        return problem(kReadOnly, "The registry file " + file.string() + " cannot be written.");
    default:
        return problem(kCannotWrite, "The registry file " + file.string() + " cannot be opened.");
    }
}

std::vector<fs::path> registryFiles(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code ec;
    if (fs::exists(masterFile(folder), ec))
        files.push_back(masterFile(folder));
    for (const auto& entry : databaseFiles(folder))
        files.push_back(entry.second);
    return files;
}

} // namespace

std::optional<EngineError> headerProblem(const fs::path& folder)
{
    for (const fs::path& file : registryFiles(folder))
        if (auto p = fileHeaderProblem(file))
            return p;
    return std::nullopt;
}

std::optional<EngineError> storageProblem(const fs::path& folder)
{
    const std::vector<fs::path> files = registryFiles(folder);
#if !defined(_WIN32)
    if (auto p = writeProblem(folder, true))
        return p;
#endif
    if (auto p = headerProblem(folder))
        return p;
#if !defined(_WIN32)
    for (const fs::path& file : files)
        if (auto p = writeProblem(file, false))
            return p;
    if (auto p = diskFull(folder))
        return p;
#endif
    for (const fs::path& file : files)
        if (auto p = openProblem(file))
            return p;
    return std::nullopt;
}

bool isStorageError(long number)
{
    return number == kDamaged || number == kFull || number == kReadOnly || number == kCannotWrite;
}

} // namespace dalport::embedded
