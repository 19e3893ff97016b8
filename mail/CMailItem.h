#pragma once
// One plain-text message: sender, subject, body and recipients. CSmtpSession builds
// Header and DateTime just before sending.

#include <QDateTime>
#include <QList>
#include <QString>

struct CMailRecipient {
    QString Address;
    QString Name;
};

class CMailItem {
public:
    // Appends one recipient; returns 1.
    int AddRecipient(const QString& address, const QString& name = QString());

    // Splits the list at ";" and adds one recipient per piece, untrimmed: "name<address>"
    // or a bare address; an empty piece adds an empty address. Returns 1, or 0 with
    // nothing added when a piece has a ">" before its "<".
    int AddMultipleRecipients(const QString& list);

    int GetRecipientCount() const;
    // Fills address and name and returns 1; 0 for an index outside 0 to count - 1.
    int GetRecipient(int index, QString& address, QString& name) const;

    QString From;
    QString Subject;
    QString Header;
    QDateTime DateTime;
    QString Body;
    QList<CMailRecipient> Recipients;
};
