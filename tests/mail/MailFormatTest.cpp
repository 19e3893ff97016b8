// What goes onto the wire: the date, the body's lines, dots and encoding, header texts,
// and how server replies are cut out of the bytes that arrive.

#include "MailTestPrinting.h"
#include "mail/MailBody.h"
#include "mail/MailDate.h"
#include "mail/MailHeader.h"
#include "mail/SmtpReplyReader.h"

#include <QLocale>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace quorin::mail;

namespace {

TEST(MailDate, EnglishNamesFourDigitYearAndNumericZoneWhateverTheLocale)
{
    const QDateTime moment(QDate(2010, 3, 7), QTime(14, 5, 9), QTimeZone(-5 * 3600));
    EXPECT_EQ(MailDate(moment), "Sun, 07 Mar 2010 14:05:09 -0500");
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(MailDate(QDateTime(QDate(1999, 12, 30), QTime(0, 0, 0), QTimeZone(5 * 3600 + 1800))),
              "Thu, 30 Dec 1999 00:00:00 +0530");
    EXPECT_EQ(MailDate(QDateTime(QDate(2026, 1, 5), QTime(23, 59, 59), QTimeZone(0))),
              "Mon, 05 Jan 2026 23:59:59 +0000");
    QLocale::setDefault(before);
}

TEST(MailBody, EveryKindOfLineEndBecomesCrLf)
{
    EXPECT_EQ(CrLfText("you have the open dataset A.\nIf you are finished"),
              "you have the open dataset A.\r\nIf you are finished\r\n");
    EXPECT_EQ(CrLfText("a\rb\r\nc\n\rd\r\n"), "a\r\nb\r\nc\r\n\r\nd\r\n");
    EXPECT_EQ(CrLfText(""), "\r\n");
}

TEST(MailBody, LinesBeginningWithADotGetOneMore)
{
    EXPECT_EQ(WireBody("."), "..\r\n");
    EXPECT_EQ(WireBody(".5 ml\n\nsee .\n.\nend..\n..x"), "..5 ml\r\n\r\nsee .\r\n..\r\nend..\r\n...x\r\n");
    EXPECT_EQ(StuffDots("a\r\n.\r\n"), "a\r\n..\r\n");
}

TEST(MailBody, AsciiGoesAsItIsAndEverythingElseAsQuotedPrintable)
{
    EXPECT_FALSE(NeedsQuotedPrintable("Plain = text\r\n"));
    EXPECT_TRUE(NeedsQuotedPrintable(QString::fromUtf8("Études\r\n")));
    EXPECT_FALSE(NeedsQuotedPrintable(QString(kMaxLineLength, 'x') + "\r\n"));
    EXPECT_TRUE(NeedsQuotedPrintable(QString(kMaxLineLength + 1, 'x') + "\r\n"));

    EXPECT_EQ(WireBody(QString::fromUtf8("Études = 1 \n.fin")), "=C3=89tudes =3D 1=20\r\n..fin\r\n");
    // Long lines break softly within 76 characters and never inside an escape.
    const QByteArray wire = WireBody(QString::fromUtf8("é").repeated(60));
    for (const QByteArray& line : wire.split('\n'))
        EXPECT_LE(line.size(), 77);
    EXPECT_EQ(wire.left(78), QByteArray("=C3=A9").repeated(12) + "=C3=\r\n");
    EXPECT_TRUE(wire.endsWith("=C3=A9\r\n"));
}

TEST(MailHeader, AsciiTextsStandAsTheyAreOthersAsEncodedWords)
{
    EXPECT_EQ(HeaderText("Velmar Open Dataset"), "Velmar Open Dataset");
    EXPECT_EQ(HeaderText(QString::fromUtf8("Études")), "=?UTF-8?B?w4l0dWRlcw==?=");
    const QString longer = HeaderText(QString::fromUtf8("ü").repeated(30));
    EXPECT_EQ(longer.count("=?UTF-8?B?"), 2);
    EXPECT_TRUE(longer.contains("?=\r\n =?UTF-8?B?"));
}

TEST(MailHeader, BlockInItsOrderWithMimeLinesOnlyForQuotedPrintable)
{
    HeaderFields fields{"Sun, 07 Mar 2010 14:05:09 -0500", "admin@x", "<a@x>,<b@y>", "Hi", "ZQ Mail", false};
    EXPECT_EQ(HeaderBlock(fields), "Date: Sun, 07 Mar 2010 14:05:09 -0500\r\nFrom: admin@x\r\n"
                                   "To: <a@x>,<b@y>\r\nSubject: Hi\r\nX-Mailer: <ZQ Mail>\r\n\r\n");
    fields.quotedPrintable = true;
    EXPECT_TRUE(HeaderBlock(fields).endsWith("X-Mailer: <ZQ Mail>\r\nMIME-Version: 1.0\r\n"
                                             "Content-Type: text/plain; charset=UTF-8\r\n"
                                             "Content-Transfer-Encoding: quoted-printable\r\n\r\n"));
}

TEST(SmtpReply, CodeIsTheFirstThreeDigitsElseZero)
{
    EXPECT_EQ(SmtpReplyCode("250 ok\r\n"), 250);
    EXPECT_EQ(SmtpReplyCode("550"), 550);
    EXPECT_EQ(SmtpReplyCode("25"), 0);
    EXPECT_EQ(SmtpReplyCode("2x0 ok"), 0);
    EXPECT_EQ(SmtpReplyCode("+50 ok"), 0);
    EXPECT_EQ(SmtpReplyCode("hello"), 0);
}

TEST(SmtpReply, AReplyEndsAtItsFinalLineAndTheRestWaits)
{
    SmtpReplyReader reader;
    SmtpReply reply;
    const QByteArray bytes = "220-first\r\n220-second\n220 last\r\n250 next\r\n25";
    reader.Feed(bytes.constData(), bytes.size());
    ASSERT_EQ(reader.Take(reply), SmtpReplyReader::State::Complete);
    EXPECT_EQ(reply.code, 220);
    EXPECT_EQ(reply.text, "220-first\r\n220-second\n220 last\r\n");
    ASSERT_EQ(reader.Take(reply), SmtpReplyReader::State::Complete);
    EXPECT_EQ(reply.text, "250 next\r\n");
    EXPECT_EQ(reader.Take(reply), SmtpReplyReader::State::NeedMore);
    reader.Feed("0\n", 2);
    ASSERT_EQ(reader.Take(reply), SmtpReplyReader::State::Complete);
    EXPECT_EQ(reply.text, "250\n");
    EXPECT_EQ(reader.Pending(), 0);
}

TEST(SmtpReply, NoFinalLineWithinTheLimitIsTooLong)
{
    SmtpReplyReader reader(16);
    SmtpReply reply;
    reader.Feed("250-0123456789\r\n", 16);
    EXPECT_EQ(reader.Room(), 0);
    EXPECT_EQ(reader.Take(reply), SmtpReplyReader::State::TooLong);

    // A final line that ends exactly at the limit still counts.
    SmtpReplyReader exact(16);
    exact.Feed("250-ab\r\n250 cd\r\n", 16);
    EXPECT_EQ(exact.Take(reply), SmtpReplyReader::State::Complete);
}

} // namespace
