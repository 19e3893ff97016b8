#include "mail/CSmtpSession.h"

#include "mail/MailBody.h"
#include "mail/MailDate.h"
#include "mail/MailHeader.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

using namespace quorin::mail;

namespace {

struct ReplyExpectation {
    int code;
    const char* failure;
};

// Indexed by the reply kind.
constexpr ReplyExpectation kExpected[] = {
    {250, "SMTP server error"},
    {220, "SMTP server not available"},
    {354, "SMTP server not ready for data"},
    {221, "SMTP server didn't terminate session"},
};

const QString kSocketError = QStringLiteral("Socket Error");
const QString kCancelled = QStringLiteral("Cancelled");

// How long a wait runs before it looks whether the session was cancelled.
constexpr int kSliceMs = 25;

bool HasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

QString HeloName()
{
    QString name = QHostInfo::localHostName().left(80);
    // HELO needs a name; a machine without one still gets its mail out.
    return name.isEmpty() ? QStringLiteral("localhost") : name;
}

} // namespace

CSmtpSession::CSmtpSession(const QString& server, unsigned int port)
    : LastError(QStringLiteral("OK"))
    , Port(port)
    , Mailer(QStringLiteral("ZQ Mail"))
    , Server(server)
{
}

CSmtpSession::~CSmtpSession()
{
    if (Connected)
        Disconnect();
}

QString CSmtpSession::GetLastErrorText() const
{
    return LastError;
}

void CSmtpSession::SetTimeout(int milliseconds)
{
    m_timeoutMs = milliseconds > 0 ? milliseconds : kDefaultTimeoutMs;
}

int CSmtpSession::GetTimeout() const
{
    return m_timeoutMs;
}

void CSmtpSession::Cancel()
{
    m_cancelled = true;
}

QString CSmtpSession::Failure(const QString& text) const
{
    return m_cancelled ? kCancelled : text;
}

bool CSmtpSession::Wait(const QDeadlineTimer& deadline, const std::function<bool(int)>& wait)
{
    for (;;) {
        if (m_cancelled || !m_socket)
            return false;
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return false;
        if (wait(int(left < 0 ? kSliceMs : std::min<qint64>(left, kSliceMs))))
            return true;
        // A slice that ran out is no failure; anything else is.
        if (m_socket->error() != QAbstractSocket::SocketTimeoutError)
            return false;
    }
}

bool CSmtpSession::ConnectSocket(const QDeadlineTimer& deadline)
{
    // Not waitForConnected in slices: a slice that runs out abandons the attempt. The
    // socket's own signals end the wait, and a tick looks for Cancel and the deadline.
    // The loop exists before the socket connects: a thread of its own gets its event
    // dispatcher here, and a socket started without one never hears of its connection.
    QEventLoop loop;
    const auto stop = [&loop] { loop.quit(); };
    QObject::connect(m_socket.get(), &QAbstractSocket::connected, &loop, stop);
    QObject::connect(m_socket.get(), &QAbstractSocket::errorOccurred, &loop, stop);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (m_cancelled || deadline.hasExpired())
            loop.quit();
    });
    tick.start(kSliceMs);
    m_socket->connectToHost(Server, static_cast<quint16>(Port));
    if (m_socket->state() != QAbstractSocket::ConnectedState && m_socket->state() != QAbstractSocket::UnconnectedState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return !m_cancelled && m_socket->state() == QAbstractSocket::ConnectedState;
}

int CSmtpSession::Connect()
{
    if (Connected)
        return 1;
    if (m_cancelled) {
        LastError = kCancelled;
        return 0;
    }
    // A port beyond 16 bits would otherwise wrap round to some other server's port.
    if (Port == 0 || Port > 65535) {
        LastError = QStringLiteral("Unable to connect to server");
        return 0;
    }
    m_reader.Clear();
    m_transactionOpen = false;
    m_socket = std::make_unique<QTcpSocket>();
    // Qt buffers no more than one reply may hold; the rest waits in the system.
    m_socket->setReadBufferSize(SmtpReplyReader::kDefaultLimit);
    if (!ConnectSocket(QDeadlineTimer(m_timeoutMs))) {
        LastError = Failure(m_socket && m_socket->error() == QAbstractSocket::SocketResourceError
                                ? QStringLiteral("Unable to create the socket.")
                                : QStringLiteral("Unable to connect to server"));
        Drop();
        return 0;
    }
    if (ReadReply(kConnectReply) != Outcome::Ok) {
        LastError = Failure(QStringLiteral("Server didn't respond."));
        Drop();
        return 0;
    }
    if (Command("HELO " + HeloName().toUtf8() + "\r\n", kGeneric) != Outcome::Ok) {
        Drop();
        return 0;
    }
    Connected = 1;
    return 1;
}

int CSmtpSession::Disconnect()
{
    if (!Connected)
        return 1;
    const Outcome outcome = Command("QUIT\r\n", kQuitReply);
    if (m_socket)
        m_socket->close();
    Drop();
    return outcome == Outcome::Ok ? 1 : 0;
}

int CSmtpSession::PrepareMessage(CMailItem& item)
{
    if (item.Recipients.isEmpty()) {
        LastError = QStringLiteral("No Recipients");
        return 0;
    }
    // A line break would end the command or header line and start one of the
    // sender's choosing.
    bool lineBreak = HasLineBreak(item.From) || HasLineBreak(item.Subject);
    for (const CMailRecipient& recipient : item.Recipients)
        lineBreak = lineBreak || HasLineBreak(recipient.Address) || HasLineBreak(recipient.Name);
    if (lineBreak) {
        LastError = QStringLiteral("Line break in address or subject");
        return 0;
    }

    item.Body = CrLfText(item.Body);
    // Whole seconds, so DateTime is exactly the moment the Date header names.
    item.DateTime = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());

    QStringList to;
    for (const CMailRecipient& recipient : item.Recipients) {
        const QString name = HeaderText(recipient.Name);
        // An encoded name needs a blank before the address to be read as one.
        const QString gap = name == recipient.Name ? QString() : QStringLiteral(" ");
        to.append(name + gap + QLatin1Char('<') + recipient.Address + QLatin1Char('>'));
    }
    HeaderFields fields;
    fields.date = MailDate(item.DateTime);
    fields.from = item.From;
    fields.to = to.join(QLatin1Char(','));
    fields.subject = HeaderText(item.Subject);
    fields.mailer = Mailer;
    fields.quotedPrintable = NeedsQuotedPrintable(item.Body);
    item.Header = HeaderBlock(fields);
    return 1;
}

int CSmtpSession::SendMessage(CMailItem& item)
{
    if (!Connected) {
        LastError = QStringLiteral("Must be connected");
        return 0;
    }
    if (!PrepareMessage(item))
        return 0;
    m_endSentUnanswered = false;

    // A message that failed before its data left the server mid-transaction; the
    // next one starts afresh.
    if (m_transactionOpen) {
        if (Command("RSET\r\n", kGeneric) != Outcome::Ok)
            return 0;
        m_transactionOpen = false;
    }
    if (Command("MAIL From: <" + item.From.toUtf8() + ">\r\n", kGeneric) != Outcome::Ok)
        return 0;
    m_transactionOpen = true;
    for (const CMailRecipient& recipient : item.Recipients) {
        // A refused recipient does not stop the message; a lost connection does.
        if (Command("RCPT TO: <" + recipient.Address.toUtf8() + ">\r\n", kGeneric)
            == Outcome::SocketFailed)
            return 0;
    }
    if (Command("DATA\r\n", kDataReply) != Outcome::Ok)
        return 0;
    const QByteArray data = item.Header.toUtf8() + WireBody(item.Body) + "\r\n.\r\n";
    if (!Send(data))
        return 0;
    m_endSentUnanswered = true;
    const Outcome outcome = ReadReply(kGeneric);
    // A reply of any code came, or the connection failed: only the latter leaves the
    // message's fate unknown.
    m_endSentUnanswered = outcome == Outcome::SocketFailed;
    // The reply to the data ends the transaction, accepted or not.
    m_transactionOpen = false;
    return outcome == Outcome::Ok ? 1 : 0;
}

CSmtpSession::Outcome CSmtpSession::Command(const QByteArray& bytes, ReplyKind kind)
{
    if (!Send(bytes))
        return Outcome::SocketFailed;
    return ReadReply(kind);
}

bool CSmtpSession::Send(const QByteArray& bytes)
{
    if (m_cancelled || !m_socket || m_socket->state() != QAbstractSocket::ConnectedState
        || m_socket->write(bytes) != bytes.size()) {
        LastError = Failure(kSocketError);
        Drop();
        return false;
    }
    const QDeadlineTimer deadline(m_timeoutMs);
    while (m_socket->bytesToWrite() > 0) {
        if (!Wait(deadline, [this](int slice) { return m_socket->waitForBytesWritten(slice); })) {
            LastError = Failure(kSocketError);
            Drop();
            return false;
        }
    }
    return true;
}

CSmtpSession::Outcome CSmtpSession::ReadReply(ReplyKind kind)
{
    const QDeadlineTimer deadline(m_timeoutMs);
    SmtpReply reply;
    for (;;) {
        const SmtpReplyReader::State state = m_reader.Take(reply);
        if (state == SmtpReplyReader::State::Complete)
            break;
        bool failed = state == SmtpReplyReader::State::TooLong || !m_socket || m_cancelled;
        if (!failed && m_socket->bytesAvailable() == 0) {
            failed = m_socket->state() != QAbstractSocket::ConnectedState
                || !Wait(deadline, [this](int slice) { return m_socket->waitForReadyRead(slice); });
        }
        if (failed) {
            LastError = Failure(kSocketError);
            Drop();
            return Outcome::SocketFailed;
        }
        const QByteArray chunk = m_socket->read(m_reader.Room());
        m_reader.Feed(chunk.constData(), chunk.size());
    }
    const ReplyExpectation& expected = kExpected[kind];
    if (reply.code != expected.code) {
        LastError = QString::asprintf("%d:%s", reply.code, expected.failure);
        return Outcome::WrongCode;
    }
    return Outcome::Ok;
}

void CSmtpSession::Drop()
{
    if (m_socket) {
        m_socket->abort();
        m_socket.reset();
    }
    Connected = 0;
    m_reader.Clear();
    m_transactionOpen = false;
}
