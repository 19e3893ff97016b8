// The SMTP dialogue against a scripted server: refusals at every step, odd and slow
// replies, silence, closed connections, and the checks that send nothing.

#include "MailTestPrinting.h"
#include "ScriptedSmtpServer.h"
#include "mail/CSmtpSession.h"

#include <QElapsedTimer>
#include <QHostInfo>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace {

using S = ScriptedSmtpServer;
using Script = std::vector<S::Step>;

Script Then(Script script, const Script& more)
{
    script.insert(script.end(), more.begin(), more.end());
    return script;
}

// The server's side of a message to two recipients that is taken.
const Script kAccepted = {S::Line(), S::Reply("250 sender ok\r\n"), S::Line(), S::Reply("250 a ok\r\n"),
                          S::Line(), S::Reply("250 b ok\r\n"),      S::Line(), S::Reply("354 go on\r\n"),
                          S::Data(), S::Reply("250 queued\r\n")};
const Script kQuit = {S::Line(), S::Reply("221 bye\r\n")};

QByteArray Helo()
{
    QString name = QHostInfo::localHostName().left(80);
    return "HELO " + (name.isEmpty() ? QByteArray("localhost") : name.toUtf8()) + "\r\n";
}

CMailItem Reminder()
{
    CMailItem item;
    item.From = "admin@x";
    item.Subject = "Open Dataset";
    item.Body = "Please close it.";
    item.AddMultipleRecipients("a@x;b@y");
    return item;
}

const QByteArray kEnvelope = "MAIL From: <admin@x>\r\nRCPT TO: <a@x>\r\nRCPT TO: <b@y>\r\nDATA\r\n";

struct Dialogue {
    explicit Dialogue(Script script, int timeoutMs = 5000)
        : server(std::move(script))
        , session("127.0.0.1", server.port())
    {
        session.SetTimeout(timeoutMs);
    }
    ScriptedSmtpServer server;
    CSmtpSession session;
};

TEST(SmtpDialogue, AMessageGoesOutByteForByteAndQuitEndsTheSession)
{
    Dialogue d(Then(Then(S::Greeted(), kAccepted), kQuit));
    EXPECT_EQ(d.session.LastError, "OK");
    ASSERT_EQ(d.session.Connect(), 1) << d.session.LastError.toStdString();
    EXPECT_EQ(d.session.Connected, 1);
    CMailItem item = Reminder();
    ASSERT_EQ(d.session.SendMessage(item), 1) << d.session.LastError.toStdString();
    EXPECT_EQ(d.session.Disconnect(), 1);
    EXPECT_EQ(d.session.Connected, 0);
    EXPECT_TRUE(item.Header.startsWith("Date: "));
    EXPECT_TRUE(item.Header.endsWith("\r\nFrom: admin@x\r\nTo: <a@x>,<b@y>\r\nSubject: Open Dataset\r\n"
                                     "X-Mailer: <ZQ Mail>\r\n\r\n"));
    EXPECT_EQ(d.server.Received(),
              Helo() + kEnvelope + item.Header.toUtf8() + "Please close it.\r\n\r\n.\r\nQUIT\r\n");
}

TEST(SmtpDialogue, MultiLineAndPiecemealRepliesAnswerOnlyTheirOwnCommand)
{
    // Every reply arrives a byte at a time, some over several lines, one after a pause;
    // a reply read too early would leave the next command answered by the wrong line.
    Script script = {S::ReplyInPieces("220-scripted\r\n220-more greeting\n220 ready\r\n", 1, 1), S::Line(),
                     S::ReplyInPieces("250-hello\r\n250 PIPELINING\r\n", 1, 1), S::Line(),
                     S::Pause(300), S::ReplyInPieces("250 sender ok\r\n", 1, 1)};
    for (int i = 0; i < 2; ++i)
        script = Then(script, {S::Line(), S::ReplyInPieces("250-recipient\r\n250 ok\r\n", 1, 1)});
    script = Then(script, {S::Line(), S::ReplyInPieces("354 go on\r\n", 1, 1), S::Data(),
                           S::ReplyInPieces("250-queued\r\n250 as 42\r\n", 1, 1), S::Line(),
                           S::ReplyInPieces("221-bye\r\n221 closing\r\n", 1, 1)});
    Dialogue d(script, 1000);
    ASSERT_EQ(d.session.Connect(), 1) << d.session.LastError.toStdString();
    CMailItem item = Reminder();
    ASSERT_EQ(d.session.SendMessage(item), 1) << d.session.LastError.toStdString();
    EXPECT_EQ(d.session.Disconnect(), 1) << d.session.LastError.toStdString();
    EXPECT_EQ(d.session.LastError, "OK");
    EXPECT_EQ(d.server.Received(), Helo() + kEnvelope + item.Header.toUtf8() + "Please close it.\r\n\r\n.\r\nQUIT\r\n");
}

TEST(SmtpDialogue, RefusalsAtConnectFailWithTheirTexts)
{
    {
        Dialogue d({S::Reply("421 busy, try later\r\n")});
        EXPECT_EQ(d.session.Connect(), 0);
        EXPECT_EQ(d.session.LastError, "Server didn't respond.");
        EXPECT_EQ(d.session.Connected, 0);
        EXPECT_EQ(d.server.Received(), ""); // no HELO after a refused greeting
    }
    {
        Dialogue d({S::Reply("220 ready\r\n"), S::Line(), S::Reply("501 bad name\r\n")});
        EXPECT_EQ(d.session.Connect(), 0);
        EXPECT_EQ(d.session.LastError, "501:SMTP server error");
        EXPECT_EQ(d.session.Connected, 0);
        EXPECT_EQ(d.session.Disconnect(), 1);
        EXPECT_EQ(d.server.Received(), Helo());
    }
    {
        // Nothing listens on a port just freed.
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        CSmtpSession session("127.0.0.1", port);
        session.SetTimeout(1000);
        EXPECT_EQ(session.Connect(), 0);
        EXPECT_EQ(session.LastError, "Unable to connect to server");
        EXPECT_EQ(session.Connected, 0);
    }
    {
        // A port number too large for TCP does not wrap round to a listening one.
        QTcpServer listening;
        ASSERT_TRUE(listening.listen(QHostAddress::LocalHost));
        CSmtpSession session("127.0.0.1", 65536u + listening.serverPort());
        EXPECT_EQ(session.Connect(), 0);
        EXPECT_EQ(session.LastError, "Unable to connect to server");
        EXPECT_FALSE(listening.waitForNewConnection(200));
    }
}

TEST(SmtpDialogue, RefusalsInTheTransactionFailWithTheCodeAndText)
{
    {
        Dialogue d(Then(S::Greeted(), Then({S::Line(), S::Reply("550 not you\r\n")}, kQuit)));
        ASSERT_EQ(d.session.Connect(), 1);
        CMailItem item = Reminder();
        EXPECT_EQ(d.session.SendMessage(item), 0);
        EXPECT_EQ(d.session.LastError, "550:SMTP server error");
        EXPECT_EQ(d.session.Connected, 1); // the server still talks to us
        EXPECT_EQ(d.session.Disconnect(), 1);
        EXPECT_EQ(d.server.Received(), Helo() + "MAIL From: <admin@x>\r\nQUIT\r\n");
    }
    {
        Dialogue d(Then(S::Greeted(), {S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("250 ok\r\n"),
                                        S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("451 later\r\n"),
                                        S::Line(), S::Reply("221 bye\r\n")}));
        ASSERT_EQ(d.session.Connect(), 1);
        CMailItem item = Reminder();
        EXPECT_EQ(d.session.SendMessage(item), 0);
        EXPECT_EQ(d.session.LastError, "451:SMTP server not ready for data");
    }
    {
        Dialogue d(Then(S::Greeted(), Then({S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("250 ok\r\n"),
                                             S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("354 go\r\n"),
                                             S::Data(), S::Reply("451 local error\r\n")},
                                            kQuit)));
        ASSERT_EQ(d.session.Connect(), 1);
        CMailItem item = Reminder();
        EXPECT_EQ(d.session.SendMessage(item), 0);
        EXPECT_EQ(d.session.LastError, "451:SMTP server error");
        EXPECT_EQ(d.session.Connected, 1);
        EXPECT_EQ(d.session.Disconnect(), 1);
    }
}

TEST(SmtpDialogue, ARefusedRecipientDoesNotStopTheMessage)
{
    Dialogue d(Then(S::Greeted(), Then({S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("550 no such user\r\n"),
                                         S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("354 go\r\n"),
                                         S::Data(), S::Reply("250 queued\r\n")},
                                        kQuit)));
    ASSERT_EQ(d.session.Connect(), 1);
    CMailItem item = Reminder();
    EXPECT_EQ(d.session.SendMessage(item), 1);
    EXPECT_EQ(d.session.LastError, "550:SMTP server error"); // the refusal stays readable
    EXPECT_EQ(d.session.Disconnect(), 1);
    EXPECT_EQ(d.server.Received(), Helo() + kEnvelope + item.Header.toUtf8() + "Please close it.\r\n\r\n.\r\nQUIT\r\n");
}

TEST(SmtpDialogue, AfterARefusedDataCommandTheNextMessageStartsAfresh)
{
    Dialogue d(Then(Then(S::Greeted(), {S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("250 ok\r\n"),
                                         S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("554 no valid recipients\r\n"),
                                         S::Line(), S::Reply("250 reset\r\n")}),
                    Then(kAccepted, kQuit)));
    ASSERT_EQ(d.session.Connect(), 1);
    CMailItem first = Reminder();
    EXPECT_EQ(d.session.SendMessage(first), 0);
    EXPECT_EQ(d.session.LastError, "554:SMTP server not ready for data");
    CMailItem second = Reminder();
    EXPECT_EQ(d.session.SendMessage(second), 1) << d.session.LastError.toStdString();
    EXPECT_EQ(d.session.Disconnect(), 1);
    EXPECT_EQ(d.server.Received(), Helo() + kEnvelope + "RSET\r\n" + kEnvelope + second.Header.toUtf8()
                                       + "Please close it.\r\n\r\n.\r\nQUIT\r\n");
}

TEST(SmtpDialogue, SilenceFailsWithinTheTimeOutAndEndsTheConnection)
{
    QElapsedTimer clock;
    {
        Dialogue d({}, 1000);
        clock.start();
        EXPECT_EQ(d.session.Connect(), 0);
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_EQ(d.session.LastError, "Server didn't respond.");
        EXPECT_EQ(d.session.Connected, 0);
    }
    {
        // No answer to the data: the connection is given up, so a late reply can never
        // answer a later command, and Disconnect has nothing left to do.
        Dialogue d(Then(S::Greeted(), {S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("250 ok\r\n"),
                                        S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("354 go\r\n"),
                                        S::Data()}),
                   1000);
        ASSERT_EQ(d.session.Connect(), 1);
        CMailItem item = Reminder();
        clock.start();
        EXPECT_EQ(d.session.SendMessage(item), 0);
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_EQ(d.session.LastError, "Socket Error");
        EXPECT_EQ(d.session.Connected, 0);
        EXPECT_EQ(d.session.Disconnect(), 1);
        EXPECT_EQ(d.session.SendMessage(item), 0);
        EXPECT_EQ(d.session.LastError, "Must be connected");
        EXPECT_FALSE(d.server.Received().contains("QUIT"));
    }
    {
        Dialogue d(Then(S::Greeted(), {S::Line()}), 1000);
        ASSERT_EQ(d.session.Connect(), 1);
        EXPECT_EQ(d.session.Disconnect(), 0);
        EXPECT_EQ(d.session.LastError, "Socket Error");
        EXPECT_EQ(d.session.Connected, 0);
        EXPECT_EQ(d.server.Received(), Helo() + "QUIT\r\n");
    }
}

TEST(SmtpDialogue, AServerThatStopsReadingFailsTheSendWithinTheTimeOut)
{
    // More data than the system's socket buffers hold, to a server that takes none.
    Dialogue d(Then(S::Greeted(), {S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("250 ok\r\n"),
                                    S::Line(), S::Reply("250 ok\r\n"), S::Line(), S::Reply("354 go\r\n"),
                                    S::Stall(60000)}),
               1000);
    ASSERT_EQ(d.session.Connect(), 1);
    CMailItem item = Reminder();
    item.Body = QString("A line of the body that repeats.\n").repeated(1 << 20);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(d.session.SendMessage(item), 0);
    // Far below the server's stall: the send gave up on its own time-out. The margin
    // covers preparing a 33 MB body under the sanitizers on a loaded machine.
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_EQ(d.session.LastError, "Socket Error");
    EXPECT_EQ(d.session.Connected, 0);
}

TEST(SmtpDialogue, AClosedConnectionOrAnEndlessReplyIsASocketError)
{
    {
        Dialogue d(Then(S::Greeted(), {S::Line(), S::Reply("250-first half"), S::Close()}));
        ASSERT_EQ(d.session.Connect(), 1);
        CMailItem item = Reminder();
        EXPECT_EQ(d.session.SendMessage(item), 0);
        EXPECT_EQ(d.session.LastError, "Socket Error");
        EXPECT_EQ(d.session.Connected, 0);
    }
    {
        Dialogue d({S::Reply("220-hello\r\n"), S::Close()});
        EXPECT_EQ(d.session.Connect(), 0);
        EXPECT_EQ(d.session.LastError, "Server didn't respond.");
    }
    {
        // Lines that never end the reply: given up after 64 KiB, not read forever.
        Dialogue d(Then(S::Greeted(), {S::Line(), S::Endless("250-and more and more\r\n")}));
        ASSERT_EQ(d.session.Connect(), 1);
        CMailItem item = Reminder();
        EXPECT_EQ(d.session.SendMessage(item), 0);
        EXPECT_EQ(d.session.LastError, "Socket Error");
        EXPECT_EQ(d.session.Connected, 0);
    }
}

TEST(SmtpDialogue, ChecksBeforeTheTransactionSendNothing)
{
    CSmtpSession unconnected("127.0.0.1", 25);
    CMailItem item = Reminder();
    EXPECT_EQ(unconnected.SendMessage(item), 0);
    EXPECT_EQ(unconnected.LastError, "Must be connected");
    EXPECT_EQ(unconnected.Disconnect(), 1);

    Dialogue d(Then(S::Greeted(), kQuit));
    ASSERT_EQ(d.session.Connect(), 1);
    CMailItem nobody;
    nobody.From = "admin@x";
    nobody.Body = "text";
    EXPECT_EQ(d.session.SendMessage(nobody), 0);
    EXPECT_EQ(d.session.LastError, "No Recipients");

    // A line break would let a field write a command or header of its own.
    const auto breaks = [](void (*spoil)(CMailItem&)) {
        CMailItem spoilt = Reminder();
        spoil(spoilt);
        return spoilt;
    };
    for (CMailItem spoilt : {breaks([](CMailItem& m) { m.From = "admin@x>\r\nRCPT TO: <c@z"; }),
                             breaks([](CMailItem& m) { m.Subject = "Hi\nBcc: c@z"; }),
                             breaks([](CMailItem& m) { m.Recipients[1].Address = "b@y\r"; }),
                             breaks([](CMailItem& m) { m.Recipients[0].Name = "Ann\r\nBcc: c@z"; })}) {
        EXPECT_EQ(d.session.SendMessage(spoilt), 0);
        EXPECT_EQ(d.session.LastError, "Line break in address or subject");
        EXPECT_EQ(d.session.Connected, 1);
    }
    EXPECT_EQ(d.session.Disconnect(), 1);
    EXPECT_EQ(d.server.Received(), Helo() + "QUIT\r\n");
}

TEST(SmtpDialogue, DestroyingAConnectedSessionSaysQuit)
{
    ScriptedSmtpServer server(Then(S::Greeted(), kQuit));
    {
        CSmtpSession session("127.0.0.1", server.port());
        session.SetTimeout(5000);
        ASSERT_EQ(session.Connect(), 1);
        EXPECT_EQ(session.Connect(), 1); // already connected: nothing more is sent
    }
    EXPECT_EQ(server.Received(), Helo() + "QUIT\r\n");
}

} // namespace
