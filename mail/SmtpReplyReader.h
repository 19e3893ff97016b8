#pragma once
// Collects one server reply at a time from the bytes as they arrive. A reply ends with
// its final line, the first whose fourth character is not "-" (lines end at LF; CR LF
// is accepted). Bytes after it stay for the next reply, so a multi-line greeting or a
// reply that arrives in pieces never answers the next command.

#include <QByteArray>

namespace quorin::mail {

struct SmtpReply {
    int code = 0;      // first three characters when they are digits, else 0
    QByteArray text;   // every line of the reply, line ends included
};

// The code of a reply line: its first three characters as a number when all three
// are digits, else 0.
int SmtpReplyCode(const QByteArray& line);

class SmtpReplyReader {
public:
    static constexpr qsizetype kDefaultLimit = 64 * 1024;

    enum class State {
        NeedMore, // no final line yet: give it more bytes
        Complete, // one reply was taken out
        TooLong,  // the limit passed without a final line
    };

    explicit SmtpReplyReader(qsizetype limit = kDefaultLimit);

    // How many bytes Feed may take now without the buffer outgrowing the limit; the
    // caller reads no more than this from the connection.
    qsizetype Room() const;
    void Feed(const char* data, qsizetype size);

    // Takes the next whole reply out of the buffer. Whether a reply is complete or too
    // long depends only on the bytes, never on how they were cut.
    State Take(SmtpReply& reply);

    qsizetype Pending() const { return m_buffer.size(); }
    void Clear();

private:
    QByteArray m_buffer;
    qsizetype m_limit;
    qsizetype m_scanned = 0;  // start of the first line not yet known to be a middle line
    qsizetype m_searched = 0; // the buffer holds no line end before this
};

} // namespace quorin::mail
