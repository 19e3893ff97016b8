#include "dalport/embedded/RegistryLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace dalport::embedded {

fs::path RegistryLock::file(const fs::path& folder) { return folder / "registry.lock"; }

RegistryLock::RegistryLock(const fs::path& folder, Kind kind)
{
    m_fd = ::open(file(folder).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
    m_owned = rc == 0;
}

RegistryLock::RegistryLock(RegistryLock&& other) noexcept : m_fd(other.m_fd), m_owned(other.m_owned)
{
    other.m_fd = -1;
    other.m_owned = false;
}

RegistryLock::~RegistryLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

} // namespace dalport::embedded
