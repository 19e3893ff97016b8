#pragma once
// The header block of a message.

#include <QString>

namespace quorin::mail {

// A header text as it may stand in a 7-bit header: unchanged when it is ASCII, else
// UTF-8 encoded words ("=?UTF-8?B?...?="), folded so that no line grows too long.
QString HeaderText(const QString& text);

struct HeaderFields {
    QString date;       // already in mail form
    QString from;
    QString to;         // the recipient list as it stands in the To header
    QString subject;
    QString mailer;
    bool quotedPrintable = false;
};

// "Date: ...\r\nFrom: ...\r\nTo: ...\r\nSubject: ...\r\nX-Mailer: <...>\r\n" and, for a
// quoted-printable body, the MIME lines, then the empty line that ends the block.
QString HeaderBlock(const HeaderFields& fields);

} // namespace quorin::mail
