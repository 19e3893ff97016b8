#include "dalport/embedded/RegistryLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

fs::path lockFile(const fs::path& folder) { return folder / "registry.lock"; }

// A restore puts a new folder, with a new lock file, in the old one's place. A lock taken
// on the old file after that guards nothing: the file must still be the folder's.
bool stillTheFolders(int fd, const fs::path& file)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(file.c_str(), &named) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino;
}

} // namespace

RegistryLock::RegistryLock(const fs::path& folder, Kind kind)
{
    const fs::path file = lockFile(folder);
    m_fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        // Nothing can replace files on a medium where nothing can be made.
        m_owned = errno == EROFS || errno == EACCES;
        return;
    }
    const int operation = (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    int rc = 0;
    do
        rc = ::flock(m_fd, operation);
    while (rc != 0 && errno == EINTR);
    m_owned = rc == 0 && stillTheFolders(m_fd, file);
}

RegistryLock::~RegistryLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

} // namespace dalport::embedded
