#pragma once
// Test registries are made once and copied: a template per kind, keyed by what made it,
// is kept under the temporary folder, so each test copies files instead of creating a
// server (password hashing, the schema) or a demo registry.

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
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

// When the binary holding this code was built: a rebuilt engine or demo maker may write
// its files otherwise, so a template made by an older one is not reused.
inline std::string BuildStamp()
{
    Dl_info info{};
    static const int here = 0;
    if (!dladdr(&here, &info) || !info.dli_fname)
        return "unknown";
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(info.dli_fname, ec);
    return ec ? std::string("unknown") : std::to_string(written.time_since_epoch().count());
}

// The template named key, made by make(folder) when no process has made it yet.
inline std::filesystem::path TemplateFolder(const std::string& key, const std::function<void(const std::string&)>& make)
{
    namespace fs = std::filesystem;
    const fs::path folder = TestRoot() / key;
    if (fs::exists(folder / "master.db"))
        return folder;
    fs::create_directories(TestRoot());
    const fs::path building = TestRoot() / UniqueName("building-");
    make(building.string());
    std::error_code ec;
    fs::rename(building, folder, ec);
    if (ec) // another process was first
        fs::remove_all(building, ec);
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
