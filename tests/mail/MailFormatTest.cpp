// What goes onto the wire: recipient lists, the date, the body's lines, dots and encoding,
// header texts, and how server replies are cut out of the bytes that arrive.

#include "support/QtPrinting.h"
#include "mail/CMailItem.h"
#include "mail/MailBody.h"
#include "mail/MailDate.h"
#include "mail/MailHeader.h"
#include "mail/SmtpReplyReader.h"

#include <QLocale>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace quorin::mail;

namespace {

TEST(MailItem, ListsSplitAtSemicolonsUntrimmedAfterTheRecipientsBeforeAndAMalformedOneAddsNothing)
{
    const struct { QString list; int added; QList<QStringList> recipients; } lists[] = {
        {"Ann Lee<ann@x>; Bo <bo@y;<c@z>tail", 1, {{"ann@x", "Ann Lee"}, {"bo@y", " Bo "}, {"c@z", ""}}},
        {"a@x;;b@y;", 1, {{"a@x", ""}, {"", ""}, {"b@y", ""}, {"", ""}}},
        // A ">" without any "<" is part of a bare address; one malformed piece adds no piece.
        {"odd>@x", 1, {{"odd>@x", ""}}},
        {"a@x;Bad>name<b@y>;c@z", 0, {}},
    };
    for (const auto& list : lists) {
        CMailItem item;
        EXPECT_EQ(item.AddRecipient("first@x", "First"), 1);
        EXPECT_EQ(item.AddMultipleRecipients(list.list), list.added) << list.list.toStdString();
        QList<QStringList> read;
        QString address, name;
        for (int i = 0; item.GetRecipient(i, address, name); ++i)
            read.append({address, name});
        EXPECT_EQ(read, (QList<QStringList>{{"first@x", "First"}} + list.recipients)) << list.list.toStdString();
        EXPECT_EQ(item.GetRecipientCount(), read.size());
        EXPECT_EQ(item.GetRecipient(-1, address, name), 0); // nothing, and the texts left alone
        EXPECT_EQ(address, read.back()[0]);
    }
}

TEST(MailDate, EnglishNamesFourDigitYearAndNumericZoneWhateverTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(MailDate(QDateTime({2010, 3, 7}, {14, 5, 9}, QTimeZone(-5 * 3600))), "Sun, 07 Mar 2010 14:05:09 -0500");
    EXPECT_EQ(MailDate(QDateTime({1999, 12, 30}, {0, 0}, QTimeZone(5 * 3600 + 1800))), "Thu, 30 Dec 1999 00:00:00 +0530");
    QLocale::setDefault(before);
}

TEST(MailBody, LinesEndInCrLfLeadingDotsDoubleAndTextBeyondAsciiOrTooLongGoesQuotedPrintable)
{
    const struct { QString body; QByteArray wire; } bodies[] = {
        {"a\rb\r\nc\n\rd\r\n", "a\r\nb\r\nc\r\n\r\nd\r\n"},
        {".", "..\r\n"},
        {QString::fromUtf8("Études = 1 \n.fin"), "=C3=89tudes =3D 1=20\r\n..fin\r\n"},
        // Encoded lines break softly within 76 characters and never inside an escape.
        {QString::fromUtf8("é").repeated(13), QByteArray("=C3=A9").repeated(12) + "=C3=\r\n=A9\r\n"},
        {QString(kMaxLineLength, 'x'), QByteArray(kMaxLineLength, 'x') + "\r\n"},
        {QString(kMaxLineLength + 1, 'x'), (QByteArray(75, 'x') + "=\r\n").repeated(13) + QByteArray(24, 'x') + "\r\n"},
    };
    for (const auto& body : bodies)
        EXPECT_EQ(WireBody(body.body), body.wire);
}

TEST(MailHeader, AsciiTextsStandAsTheyAreOthersAsEncodedWordsWithinTheLineLength)
{
    const struct { QString text; QString header; } texts[] = {
        {"Velmar Open Dataset", "Velmar Open Dataset"},
        {QString::fromUtf8("😀"), "=?UTF-8?B?8J+YgA==?="},
        // At most 45 bytes to a word, broken between characters.
        {QString::fromUtf8("ü").repeated(30),
         "=?UTF-8?B?" + QString("w7zDvMO8").repeated(7) + "w7w=?=\r\n =?UTF-8?B?w7zDvMO8w7zDvMO8w7zDvA==?="},
    };
    for (const auto& text : texts)
        EXPECT_EQ(HeaderText(text.text), text.header);
}

TEST(SmtpReply, AReplyEndsAtItsFinalLineTheRestWaitsAndNoFinalLineWithinTheLimitIsTooLong)
{
    // Its code is the first three digits, else zero.
    for (const auto& [line, code] : {std::pair<QByteArray, int>{"250 ok\r\n", 250}, {"25", 0}, {"2x0 ok", 0}, {"+50 ok", 0}})
        EXPECT_EQ(SmtpReplyCode(line), code) << line.toStdString();
    SmtpReplyReader reader;
    SmtpReply reply;
    const QByteArray bytes = "220-first\r\n220-second\n220 last\r\n250 next\r\n25";
    reader.Feed(bytes.constData(), bytes.size());
    ASSERT_EQ(reader.Take(reply), SmtpReplyReader::State::Complete);
    EXPECT_EQ(reply.text, "220-first\r\n220-second\n220 last\r\n");
    ASSERT_EQ(reader.Take(reply), SmtpReplyReader::State::Complete);
    EXPECT_EQ(reply.text, "250 next\r\n");
    EXPECT_EQ(reader.Take(reply), SmtpReplyReader::State::NeedMore);
    reader.Feed("0\n", 2);
    ASSERT_EQ(reader.Take(reply), SmtpReplyReader::State::Complete);
    EXPECT_EQ(reply.text, "250\n");
    EXPECT_EQ(reader.Pending(), 0);
    // Within a limit of 16 bytes a final line that ends at the limit counts.
    SmtpReplyReader small(16);
    small.Feed("250-ab\r\n250 cd\r\n250-0123456789\r\n", 32);
    EXPECT_EQ(small.Take(reply), SmtpReplyReader::State::Complete);
    EXPECT_EQ(small.Room(), 0);
    EXPECT_EQ(small.Take(reply), SmtpReplyReader::State::TooLong);
}

} // namespace
