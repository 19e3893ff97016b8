// Filling a report on the embedded engine with the real schema: the fill stops at the
// first statement that fails, the session has shown its boxes, and the list is left
// empty - never holding what the statement before the failed one returned.

#include "rules/SqlText.h"
#include "document/CMemoryReportList.h"
#include "reports/query/ReportFill.h"
#include "subjects_ui/FormFixture.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

class ReportFillTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        AddSubject(QStringLiteral("ABEL"), QStringLiteral("ANN"), 101, QStringLiteral("2001-02-03"));
        // AddSubject writes raw SQL: the apostrophe is doubled here.
        AddSubject(QStringLiteral("O''BRIEN"), QStringLiteral("PAT"), 102, QStringLiteral("1999-04-05"));
        AddSubject(QStringLiteral("ZHAO"), QStringLiteral("LI"), 103, QStringLiteral("1980-06-07"));
        list.InsertColumn(0, QString(), CReportList::FormatLeft, 80);
        list.InsertColumn(1, QString(), CReportList::FormatLeft, 120);
    }

    CMemoryReportList list;
};

TEST_F(ReportFillTest, RowsOfEveryStatementWhenAllSucceed)
{
    const bool filled = FillReport(*doc, list, [](CReportQuery& q, CReportList& rows) {
        rows.AppendItem(QStringLiteral("NAME"));
        q.Run(QStringLiteral("select Lastname from subjects order by Lastname"));
        for (; !q.IsEOF(); q.MoveNext())
            rows.AppendItem(q.Text("Lastname"));
        const int total = q.Count(QStringLiteral("select count(*) as num from subjects"));
        const int none = q.Count(QStringLiteral("select count(*) as num from subjects where 1 = 0 group by Lastname"));
        const int row = rows.AppendItem(QStringLiteral("TOTAL"));
        rows.SetItemText(row, 1, QStringLiteral("%1/%2").arg(total).arg(none));
    });
    EXPECT_TRUE(filled);
    ASSERT_EQ(list.GetItemCount(), 5);
    EXPECT_EQ(list.GetItemText(2, 0), QStringLiteral("O'BRIEN"));
    EXPECT_EQ(list.GetItemText(4, 1), QStringLiteral("3/0")) << "a count without a row counts 0";
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_GT(ui.WaitCursorShown(), 0);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}

TEST_F(ReportFillTest, SecondStatementFailsListStaysEmpty)
{
    // Written as the reports are written: nothing here checks for failure.
    int countAfterFailure = -1;
    bool ranOn = false;
    const bool filled = FillReport(*doc, list, [&](CReportQuery& q, CReportList& rows) {
        rows.AppendItem(QStringLiteral("NAME"));
        const int total = q.Count(QStringLiteral("select count(*) as num from subjects"));
        rows.SetItemText(rows.AppendItem(QStringLiteral("ALL")), 1, QString::number(total));
        // The session keeps the count's result when this one fails; read on, it would
        // count 3 again.
        countAfterFailure = q.Count(QStringLiteral("select count(*) as num from subjects where NoSuchColumn = 1"));
        rows.AppendItem(QStringLiteral("AFTER"));
        ranOn = true;
    });
    EXPECT_FALSE(filled);
    EXPECT_EQ(list.GetItemCount(), 0) << "no heading, no first count, nothing after";
    EXPECT_EQ(countAfterFailure, -1) << "nothing was read after the failure";
    EXPECT_FALSE(ranOn);
    const std::vector<std::string> boxes = TakeErrors();
    ASSERT_FALSE(boxes.empty()) << "the session shows its own boxes";
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
    EXPECT_TRUE(ui.Texts().isEmpty()) << "no box of the fill's own on top of the session's";
}

TEST_F(ReportFillTest, FailedRowQueryNeverShowsThePreviousRows)
{
    const bool filled = FillReport(*doc, list, [](CReportQuery& q, CReportList& rows) {
        q.Run(QStringLiteral("select Lastname from subjects order by Lastname"));
        rows.AppendItem(q.Text("Lastname"));
        q.Run(QStringLiteral("select Lastname from no_such_table"));
        for (; !q.IsEOF(); q.MoveNext())
            rows.AppendItem(q.Text("Lastname"));
    });
    EXPECT_FALSE(filled);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_FALSE(TakeErrors().empty());
}

TEST_F(ReportFillTest, AFailedFillLeavesNoParameterForTheNextOne)
{
    EXPECT_FALSE(FillReport(*doc, list, [](CReportQuery& q, CReportList&) {
        q.BindString("@method", QStringLiteral("Flyer"));
        q.Run(QStringLiteral("select method from no_such_table"));
    }));
    EXPECT_FALSE(TakeErrors().empty());
    registry.ExecRaw("Quorin", "insert into recruitment (method) values ('Flyer')");
    EXPECT_TRUE(FillReport(*doc, list, [](CReportQuery& q, CReportList& rows) {
        q.RunProcedure("uspLoadRecruitMethods");
        for (; !q.IsEOF(); q.MoveNext())
            rows.AppendItem(q.Text("method"));
    }));
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("Flyer"));
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ReportFillTest, TypedValuesCannotChangeAStatement)
{
    auto byName = [this](const QString& typed) {
        EXPECT_TRUE(FillReport(*doc, list, [&typed](CReportQuery& q, CReportList& rows) {
            q.Run(QStringLiteral("select Lastname from subjects where Lastname = '%1'").arg(sql::Text(typed)));
            for (; !q.IsEOF(); q.MoveNext())
                rows.AppendItem(q.Text("Lastname"));
        }));
        return list.GetItemCount();
    };
    EXPECT_EQ(byName(QStringLiteral("O'Brien")), 1);
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("O'BRIEN"));
    EXPECT_EQ(byName(QStringLiteral("x' or '1'='1")), 0) << "a quote typed into a value stays in the value";
    EXPECT_TRUE(TakeErrors().empty());
}

} // namespace
} // namespace quorin::test
