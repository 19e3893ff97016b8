#pragma once
// The backup file: a tar archive compressed with zstd, manifest.txt first, then one file
// per database. The manifest is plain text, one fact per line:
//     Quorin registry backup 1
//     version 2.1
//     time 2026-12-08T10:11:12Z
//     database Quorin.db 1843200 <sha-256 in hex>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace dalport::embedded {

struct ArchivedFile {
    std::string name; // "Quorin.db"
    std::int64_t size = 0;
    std::string sha256;
};

struct Manifest {
    std::string version;
    std::string time;
    std::vector<ArchivedFile> files;
};

std::string sha256OfFile(const std::filesystem::path& file);

// Writes the archive, 0600, from the manifest and the files of `folder` it names. Told the
// bytes written so far; returns false to stop (the caller removes the file).
bool writeArchive(const std::filesystem::path& archive, const Manifest& manifest, const std::filesystem::path& folder,
                  const std::function<bool(std::int64_t)>& progress);

// Unpacks the files the manifest names into `folder` (0600 each), each checked against
// its size and checksum. Throws std::runtime_error for a damaged or foreign archive.
Manifest extractArchive(const std::filesystem::path& archive, const std::filesystem::path& folder);

} // namespace dalport::embedded
