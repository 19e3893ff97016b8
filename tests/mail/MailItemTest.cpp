// Recipients of a message: single ones, lists split at ";", and reading them back.

#include "MailTestPrinting.h"
#include "mail/CMailItem.h"

#include <gtest/gtest.h>

namespace {

QList<QStringList> Listed(const CMailItem& item)
{
    QList<QStringList> out;
    for (int i = 0; i < item.GetRecipientCount(); ++i) {
        QString address;
        QString name;
        EXPECT_EQ(item.GetRecipient(i, address, name), 1);
        out.append({address, name});
    }
    return out;
}

TEST(MailItem, RecipientsKeepTheirOrderAndOutsideIndexesGiveNothing)
{
    CMailItem item;
    EXPECT_EQ(item.AddRecipient("a@x", "Ann"), 1);
    EXPECT_EQ(item.AddRecipient("b@y"), 1);
    EXPECT_EQ(Listed(item), (QList<QStringList>{{"a@x", "Ann"}, {"b@y", ""}}));
    QString address = "kept";
    QString name = "kept";
    EXPECT_EQ(item.GetRecipient(2, address, name), 0);
    EXPECT_EQ(item.GetRecipient(-1, address, name), 0);
    EXPECT_EQ(address, "kept");
}

TEST(MailItem, ListsSplitAtSemicolonsWithoutTrimming)
{
    CMailItem item;
    EXPECT_EQ(item.AddMultipleRecipients("a@x;b@y"), 1);
    EXPECT_EQ(Listed(item), (QList<QStringList>{{"a@x", ""}, {"b@y", ""}}));

    CMailItem named;
    EXPECT_EQ(named.AddMultipleRecipients("Ann Lee<ann@x>; Bo <bo@y;<c@z>tail"), 1);
    EXPECT_EQ(Listed(named),
              (QList<QStringList>{{"ann@x", "Ann Lee"}, {"bo@y", " Bo "}, {"c@z", ""}}));
}

TEST(MailItem, EmptyPiecesAddEmptyAddresses)
{
    CMailItem item;
    EXPECT_EQ(item.AddMultipleRecipients("a@x;;b@y;"), 1);
    EXPECT_EQ(Listed(item), (QList<QStringList>{{"a@x", ""}, {"", ""}, {"b@y", ""}, {"", ""}}));
    CMailItem empty;
    EXPECT_EQ(empty.AddMultipleRecipients(""), 1);
    EXPECT_EQ(empty.GetRecipientCount(), 1);
}

TEST(MailItem, AMalformedPieceAddsNothingAtAll)
{
    CMailItem item;
    item.AddRecipient("first@x");
    // The good pieces before and after the bad one are not added either.
    EXPECT_EQ(item.AddMultipleRecipients("a@x;Bad>name<b@y>;c@z"), 0);
    EXPECT_EQ(Listed(item), (QList<QStringList>{{"first@x", ""}}));
    // A ">" without any "<" is part of a bare address, as written.
    EXPECT_EQ(item.AddMultipleRecipients("odd>@x"), 1);
    EXPECT_EQ(item.GetRecipientCount(), 2);
}

} // namespace
