#pragma once
// What is wrong with the storage of a registry, in words that name the file: a full disk,
// a folder or file that cannot be written, a file cut short or damaged. Asked only after
// opening a registry failed, so that the user reads what to mend instead of a refused
// login or SQLite's own words.

#include "dalport/embedded/EngineError.h"

#include <filesystem>
#include <optional>

namespace dalport::embedded {

// The first problem found with the folder and its files (master.db first), or nothing
// when they look sound. Numbered as SQL Server numbers the like: 3906 a read-only
// database, 5120 a file it cannot open, 1105 a full disk, 824 a damaged file.
std::optional<EngineError> storageProblem(const std::filesystem::path& folder);

// The cheap part, read from the files' headers alone: a file overwritten or cut short.
// Run at every login, since a truncated file may still open and fail only later.
std::optional<EngineError> headerProblem(const std::filesystem::path& folder);

// The number of an error storageProblem gives.
bool isStorageError(long number);

} // namespace dalport::embedded
