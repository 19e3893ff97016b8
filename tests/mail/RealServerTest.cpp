// Messages through a real SMTP server (aiosmtpd): what arrives in its envelope and what
// Python's mail parser reads from the data.

#include "support/QtPrinting.h"
#include "SmtpSink.h"
#include "mail/CSmtpSession.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

TEST(RealServer, EnvelopeHeadersDottedLinesAndUtf8ArriveAsSent)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
    CSmtpSession session("127.0.0.1", sink.port());
    ASSERT_EQ(session.Connect(), 1) << session.LastError.toStdString();
    CMailItem plain{.From = "admin@example.org", .Subject = "Velmar Open Dataset", .Header = {}, .DateTime = {},
                    .Body = ".5 ml\n..two\n.\nlast .", .Recipients = {{"a@x", {}}, {"b@y", QString::fromUtf8("Zoë")}}};
    ASSERT_EQ(session.SendMessage(plain), 1) << session.LastError.toStdString();
    // Beyond ASCII, and a line too long for SMTP: quoted-printable.
    const QString text = QString::fromUtf8("Études.\n.5 ml\n") + QString("0123456789").repeated(150);
    CMailItem utf8{.From = "admin@example.org", .Subject = QString::fromUtf8("Dataset Études"), .Header = {},
                   .DateTime = {}, .Body = text, .Recipients = {{"a@x.org", {}}}};
    ASSERT_EQ(session.SendMessage(utf8), 1) << session.LastError.toStdString();

    const QJsonObject m = sink.Message(1);
    EXPECT_EQ(m["mail_from"].toString(), "admin@example.org");
    EXPECT_EQ(QJsonDocument(m["rcpt_tos"].toArray()).toJson(QJsonDocument::Compact), R"(["a@x","b@y"])");
    EXPECT_EQ(m["to"].toString(), "<a@x>,=?UTF-8?B?Wm/Dqw==?= <b@y>");
    EXPECT_EQ(m["x_mailer"].toString(), "<ZQ Mail>");
    EXPECT_FALSE(m.contains("date_error")) << m["date_error"].toString().toStdString();
    EXPECT_EQ(m["date_epoch"].toInteger(), plain.DateTime.toSecsSinceEpoch());
    // No MIME lines for ASCII; the CR LF before the lone dot leaves an empty line at the end.
    EXPECT_FALSE(Field64(m, "raw").contains("MIME-Version"));
    EXPECT_EQ(Field64(m, "body"), ".5 ml\r\n..two\r\n.\r\nlast .\r\n\r\n");

    const QJsonObject u = sink.Message(2);
    EXPECT_EQ(u["charset"].toString(), "utf-8");
    EXPECT_EQ(u["transfer_encoding"].toString(), "quoted-printable");
    EXPECT_EQ(u["subject"].toString(), utf8.Subject);
    // Python's quoted-printable decoder gives LF line ends.
    EXPECT_EQ(QString::fromUtf8(Field64(u, "body")).replace("\r\n", "\n"), text + "\n\n");
    // Nothing but 7-bit bytes on the wire, as HELO promises.
    for (const char c : Field64(u, "raw"))
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
}

} // namespace
