// The SMTP dialogue against a scripted server: refusals at every step, multi-line replies,
// silence, closed connections, and the checks that send nothing.

#include "MailTestPrinting.h"
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
#include <vector>

namespace {

// An SMTP peer on its own thread that plays a script to one client and records all it sends:
// the replies a real server won't give. Loopback only; every wait ends when the server is
// destroyed or a minute after it started, far beyond any time-out.
class ScriptedServer {
public:
    // The first step greets the client; every later one first waits for the client's next
    // line (after a 354 reply: the data up to its lone dot).
    struct Step {
        enum class Kind { Reply, CloseAfter, Endless } kind = Kind::Reply;
        QByteArray text;
        Step(const char* reply) : text(QByteArray(reply) + "\r\n") {} // a reply; CR LF added
        Step(Kind how, const QByteArray& bytes) : kind(how), text(bytes) {}
    };
    // The bytes as they are, then the connection closed.
    static Step CloseAfter(const QByteArray& bytes) { return {Step::Kind::CloseAfter, bytes}; }
    // The line again and again until the client goes away.
    static Step Endless(const QByteArray& line) { return {Step::Kind::Endless, line}; }

    // After the script the server neither answers nor reads: what the client sends backs up.
    explicit ScriptedServer(std::vector<Step> script)
    {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_listener, 1);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, script = std::move(script)] { Run(script); });
    }
    ~ScriptedServer()
    {
        m_stopping = true;
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_client);
        ::close(m_listener);
    }

    quint16 port() const { return m_port; }

    // Everything the client sent, once it has closed the connection.
    QByteArray Received()
    {
        if (m_thread.joinable())
            m_thread.join();
        ReadUntil({});
        return m_received;
    }

private:
    bool Waiting() const { return !m_stopping && !m_closed && std::chrono::steady_clock::now() < m_deadline; }

    // Reads until the end bytes come (none: until the client closes).
    bool ReadUntil(const QByteArray& end)
    {
        while (Waiting()) {
            if (const qsizetype at = m_received.indexOf(end, m_consumed); at >= 0 && !end.isEmpty()) {
                m_consumed = at + end.size();
                return true;
            }
            char buffer[4096];
            const ssize_t got = ::recv(m_client, buffer, sizeof buffer, 0);
            m_closed = got == 0 || (got < 0 && errno != EAGAIN);
            m_received.append(buffer, got > 0 ? got : 0);
        }
        return false;
    }

    bool Send(const QByteArray& b) { return ::send(m_client, b.data(), b.size(), MSG_NOSIGNAL) == b.size(); }

    void Run(const std::vector<Step>& script)
    {
        // Accepting and reading wait in slices, so that they notice the end of a wait.
        const timeval slice{0, 100000};
        ::setsockopt(m_listener, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice);
        while (m_client < 0 && Waiting())
            m_client = ::accept(m_listener, nullptr, nullptr);
        ::setsockopt(m_client, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice);
        for (std::size_t i = 0; i < script.size(); ++i) {
            const Step& step = script[i];
            if (i > 0 && !ReadUntil(script[i - 1].text.startsWith("354") ? "\r\n.\r\n" : "\n"))
                break;
            // A reply goes in two pieces, the second a little later, as a network may cut it.
            const qsizetype cut = step.kind == Step::Kind::Endless ? 0 : step.text.size() / 2;
            bool sent = Send(step.text.left(cut));
            std::this_thread::sleep_for(std::chrono::milliseconds(cut > 0 ? 5 : 0));
            do
                sent = sent && Send(step.text.mid(cut));
            while (sent && step.kind == Step::Kind::Endless && Waiting());
            if (!sent || step.kind == Step::Kind::CloseAfter) {
                ::shutdown(m_client, SHUT_RDWR);
                break;
            }
        }
    }

    const std::chrono::steady_clock::time_point m_deadline{std::chrono::steady_clock::now() + std::chrono::minutes(1)};
    int m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    int m_client = -1;
    quint16 m_port = 0;
    bool m_closed = false;
    qsizetype m_consumed = 0;
    QByteArray m_received;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

using Script = std::vector<ScriptedServer::Step>;

Script Then(Script script, const Script& more)
{
    script.insert(script.end(), more.begin(), more.end());
    return script;
}

const Script kGreeted = {"220 scripted ready", "250 hello"};
// The server's side of a message to two recipients that is taken.
const Script kAccepted = {"250 sender ok", "250 a ok", "250 b ok", "354 go on", "250 queued"};
const QByteArray kEnvelope = "MAIL From: <admin@x>\r\nRCPT TO: <a@x>\r\nRCPT TO: <b@y>\r\nDATA\r\n";

QByteArray Helo() { return "HELO " + QHostInfo::localHostName().left(80).toUtf8() + "\r\n"; }

const CMailItem kReminder{.From = "admin@x", .Subject = "Open Dataset", .Header = {}, .DateTime = {},
                          .Body = "Please close it.", .Recipients = {{"a@x", {}}, {"b@y", {}}}};
// The data of a sent kReminder.
QByteArray Data(const CMailItem& item) { return item.Header.toUtf8() + "Please close it.\r\n\r\n.\r\n"; }

struct Dialogue {
    explicit Dialogue(Script script, int ms = 5000) : server(std::move(script)) { session.SetTimeout(ms); }
    ScriptedServer server;
    CSmtpSession session{"127.0.0.1", server.port()};
};

TEST(SmtpDialogue, AMessageGoesOutByteForByteChecksSendNothingAndDestroyingTheSessionSaysQuit)
{
    // Replies over several lines and in pieces: a reply taken before its end would leave
    // the next command answered by the wrong line.
    ScriptedServer server({"220-scripted\r\n220-more greeting\n220 ready", "250-hello\r\n250 PIPELINING",
                           "250 sender ok", "250-recipient\r\n250 ok", "250-recipient\r\n250 ok", "354 go on",
                           "250-queued\r\n250 as 42", "221-bye\r\n221 closing"});
    // No recipients; or a line break, which would let a field write a command or header.
    const struct { void (*spoil)(CMailItem&); const char* error; } checks[] = {
        {[](CMailItem& m) { m.Recipients.clear(); }, "No Recipients"},
        {[](CMailItem& m) { m.From = "admin@x>\r\nRCPT TO: <c@z"; }, "Line break in address or subject"},
        {[](CMailItem& m) { m.Subject = "Hi\nBcc: c@z"; }, "Line break in address or subject"},
        {[](CMailItem& m) { m.Recipients[1].Address = "b@y\r"; }, "Line break in address or subject"},
        {[](CMailItem& m) { m.Recipients[0].Name = "Ann\r\nBcc: c@z"; }, "Line break in address or subject"},
    };
    CMailItem item = kReminder;
    {
        CSmtpSession session("127.0.0.1", server.port());
        ASSERT_EQ(session.Connect(), 1) << session.LastError.toStdString();
        EXPECT_EQ(session.Connect(), 1); // already connected: nothing more is sent
        for (const auto& check : checks) {
            CMailItem spoilt = kReminder;
            check.spoil(spoilt);
            EXPECT_EQ(session.SendMessage(spoilt), 0);
            EXPECT_EQ(session.LastError, check.error);
        }
        ASSERT_EQ(session.SendMessage(item), 1) << session.LastError.toStdString();
    }
    EXPECT_EQ(server.Received(), Helo() + kEnvelope + Data(item) + "QUIT\r\n");
}

TEST(SmtpDialogue, RefusalsAtConnectFailWithTheirTexts)
{
    // No HELO after a refused greeting.
    const struct { Script script; QString error; QByteArray received; } refusals[] = {
        {{"421 busy, try later"}, "Server didn't respond.", ""},
        {{"220 ready", "501 bad name"}, "501:SMTP server error", Helo()},
    };
    for (const auto& refusal : refusals) {
        Dialogue d(refusal.script);
        EXPECT_EQ(d.session.Connect(), 0);
        EXPECT_EQ(d.session.LastError, refusal.error);
        EXPECT_EQ(d.session.Connected, 0);
        EXPECT_EQ(d.session.Disconnect(), 1);
        EXPECT_EQ(d.server.Received(), refusal.received);
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

TEST(SmtpDialogue, ARefusalInTheTransactionFailsWithItsCodeAndTheNextMessageGoesOut)
{
    // A refused recipient alone does not stop the message, yet its refusal stays readable.
    // Only a transaction left open by a refused DATA is reset before the next message.
    const struct { Script replies; int sent; QString error; QByteArray commands; bool data; } refusals[] = {
        {{"550 not you"}, 0, "550:SMTP server error", "MAIL From: <admin@x>\r\n", false},
        {{"250 ok", "250 ok", "250 ok", "554 no valid recipients", "250 reset"}, 0,
         "554:SMTP server not ready for data", kEnvelope + "RSET\r\n", false},
        {{"250 ok", "250 ok", "250 ok", "354 go", "451 local error"}, 0, "451:SMTP server error", kEnvelope, true},
        {{"250 ok", "550 no such user", "250 ok", "354 go", "250 queued"}, 1, "550:SMTP server error", kEnvelope, true},
    };
    for (const auto& refusal : refusals) {
        Dialogue d(Then(Then(kGreeted, refusal.replies), Then(kAccepted, {"221 bye"})));
        ASSERT_EQ(d.session.Connect(), 1);
        CMailItem first = kReminder;
        EXPECT_EQ(d.session.SendMessage(first), refusal.sent);
        EXPECT_EQ(d.session.LastError, refusal.error);
        EXPECT_EQ(d.session.Connected, 1); // the server still talks to us
        CMailItem second = kReminder;
        EXPECT_EQ(d.session.SendMessage(second), 1) << d.session.LastError.toStdString();
        EXPECT_EQ(d.session.Disconnect(), 1);
        const QByteArray firstData = refusal.data ? Data(first) : QByteArray();
        EXPECT_EQ(d.server.Received(), Helo() + refusal.commands + firstData + kEnvelope + Data(second) + "QUIT\r\n");
    }
}

TEST(SmtpDialogue, AServerThatStopsAnsweringFailsTheCallWithinTheTimeOutAndLosesTheConnection)
{
    const struct { const char* server; Script script; QString error; bool flood = false; } failures[] = {
        {"is silent from the start", {}, "Server didn't respond."},
        {"closes within a reply", Then(kGreeted, {ScriptedServer::CloseAfter("250-first half")}), "Socket Error"},
        // Lines that never end the reply: given up after 64 KiB, not read forever.
        {"never ends its reply", Then(kGreeted, {ScriptedServer::Endless("250-and more\r\n")}), "Socket Error"},
        {"is silent after the data", Then(kGreeted, {"250 ok", "250 ok", "250 ok", "354 go"}), "Socket Error"},
        {"takes none of 33 MB", Then(kGreeted, {"250 ok", "250 ok", "250 ok", "354 go"}), "Socket Error", true},
        {"is silent after QUIT", Then(kGreeted, kAccepted), "Socket Error"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.server);
        Dialogue d(failure.script, 1000);
        CMailItem item = kReminder;
        if (failure.flood)
            item.Body = QString("A line of the body that repeats.\n").repeated(1 << 20); // beyond socket buffers
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(d.session.Connect() && d.session.SendMessage(item) && d.session.Disconnect());
        // On its own time-out, far below the server's minute; the margin covers preparing
        // a 33 MB body under the sanitizers on a loaded machine.
        EXPECT_LT(clock.elapsed(), 30000);
        EXPECT_EQ(d.session.LastError, failure.error);
        EXPECT_EQ(d.session.Connected, 0); // given up: a late reply never answers a later command
        EXPECT_EQ(d.session.SendMessage(item), 0);
        EXPECT_EQ(d.session.LastError, "Must be connected");
    }
}

} // namespace
