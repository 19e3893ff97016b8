#include "app/FirstRun.h"

#include "dalport/Registry.h"
#include "database/RegistryScripts.h"
#include "framework/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>

#include <stdexcept>

namespace quorin {

FirstRunResult OfferEmptyRegistry(const QString& server, const QString& login, QString& password,
                                  const FirstRunPrompts& prompts)
{
    if (!server.isEmpty())
        return FirstRunResult::NotNeeded;
    const std::string folder = dalport::DefaultRegistryFolder();
    if (QFileInfo::exists(QString::fromStdString(dalport::DatabaseFilePath(folder, "master"))))
        return FirstRunResult::NotNeeded;

    const QString where = QDir::toNativeSeparators(QString::fromStdString(folder));
    if (!prompts.askYesNo(QStringLiteral("There is no registry in %1 yet.\nCreate an empty registry with %2 as "
                                         "its administrator?")
                              .arg(where, login)))
        return FirstRunResult::Declined;

    QString chosen = password;
    if (chosen.isEmpty()) {
        const auto first = prompts.askPassword(QStringLiteral("Password for the administrator %1:").arg(login));
        if (!first)
            return FirstRunResult::Declined;
        const auto second = prompts.askPassword(QStringLiteral("Type the password again:"));
        if (!second)
            return FirstRunResult::Declined;
        if (*first != *second) {
            prompts.tell(QStringLiteral("The two passwords differ. No registry was created."));
            return FirstRunResult::Declined;
        }
        chosen = *first;
    }
    if (chosen.isEmpty()) {
        prompts.tell(QStringLiteral("The administrator needs a password. No registry was created."));
        return FirstRunResult::Declined;
    }
    try {
        dalport::CreateServer(folder, login.toStdString(), chosen.toStdString(), registryScripts());
    } catch (const std::exception& error) {
        prompts.tell(QStringLiteral("The registry could not be created:\n%1").arg(QString::fromStdString(error.what())));
        return FirstRunResult::Failed;
    }
    password = chosen;
    return FirstRunResult::Created;
}

FirstRunPrompts QtFirstRunPrompts()
{
    FirstRunPrompts prompts;
    prompts.askYesNo = [](const QString& question) {
        return framework::ShowMessage(question, framework::MessageIcon::Default, framework::MessageButtons::YesNo) ==
               framework::MessageResult::Yes;
    };
    prompts.askPassword = [](const QString& prompt) -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getText(nullptr, framework::MessageCaption(), prompt,
                                                   QLineEdit::Password, QString(), &ok);
        if (!ok)
            return std::nullopt;
        return text;
    };
    prompts.tell = [](const QString& message) {
        framework::ShowMessage(message, framework::MessageIcon::Stop, framework::MessageButtons::Ok);
    };
    return prompts;
}

} // namespace quorin
