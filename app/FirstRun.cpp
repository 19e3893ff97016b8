#include "app/FirstRun.h"

#include "dalport/Registry.h"
#include "database/RegistryScripts.h"
#include "document/UserInterface.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <exception>
#include <string>
#include <utility>

namespace quorin {

namespace {

// The demo written off the window's thread. A cancel is heard at the next progress
// report, which throws so that the half-made folder goes.
class DemoWork : public BackgroundWork {
public:
    enum class Outcome { Created, Cancelled, Failed };

    DemoWork(std::string folder, int subjects) : m_folder(std::move(folder)), m_subjects(subjects) {}

    void Run() override
    {
        struct Cancelled {};
        try {
            demo::CreateDemoRegistryWhole(m_folder, m_subjects, demo::kDefaultDemoSeed, [this](int done, int) {
                if (m_cancel)
                    throw Cancelled{};
                m_done = done;
            });
            m_outcome = Outcome::Created;
        } catch (const Cancelled&) {
            m_outcome = Outcome::Cancelled;
        } catch (const std::exception& error) {
            m_outcome = Outcome::Failed;
            m_error = QString::fromStdString(error.what());
        } catch (...) {
            // Nothing may leave the work's thread.
            m_outcome = Outcome::Failed;
            m_error = QStringLiteral("an unexpected error");
        }
    }
    void Cancel() override { m_cancel = true; }
    QString ProgressText() const override
    {
        return QStringLiteral("Writing the demo registry: %1 of %2 subjects").arg(m_done.load()).arg(m_subjects);
    }
    int ProgressStep() const override { return m_done; }
    int ProgressTotal() const override { return m_subjects; }

    // Once Run has returned.
    Outcome outcome() const { return m_outcome; }
    const QString& error() const { return m_error; }

private:
    const std::string m_folder;
    const int m_subjects;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_done{0};
    Outcome m_outcome = Outcome::Failed;
    QString m_error;
};

// A path the login dialog's Server field reads as a registry folder, whatever the
// environment variable held (a relative name would mean a SQL Server).
QString serverFieldOf(const std::string& folder)
{
    return QDir::toNativeSeparators(QFileInfo(QString::fromStdString(folder)).absoluteFilePath());
}

QString notCreated(const QString& reason)
{
    return QStringLiteral("The registry could not be created:\n%1\n\nNo registry was created.").arg(reason);
}

std::optional<LoginFields> createDemo(const std::string& folder, const FirstStartPrompts& prompts, int subjects)
{
    DemoWork work(folder, subjects);
    prompts.runWithProgress(work);
    switch (work.outcome()) {
    case DemoWork::Outcome::Created:
        return LoginFields{serverFieldOf(folder), QString::fromLatin1(demo::demoStaffLogins().front().login)};
    case DemoWork::Outcome::Cancelled:
        return std::nullopt;
    case DemoWork::Outcome::Failed:
        break;
    }
    prompts.tell(notCreated(work.error()));
    return std::nullopt;
}

std::optional<LoginFields> createEmpty(const std::string& folder, const FirstStartChoice& choice,
                                       const FirstStartPrompts& prompts)
{
    const QString admin = choice.admin.trimmed();
    try {
        dalport::CreateServer(folder, admin.toStdString(), choice.password.toStdString(), registryScripts());
    } catch (const std::exception& error) {
        prompts.tell(notCreated(QString::fromStdString(error.what())));
        return std::nullopt;
    }
    return LoginFields{serverFieldOf(folder), admin};
}

// The fields to log in with once the choice is carried out; nullopt to choose again.
std::optional<LoginFields> carryOut(const std::string& folder, const FirstStartChoice& choice,
                                    const FirstStartPrompts& prompts, int demoSubjects)
{
    switch (choice.kind) {
    case FirstStartKind::Demo:
        return createDemo(folder, prompts, demoSubjects);
    case FirstStartKind::Empty:
        return createEmpty(folder, choice, prompts);
    case FirstStartKind::Server:
        break;
    }
    return LoginFields{choice.server.trimmed(), QString()};
}

} // namespace

std::optional<QString> FirstStartChoiceProblem(const FirstStartChoice& choice)
{
    switch (choice.kind) {
    case FirstStartKind::Demo:
        return std::nullopt;
    case FirstStartKind::Server:
        if (choice.server.trimmed().isEmpty())
            return QStringLiteral("Type the name of the server: a SQL Server, or the folder of a registry.");
        return std::nullopt;
    case FirstStartKind::Empty:
        break;
    }
    const QString admin = choice.admin.trimmed();
    if (admin.isEmpty())
        return QStringLiteral("Type the administrator's name.");
    if (choice.password != choice.confirmation)
        return QStringLiteral("The two passwords differ. Type the same password twice.");
    if (const auto refusal = dalport::PasswordPolicyRefusal(admin.toStdString(), choice.password.toStdString()))
        return QStringLiteral("%1\n\nA password needs at least 8 characters, of three of these kinds: capitals, small "
                              "letters, digits, other signs; and it must not contain the administrator's name.")
            .arg(QString::fromStdString(*refusal));
    return std::nullopt;
}

std::optional<LoginFields> RunFirstStart(const FirstStartChooser& choose, const FirstStartPrompts& prompts,
                                         int demoSubjects)
{
    const std::string folder = dalport::DefaultRegistryFolder();
    if (!dalport::NamesMissingRegistry(std::string())) // the default registry is there
        return LoginFields{};

    const auto& demoAdmin = demo::demoStaffLogins().front();
    FirstStartOffer offer{QDir::toNativeSeparators(QString::fromStdString(folder)),
                          QString::fromLatin1(demoAdmin.login), QString::fromLatin1(demoAdmin.password), {}};
    while (const std::optional<FirstStartChoice> choice = choose(offer)) {
        offer.last = *choice;
        if (const auto problem = FirstStartChoiceProblem(*choice)) {
            prompts.tell(*problem);
            continue;
        }
        if (auto fields = carryOut(folder, *choice, prompts, demoSubjects))
            return fields;
    }
    return std::nullopt;
}

} // namespace quorin
