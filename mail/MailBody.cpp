#include "mail/MailBody.h"

namespace quorin::mail {

QString CrLfText(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            out += QLatin1String("\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    if (!out.endsWith(QLatin1String("\r\n")))
        out += QLatin1String("\r\n");
    return out;
}

bool NeedsQuotedPrintable(const QString& crlfBody)
{
    qsizetype lineLength = 0;
    for (const QChar c : crlfBody) {
        if (c.unicode() > 0x7f)
            return true;
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lineLength = 0;
        } else if (++lineLength > kMaxLineLength) {
            return true;
        }
    }
    return false;
}

QByteArray QuotedPrintable(const QByteArray& crlfBytes)
{
    static const char hex[] = "0123456789ABCDEF";
    constexpr qsizetype kMaxEncodedLine = 76; // soft-break "=" included
    QByteArray out;
    out.reserve(crlfBytes.size() * 3 / 2 + 16);
    qsizetype lineStart = 0;
    while (lineStart < crlfBytes.size()) {
        qsizetype lineEnd = crlfBytes.indexOf("\r\n", lineStart);
        const bool lastLine = lineEnd < 0;
        if (lastLine)
            lineEnd = crlfBytes.size();
        qsizetype column = 0;
        for (qsizetype i = lineStart; i < lineEnd; ++i) {
            const auto byte = static_cast<unsigned char>(crlfBytes.at(i));
            const bool lineEndsHere = i + 1 == lineEnd;
            // Blanks at the end of a line are encoded, since transports may drop them.
            const bool literal = (byte >= 33 && byte <= 126 && byte != '=')
                || ((byte == ' ' || byte == '\t') && !lineEndsHere);
            const qsizetype width = literal ? 1 : 3;
            // Room for the soft break unless this is the line's last character.
            const qsizetype limit = lineEndsHere ? kMaxEncodedLine : kMaxEncodedLine - 1;
            if (column + width > limit) {
                out += "=\r\n";
                column = 0;
            }
            if (literal) {
                out += static_cast<char>(byte);
            } else {
                out += '=';
                out += hex[byte >> 4];
                out += hex[byte & 0x0f];
            }
            column += width;
        }
        if (!lastLine)
            out += "\r\n";
        lineStart = lineEnd + 2;
    }
    return out;
}

QByteArray StuffDots(const QByteArray& crlfBytes)
{
    QByteArray out;
    out.reserve(crlfBytes.size() + 8);
    bool lineStart = true;
    for (const char c : crlfBytes) {
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = c == '\n';
    }
    return out;
}

QByteArray WireBody(const QString& body)
{
    const QString text = CrLfText(body);
    const QByteArray bytes = text.toUtf8();
    return StuffDots(NeedsQuotedPrintable(text) ? QuotedPrintable(bytes) : bytes);
}

} // namespace quorin::mail
