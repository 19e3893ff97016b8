#pragma once
// Test registries are made once and copied: a template per kind, keyed by what made it,
// is kept under the temporary folder, so each test copies files instead of creating a
// server (password hashing, the schema) or a demo registry.

#include "dalport/Registry.h"

#include <unistd.h>

#include <atomic>
#include <exception>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

namespace quorin::test {

inline std::filesystem::path TestRoot() { return std::filesystem::temp_directory_path() / "quorin-test-registries"; }

inline std::string UniqueName(const char* prefix)
{
    static std::atomic<int> counter{0};
    return std::string(prefix) + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-"
           + std::to_string(std::random_device{}());
}

// When the running test binary was built: a rebuilt engine or demo maker may write its
// files otherwise, so a template made by an older one is not reused. A binary whose time
// cannot be read gets a stamp of this process alone, never a shared stale one.
inline std::string BuildStamp()
{
    static const std::string stamp = [] {
        std::error_code ec;
        const auto written = std::filesystem::last_write_time("/proc/self/exe", ec);
        return ec ? UniqueName("process-") : std::to_string(written.time_since_epoch().count());
    }();
    return stamp;
}

// The template named key, made by make(folder) when no process has made it yet; made
// whole or not at all, so a make that fails leaves nothing behind.
inline std::filesystem::path TemplateFolder(const std::string& key, const std::function<void(const std::string&)>& make)
{
    namespace fs = std::filesystem;
    const fs::path folder = TestRoot() / key;
    if (fs::exists(folder / "master.db"))
        return folder;
    try {
        dalport::BuildFolderWhole(folder.string(), make);
    } catch (const std::exception&) {
        if (!fs::exists(folder / "master.db")) // else another process was first
            throw;
    }
    return folder;
}

// A copy of a template at to, readable by its owner only, as the engine wants a registry.
inline void CopyTemplate(const std::filesystem::path& from, const std::filesystem::path& to)
{
    namespace fs = std::filesystem;
    fs::copy(from, to, fs::copy_options::recursive);
    fs::permissions(to, fs::perms::owner_all, fs::perm_options::replace);
    for (const auto& entry : fs::directory_iterator(to))
        fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
}

} // namespace quorin::test
