#include "MailFuzzChecks.h"

#include "mail/CMailItem.h"
#include "mail/MailBody.h"
#include "mail/SmtpReplyReader.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>
#include <vector>

namespace quorin::mail::fuzz {

namespace {

struct ReaderRun {
    std::vector<std::pair<int, QByteArray>> replies;
    bool tooLong = false;
    qsizetype pending = 0;
    std::string problem;
};

// Feeds the stream as the session does (never more than the reader has room for),
// in pieces of the given sizes (cycled), taking every reply as soon as it is whole.
ReaderRun Replay(const QByteArray& stream, qsizetype limit, const std::vector<qsizetype>& pieces)
{
    ReaderRun run;
    SmtpReplyReader reader(limit);
    qsizetype position = 0;
    std::size_t piece = 0;
    for (;;) {
        SmtpReply reply;
        const auto state = reader.Take(reply);
        if (state == SmtpReplyReader::State::Complete) {
            run.replies.emplace_back(reply.code, reply.text);
            continue;
        }
        if (state == SmtpReplyReader::State::TooLong) {
            run.tooLong = true;
            break;
        }
        if (position == stream.size())
            break;
        qsizetype take = std::min(reader.Room(), stream.size() - position);
        if (!pieces.empty())
            take = std::min(take, pieces[piece++ % pieces.size()]);
        if (take <= 0) {
            run.problem = "the reader wants more but has no room";
            break;
        }
        reader.Feed(stream.constData() + position, take);
        position += take;
        if (reader.Pending() > limit) {
            run.problem = "the reader holds more than its limit";
            break;
        }
    }
    run.pending = reader.Pending();
    return run;
}

std::string CheckReply(const QByteArray& text)
{
    if (!text.endsWith('\n'))
        return "a reply that does not end a line";
    if (SmtpReplyCode(text) != 0 && SmtpReplyCode(text) != text.left(3).toInt())
        return "a code that is not the first three digits";
    // Every line but the last is a middle line ("xyz-"), the last is not.
    const QList<QByteArray> lines = text.left(text.size() - 1).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool middle = lines[i].size() >= 4 && lines[i].at(3) == '-';
        if (middle != (i + 1 < lines.size()))
            return "a reply cut at the wrong line";
    }
    return {};
}

QByteArray Unstuff(const QByteArray& wire)
{
    QByteArray out;
    bool lineStart = true;
    for (const char c : wire) {
        const bool drop = lineStart && c == '.';
        lineStart = c == '\n';
        if (!drop)
            out += c;
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool DecodeQuotedPrintable(const QByteArray& encoded, QByteArray& decoded)
{
    decoded.clear();
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded.at(i);
        if (c != '=') {
            decoded += c;
            continue;
        }
        if (encoded.mid(i + 1, 2) == "\r\n") { // soft break
            i += 2;
            continue;
        }
        if (i + 2 >= encoded.size() || HexValue(encoded.at(i + 1)) < 0 || HexValue(encoded.at(i + 2)) < 0)
            return false;
        decoded += static_cast<char>(HexValue(encoded.at(i + 1)) * 16 + HexValue(encoded.at(i + 2)));
        i += 2;
    }
    return true;
}

} // namespace

std::string CheckReplyReader(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return {};
    // The first byte picks the limit (small ones reach the too-long case quickly), the
    // second seeds the cut points; the rest is the stream.
    const qsizetype limit = data[0] == 0xff ? SmtpReplyReader::kDefaultLimit : 1 + data[0];
    std::uint32_t seed = data[1] * 2654435761u + 1;
    const QByteArray stream(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
    std::vector<qsizetype> pieces;
    for (int i = 0; i < 64; ++i) {
        seed = seed * 1103515245u + 12345u;
        pieces.push_back(1 + (seed >> 16) % 7);
    }

    const ReaderRun whole = Replay(stream, limit, {});
    const ReaderRun single = Replay(stream, limit, {1});
    const ReaderRun cut = Replay(stream, limit, pieces);
    for (const ReaderRun* run : {&whole, &single, &cut}) {
        if (!run->problem.empty())
            return run->problem;
        if (run->replies != whole.replies)
            return "cutting the bytes changed the replies";
        if (run->tooLong != whole.tooLong || run->pending != whole.pending)
            return "cutting the bytes changed what was left";
    }
    QByteArray consumed;
    for (const auto& [code, text] : whole.replies) {
        if (code != SmtpReplyCode(text))
            return "a code that is not the reply's";
        if (text.size() > limit)
            return "a reply longer than the limit";
        const std::string problem = CheckReply(text);
        if (!problem.empty())
            return problem;
        consumed += text;
    }
    if (!stream.startsWith(consumed))
        return "the replies are not the stream's first bytes";
    return {};
}

std::string CheckRecipientList(const std::uint8_t* data, std::size_t size)
{
    const QString list = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CMailItem item;
    item.AddRecipient(QStringLiteral("first@example.org"), QStringLiteral("First"));
    const int ok = item.AddMultipleRecipients(list);
    const QStringList pieces = list.split(QLatin1Char(';'));
    bool malformed = false;
    for (const QString& piece : pieces) {
        const qsizetype open = piece.indexOf(QLatin1Char('<'));
        const qsizetype close = piece.indexOf(QLatin1Char('>'));
        malformed = malformed || (open >= 0 && close >= 0 && close < open);
    }
    if (!ok) {
        if (item.GetRecipientCount() != 1)
            return "a failed list added recipients";
        if (!malformed)
            return "a well-formed list failed";
        return {};
    }
    if (malformed)
        return "a malformed list was accepted";
    if (item.GetRecipientCount() != 1 + list.count(QLatin1Char(';')) + 1)
        return "not one recipient per piece";
    for (int i = 0; i < pieces.size(); ++i) {
        QString address;
        QString name;
        if (!item.GetRecipient(i + 1, address, name))
            return "a recipient that cannot be read back";
        const QString& piece = pieces[i];
        if (!piece.contains(QLatin1Char('<'))) {
            if (address != piece || !name.isEmpty())
                return "a bare address changed";
        } else if (!piece.startsWith(name + QLatin1Char('<') + address) || address.contains(QLatin1Char('>'))) {
            return "name and address not read from the piece";
        }
    }
    QString address;
    QString name;
    if (item.GetRecipient(item.GetRecipientCount(), address, name) || item.GetRecipient(-1, address, name))
        return "a recipient outside the list";
    return {};
}

std::string CheckBodyPreparation(const std::uint8_t* data, std::size_t size)
{
    const QString body = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray wire = WireBody(body);

    // What the body must become: every kind of line end as CR LF, a final CR LF.
    QString expected = body;
    expected.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    expected.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    expected.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (!expected.endsWith(QLatin1String("\r\n")))
        expected += QLatin1String("\r\n");
    if (CrLfText(body) != expected)
        return "line ends not made CR LF";

    if (!wire.endsWith("\r\n"))
        return "the data does not end with CR LF";
    for (qsizetype i = 0; i < wire.size(); ++i) {
        if (wire.at(i) == '\r' && (i + 1 >= wire.size() || wire.at(i + 1) != '\n'))
            return "a bare CR on the wire";
        if (wire.at(i) == '\n' && (i == 0 || wire.at(i - 1) != '\r'))
            return "a bare LF on the wire";
    }
    const QList<QByteArray> lines = wire.left(wire.size() - 2).split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line == ".")
            return "a line of a single dot would end the data";
        if (line.size() > kMaxLineLength + 1) // the stuffed dot may add one
            return "a line longer than SMTP allows";
    }

    const QByteArray unstuffed = Unstuff(wire);
    if (NeedsQuotedPrintable(expected)) {
        for (const char c : wire) {
            if (static_cast<unsigned char>(c) > 0x7f)
                return "8-bit data in a quoted-printable body";
        }
        QByteArray decoded;
        if (!DecodeQuotedPrintable(unstuffed, decoded))
            return "quoted-printable that does not decode";
        if (decoded != expected.toUtf8())
            return "quoted-printable does not give the body back";
    } else if (unstuffed != expected.toUtf8()) {
        return "removing the stuffed dots does not give the body back";
    }
    return {};
}

} // namespace quorin::mail::fuzz
