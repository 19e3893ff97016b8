#include "dalport/embedded/FileSystemType.h"

#include "dalport/Backup.h"
#include "dalport/embedded/ServerFolder.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <stdexcept>

#if defined(__linux__)
#include <sys/vfs.h>
#endif

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

long statfsType(const char* path)
{
#if defined(__linux__)
    struct statfs info {};
    if (statfs(path, &info) != 0)
        return 0;
    return static_cast<long>(info.f_type);
#else
    (void)path;
    return 0;
#endif
}

std::atomic<long (*)(const char*)> g_probe{&statfsType};

// The f_type values (linux/magic.h and the file systems' own sources) of the file systems
// whose locks do not hold between machines or that another process serves.
struct Kind {
    unsigned long magic;
    const char* name;
};
constexpr Kind kNetworkKinds[] = {
    {0x6969, "NFS"},
    {0x517B, "SMB"},
    {0xFF534D42, "SMB/CIFS"},
    {0xFE534D42, "SMB2"},
    {0x65735546, "FUSE"},
    {0x65735543, "FUSE control"},
    {0x00C36400, "Ceph"},
    {0x5346414F, "AFS"},
    {0x6B414653, "AFS"},
    {0x73757245, "Coda"},
    {0x01021997, "9P"},
    {0x564C, "NCP"},
    {0x01161970, "GFS2"},
    {0x7461636F, "OCFS2"},
    {0x47504653, "GPFS"},
    {0x0BD00BD0, "Lustre"},
    {0xBEEFDEAD, "HFS over network"},
    {0x013111A8, "IBRIX"},
    {0x19830326, "FhGFS"},
};

fs::path nearestExisting(const fs::path& folder)
{
    std::error_code ec;
    fs::path p = fs::absolute(folder, ec).lexically_normal();
    while (!p.empty() && !fs::exists(p, ec) && p != p.parent_path())
        p = p.parent_path();
    return p;
}

} // namespace

std::optional<std::string> networkFileSystem(const fs::path& folder)
{
    const fs::path existing = nearestExisting(folder);
    const unsigned long type = static_cast<unsigned long>(g_probe.load()(existing.string().c_str())) & 0xFFFFFFFFul;
    for (const Kind& kind : kNetworkKinds)
        if (kind.magic == type)
            return std::string(kind.name);
    return std::nullopt;
}

void refuseNetworkFolder(const fs::path& folder)
{
    if (const auto kind = networkFileSystem(folder))
        throw std::runtime_error(folder.string() + " is on a network file system (" + *kind
                                 + "). The embedded registry keeps its locks on the computer it runs on, so two "
                                   "computers sharing it there could damage it: put it on a local disk of one "
                                   "computer. Several computers that share a registry need SQL Server.");
}

namespace {

std::string networkFolderWarning(const fs::path& folder, const std::string& fileSystem)
{
    return "Warning: the registry in " + folder.string() + " is on a network file system (" + fileSystem
        + "). Use it from this computer only: two computers using it at once could damage it. To move it to a "
          "local disk, back it up and restore the backup there (quorin-registry backup, then restore --to).";
}

} // namespace

void warnIfOnNetwork(const fs::path& folder)
{
    const auto kind = networkFileSystem(folder);
    if (!kind)
        return;
    static std::mutex mutex;
    static std::set<std::string> warned;
    std::lock_guard<std::mutex> lock(mutex);
    if (!warned.insert(fs::absolute(folder).lexically_normal().string()).second)
        return;
    std::fprintf(stderr, "%s\n", networkFolderWarning(folder, *kind).c_str());
    std::fflush(stderr);
}

} // namespace dalport::embedded

namespace dalport {

void SetFileSystemTypeProbe(long (*probe)(const char* path))
{
    embedded::g_probe.store(probe ? probe : &embedded::statfsType);
}

std::optional<std::string> NetworkFolderWarning(const std::string& server)
{
    const fs::path folder = embedded::serverFolder(server);
    if (const auto kind = embedded::networkFileSystem(folder))
        return embedded::networkFolderWarning(folder, *kind);
    return std::nullopt;
}

} // namespace dalport
