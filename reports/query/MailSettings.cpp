#include "reports/query/MailSettings.h"

#include <QSettings>
#include <QVariant>

namespace quorin {

namespace {

int PositiveNumber(const QSettings& settings, const char* key, int fallback, int maximum)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(key)).toString().trimmed().toInt(&ok);
    return ok && value > 0 && value <= maximum ? value : fallback;
}

QString NonEmptyText(const QSettings& settings, const char* key, const QString& fallback)
{
    const QString value = settings.value(QLatin1String(key)).toString().trimmed();
    return value.isEmpty() ? fallback : value;
}

} // namespace

MailSettings ReadMailSettings()
{
    // Named here rather than taken from the application object, so that the core reads
    // the same place whether or not CQuorinApp runs. The user scope falls back to the
    // system scope (/etc/xdg, HKEY_LOCAL_MACHINE) key by key.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Quorin"));
    settings.beginGroup(QStringLiteral("Mail"));
    MailSettings mail;
    mail.smtpServer = NonEmptyText(settings, "SmtpServer", mail.smtpServer);
    mail.smtpPort = PositiveNumber(settings, "SmtpPort", mail.smtpPort, 65535);
    mail.domain = NonEmptyText(settings, "Domain", mail.domain);
    mail.sender = NonEmptyText(settings, "Sender", mail.sender);
    // An hour is longer than anyone waits in front of a wait cursor.
    mail.timeoutSeconds = PositiveNumber(settings, "TimeoutSeconds", mail.timeoutSeconds, 3600);
    return mail;
}

} // namespace quorin
