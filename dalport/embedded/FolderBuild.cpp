#include "dalport/embedded/FolderBuild.h"

#include "dalport/Registry.h"
#include "dalport/embedded/FilePrivacy.h"
#include "dalport/embedded/FileSystemType.h"
#include "dalport/embedded/RegistryLock.h"

#include <optional>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

fs::path asPlace(const fs::path& given)
{
    const fs::path folder = fs::absolute(given).lexically_normal();
    return folder.has_filename() ? folder : folder.parent_path();
}

bool holdsAnything(const fs::path& folder)
{
    std::error_code ec;
    return fs::exists(folder, ec) && !fs::is_empty(folder, ec);
}

// Moves the old folder aside, the new one in, then drops the old one; puts the old one
// back when the new one cannot move in.
void swapIn(const fs::path& temporary, const fs::path& target)
{
    std::error_code ec;
    std::string name = ".";
    name += target.filename().string();
    name += ".replaced-";
    name += std::to_string(std::random_device{}());
    const fs::path aside = target.parent_path() / name;
    fs::rename(target, aside);
    try {
        fs::rename(temporary, target);
    } catch (...) {
        fs::rename(aside, target, ec);
        throw;
    }
    fs::remove_all(aside, ec);
}

} // namespace

void buildFolderInPlace(const fs::path& folder, const std::function<void(const fs::path&)>& build,
                        ExistingFolder existing)
{
    const fs::path target = asPlace(folder);
    refuseNetworkFolder(target);
    std::error_code ec;
    const bool occupied = holdsAnything(target);
    if (occupied && existing == ExistingFolder::Refuse)
        throw std::runtime_error("the folder " + target.string() + " is not empty");
    std::optional<RegistryLock> lock;
    if (occupied) {
        lock.emplace(target, RegistryLock::Kind::Exclusive);
        if (!lock->owns())
            throw std::runtime_error("another program has the registry in " + target.string()
                                     + " open; close it (and stop its nightly jobs) first");
    }
    createMissingPrivateFolders(target.parent_path());
    const fs::path temporary = createPrivateTemporaryFolder(target);
    try {
        build(temporary);
        if (occupied) {
            swapIn(temporary, target);
            return;
        }
        // An empty folder in its place gives way; a folder filled meanwhile is kept.
        if (fs::exists(target, ec))
            fs::remove(target);
        fs::rename(temporary, target);
    } catch (...) {
        fs::remove_all(temporary, ec);
        throw;
    }
}

} // namespace dalport::embedded

namespace dalport {

void BuildFolderWhole(const std::string& folder, const std::function<void(const std::string&)>& build)
{
    embedded::buildFolderInPlace(
        folder, [&](const fs::path& temporary) { build(temporary.string()); }, embedded::ExistingFolder::Refuse);
}

} // namespace dalport
