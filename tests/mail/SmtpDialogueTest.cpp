// The SMTP dialogue against a scripted server: refusals at every step, multi-line replies,
// silence, closed connections, and the checks that send nothing.

#include "support/QtPrinting.h"
#include "mail/CSmtpSession.h"

#include <QElapsedTimer>
#include <QHostInfo>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

// An SMTP peer on its own thread for the replies a real server won't give: it sends all its
// replies at once (in two pieces, as a network may cut them), then stays silent, closes, or
// sends a reply without end, and reads nothing, so what the client sends backs up. Loopback
// only; every wait ends when it is destroyed or a minute after it started.
class ScriptedServer {
public:
    enum class Then { Silence, Closing, EndlessReply };

    explicit ScriptedServer(const QByteArray& replies, Then then = Then::Silence)
    {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        m_thread = std::thread([this, replies, then] { Run(replies, then); });
    }
    ~ScriptedServer()
    {
        m_stopping = true;
        Received();
        ::close(m_client);
        ::close(m_listener);
    }

    // Everything the client sent, once it has closed the connection.
    QByteArray Received()
    {
        if (m_thread.joinable())
            m_thread.join();
        for (bool open = true; open && Waiting();) {
            char buffer[4096];
            const ssize_t got = ::recv(m_client, buffer, sizeof buffer, 0);
            open = got > 0 || (got < 0 && errno == EAGAIN);
            m_received.append(buffer, got > 0 ? got : 0);
        }
        return m_received;
    }

    quint16 port = 0;

private:
    bool Waiting() const { return !m_stopping && std::chrono::steady_clock::now() < m_deadline; }
    bool Send(const QByteArray& b) { return ::send(m_client, b.data(), b.size(), MSG_NOSIGNAL) == b.size(); }

    void Run(const QByteArray& replies, Then then)
    {
        // Accepting and reading wait in slices, so that they notice the end of a wait.
        const timeval slice{0, 100000};
        ::setsockopt(m_listener, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice);
        while (m_client < 0 && Waiting())
            m_client = ::accept(m_listener, nullptr, nullptr);
        ::setsockopt(m_client, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice);
        Send(replies.left(replies.size() / 2));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        Send(replies.mid(replies.size() / 2));
        while (then == Then::EndlessReply && Waiting() && Send("250-and more\r\n")) {
        }
        if (then == Then::Closing)
            ::shutdown(m_client, SHUT_WR);
    }

    const std::chrono::steady_clock::time_point m_deadline{std::chrono::steady_clock::now() + std::chrono::minutes(1)};
    int m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    int m_client = -1;
    QByteArray m_received;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

// Replies over several lines: one taken before its end would leave the next command
// answered by the wrong line.
const QByteArray kGreeted = "220-scripted\r\n220-more greeting\n220 ready\r\n250-hello\r\n250 PIPELINING\r\n";
const QByteArray kOk = "250 ok\r\n";
// The server's side of a message to two recipients that is taken.
const QByteArray kAccepted = "250 sender ok\r\n250-recipient\r\n250 ok\r\n250 b ok\r\n354 go on\r\n250-queued\r\n250 as 42\r\n";
const QByteArray kEnvelope = "MAIL From: <admin@x>\r\nRCPT TO: <a@x>\r\nRCPT TO: <b@y>\r\nDATA\r\n";

QByteArray Helo() { return "HELO " + QHostInfo::localHostName().left(80).toUtf8() + "\r\n"; }

const CMailItem kReminder{.From = "admin@x", .Subject = "Open Dataset", .Header = {}, .DateTime = {},
                          .Body = "Please close it.", .Recipients = {{"a@x", {}}, {"b@y", {}}}};
QByteArray Data(const CMailItem& item) { return item.Header.toUtf8() + "Please close it.\r\n\r\n.\r\n"; }

TEST(SmtpDialogue, RefusalsAtConnectFailWithTheirTexts)
{
    // No HELO after a refused greeting.
    const struct { QByteArray replies; QString error; QByteArray received; } refusals[] = {
        {"421 busy, try later\r\n", "Server didn't respond.", ""},
        {"220 ready\r\n501 bad name\r\n", "501:SMTP server error", Helo()},
    };
    for (const auto& refusal : refusals) {
        ScriptedServer server(refusal.replies);
        CSmtpSession session("127.0.0.1", server.port);
        EXPECT_EQ(session.Connect(), 0);
        EXPECT_EQ(session.LastError, refusal.error);
        EXPECT_EQ(session.Connected, 0);
        EXPECT_EQ(session.Disconnect(), 1);
        EXPECT_EQ(server.Received(), refusal.received);
    }
    // Nothing listens on a port just freed; a port number too large for TCP does not
    // wrap round to a listening one.
    QTcpServer listening, probe;
    ASSERT_TRUE(listening.listen(QHostAddress::LocalHost) && probe.listen(QHostAddress::LocalHost));
    const unsigned int freed = probe.serverPort();
    probe.close();
    for (const unsigned int port : {freed, 65536u + listening.serverPort()}) {
        CSmtpSession session("127.0.0.1", port);
        session.SetTimeout(1000);
        EXPECT_EQ(session.Connect(), 0);
        EXPECT_EQ(session.LastError, "Unable to connect to server");
        EXPECT_EQ(session.Connected, 0);
    }
    EXPECT_FALSE(listening.waitForNewConnection(200));
}

TEST(SmtpDialogue, AMessageRefusedByTheServerOrByItsChecksFailsWithTheReasonAndTheNextGoesOut)
{
    // A refused recipient alone does not stop the message, yet its refusal stays readable.
    // Only a transaction left open by a refused DATA is reset before the next message.
    const struct { QByteArray replies; int sent; QString error; QByteArray commands; bool data; } refusals[] = {
        {"550 not you\r\n", 0, "550:SMTP server error", "MAIL From: <admin@x>\r\n", false},
        {kOk.repeated(3) + "554 no valid recipients\r\n250 reset\r\n", 0, "554:SMTP server not ready for data",
         kEnvelope + "RSET\r\n", false},
        {kOk.repeated(3) + "354 go\r\n451 local error\r\n", 0, "451:SMTP server error", kEnvelope, true},
        {kOk + "550 no such user\r\n" + kOk + "354 go\r\n" + kOk, 1, "550:SMTP server error", kEnvelope, true},
    };
    // Checks that send nothing: no recipients, or a line break, which would let a field
    // write a command or header.
    const struct { void (*spoil)(CMailItem&); const char* error; } checks[] = {
        {[](CMailItem& m) { m.Recipients.clear(); }, "No Recipients"},
        {[](CMailItem& m) { m.Recipients[1].Name = "Ann\r\nBcc: c@z"; }, "Line break in address or subject"},
    };
    for (const auto& refusal : refusals) {
        ScriptedServer server(kGreeted + refusal.replies + kAccepted + "221-bye\r\n221 closing\r\n");
        CMailItem first = kReminder, second = kReminder;
        {
            CSmtpSession session("127.0.0.1", server.port);
            ASSERT_EQ(session.Connect(), 1) << session.LastError.toStdString();
            EXPECT_EQ(session.Connect(), 1); // already connected: nothing more is sent
            for (const auto& check : checks) {
                CMailItem spoilt = kReminder;
                check.spoil(spoilt);
                EXPECT_EQ(session.SendMessage(spoilt), 0);
                EXPECT_EQ(session.LastError, check.error);
            }
            EXPECT_EQ(session.SendMessage(first), refusal.sent);
            EXPECT_EQ(session.LastError, refusal.error);
            EXPECT_EQ(session.Connected, 1); // the server still talks to us
            EXPECT_EQ(session.SendMessage(second), 1) << session.LastError.toStdString();
        } // the session's end says QUIT
        const QByteArray firstData = refusal.data ? Data(first) : QByteArray();
        EXPECT_EQ(server.Received(), Helo() + refusal.commands + firstData + kEnvelope + Data(second) + "QUIT\r\n");
    }
}

TEST(SmtpDialogue, AServerThatStopsAnsweringFailsTheCallWithinTheTimeOutAndLosesTheConnection)
{
    using enum ScriptedServer::Then;
    const QByteArray dataTaken = kGreeted + kOk.repeated(3) + "354 go\r\n";
    const struct { const char* server; QByteArray replies; ScriptedServer::Then then; QString error; bool flood = false; }
        failures[] = {
            {"is silent from the start", "", Silence, "Server didn't respond."},
            {"closes within a reply", kGreeted + "250-first half", Closing, "Socket Error"},
            // Lines that never end the reply: given up after 64 KiB, not read forever.
            {"never ends its reply", kGreeted, EndlessReply, "Socket Error"},
            {"is silent after the data", dataTaken, Silence, "Socket Error"},
            {"takes none of 33 MB", dataTaken, Silence, "Socket Error", true},
            {"is silent after QUIT", kGreeted + kAccepted, Silence, "Socket Error"},
        };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.server);
        ScriptedServer server(failure.replies, failure.then);
        CSmtpSession session("127.0.0.1", server.port);
        session.SetTimeout(1000);
        CMailItem item = kReminder;
        if (failure.flood)
            item.Body = QString("A line of the body that repeats.\n").repeated(1 << 20); // beyond socket buffers
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(session.Connect() && session.SendMessage(item) && session.Disconnect());
        // On its own time-out, far below the server's minute; the margin covers preparing
        // a 33 MB body under the sanitizers on a loaded machine.
        EXPECT_LT(clock.elapsed(), 30000);
        EXPECT_EQ(session.LastError, failure.error);
        EXPECT_EQ(session.Connected, 0); // given up: a late reply never answers a later command
        EXPECT_EQ(session.SendMessage(item), 0);
        EXPECT_EQ(session.LastError, "Must be connected");
    }
}

} // namespace
