// quorin-registry backup: every database of an embedded registry, logins included, copied
// at one point in time into one file while the program and the nightly jobs keep working.

#include "tools/quorin-registry/Commands.h"

#include "dalport/Backup.h"
#include "tools/quorin-registry/ConsoleUserInterface.h"
#include "tools/quorin-registry/NightlyRun.h"

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace quorin::tools {

namespace {

namespace fs = std::filesystem;

constexpr const char* kArguments = "[-S server] --to <folder> [--keep N]";

// "Backing up: 40% of 312 MB", rewritten in place on a terminal; a cancel signal stops
// the backup at its next step.
class ProgressLine {
public:
    explicit ProgressLine(bool shown) : m_shown(shown) {}
    ~ProgressLine()
    {
        if (m_percent >= 0)
            std::cerr << "\n" << std::flush;
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool step(std::int64_t done, std::int64_t total)
    {
        const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
        if (m_shown && percent != m_percent) {
            m_percent = percent;
            std::cerr << "\rBacking up: " << percent << "% of " << (total + 999'999) / 1'000'000 << " MB"
                      << std::flush;
        }
        return !ConsoleUserInterface::CancelRequested();
    }

private:
    bool m_shown;
    int m_percent = -1;
};

// Leaves the newest `keep` backups of the folder, the one just made among them, and
// names each one removed. False when one could not be removed (said on standard error).
// Done here rather than by the engine so that a removal that fails is told apart from a
// backup that failed.
bool removeOlderBackups(const std::string& folder, const std::string& made, int keep)
{
    std::vector<fs::path> older;
    for (const std::string& file : dalport::BackupFiles(folder)) {
        const fs::path path = file;
        if (path.filename() != fs::path(made).filename())
            older.push_back(path);
    }
    const std::size_t besidesTheNewOne = static_cast<std::size_t>(keep) - 1;
    bool removedAll = true;
    for (std::size_t i = 0; i + besidesTheNewOne < older.size(); ++i) {
        std::error_code ec;
        const bool removed = fs::remove(older[i], ec);
        if (ec) {
            std::cerr << "quorin-registry backup: the old backup " << older[i].string()
                      << " could not be removed: " << ec.message() << "\n";
            removedAll = false;
        } else if (removed) {
            std::cout << "Removed: " << older[i].string() << "\n";
        }
    }
    return removedAll;
}

int runBackup(const ParsedCommandLine& cmd)
{
    const auto to = cmd.value("--to");
    if (!cmd.positional.empty() || !to || to->empty())
        throw std::runtime_error(std::string("usage: quorin-registry backup ") + kArguments);
    dalport::BackupOptions options;
    // A SQL Server's databases are not files this tool can copy.
    options.server = registryFolderServer(cmd, "back up a SQL Server's databases with its own BACKUP DATABASE");
    options.toFolder = *to;
    options.programVersion = QUORIN_VERSION_TEXT;
    const int keep = positiveNumber(cmd, "--keep", 0, "a number of backups");

    ConsoleUserInterface::CatchCancelSignals();
    dalport::BackupResult result;
    {
        ProgressLine progress(isatty(STDERR_FILENO) == 1);
        options.progress = [&progress](std::int64_t done, std::int64_t total) { return progress.step(done, total); };
        result = dalport::BackUpServer(options);
    }
    if (result.cancelled) {
        std::cerr << "quorin-registry backup: cancelled; no backup was made\n";
        return kExitFailed;
    }
    std::cout << "Backup: " << result.file << "\n"
              << "Size: " << result.bytes << " bytes\n"
              << std::flush;
    if (keep == 0)
        return kExitDone;
    try {
        return removeOlderBackups(*to, result.file, keep) ? kExitDone : kExitFailed;
    } catch (const std::exception& e) {
        std::cerr << "quorin-registry backup: the backup was made, but the old backups could not be listed: "
                  << e.what() << "\n";
        return kExitFailed;
    }
}

} // namespace

Command backupCommand()
{
    return Command{"backup",
                   kArguments,
                   "copy every database of an embedded registry (logins included) at one point in time into one\n"
                   "  file in the folder, while programs keep using the registry",
                   {
                       {"-S", true, "server: a registry folder (empty: the default registry)"},
                       {"--to", true, "the folder the backup goes into (made when missing)"},
                       {"--keep", true, "afterwards keep only the newest N backups of that folder"},
                   },
                   &runBackup,
                   kExitNotStarted};
}

} // namespace quorin::tools
