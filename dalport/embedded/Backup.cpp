// Backing up a server of the embedded engine: a snapshot of every database, copied page
// by page with SQLite's backup API, then packed with its manifest into one file.

#include "dalport/Backup.h"

#include "dalport/embedded/BackupArchive.h"
#include "dalport/embedded/FilePrivacy.h"
#include "dalport/embedded/RegistryLock.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/Snapshot.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace dalport {

namespace {

using namespace embedded;

constexpr const char* kExtension = ".quorin-backup";
constexpr int kPagesPerStep = 2048;

struct Cancelled {};

// Removes a folder of work in progress on every path.
struct RemovedAfterwards {
    fs::path path;
    ~RemovedAfterwards()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

std::string timeText(std::time_t t, const char* format, bool utc)
{
    std::tm parts{};
    if (utc)
        gmtime_r(&t, &parts);
    else
        localtime_r(&t, &parts);
    char text[32] = {};
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

// Backups made within one second are numbered on from the highest number there, so that
// no name comes back after --keep has removed an older one.
fs::path newBackupName(const fs::path& toFolder, const fs::path& server, std::time_t now)
{
    const std::string stem = server.filename().string() + "-" + timeText(now, "%Y%m%d-%H%M%S", false);
    int highest = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(toFolder, ec)) {
        const std::string name = entry.path().stem().string();
        if (name == stem)
            highest = std::max(highest, 1);
        else if (name.rfind(stem + "-", 0) == 0)
            highest = std::max(highest, std::atoi(name.c_str() + stem.size() + 1));
    }
    // Appended step by step: GCC 12 warns falsely of overlap for "-" + string at -O2.
    std::string name = stem;
    if (highest) {
        name += '-';
        name += std::to_string(highest + 1);
    }
    name += kExtension;
    return toFolder / name;
}

// Puts the finished backup in place under a name no other backup has, even one another
// program finished the same second: link() never replaces a file. Where the file system
// has no links (FAT on a removable disk), a rename does, as before.
fs::path placeBackup(const fs::path& partial, const fs::path& toFolder, const fs::path& server, std::time_t now)
{
    for (;;) {
        const fs::path name = newBackupName(toFolder, server, now);
        if (::link(partial.c_str(), name.c_str()) == 0)
            return name;
        if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) {
            fs::rename(partial, name);
            return name;
        }
        if (errno != EEXIST)
            throw std::runtime_error("cannot put the backup in place as " + name.string() + ": " + std::strerror(errno));
    }
}

std::int64_t pragmaNumber(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    std::int64_t value = 0;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

std::int64_t bytesOf(sqlite3* db, const std::string& schema)
{
    const std::string prefix = "PRAGMA \"" + schema + "\".";
    return pragmaNumber(db, prefix + "page_count") * pragmaNumber(db, prefix + "page_size");
}

// Copies one database of the snapshot into a new file, reporting bytes as it goes.
void copyDatabase(sqlite3* source, const std::string& schema, const fs::path& target,
                  const std::function<bool(std::int64_t)>& copied)
{
    createPrivateFile(target);
    SqliteFile copy(target, SqliteFile::Mode::Existing);
    sqlite3_backup* backup = sqlite3_backup_init(copy.handle(), "main", source, schema.c_str());
    if (!backup)
        throw std::runtime_error("cannot copy " + schema + ": " + copy.error());
    const std::int64_t pageSize = pragmaNumber(source, "PRAGMA \"" + schema + "\".page_size");
    int rc = SQLITE_OK;
    bool going = true;
    while (going && (rc = sqlite3_backup_step(backup, kPagesPerStep)) == SQLITE_OK)
        going = copied((sqlite3_backup_pagecount(backup) - sqlite3_backup_remaining(backup)) * pageSize);
    sqlite3_backup_finish(backup);
    if (!going)
        throw Cancelled{};
    if (rc != SQLITE_DONE)
        throw std::runtime_error("cannot copy " + schema + ": " + std::string(sqlite3_errstr(rc)));
}

} // namespace

std::vector<std::string> BackupFiles(const std::string& folder)
{
    std::vector<std::pair<fs::file_time_type, std::string>> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && entry.path().extension() == kExtension)
            found.emplace_back(entry.last_write_time(ec), entry.path().string());
    std::sort(found.begin(), found.end());
    std::vector<std::string> files;
    for (auto& [time, name] : found)
        files.push_back(std::move(name));
    return files;
}

BackupResult BackUpServer(const BackupOptions& options)
{
    const fs::path server = fs::absolute(serverFolder(options.server)).lexically_normal();
    if (!fs::is_regular_file(masterFile(server)))
        throw std::runtime_error("there is no registry in " + server.string());
    const fs::path toFolder = fs::absolute(options.toFolder).lexically_normal();
    std::error_code ec;
    if (fs::equivalent(toFolder, server, ec))
        throw std::runtime_error("a backup kept in the registry's own folder would be lost with it; choose another folder");
    RegistryLock lock(server, RegistryLock::Kind::Shared);
    if (!lock.owns())
        throw std::runtime_error("the registry in " + server.string() + " is being restored; try again afterwards");
    createMissingPrivateFolders(toFolder);
    const RemovedAfterwards work{createPrivateTemporaryFolder(toFolder / "backup")};
    const std::time_t now = std::time(nullptr);

    BackupResult result;
    Manifest manifest{options.programVersion, timeText(now, "%Y-%m-%dT%H:%M:%SZ", true), {}};
    const auto files = serverFiles(server);
    // Every byte is counted twice: copied, then packed.
    std::int64_t total = 0;
    std::int64_t before = 0;
    auto report = [&](std::int64_t done) { return !options.progress || options.progress(before + done, total); };
    try {
        {
            const Snapshot snapshot(files);
            std::vector<std::int64_t> bytes;
            for (const auto& [name, path] : files)
                total += 2 * bytes.emplace_back(bytesOf(snapshot.handle(), name));
            for (std::size_t i = 0; i < files.size(); ++i) {
                const std::string fileName = files[i].second.filename().string();
                copyDatabase(snapshot.handle(), files[i].first, work.path / fileName, report);
                before += bytes[i];
                manifest.files.push_back({fileName, 0, {}});
            }
        }
        for (ArchivedFile& f : manifest.files) {
            f.size = static_cast<std::int64_t>(fs::file_size(work.path / f.name));
            f.sha256 = sha256OfFile(work.path / f.name);
        }
        const fs::path partial = work.path / "backup.partial";
        if (!writeArchive(partial, manifest, work.path, report))
            throw Cancelled{};
        result.file = placeBackup(partial, toFolder, server, now).string();
    } catch (const Cancelled&) {
        result.cancelled = true;
        return result;
    }
    result.bytes = static_cast<std::int64_t>(fs::file_size(result.file));
    return result;
}

} // namespace dalport
