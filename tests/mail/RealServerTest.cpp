// Messages through a real SMTP server (aiosmtpd): what arrives in its envelope and what
// Python's mail parser reads from the data.

#include "MailTestPrinting.h"
#include "SmtpSink.h"
#include "mail/CSmtpSession.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

class RealServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
        session.Port = sink.port();
        session.SetTimeout(10000);
        ASSERT_EQ(session.Connect(), 1) << session.LastError.toStdString();
    }

    // Sends one message to the recipients and returns what the server made of it.
    QJsonObject Send(const QString& body, const QString& recipients = "researcher@example.org",
                     const QString& subject = "Velmar Open Dataset")
    {
        CMailItem item;
        item.From = "admin@example.org";
        item.Subject = subject;
        item.Body = body;
        EXPECT_EQ(item.AddMultipleRecipients(recipients), 1);
        EXPECT_EQ(session.SendMessage(item), 1) << session.LastError.toStdString();
        lastItem = item;
        return sink.Message(++sent);
    }

    SmtpSink sink;
    CSmtpSession session{"127.0.0.1"};
    CMailItem lastItem;
    int sent = 0;
};

// The body is sent with a final CR LF and then "\r\n.\r\n", which leaves one empty line
// at its end.
const QByteArray kTerminatorLine = "\r\n";

// The lines of a decoded body; Python's quoted-printable decoder gives LF line ends.
QStringList Lines(const QByteArray& body)
{
    return QString::fromUtf8(body).replace("\r\n", "\n").split(QLatin1Char('\n'));
}

QStringList Strings(const QJsonValue& value)
{
    QStringList out;
    for (const QJsonValue& v : value.toArray())
        out.append(v.toString());
    return out;
}

TEST_F(RealServer, EnvelopeHeadersAndDateAsSent)
{
    const QJsonObject m = Send("Hello", "a@x;b@y");
    EXPECT_EQ(m["mail_from"].toString(), "admin@example.org");
    EXPECT_EQ(Strings(m["rcpt_tos"]), (QStringList{"a@x", "b@y"}));
    EXPECT_EQ(m["to"].toString(), "<a@x>,<b@y>");
    EXPECT_EQ(m["subject"].toString(), "Velmar Open Dataset");
    EXPECT_EQ(m["x_mailer"].toString(), "<ZQ Mail>");
    EXPECT_FALSE(m.contains("date_error")) << m["date_error"].toString().toStdString();
    EXPECT_TRUE(m["date_has_zone"].toBool());
    EXPECT_EQ(m["date_epoch"].toInteger(), lastItem.DateTime.toSecsSinceEpoch());
    // A plain ASCII body goes without any MIME lines.
    EXPECT_FALSE(Field64(m, "raw").contains("MIME-Version"));
    EXPECT_EQ(Field64(m, "body"), "Hello\r\n" + kTerminatorLine);
    EXPECT_EQ(session.Disconnect(), 1);
}

TEST_F(RealServer, BodiesArriveLineForLine)
{
    // Dots at the start of lines, bare line feeds, and the reminder's own text.
    EXPECT_EQ(Field64(Send("."), "body"), ".\r\n" + kTerminatorLine);
    EXPECT_EQ(Field64(Send(".5 ml\n..two\n.\nlast ."), "body"),
              ".5 ml\r\n..two\r\n.\r\nlast .\r\n" + kTerminatorLine);
    EXPECT_EQ(Field64(Send("first\r\n.\r\nafter the dot line\r\n"), "body"),
              "first\r\n.\r\nafter the dot line\r\n" + kTerminatorLine);
    EXPECT_EQ(Field64(Send("the open dataset A in the Velmar.\nIf you are finished\n.\nThank you,"), "body"),
              "the open dataset A in the Velmar.\r\nIf you are finished\r\n.\r\nThank you,\r\n" + kTerminatorLine);
    EXPECT_EQ(sink.MessageCount(), 4); // one session, four messages
    EXPECT_EQ(session.Disconnect(), 1);
}

TEST_F(RealServer, TextBeyondAsciiArrivesAsUtf8)
{
    const QJsonObject m = Send(QString::fromUtf8("Études.\n.5 ml\nFin"), "a@x.org",
                               QString::fromUtf8("Dataset Études"));
    EXPECT_EQ(m["charset"].toString(), "utf-8");
    EXPECT_EQ(m["transfer_encoding"].toString(), "quoted-printable");
    EXPECT_EQ(m["subject"].toString(), QString::fromUtf8("Dataset Études"));
    EXPECT_EQ(Lines(Field64(m, "body")), (QStringList{QString::fromUtf8("Études."), ".5 ml", "Fin", "", ""}));
    // Nothing but 7-bit bytes on the wire, as HELO promises.
    for (const char c : Field64(m, "raw"))
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);

    // A line too long for SMTP arrives whole too.
    const QString longLine = QString("0123456789").repeated(150);
    EXPECT_EQ(Lines(Field64(Send(longLine), "body")), (QStringList{longLine, "", ""}));
    EXPECT_EQ(session.Disconnect(), 1);
}

} // namespace
