#pragma once
// The kind of file system a registry folder lies on. SQLite's locks and its write-ahead
// log's shared memory are not safe across machines, so a registry belongs on a local disk.

#include <filesystem>
#include <optional>
#include <string>

namespace dalport::embedded {

// The network or FUSE file system's name ("NFS", "SMB/CIFS", ...) the folder, or its
// nearest existing parent, lies on; nothing for a local one or one that cannot be asked.
std::optional<std::string> networkFileSystem(const std::filesystem::path& folder);

// Throws std::runtime_error saying why, when a new registry would go on one.
void refuseNetworkFolder(const std::filesystem::path& folder);

// Writes the warning for a registry opened on one to standard error, once per folder and
// process.
void warnIfOnNetwork(const std::filesystem::path& folder);

} // namespace dalport::embedded
