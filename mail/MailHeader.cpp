#include "mail/MailHeader.h"

#include <QByteArray>

namespace quorin::mail {

namespace {

bool IsAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7f)
            return false;
    }
    return true;
}

} // namespace

QString HeaderText(const QString& text)
{
    if (IsAscii(text))
        return text;
    // At most 45 bytes per word: 60 characters of base64 plus 12 around them keep each
    // folded line within 76. Words break between characters, never inside one.
    constexpr qsizetype kBytesPerWord = 45;
    QString out;
    QByteArray word;
    auto flush = [&] {
        if (word.isEmpty())
            return;
        if (!out.isEmpty())
            out += QLatin1String("\r\n ");
        out += QLatin1String("=?UTF-8?B?") + QString::fromLatin1(word.toBase64())
            + QLatin1String("?=");
        word.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype units = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            units = 2;
        const QByteArray bytes = text.mid(i, units).toUtf8();
        if (word.size() + bytes.size() > kBytesPerWord)
            flush();
        word += bytes;
        i += units - 1;
    }
    flush();
    return out;
}

QString HeaderBlock(const HeaderFields& fields)
{
    QString block = QLatin1String("Date: ") + fields.date + QLatin1String("\r\nFrom: ") + fields.from
        + QLatin1String("\r\nTo: ") + fields.to + QLatin1String("\r\nSubject: ") + fields.subject
        + QLatin1String("\r\nX-Mailer: <") + fields.mailer + QLatin1String(">\r\n");
    if (fields.quotedPrintable) {
        block += QLatin1String("MIME-Version: 1.0\r\n"
                               "Content-Type: text/plain; charset=UTF-8\r\n"
                               "Content-Transfer-Encoding: quoted-printable\r\n");
    }
    block += QLatin1String("\r\n");
    return block;
}

} // namespace quorin::mail
