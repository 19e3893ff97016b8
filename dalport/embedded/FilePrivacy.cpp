#include "dalport/embedded/FilePrivacy.h"

#include <cstdio>
#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

constexpr fs::perms kOthers = fs::perms::group_all | fs::perms::others_all;

bool isServerFile(const fs::path& p)
{
    const std::string name = p.filename().string();
    for (const char* suffix : {".db", ".db-wal", ".db-shm", ".db-journal"}) {
        const std::string s(suffix);
        if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0)
            return true;
    }
    return false;
}

char octal(fs::perms p, unsigned shift) { return static_cast<char>('0' + ((static_cast<unsigned>(p) >> shift) & 7)); }

std::string modeText(fs::perms p) { return {'0', octal(p, 6), octal(p, 3), octal(p, 0)}; }

} // namespace

void createMissingPrivateFolders(const fs::path& folder)
{
    // Parents made here are the registry's own too: with create_directories they would
    // take the umask's mode, 0777 under umask 000. Folders that exist stay as they are.
    fs::path built;
    for (const fs::path& part : fs::absolute(folder).lexically_normal()) {
        built /= part;
        if (part.empty() || fs::exists(built))
            continue;
        fs::create_directory(built);
        fs::permissions(built, fs::perms::owner_all, fs::perm_options::replace);
    }
}

fs::path createPrivateTemporaryFolder(const fs::path& place)
{
    const fs::path parent = place.parent_path().empty() ? fs::path(".") : place.parent_path();
    // Appended step by step: GCC 12 warns falsely of overlap for "." + string at -O2.
    std::string stem = ".";
    stem += place.filename().string();
    stem += ".incomplete-";
    for (int attempt = 0;; ++attempt) {
        const fs::path candidate = parent / (stem + std::to_string(std::random_device{}()));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace);
            return candidate;
        }
        if (ec || attempt > 100)
            throw std::runtime_error("cannot create a folder in " + parent.string()
                                     + (ec ? ": " + ec.message() : std::string()));
    }
}

void createPrivateFile(const fs::path& file)
{
    {
        std::ofstream created(file, std::ios::binary | std::ios::app);
        if (!created)
            throw std::runtime_error("cannot create " + file.string());
    }
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
}

std::optional<std::string> exposureWarning(const fs::path& folder)
{
#if defined(_WIN32)
    (void)folder;
    return std::nullopt; // the folder inherits the user profile's access list
#else
    std::error_code ec;
    const fs::perms folderMode = fs::status(folder, ec).permissions();
    if (ec)
        return std::nullopt;
    std::string exposed;
    if ((folderMode & kOthers) != fs::perms::none)
        exposed = "the folder is " + modeText(folderMode);
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (!isServerFile(entry.path()))
            continue;
        const fs::perms mode = entry.status(ec).permissions();
        if (!ec && (mode & (fs::perms::group_read | fs::perms::others_read)) != fs::perms::none) {
            exposed += (exposed.empty() ? "" : ", ") + entry.path().filename().string() + " is " + modeText(mode);
            break;
        }
    }
    if (exposed.empty())
        return std::nullopt;
    return "Warning: other users of this computer can read the registry in " + folder.string() + " (" + exposed
        + "). Make it readable by its owner only: chmod 700 on the folder and chmod 600 on its files.";
#endif
}

void warnIfExposed(const fs::path& folder)
{
    static std::mutex mutex;
    static std::set<std::string> warned;
    const auto warning = exposureWarning(folder);
    if (!warning)
        return;
    std::lock_guard<std::mutex> lock(mutex);
    if (!warned.insert(fs::absolute(folder).lexically_normal().string()).second)
        return;
    std::fprintf(stderr, "%s\n", warning->c_str());
    std::fflush(stderr);
}

} // namespace dalport::embedded
