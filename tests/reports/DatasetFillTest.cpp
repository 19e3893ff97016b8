// The Dataset and IRB list on the embedded engine with the real schema: which datasets
// a period shows, their counts and state, both orders, open-only, the TOTAL row, the
// purge of orphaned call-log rows, apostrophes in names, and a date the server cannot
// read.

#include "DatasetFixture.h"

#include "document/CMemoryReportList.h"
#include "reports/query/DatasetReport.h"

#include <QStringList>

namespace quorin::test {
namespace {

class DatasetFillTest : public DatasetTest {
protected:
    void SetUp() override
    {
        DatasetTest::SetUp();
        AddStandardDatasets();
        for (int column = 0; column < kDatasetColumns; ++column)
            list.InsertColumn(column, QString(), CReportList::FormatLeft, column == 0 ? 120 : 80);
    }

    bool Fill(int order, bool openOnly, const QString& from = QStringLiteral("1/1/2010"),
              const QString& to = QStringLiteral("12/31/2010"))
    {
        return FillDatasetReport(*doc, list, {from, to, order, openOnly});
    }

    QStringList Row(int row) const
    {
        QStringList texts;
        for (int column = 0; column < kDatasetColumns; ++column)
            texts << list.GetItemText(row, column);
        return texts;
    }

    QStringList Datasets() const
    {
        QStringList names;
        for (int row = 1; row + 1 < list.GetItemCount(); ++row)
            names << list.GetItemText(row, 0);
        return names;
    }

    CMemoryReportList list;
};

TEST_F(DatasetFillTest, ByRequestDateWithCountsStateAndTotal)
{
    ASSERT_TRUE(Fill(0, false));
    EXPECT_TRUE(TakeErrors().empty());
    ASSERT_EQ(list.GetItemCount(), 6);
    EXPECT_EQ(Row(0), (QStringList{"DATASET", "IRB", "REQUEST DATE", "SUBJECTS", "CONTACTED", "PARTICIPATED", "OPEN"}));
    // Latest request inside the period first; the request on To is the latest of Hearing A,
    // the one after To is not.
    EXPECT_EQ(Row(1), (QStringList{"Balance B", "2009-050", "03/03/2010", "1", "0", "0", "Open"}));
    EXPECT_EQ(Row(2), (QStringList{"O'Neil Study", "D'Arcy 12", "05/05/2010", "3", "1", "0", "Open"}));
    EXPECT_EQ(Row(3), (QStringList{"Closed C", "2011-007", "07/07/2010", "2", "1", "1", "Closed"}));
    // Subjects 1 (twice, once on From) and 2 (on To); 3 and 4 were requested outside.
    EXPECT_EQ(Row(4), (QStringList{"Hearing A", "2010-001", "12/31/2010", "2", "2", "1", "Open"}));
    EXPECT_EQ(Row(5), (QStringList{"TOTAL:", "", "", "8", "4", "2", ""}));
    EXPECT_FALSE(Datasets().contains(QStringLiteral("Other D"))) << "requested under another IRB only";
    EXPECT_FALSE(Datasets().contains(QStringLiteral("Later E"))) << "requested after the period only";
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}

TEST_F(DatasetFillTest, ByIrbThenDatasetAndTotalsEqualTheColumns)
{
    AddDataset(QStringLiteral("Aardvark"), QStringLiteral("2010-001"));
    AddRequest(QStringLiteral("Aardvark"), QStringLiteral("2010-001"), 9, QStringLiteral("2010-11-11 00:00:00"), alice);
    ASSERT_TRUE(Fill(1, false));
    EXPECT_EQ(Datasets(), (QStringList{"Balance B", "Aardvark", "Hearing A", "Closed C", "O'Neil Study"}));
    const int total = list.GetItemCount() - 1;
    EXPECT_EQ(list.GetItemText(total, 0), QStringLiteral("TOTAL:"));
    EXPECT_EQ(list.GetItemText(list.GetItemCount() - 2, 1), QStringLiteral("D'Arcy 12"));
    for (int column = 3; column <= 5; ++column) {
        int sum = 0;
        for (int row = 1; row < total; ++row)
            sum += list.GetItemText(row, column).toInt();
        EXPECT_EQ(list.GetItemText(total, column), QString::number(sum)) << "column " << column;
    }
}

TEST_F(DatasetFillTest, OpenOnlyLeavesClosedDatasetsOutOfRowsAndTotal)
{
    for (int order : {0, 1}) {
        ASSERT_TRUE(Fill(order, true));
        EXPECT_FALSE(Datasets().contains(QStringLiteral("Closed C")));
        EXPECT_EQ(Datasets().size(), 3);
        EXPECT_EQ(Row(list.GetItemCount() - 1), (QStringList{"TOTAL:", "", "", "6", "3", "1", ""}));
    }
    // Closing the last open one leaves the heading and a TOTAL of nothing.
    Exec(QStringLiteral("delete from release"));
    ASSERT_TRUE(Fill(0, true));
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(Row(1), (QStringList{"TOTAL:", "", "", "0", "0", "0", ""}));
}

TEST_F(DatasetFillTest, PurgesOnlyOrphanedCallLogRows)
{
    ASSERT_TRUE(Fill(0, false));
    EXPECT_EQ(CallsOf(QStringLiteral("Gone F"), QStringLiteral("2008-001")), 0);
    EXPECT_EQ(CallsOf(QStringLiteral("Hearing A"), QStringLiteral("2010-001")), 1);
    EXPECT_EQ(CallsOf(QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12")), 1);
    EXPECT_EQ(CallsOf(QStringLiteral("Closed C"), QStringLiteral("2011-007")), 2);
}

TEST_F(DatasetFillTest, AnUnreadableDateShowsTheBoxesAndAnEmptyList)
{
    ASSERT_TRUE(Fill(0, false));
    ASSERT_GT(list.GetItemCount(), 0);
    AddCall(QStringLiteral("Gone F"), QStringLiteral("2008-001"));
    EXPECT_FALSE(Fill(0, false, QStringLiteral("13/45/2010")));
    EXPECT_FALSE(TakeErrors().empty()) << "the session shows what the server said";
    EXPECT_EQ(list.GetItemCount(), 0) << "no heading, no TOTAL of 0 that reads as data";
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(CallsOf(QStringLiteral("Gone F"), QStringLiteral("2008-001")), 0) << "the purge runs first";
    EXPECT_EQ(CallsOf(QStringLiteral("Hearing A"), QStringLiteral("2010-001")), 1);
    EXPECT_EQ(CallsOf(QStringLiteral("Closed C"), QStringLiteral("2011-007")), 2);
    // The next good fill is whole again.
    EXPECT_TRUE(Fill(1, false));
    EXPECT_EQ(list.GetItemCount(), 6);
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(DatasetFillTest, TypedQuotesStayInTheirValues)
{
    EXPECT_TRUE(Fill(0, false, QStringLiteral("1/1/2010' or '1'='1"), QStringLiteral("12/31/2010")) == false);
    TakeErrors();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from dataset")), 6);
}

} // namespace
} // namespace quorin::test
