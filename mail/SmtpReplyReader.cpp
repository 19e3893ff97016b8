#include "mail/SmtpReplyReader.h"

#include <algorithm>

namespace quorin::mail {

int SmtpReplyCode(const QByteArray& line)
{
    if (line.size() < 3)
        return 0;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        const char c = line.at(i);
        if (c < '0' || c > '9')
            return 0;
        code = code * 10 + (c - '0');
    }
    return code;
}

SmtpReplyReader::SmtpReplyReader(qsizetype limit)
    : m_limit(std::max<qsizetype>(limit, 1))
{
}

qsizetype SmtpReplyReader::Room() const
{
    return std::max<qsizetype>(m_limit - m_buffer.size(), 0);
}

void SmtpReplyReader::Feed(const char* data, qsizetype size)
{
    if (size > 0)
        m_buffer.append(data, size);
}

SmtpReplyReader::State SmtpReplyReader::Take(SmtpReply& reply)
{
    // Only the first m_limit bytes count, so the verdict is the same however the
    // bytes were cut.
    const qsizetype window = std::min(m_buffer.size(), m_limit);
    while (m_scanned < window) {
        // Bytes already searched for the current line's end are not searched again, so
        // a long line arriving a byte at a time costs no more than arriving whole.
        const qsizetype end = m_buffer.indexOf('\n', std::max(m_scanned, m_searched));
        if (end < 0 || end >= window) {
            m_searched = window;
            break;
        }
        const bool middle = end - m_scanned >= 4 && m_buffer.at(m_scanned + 3) == '-';
        if (!middle) {
            reply.text = m_buffer.left(end + 1);
            reply.code = SmtpReplyCode(reply.text);
            m_buffer.remove(0, end + 1);
            m_scanned = 0;
            m_searched = 0;
            return State::Complete;
        }
        m_scanned = end + 1;
    }
    return m_buffer.size() >= m_limit ? State::TooLong : State::NeedMore;
}

void SmtpReplyReader::Clear()
{
    m_buffer.clear();
    m_scanned = 0;
    m_searched = 0;
}

} // namespace quorin::mail
