// Recipients of a message: lists split at ";", and reading them back.

#include "MailTestPrinting.h"
#include "mail/CMailItem.h"

#include <gtest/gtest.h>

namespace {

TEST(MailItem, ListsSplitAtSemicolonsUntrimmedAfterTheRecipientsBeforeAndAMalformedOneAddsNothing)
{
    const struct { QString list; int added; QList<QStringList> recipients; } lists[] = {
        {"a@x;b@y", 1, {{"a@x", ""}, {"b@y", ""}}},
        {"Ann Lee<ann@x>; Bo <bo@y;<c@z>tail", 1, {{"ann@x", "Ann Lee"}, {"bo@y", " Bo "}, {"c@z", ""}}},
        {"a@x;;b@y;", 1, {{"a@x", ""}, {"", ""}, {"b@y", ""}, {"", ""}}},
        {"", 1, {{"", ""}}},
        // A ">" without any "<" is part of a bare address, as written.
        {"odd>@x", 1, {{"odd>@x", ""}}},
        // The good pieces before and after the bad one are not added either.
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
        // Indexes outside the list give nothing and leave the texts alone.
        EXPECT_EQ(item.GetRecipient(-1, address, name), 0);
        EXPECT_EQ(address, read.back()[0]);
    }
}

} // namespace
