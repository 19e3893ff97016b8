#pragma once
// Backing up, restoring and checking a server of the embedded engine, while programs keep
// using it.
//
// A backup is one file, "<stem>-YYYYMMDD-HHMMSS.quorin-backup": a tar archive compressed
// with zstd (`tar --zstd -xf` opens it) that holds manifest.txt and one file per database,
// master.db included. The manifest names the program's version, the time, and each
// database's file, size and SHA-256. Every database is copied at one point in time:
// a transaction that spans databases is in every copy or in none.

#include "dalport/DalportExport.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dalport {

// Told the bytes done and the bytes in all; returns false to cancel.
using BackupProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

struct BackupOptions {
    std::string server;        // a server name as the login reads it ("" the default registry)
    std::string toFolder;      // where the backup file goes; made 0700 when missing
    std::string programVersion;
    BackupProgress progress;
};

struct BackupResult {
    std::string file;                  // the backup made
    std::int64_t bytes = 0;            // its size
    bool cancelled = false;            // nothing was left behind
};

// Throws std::runtime_error with a readable message; a failed or cancelled backup leaves
// no file. Writers wait at most about a second, while the copies' point in time is taken.
DALPORT_EXPORT BackupResult BackUpServer(const BackupOptions& options);

// The backups of a folder, oldest first (a caller that keeps only the newest removes
// from the front).
DALPORT_EXPORT std::vector<std::string> BackupFiles(const std::string& folder);

// Checks the backup whole (manifest, every checksum, SQLite's quick_check of every
// database) before it touches the place; then builds the server beside `toFolder` and
// renames it in. An existing server is replaced only with `force`, and never while a
// program has it open. `beforeRename`, when given, runs on the checked folder just before
// it goes into place (to note the restore in the registry's own history). Throws
// std::runtime_error, having changed nothing.
DALPORT_EXPORT void RestoreServer(const std::string& backupFile, const std::string& toFolder, bool force,
                                  const std::function<void(const std::string& folder)>& beforeRename = {});

// One check of the registry's own rules: a SELECT over the server's databases (attached
// under their names, master included) whose every row is a problem, described by its
// first column.
struct ServerRule {
    std::string description;
    std::string sql;
};

struct CheckReport {
    std::vector<std::string> problems; // one line each; empty when the server is sound
};

// SQLite's full integrity check of every database, values of the wrong type in the typed
// columns of every table, then `rules`. Throws std::runtime_error when it cannot check
// (no server, a file it cannot read).
DALPORT_EXPORT CheckReport CheckServer(const std::string& server, const std::vector<ServerRule>& rules);

// Replaces how the engine learns a folder's file-system type (statfs's f_type), which
// refuses new servers on a network or FUSE file system and warns when one is opened there
// (NetworkFolderWarning), so that tests can stand on any; nullptr restores statfs.
DALPORT_EXPORT void SetFileSystemTypeProbe(long (*probe)(const char* path));

// The warning for a server on a network file system, or nothing.
DALPORT_EXPORT std::optional<std::string> NetworkFolderWarning(const std::string& server);

} // namespace dalport
