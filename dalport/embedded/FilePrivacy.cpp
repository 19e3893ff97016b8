#include "dalport/embedded/FilePrivacy.h"

#include <cstdio>
#include <fstream>
#include <mutex>
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

void createPrivateFolder(const fs::path& folder)
{
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
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
