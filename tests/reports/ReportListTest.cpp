// The list interface behaves the same on the screen's list control and on the list in
// memory that builders, printing and CSV read: rows keep their texts when columns come
// in, the selection mark follows inserted rows, and reads outside the list are empty.

#include "framework/ReportListCtrl.h"
#include "document/CMemoryReportList.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

template <class List>
class ReportListTest : public ::testing::Test {
protected:
    List list;
    CReportList& Api() { return list; }
};

using ListKinds = ::testing::Types<CMemoryReportList, CReportListCtrl>;
TYPED_TEST_SUITE(ReportListTest, ListKinds);

TYPED_TEST(ReportListTest, ColumnsRowsAndTexts)
{
    CReportList& list = this->Api();
    EXPECT_EQ(list.InsertColumn(0, QStringLiteral("Name"), CReportList::FormatLeft, 120), 0);
    EXPECT_EQ(list.InsertColumn(5, QStringLiteral("City"), CReportList::FormatLeft, 90), 1);
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.GetColumnHeading(1), QStringLiteral("City"));
    EXPECT_EQ(list.GetColumnWidth(0), 120);

    EXPECT_EQ(list.AppendItem(QStringLiteral("Lee")), 0);
    EXPECT_TRUE(list.SetItemText(0, 1, QStringLiteral("Omaha")));
    EXPECT_EQ(list.InsertItem(0, QStringLiteral("NAME")), 0) << "a heading row goes in front";
    EXPECT_EQ(list.AppendItem(QStringLiteral("O'Brien")), 2);
    EXPECT_TRUE(list.SetItemData(2, 4711));
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(1, 0), QStringLiteral("Lee"));
    EXPECT_EQ(list.GetItemText(1, 1), QStringLiteral("Omaha"));
    EXPECT_EQ(list.GetItemData(2), 4711);

    // A column inserted in front moves the texts along.
    list.InsertColumn(0, QString(), CReportList::FormatLeft, 0);
    EXPECT_EQ(list.GetItemText(1, 1), QStringLiteral("Lee"));
    EXPECT_EQ(list.GetItemText(1, 2), QStringLiteral("Omaha"));
    EXPECT_EQ(list.GetItemText(1, 0), QString());

    // Outside the list: nothing read, nothing written.
    EXPECT_EQ(list.GetItemText(7, 0), QString());
    EXPECT_EQ(list.GetItemText(1, 9), QString());
    EXPECT_FALSE(list.SetItemText(7, 0, QStringLiteral("x")));
    EXPECT_FALSE(list.SetItemText(0, 9, QStringLiteral("x")));
    EXPECT_FALSE(list.SetItemData(-1, 1));

    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 3) << "deleting the rows keeps the columns";
}

TYPED_TEST(ReportListTest, SelectionMarkFollowsTheRows)
{
    CReportList& list = this->Api();
    list.InsertColumn(0, QStringLiteral("Id"));
    EXPECT_EQ(list.GetSelectionMark(), -1);
    for (int i = 0; i < 3; ++i)
        list.AppendItem(QString::number(i));
    EXPECT_EQ(list.SetSelectionMark(1), -1);
    EXPECT_EQ(list.GetSelectionMark(), 1);
    list.InsertItem(0, QStringLiteral("heading"));
    EXPECT_EQ(list.GetSelectionMark(), 2) << "the mark stays on the row the user picked";
    EXPECT_EQ(list.GetItemText(list.GetSelectionMark(), 0), QStringLiteral("1"));
    EXPECT_EQ(list.SetSelectionMark(99), 2);
    EXPECT_EQ(list.GetSelectionMark(), -1) << "a row that does not exist is no mark";
    list.SetSelectionMark(3);
    list.DeleteAllItems();
    EXPECT_EQ(list.GetSelectionMark(), -1);
}

TEST(MemoryReportListTest, AppendRowFillsColumnsAndIgnoresExtraTexts)
{
    CMemoryReportList list;
    list.InsertColumn(0, QStringLiteral("A"));
    list.InsertColumn(1, QStringLiteral("B"));
    const int row = list.AppendRow({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    EXPECT_EQ(list.GetItemText(row, 0), QStringLiteral("1"));
    EXPECT_EQ(list.GetItemText(row, 1), QStringLiteral("2"));
    EXPECT_EQ(list.GetItemText(row, 2), QString());
}

} // namespace
