#pragma once
// Where the dataset reminders go: the relay, the mail domain of the staff, the sender
// and the longest wait of the SMTP dialogue. A site sets them in the program's settings,
// group Mail; the program only reads them. A user's value wins over the machine's.

#include <QString>

namespace quorin {

struct MailSettings {
    QString smtpServer = QStringLiteral("localhost");
    int smtpPort = 25;
    QString domain = QStringLiteral("localhost");
    QString sender = QStringLiteral("quorin-admin@localhost");
    int timeoutSeconds = 30;
};

// Read afresh at each call, so a changed setting counts at the next Email. A port or
// time-out that is not a positive whole number (a port also at most 65535) keeps its
// default; an empty text keeps its default too.
MailSettings ReadMailSettings();

} // namespace quorin
