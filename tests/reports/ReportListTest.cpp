// The list interface behaves the same on the screen's list control and on the list in
// memory that builders, printing and CSV read. A fill stops at the first failed statement
// with the list empty; a row opens its subject only when it holds one.

#include "ReportsFixture.h"

#include "document/CMemoryReportList.h"
#include "framework/ReportListCtrl.h"
#include "reports/query/OpenSubjectFromRow.h"

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

} // namespace

namespace quorin::test {
namespace {

using ReportFillTest = ReportTest;

// A failed fill also leaves no bound parameter behind for the next one.
TEST_F(ReportFillTest, SecondStatementFailsListStaysEmpty)
{
    Insert("insert into subjects (Lastname) values ('ABEL'), ('O''BRIEN'), ('ZHAO'); "
           "insert into recruitment (method) values ('Flyer')");
    CMemoryReportList list = ListWith(2);
    int none = -1, countAfterFailure = -1;
    // Written as the reports are written, nothing checking for failure: the session keeps
    // the count's result when a statement fails, so read on it would count 3 again.
    EXPECT_FALSE(Fill(list, [&](CReportQuery& q, CReportList& rows) {
        rows.AppendItem("NAME");
        none = q.Count("select count(*) as num from subjects where 1 = 0 group by Lastname");
        rows.SetItemText(rows.AppendItem("ALL"), 1, QString::number(q.Count("select count(*) as num from subjects")));
        q.BindString("@method", "Flyer");
        countAfterFailure = q.Count("select count(*) as num from subjects where NoSuchColumn = 1");
        rows.AppendItem("AFTER");
    }));
    EXPECT_EQ(none, 0) << "a count without a row counts 0";
    EXPECT_EQ(list.GetItemCount(), 0) << "no heading, no first count, nothing after";
    EXPECT_EQ(countAfterFailure, -1) << "nothing was read after the failure";
    EXPECT_FALSE(TakeErrors().empty()) << "the session shows its own boxes";
    EXPECT_TRUE(ui.Texts().isEmpty()) << "no box of the fill's own on top of the session's";
    EXPECT_TRUE(Fill(list, [](CReportQuery& q, CReportList& rows) {
        for (q.RunProcedure("uspLoadRecruitMethods"); !q.IsEOF(); q.MoveNext())
            rows.AppendItem(q.Text("method"));
    }));
    EXPECT_EQ(Rows(list), QStringList{"Flyer"});
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ReportFillTest, ARowOpensItsSubjectOnlyPastTheUnsavedWorkQuestion)
{
    Insert("insert into subjects (SubjectId, Lastname) values (7, 'ZHAO')");
    CMemoryReportList list = ListWith(1);
    for (const char* id : {" ", "abc", "0", "7x", "7"})
        list.AppendItem(id);
    // A heading, a text or no row at all holds no subject.
    for (const int row : {-1, 0, 1, 2, 3, 5})
        EXPECT_FALSE(OpenSubjectFromRow(*doc, list, row)) << row;
    EXPECT_EQ(ui.Texts(), QStringList(6, "Please make a selection!"));
    // Unsaved work: Cancel keeps the open subject, No drops the work and opens the row's.
    doc->m_subject.Modified = 1;
    ui.AnswerNext(UserInterface::Answer::Cancel);
    EXPECT_FALSE(OpenSubjectFromRow(*doc, list, 4));
    EXPECT_NE(doc->m_subject.SubjectID, 7);
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_TRUE(OpenSubjectFromRow(*doc, list, 4));
    EXPECT_EQ(doc->m_subject.SubjectID, 7);
    ASSERT_EQ(ui.Messages().size(), 8u);
    EXPECT_EQ(ui.Messages()[6].text, "Save Current Subject?");
    EXPECT_EQ(ui.Messages()[6].buttons, UserInterface::Buttons::YesNoCancel);
}

} // namespace
} // namespace quorin::test
