// Restoring a server from a backup: everything is unpacked and checked beside the place
// first, and only a whole, sound registry is renamed into it.

#include "dalport/Backup.h"

#include "dalport/embedded/BackupArchive.h"
#include "dalport/embedded/FolderBuild.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/SqliteFile.h"
#include "dalport/embedded/Statement.h"

#include <stdexcept>

namespace fs = std::filesystem;

namespace dalport {

namespace {

using namespace embedded;

// SQLite's quick check of a database unpacked from the backup: its pages and records are
// sound, read with the engine's text order.
void quickCheck(const fs::path& file)
{
    std::string verdict;
    {
        SqliteFile db(file, SqliteFile::Mode::ReadOnly);
        Statement check(db.handle(), "PRAGMA quick_check");
        if (check.step())
            verdict = check.text(0);
    }
    if (verdict != "ok")
        throw std::runtime_error(file.filename().string() + " in the backup fails SQLite's check: " + verdict);
}

void unpackChecked(const fs::path& backup, const fs::path& folder)
{
    const Manifest manifest = extractArchive(backup, folder);
    for (const ArchivedFile& f : manifest.files)
        quickCheck(folder / f.name);
}

} // namespace

void RestoreServer(const std::string& backupFile, const std::string& toFolder, bool force,
                   const std::function<void(const std::string&)>& beforeRename)
{
    const fs::path backup = fs::absolute(backupFile);
    std::error_code ec;
    if (!fs::is_regular_file(backup, ec))
        throw std::runtime_error("there is no backup file " + backup.string());
    const fs::path target = fs::absolute(toFolder).lexically_normal();
    const bool occupied = fs::exists(target, ec) && !fs::is_empty(target, ec);
    if (occupied && !fs::is_regular_file(masterFile(target), ec))
        throw std::runtime_error(target.string()
                                 + " holds files but no registry; restore into a new or empty folder");
    if (occupied && !force)
        throw std::runtime_error(target.string() + " holds a registry already; add --force to replace it with the backup");
    try {
        buildFolderInPlace(target,
                           [&](const fs::path& temporary) {
                               unpackChecked(backup, temporary);
                               if (beforeRename)
                                   beforeRename(temporary.string());
                           },
                           occupied ? ExistingFolder::Replace : ExistingFolder::Refuse);
    } catch (const EngineError& e) {
        throw std::runtime_error("the backup cannot be read back: " + e.message);
    }
}

} // namespace dalport
