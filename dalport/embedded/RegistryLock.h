#pragma once
// The registry's lock file, "registry.lock" in its folder. Every session and backup holds
// it shared for as long as it uses the registry; a restore takes it exclusively, so that
// it never replaces files a program has open and no program opens them half replaced.

#include <filesystem>

namespace dalport::embedded {

class RegistryLock {
public:
    enum class Kind { Shared, Exclusive };

    // Takes the lock without waiting; owns() says whether it was had. A folder whose lock
    // file cannot be made (a read-only medium) is used without one.
    RegistryLock(const std::filesystem::path& folder, Kind kind);
    ~RegistryLock();
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;

    // False when another process holds the lock in a way that excludes this one.
    bool owns() const { return m_owned; }

private:
    int m_fd = -1;
    bool m_owned = false;
};

} // namespace dalport::embedded
