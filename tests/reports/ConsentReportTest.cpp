// The Consent list on small registries: which subjects each query lists and how their
// rows read, the list of letters still out and back again, the address label, and the
// mail-merge file read back by Python's csv module.

#include "ReadBack.h"
#include "ConsentFixture.h"

#include "document/CMemoryReportList.h"
#include "reports/query/ConsentReport.h"
#include "reports/query/ReportFill.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

const QDate kToday(2026, 6, 15);

class ConsentReportTest : public ConsentFixture {
protected:
    void SetUp() override
    {
        ConsentFixture::SetUp();
        int index = 0;
        for (const auto& [heading, width] : ConsentColumns())
            list.InsertColumn(index++, heading, CReportList::FormatLeft, width);
    }

    bool FillFull()
    {
        return FillReport(*doc, list, [this](CReportQuery& q, CReportList& l) { BuildConsentList(q, l, rows); });
    }
    bool FillNotReturned()
    {
        return FillReport(*doc, list, [this](CReportQuery& q, CReportList& l) { BuildNotReturnedList(q, l, rows); });
    }
    // Column 0 and 5 of every row, "id" or "id/19".
    QStringList Listed() const
    {
        QStringList out;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            const QString mark = list.GetItemText(row, 5);
            out << list.GetItemText(row, 0) + (mark.isEmpty() ? QString() : QLatin1Char('/') + mark);
        }
        return out;
    }
    QStringList Row(int row) const
    {
        QStringList out;
        for (int column = 0; column < list.GetColumnCount(); ++column)
            out << list.GetItemText(row, column);
        return out;
    }

    CMemoryReportList list;
    std::vector<ConsentRow> rows;
};

TEST_F(ConsentReportTest, ColumnsKeepTheirStoredHeadings)
{
    ASSERT_EQ(list.GetColumnCount(), 8);
    EXPECT_EQ(list.GetColumnHeading(1), QStringLiteral("Name "));
    EXPECT_EQ(list.GetColumnHeading(5), QStringLiteral(" "));
    EXPECT_EQ(list.GetColumnHeading(6), QStringLiteral("Update Letter Sent "));
    EXPECT_EQ(list.GetColumnWidth(3), 200);
    EXPECT_EQ(list.GetColumnWidth(5), 50);
}

TEST_F(ConsentReportTest, RenewalDueCountsCalendarMonthsAndRecentContact)
{
    SubjectRow due;
    due.last = QStringLiteral("TWENTYFIVE");
    due.lastConsent = QDate(2024, 5, 31); // 25 calendar months, though barely 24.5 months of days
    const int twentyFive = Insert(due);
    SubjectRow notYet = due;
    notYet.last = QStringLiteral("TWENTYFOUR");
    notYet.lastConsent = QDate(2024, 6, 1);
    Insert(notYet);
    SubjectRow withdrawn = due;
    withdrawn.last = QStringLiteral("WITHDRAWN");
    withdrawn.status = 1;
    Insert(withdrawn);

    SubjectRow old = due;
    old.lastConsent = QDate(2020, 3, 1);
    old.last = QStringLiteral("PARTICIPATED");
    AddParticipation(Insert(old), QDate(2025, 1, 10), 0, 2);
    old.last = QStringLiteral("CONTACTED");
    AddParticipation(Insert(old), QDate(2024, 6, 30), 2, 0); // 24 calendar months ago: still recent
    old.last = QStringLiteral("NOTREACHED");
    const int notReached = Insert(old);
    AddParticipation(notReached, QDate(2025, 1, 10), 1, 1);
    AddParticipation(notReached, QDate(2025, 2, 10), -1, 3);
    old.last = QStringLiteral("LONGAGO");
    const int longAgo = Insert(old);
    AddParticipation(longAgo, QDate(2024, 5, 31), 0, 0);

    ASSERT_TRUE(FillFull());
    // Ordered by last consent, then name.
    EXPECT_EQ(Listed(), (QStringList{QString::number(longAgo), QString::number(notReached),
                                     QString::number(twentyFive)}));
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ConsentReportTest, ConsentedAsMinorIsListedWithNineteenEvenWhenRecent)
{
    SubjectRow minor;
    minor.last = QStringLiteral("RECENT");
    minor.birth = QDate(2006, 1, 1);
    minor.lastConsent = QDate(2024, 12, 1); // 18 then, 20 now, consent 18 months old
    const int recent = Insert(minor);

    // 19 years are 19 x 365.25 = 6939.75 days: 6940 days old is 19, 6939 is not yet.
    minor.last = QStringLiteral("JUSTNINETEEN");
    minor.birth = kToday.addDays(-6940);
    minor.lastConsent = QDate(2025, 1, 1);
    const int justNineteen = Insert(minor);
    minor.last = QStringLiteral("NOTYET");
    minor.birth = kToday.addDays(-6939);
    Insert(minor);

    SubjectRow adultAtConsent;
    adultAtConsent.last = QStringLiteral("ADULT");
    adultAtConsent.birth = QDate(2000, 1, 1);
    adultAtConsent.lastConsent = QDate(2025, 1, 1);
    Insert(adultAtConsent);

    // Old consent given as a minor: due for renewal and adult now. One row, one letter:
    // the renewal row, which comes first.
    SubjectRow both;
    both.last = QStringLiteral("BOTH");
    both.birth = QDate(2003, 1, 1);
    both.lastConsent = QDate(2019, 1, 1);
    const int once = Insert(both);

    ASSERT_TRUE(FillFull());
    EXPECT_EQ(Listed(), (QStringList{QString::number(once), QString::number(recent) + QStringLiteral("/19"),
                                     QString::number(justNineteen) + QStringLiteral("/19")}));
    EXPECT_EQ(rows.size(), 3u);
}

TEST_F(ConsentReportTest, RowReadsAsTheListShowsIt)
{
    SubjectRow row;
    row.last = QStringLiteral("O'BRIEN");
    row.first = QStringLiteral("PAT");
    row.parent = QStringLiteral("O'Hara, Ann");
    // A "%1" of the address is text, never a place for the zip.
    row.address = QStringLiteral("12 Elm St %1");
    row.city = QStringLiteral("Omaha");
    row.state = QStringLiteral("NE");
    row.zip = 68102;
    row.lastConsent = QDate(2021, 3, 4);
    row.sent = QDate(2023, 2, 1);
    row.returned = QDate(2023, 3, 9);
    const int id = Insert(row);
    ASSERT_TRUE(FillFull());
    ASSERT_EQ(list.GetItemCount(), 1) << "no heading row: row 0 holds the first subject";
    EXPECT_EQ(Row(0), (QStringList{QString::number(id), QStringLiteral("O'BRIEN, PAT"), QStringLiteral("O'Hara, Ann"),
                                   QStringLiteral("12 Elm St %1 Omaha, NE  68102"), QStringLiteral("03/04/2021"),
                                   QString(), QStringLiteral("02/01/2023"), QStringLiteral("03/09/2023")}));
}

TEST_F(ConsentReportTest, LetterStillOutOnlyInTheNotReturnedList)
{
    SubjectRow due;
    due.last = QStringLiteral("BACK");
    const int back = Insert(due);
    SubjectRow out = due;
    out.last = QStringLiteral("AOUT");
    out.returned = QDate(1901, 1, 1);
    const int outId = Insert(out);
    SubjectRow outWithdrawn = out;
    outWithdrawn.last = QStringLiteral("GONE");
    outWithdrawn.status = 1;
    Insert(outWithdrawn);
    SubjectRow minorOut = out;
    minorOut.last = QStringLiteral("MINOR");
    minorOut.birth = QDate(2005, 1, 1);
    const int minorOutId = Insert(minorOut);

    ASSERT_TRUE(FillFull());
    const QStringList full = Listed();
    std::vector<QStringList> fullRows;
    for (int r = 0; r < list.GetItemCount(); ++r)
        fullRows.push_back(Row(r));
    EXPECT_EQ(full, QStringList{QString::number(back)});

    ASSERT_TRUE(FillNotReturned());
    EXPECT_EQ(Listed(), (QStringList{QString::number(outId), QString::number(minorOutId)})) << "by name";
    for (int r = 0; r < list.GetItemCount(); ++r) {
        EXPECT_EQ(list.GetItemText(r, 7), QStringLiteral("NR"));
        EXPECT_EQ(list.GetItemText(r, 5), QString());
        EXPECT_EQ(list.GetItemText(r, 6), QStringLiteral("12/01/2019"));
    }

    ASSERT_TRUE(FillFull());
    ASSERT_EQ(list.GetItemCount(), static_cast<int>(fullRows.size())) << "no NR row left over";
    for (int r = 0; r < list.GetItemCount(); ++r)
        EXPECT_EQ(Row(r), fullRows[static_cast<std::size_t>(r)]);
    EXPECT_EQ(rows.size(), fullRows.size());
}

TEST_F(ConsentReportTest, AddressLabelOfThePickedRow)
{
    SubjectRow row;
    row.last = QStringLiteral("SMITH");
    row.first = QStringLiteral("ANNE");
    Insert(row);
    ASSERT_TRUE(FillFull());
    ShowAddressLabel(ui, list);
    list.SetSelectionMark(0);
    ShowAddressLabel(ui, list);
    EXPECT_EQ(ui.Texts(), (QStringList{QStringLiteral("Please make a selection!"),
                                       QStringLiteral("SMITH, ANNE \n 1 Main St Boston, MA  2115")}));
}

TEST_F(ConsentReportTest, MailMergeFileReadsBackFieldForField)
{
    SubjectRow row;
    row.last = QStringLiteral("Smith, Jr.");
    row.first = QStringLiteral("John");
    row.parent = QStringLiteral("O'Hara, Ann");
    row.lastConsent = QDate(2020, 1, 2);
    Insert(row);
    // Inserted raw: a comma, a double quote and a line break in the address.
    row.last = QStringLiteral("Tate");
    row.first = QStringLiteral("Ida");
    row.parent = QString();
    row.address = QStringLiteral("Flat 2, \"The Mews\"\nBack Lane");
    row.lastConsent = QDate(2020, 1, 3);
    Insert(row);
    row.last = QStringLiteral("Ulm");
    row.address = QStringLiteral("3 Oak Rd");
    row.lastConsent = QDate(2020, 1, 4);
    Insert(row);
    ASSERT_TRUE(FillFull());
    ASSERT_EQ(list.GetItemCount(), 3);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("merge.csv"));
    ui.SaveFileNext(path);
    EXPECT_EQ(SaveConsentCsv(ui, list, rows), CsvResult::Saved);
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].defaultName, QStringLiteral("ConsentList"));

    const std::vector<QStringList> lines = ReadCsvWithPython(path);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], QStringList{QStringLiteral("Consent List")});
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_EQ(lines[2], (QStringList{QStringLiteral("LastName"), QStringLiteral("FirstName"), QStringLiteral("Parent"),
                                     QStringLiteral("Address"), QStringLiteral("Date")}));
    EXPECT_EQ(lines[3], (QStringList{QStringLiteral("Smith, Jr."), QStringLiteral("John"),
                                     QStringLiteral("O'Hara, Ann"), QStringLiteral("1 Main St Boston, MA  2115"),
                                     QStringLiteral("01/02/2020"), QString()}));
    EXPECT_EQ(lines[4], (QStringList{QStringLiteral("Tate"), QStringLiteral("Ida"), QString(),
                                     QStringLiteral("Flat 2, \"The Mews\"\nBack Lane Boston, MA  2115"),
                                     QStringLiteral("01/03/2020"), QString()}));
    EXPECT_EQ(lines[5][0], QStringLiteral("Ulm"));
    EXPECT_EQ(lines[5].size(), 6) << "every data line ends with an empty field";

    // Cancel writes nothing.
    const QString other = dir.filePath(QStringLiteral("other.csv"));
    ui.SaveFileNext(QString());
    EXPECT_EQ(SaveConsentCsv(ui, list, rows), CsvResult::Cancelled);
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("merge.csv")});
}

TEST_F(ConsentReportTest, FileHoldsTheRowsShownOnly)
{
    SubjectRow row;
    row.last = QStringLiteral("BACK");
    Insert(row);
    row.last = QStringLiteral("OUT");
    row.returned = QDate(1901, 1, 1);
    Insert(row);
    ASSERT_TRUE(FillNotReturned());
    std::vector<QStringList> lines = ConsentCsvLines(list, rows);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3][0], QStringLiteral("OUT"));
    // A fill that fails leaves nothing to write.
    EXPECT_FALSE(FillReport(*doc, list, [this](CReportQuery& q, CReportList&) {
        rows.push_back({});
        q.Run(QStringLiteral("select nothing from no_such_table"));
    }));
    TakeErrors();
    EXPECT_EQ(ConsentCsvLines(list, rows).size(), 3u);
}

} // namespace
} // namespace quorin::test
