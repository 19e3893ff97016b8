#include "app/BackUpRegistryCommand.h"

#include "dalport/Backup.h"
#include "dalport/Registry.h"
#include "document/AdministratorCheck.h"
#include "document/CQuorinDoc.h"
#include "registration/DocumentCommandRegistry.h"
#include "resources/Resource.h"
#include "rules/DbString.h"

#include <QDir>
#include <QLocale>
#include <QSettings>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>

namespace quorin {
namespace {

constexpr const char* kFolderSetting = "Backup/Folder";

// A backup under way: the command waits for it (the windows keep answering meanwhile).
bool g_running = false;

struct RunningBackup {
    RunningBackup() { g_running = true; }
    ~RunningBackup() { g_running = false; }
    RunningBackup(const RunningBackup&) = delete;
    RunningBackup& operator=(const RunningBackup&) = delete;
};

bool CanBackUpRegistry(const CQuorinDoc& document)
{
    return !g_running && dalport::IsEmbeddedServerName(ToDb(document.m_strServer)) && IsAdministrator(document);
}

// The folder chosen last time while it exists, else the user's home.
QString StartFolder()
{
    const QString remembered = QSettings().value(QString::fromLatin1(kFolderSetting)).toString();
    return !remembered.isEmpty() && QDir(remembered).exists() ? remembered : QDir::homePath();
}

QString Megabytes(std::int64_t bytes)
{
    return QString::number(static_cast<double>(bytes) / 1e6, 'f', 1);
}

// The backup on the worker's thread; its progress is read from the window's thread.
class BackupWork : public BackgroundWork {
public:
    BackupWork(const QString& server, const QString& folder)
        : m_heading(QStringLiteral("Backing up the registry to %1...").arg(QDir::toNativeSeparators(folder))),
          m_text(m_heading)
    {
        m_options.server = ToDb(server);
        m_options.toFolder = folder.toStdString();
        m_options.programVersion = QUORIN_VERSION_TEXT;
        m_options.progress = [this](std::int64_t done, std::int64_t total) { return Progress(done, total); };
    }

    void Run() override
    {
        try {
            m_result = dalport::BackUpServer(m_options);
        } catch (const std::exception& error) {
            m_error = QString::fromStdString(error.what());
        }
    }
    void Cancel() override { m_cancelled = true; }
    QString ProgressText() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_text;
    }
    int ProgressStep() const override { return m_percent; }
    int ProgressTotal() const override { return 100; }

    const dalport::BackupResult& Result() const { return m_result; }
    // Why the backup failed; empty when it did not.
    const QString& Error() const { return m_error; }

private:
    bool Progress(std::int64_t done, std::int64_t total)
    {
        m_percent = total > 0 ? static_cast<int>(std::clamp<std::int64_t>(done * 100 / total, 0, 100)) : 0;
        const std::lock_guard lock(m_mutex);
        m_text = m_heading + QStringLiteral("\n%1 of %2 MB").arg(Megabytes(done), Megabytes(total));
        return !m_cancelled;
    }

    dalport::BackupOptions m_options;
    dalport::BackupResult m_result;
    QString m_error;
    const QString m_heading;
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_percent{0};
    mutable std::mutex m_mutex;
    QString m_text;
};

void Report(UserInterface& ui, const BackupWork& work, const QString& folder)
{
    if (!work.Error().isEmpty()) {
        ui.MessageBox(QStringLiteral("The registry could not be backed up:\n%1").arg(work.Error()),
                      UserInterface::Icon::Stop);
        return;
    }
    const dalport::BackupResult& result = work.Result();
    if (result.cancelled) {
        ui.MessageBox(QStringLiteral("The backup was cancelled. Nothing was left in %1.")
                          .arg(QDir::toNativeSeparators(folder)),
                      UserInterface::Icon::Information);
        return;
    }
    ui.MessageBox(QStringLiteral("The registry was backed up to\n%1\n(%2).")
                      .arg(QDir::toNativeSeparators(QString::fromStdString(result.file)),
                           QLocale().formattedDataSize(result.bytes, 1, QLocale::DataSizeSIFormat)),
                  UserInterface::Icon::Information);
}

void BackUpRegistry(CQuorinDoc& document)
{
    // The menu's state may lag behind by a tick of its timer.
    if (!CanBackUpRegistry(document))
        return;
    UserInterface& ui = document.UI();
    const QString folder = ui.GetFolderName(QStringLiteral("Choose the folder for the backup"), StartFolder());
    if (folder.isEmpty())
        return;
    QSettings().setValue(QString::fromLatin1(kFolderSetting), folder);
    BackupWork work(document.m_strServer, folder);
    {
        const RunningBackup running;
        ui.RunInBackground(work);
    }
    Report(ui, work, folder);
}

} // namespace

void RegisterBackUpRegistryCommand()
{
    RegisterDocumentCommand(res::ID_TOOLS_BACKUP_REGISTRY, {&BackUpRegistry, &CanBackUpRegistry});
}

} // namespace quorin
