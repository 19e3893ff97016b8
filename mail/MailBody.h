#pragma once
// How a message body goes onto the wire: line ends, transfer encoding and the dots
// that keep a body line from ending the data early.

#include <QByteArray>
#include <QString>

namespace quorin::mail {

// Every CR LF, lone CR and lone LF becomes CR LF (SMTP forbids bare ones, and some
// servers end the data at "\n.\n"); a text that does not end with CR LF gets one.
QString CrLfText(const QString& text);

// SMTP lines may hold at most 998 characters before their CR LF.
constexpr qsizetype kMaxLineLength = 998;

// True when the CR LF body cannot go as 7-bit text: a character beyond ASCII or a
// line longer than SMTP allows. Such a body is sent as UTF-8 in quoted-printable.
bool NeedsQuotedPrintable(const QString& crlfBody);

// The UTF-8 bytes of a CR LF body in quoted-printable, lines of at most 76 characters
// with soft breaks; the body's own line ends stay CR LF.
QByteArray QuotedPrintable(const QByteArray& crlfBytes);

// Gives every line that begins with "." one more, so the server, which removes one,
// delivers the line as written.
QByteArray StuffDots(const QByteArray& crlfBytes);

// The body's bytes between the header block and the final "\r\n.\r\n": CR LF lines,
// quoted-printable when needed, dots stuffed.
QByteArray WireBody(const QString& body);

} // namespace quorin::mail
