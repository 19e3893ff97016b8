#pragma once
// A blocking SMTP dialogue with one server: HELO, then any number of messages, QUIT.
// Every wait (connecting, each send, each reply) lasts at most the session's time-out;
// a step that fails sets LastError and returns 0, and nothing is retried. The dialogue
// may run on a thread of its own: Cancel, from any thread, ends the wait under way and
// closes the connection at once.

#include "mail/CMailItem.h"
#include "mail/SmtpReplyReader.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QTcpSocket;

class CSmtpSession {
public:
    static constexpr int kDefaultTimeoutMs = 30000;

    explicit CSmtpSession(const QString& server, unsigned int port = 25);
    virtual ~CSmtpSession();

    CSmtpSession(const CSmtpSession&) = delete;
    CSmtpSession& operator=(const CSmtpSession&) = delete;

    // Each returns 1 on success, 0 with LastError set on failure.
    int Connect();
    int Disconnect();
    int SendMessage(CMailItem& item);

    QString GetLastErrorText() const;

    // The longest wait of any one step, in milliseconds.
    void SetTimeout(int milliseconds);
    int GetTimeout() const;

    // Safe from any thread: the step under way (or the next) fails with "Cancelled",
    // the connection closed, and so does every later one.
    void Cancel();
    // True when the last message's end (the lone ".") went out and no reply to it came:
    // the server may have taken the message.
    bool EndSentUnanswered() const { return m_endSentUnanswered; }

    QString LastError;
    int Connected = 0;
    unsigned int Port;
    QString Mailer;
    QString Server;

protected:
    // Builds the item's header block and DateTime and brings its body to CR LF lines.
    // Fails, with nothing sent, without recipients or with a line break where a header
    // or command would carry it.
    virtual int PrepareMessage(CMailItem& item);

private:
    enum ReplyKind { kGeneric = 0, kConnectReply = 1, kDataReply = 2, kQuitReply = 3 };
    enum class Outcome { Ok, WrongCode, SocketFailed };

    Outcome Command(const QByteArray& bytes, ReplyKind kind);
    bool Send(const QByteArray& bytes);
    Outcome ReadReply(ReplyKind kind);
    void Drop(); // closes the connection after a socket failure
    // Waits through wait(slice) in short slices until it succeeds, the deadline passes,
    // the socket fails or the session is cancelled.
    bool Wait(const QDeadlineTimer& deadline, const std::function<bool(int)>& wait);
    // Connects to the server and waits until the connection stands, fails, the deadline
    // passes or the session is cancelled.
    bool ConnectSocket(const QDeadlineTimer& deadline);
    // The text of a failed step: its own, or "Cancelled".
    QString Failure(const QString& text) const;

    std::unique_ptr<QTcpSocket> m_socket;
    quorin::mail::SmtpReplyReader m_reader;
    int m_timeoutMs = kDefaultTimeoutMs;
    // The server holds a started transaction that failed before its data was taken.
    bool m_transactionOpen = false;
    bool m_endSentUnanswered = false;
    std::atomic<bool> m_cancelled{false};
};
