// The Contact list and its removal, and the Letters counts, on small registries made
// by each test.

#include "ConsentFixture.h"

#include "document/CMemoryReportList.h"
#include "reports/query/ContactReport.h"
#include "reports/query/LettersReport.h"
#include "reports/query/ReportFill.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

class ContactReportTest : public ConsentFixture {
protected:
    void SetUp() override
    {
        ConsentFixture::SetUp();
        int index = 0;
        for (const auto& [heading, width] : ContactColumns())
            list.InsertColumn(index++, heading, CReportList::FormatLeft, width);
    }
    bool Fill() { return FillReport(*doc, list, BuildContactList); }
    QStringList Ids() const
    {
        QStringList out;
        for (int row = 1; row < list.GetItemCount(); ++row)
            out << list.GetItemText(row, 0);
        return out;
    }
    int Records(int subjectId, int code) const
    {
        return Count("Quorin", QStringLiteral("select count(*) as num from participationhistory where SubjectId = %1 "
                                              "and Contacted = %2")
                                   .arg(subjectId)
                                   .arg(code));
    }

    CMemoryReportList list;
};

TEST_F(ContactReportTest, HeadingRowThenCodeOneRecordsOnly)
{
    SubjectRow row;
    row.last = QStringLiteral("O'NEIL");
    row.first = QStringLiteral("MAY");
    const int oneil = Insert(row);
    AddParticipation(oneil, QDate(2025, 3, 1), 1, 1, QStringLiteral("no answer, twice"), QStringLiteral("Tones"));
    row.last = QStringLiteral("THREE");
    AddParticipation(Insert(row), QDate(2025, 3, 1), 1, 3);
    row.last = QStringLiteral("DNC");
    const int dnc = Insert(row);
    AddParticipation(dnc, QDate(2025, 3, 1), 1, 2);
    AddParticipation(dnc, QDate(2025, 4, 1), 1, 2);

    ASSERT_TRUE(Fill());
    ASSERT_EQ(list.GetColumnCount(), 6);
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(list.GetColumnHeading(column), QString());
    EXPECT_EQ(list.GetColumnWidth(0), 0) << "the subject id is hidden";
    ASSERT_EQ(list.GetItemCount(), 2);
    const QStringList heading = {QString(), QStringLiteral("Name"), QStringLiteral("Explanation"),
                                 QStringLiteral("Dataset"), QStringLiteral("IRB"), QStringLiteral("Date")};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(list.GetItemText(0, column), heading[column]);
    }
    const QStringList expected = {QString::number(oneil), QStringLiteral("O'NEIL, MAY"),
                                  QStringLiteral("no answer, twice"), QStringLiteral("Tones"),
                                  QStringLiteral("IRB-7"), QStringLiteral("03/01/2025")};
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(list.GetItemText(1, column), expected[column]);

    // A subject whose codes are all 2 is not listed, and removing it changes nothing.
    list.SetSelectionMark(-1);
    EXPECT_FALSE(RemoveFromContactList(*doc, list));
    EXPECT_EQ(Records(dnc, 2), 2);
}

TEST_F(ContactReportTest, RemovalAsksAndMarksEveryCodeOneRecord)
{
    SubjectRow row;
    row.last = QStringLiteral("ABLE");
    const int able = Insert(row);
    AddParticipation(able, QDate(2024, 1, 1), 1, 1);
    AddParticipation(able, QDate(2025, 1, 1), 1, 1);
    AddParticipation(able, QDate(2025, 2, 1), 0, 0);
    row.last = QStringLiteral("BAKER");
    const int baker = Insert(row);
    AddParticipation(baker, QDate(2025, 1, 1), 1, 1);
    ASSERT_TRUE(Fill());
    ASSERT_EQ(list.GetItemCount(), 4);

    // No row, and the heading row, are no selection.
    list.SetSelectionMark(-1);
    EXPECT_FALSE(RemoveFromContactList(*doc, list));
    list.SetSelectionMark(0);
    EXPECT_FALSE(RemoveFromContactList(*doc, list));
    EXPECT_EQ(ui.Texts(), (QStringList{QStringLiteral("Please make a selection!"),
                                       QStringLiteral("Please make a selection!")}));
    ui.ClearMessages();

    const int ableRow = static_cast<int>(Ids().indexOf(QString::number(able))) + 1;
    list.SetSelectionMark(ableRow);
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_FALSE(RemoveFromContactList(*doc, list));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Do you want to remove this person from the list?"));
    EXPECT_EQ(ui.Messages()[0].buttons, UserInterface::Buttons::YesNo);
    EXPECT_EQ(Records(able, 1), 2) << "No changes nothing";
    EXPECT_EQ(list.GetItemCount(), 4);

    list.SetSelectionMark(ableRow);
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_TRUE(RemoveFromContactList(*doc, list));
    EXPECT_EQ(Records(able, 1), 0);
    EXPECT_EQ(Records(able, 4), 2);
    EXPECT_EQ(Records(able, 0), 1) << "other codes stay";
    EXPECT_EQ(Records(baker, 1), 1);
    EXPECT_EQ(Ids(), QStringList{QString::number(baker)}) << "the list is filled again";
    EXPECT_EQ(list.GetItemText(0, 1), QStringLiteral("Name"));
    EXPECT_TRUE(TakeErrors().empty());
}

class LettersReportTest : public ConsentFixture {
protected:
    bool Fill(const QString& from, const QString& to)
    {
        if (list.GetColumnCount() == 0) {
            int index = 0;
            for (const auto& [heading, width] : LettersColumns())
                list.InsertColumn(index++, heading, CReportList::FormatLeft, width);
        }
        return FillReport(*doc, list,
                          [&](CReportQuery& q, CReportList& l) { BuildLettersList(q, l, from, to); });
    }
    QStringList Column(int column) const
    {
        QStringList out;
        for (int row = 0; row < list.GetItemCount(); ++row)
            out << list.GetItemText(row, column);
        return out;
    }
    void InsertMany(int count, const SubjectRow& row)
    {
        QStringList values;
        for (int i = 0; i < count; ++i)
            values << QStringLiteral("('N%1', 'F', %2, %3, %4)")
                          .arg(i)
                          .arg(row.status)
                          .arg(Date(row.sent), Date(row.returned));
        registry.ExecRaw("Quorin", QStringLiteral("insert into subjects (Lastname, Firstname, Status, Sent, Returned) "
                                                  "values %1")
                                       .arg(values.join(QLatin1Char(',')))
                                       .toStdString());
    }

    CMemoryReportList list;
};

TEST_F(LettersReportTest, FiftyOfTwoHundredIsAQuarter)
{
    SubjectRow none;
    none.sent = QDate();
    none.returned = QDate();
    InsertMany(150, none);
    SubjectRow letter;
    letter.sent = QDate(2010, 5, 1);
    letter.returned = QDate(1901, 1, 1);
    InsertMany(50, letter);
    ASSERT_TRUE(Fill(QStringLiteral("1/1/2000"), QStringLiteral("06/15/2026")));
    ASSERT_EQ(list.GetItemCount(), 5);
    EXPECT_EQ(Column(0), QStringList(5, QStringLiteral(" ")));
    EXPECT_EQ(Column(1), (QStringList{QStringLiteral("Number of Letters Sent: "), QStringLiteral("Number Returned: "),
                                      QStringLiteral("Number Still Active: "), QStringLiteral("Number Withdrawn: "),
                                      QStringLiteral("No Response: ")}));
    EXPECT_EQ(Column(2), (QStringList{QStringLiteral("50"), QStringLiteral("0"), QStringLiteral("0"),
                                      QStringLiteral("0"), QStringLiteral("50")}));
    EXPECT_EQ(Column(3), (QStringList{QStringLiteral("25.00 %"), QStringLiteral("0.00 %"), QStringLiteral("0.00 %"),
                                      QStringLiteral("0.00 %"), QStringLiteral("25.00 %")}));
    EXPECT_EQ(list.GetColumnWidth(1), 200);
    EXPECT_EQ(list.GetColumnHeading(2), QStringLiteral(" "));
}

TEST_F(LettersReportTest, EachCountAtItsBounds)
{
    SubjectRow row;
    row.sent = QDate(2020, 1, 1); // on From
    row.returned = QDate(2020, 1, 2);
    Insert(row); // sent, returned, active
    row.sent = QDate(2020, 12, 31); // on To
    row.returned = QDate(2020, 12, 31);
    row.status = 1;
    Insert(row); // sent, returned, withdrawn
    row.sent = QDate(2021, 1, 1); // after To
    row.returned = QDate(2021, 1, 5);
    row.status = 0;
    Insert(row); // nothing
    row.sent = QDate(2019, 12, 31); // before From, returned on From
    row.returned = QDate(2020, 1, 1);
    Insert(row); // returned in range: active
    row.sent = QDate(2020, 6, 1);
    row.returned = QDate(1901, 1, 1);
    Insert(row); // sent, no response
    row.sent = QDate(2020, 6, 2);
    row.returned = QDate(2020, 1, 1); // back on From: neither after nor before it
    row.status = 2;
    Insert(row); // sent, returned in range but inactive

    ASSERT_TRUE(Fill(QStringLiteral("1/1/2020"), QStringLiteral("12/31/2020")));
    EXPECT_EQ(Column(2), (QStringList{QStringLiteral("4"), QStringLiteral("2"), QStringLiteral("2"),
                                      QStringLiteral("1"), QStringLiteral("1")}));
    EXPECT_EQ(Column(3), (QStringList{QStringLiteral("66.67 %"), QStringLiteral("33.33 %"), QStringLiteral("33.33 %"),
                                      QStringLiteral("16.67 %"), QStringLiteral("16.67 %")}));
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(LettersReportTest, EmptyRegistryLeavesTheShareEmpty)
{
    ASSERT_TRUE(Fill(QStringLiteral("1/1/2000"), QStringLiteral("06/15/2026")));
    EXPECT_EQ(Column(2), QStringList(5, QStringLiteral("0")));
    EXPECT_EQ(Column(3), QStringList(5, QString()));
}

TEST_F(LettersReportTest, ADateTheServerCannotReadStopsTheFill)
{
    SubjectRow row;
    row.sent = QDate(2010, 1, 1);
    Insert(row);
    ASSERT_TRUE(Fill(QStringLiteral("1/1/2000"), QStringLiteral("06/15/2026")));
    ASSERT_EQ(list.GetItemCount(), 5);
    const int before = Count("Quorin", QStringLiteral("select count(*) as num from subjects"));

    EXPECT_FALSE(Fill(QStringLiteral("1/1/2000' or 1=1 --"), QStringLiteral("06/15/2026")));
    EXPECT_EQ(list.GetItemCount(), 0) << "never counts of 0 that read as data";
    const std::vector<std::string> boxes = TakeErrors();
    EXPECT_FALSE(boxes.empty());
    EXPECT_LE(boxes.size(), 2u) << "one statement's boxes";
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from subjects")), before);
}

} // namespace
} // namespace quorin::test
