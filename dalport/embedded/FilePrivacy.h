#pragma once
// A registry holds research subjects' names and birth dates: its folder is its owner's
// alone (0700) and so is every file in it (0600), whatever the umask of the process
// that made them. A folder that others can read is reported once per process.

#include <filesystem>
#include <optional>
#include <string>

namespace dalport::embedded {

// Creates the missing folders of the path, each 0700 whatever the umask; existing ones
// are left alone.
void createMissingPrivateFolders(const std::filesystem::path& folder);

// A new empty folder, 0700, beside `place` in its parent folder, named after it.
std::filesystem::path createPrivateTemporaryFolder(const std::filesystem::path& place);

// Creates an empty file 0600 before SQLite opens it, so it is never readable by others;
// SQLite gives its -wal and -shm files the mode of the database file.
void createPrivateFile(const std::filesystem::path& file);

// The warning for a folder whose files others may read, or nothing.
std::optional<std::string> exposureWarning(const std::filesystem::path& folder);

// Writes exposureWarning to standard error, once per folder and process.
void warnIfExposed(const std::filesystem::path& folder);

} // namespace dalport::embedded
