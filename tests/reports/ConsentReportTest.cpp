// The Consent, Contact and Letters lists on small registries, every cell written out.

#include "ReportsFixture.h"

#include "reports/query/ConsentReport.h"
#include "reports/query/ContactReport.h"
#include "reports/query/LettersReport.h"

namespace quorin::test {
namespace {

class ConsentReportTest : public ReportTest {
protected:
    bool FillFull() { return Fill(list, [this](CReportQuery& q, CReportList& l) { BuildConsentList(q, l, rows); }); }

    CMemoryReportList list = ListWith(ConsentColumns());
    std::vector<ConsentRow> rows;
};

// Renewal is due past 24 calendar months without participation or contact since; consent
// given before 19 x 365.25 days of age is renewed at that age (9 is 6940 days old, 10 is
// 6939). Due and adult now is one row, one letter: the renewal row, which comes first.
TEST_F(ConsentReportTest, ConsentedAsMinorIsListedWithNineteenEvenWhenRecent)
{
    Insert("insert into subjects (SubjectId, Lastname, Status, Birthdate, LastDateofConsent, Returned) values "
           "(1, 'TWENTYFIVE', 0, '1970-01-01', '2024-05-31', '2020-01-01'), (2, 'TWENTYFOUR', 0, '1970-01-01', "
           "'2024-06-01', '2020-01-01'), (3, 'WITHDRAWN', 1, '1970-01-01', '2024-05-31', '2020-01-01'), "
           "(4, 'PARTICIPATED', 0, '1970-01-01', '2020-03-01', '2020-01-01'), (5, 'CONTACTED', 0, '1970-01-01', "
           "'2020-03-01', '2020-01-01'), (6, 'NOTREACHED', 0, '1970-01-01', '2020-03-01', '2020-01-01'), "
           "(7, 'LONGAGO', 0, '1970-01-01', '2020-03-01', '2020-01-01'), (8, 'RECENT', 0, '2006-01-01', "
           "'2024-12-01', '2020-01-01'), (9, 'JUSTNINETEEN', 0, '2007-06-15', '2025-01-01', '2020-01-01'), "
           "(10, 'NOTYET', 0, '2007-06-16', '2025-01-01', '2020-01-01'), (11, 'ADULT', 0, '2000-01-01', "
           "'2025-01-01', '2020-01-01'), (12, 'BOTH', 0, '2003-01-01', '2019-01-01', '2020-01-01'), "
           "(13, 'NOTBACK', 0, '2003-01-01', '2019-01-01', '1901-01-01')");
    // 24 calendar months ago is still recent; not reached (codes 1 and 3) is no contact.
    Insert("insert into participationhistory (SubjectId, Dataset, Irb, Date1, Participate, Contacted) values "
           "(4, 'D', 'I', '2025-01-10', 0, 2), (5, 'D', 'I', '2024-06-30', 2, 0), (6, 'D', 'I', '2025-01-10', 1, 1), "
           "(6, 'D', 'I', '2025-02-10', -1, 3), (7, 'D', 'I', '2024-05-31', 0, 0)");
    ASSERT_TRUE(FillFull());
    QStringList listed;
    for (int row = 0; row < list.GetItemCount(); ++row)
        listed << list.GetItemText(row, 0) + "/" + list.GetItemText(row, 5);
    EXPECT_EQ(listed, (QStringList{"12/", "7/", "6/", "1/", "8/19", "9/19"}));
    EXPECT_EQ(rows.size(), 6u);
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(ConsentReportTest, RowReadsAsTheListShowsIt)
{
    // A "%1" of the address is text, never a place for the zip.
    Insert("insert into subjects (SubjectId, Lastname, Firstname, Parent, Address, City, State, Zip, LastDateofConsent, "
           "Sent, Returned) values (1, 'O''BRIEN', 'PAT', 'O''Hara, Ann', '12 Elm St %1', 'Omaha', 'NE', 68102, "
           "'2021-03-04', '2023-02-01', '2023-03-09'), (2, 'OUT', 'IDA', '', '3 Oak Rd', 'Lima', 'OH', 45801, "
           "'2020-01-01', '2019-12-01', '1901-01-01')");
    ASSERT_TRUE(FillFull());
    const QStringList full{"1|O'BRIEN, PAT|O'Hara, Ann|12 Elm St %1 Omaha, NE  68102|03/04/2021||02/01/2023|03/09/2023"};
    EXPECT_EQ(Rows(list), full) << "no heading row: row 0 holds the first subject";
    // The mail-merge file: the rows' values, names apart, an empty last field.
    EXPECT_EQ(ConsentCsvLines(list, rows).back(),
              (QStringList{"O'BRIEN", "PAT", "O'Hara, Ann", "12 Elm St %1 Omaha, NE  68102", "03/04/2021", ""}));
    EXPECT_EQ(Rows(ConsentCsvLines(list, rows)).mid(0, 3),
              (QStringList{"Consent List", "", "LastName|FirstName|Parent|Address|Date"}));
    ui.SaveFileNext(QString());
    EXPECT_EQ(SaveConsentCsv(ui, list, rows), CsvResult::Cancelled);
    EXPECT_EQ(ui.SaveRequests().at(0).defaultName, "ConsentList");
    ShowAddressLabel(ui, list);
    list.SetSelectionMark(0);
    ShowAddressLabel(ui, list);
    EXPECT_EQ(ui.Texts(), (QStringList{"Please make a selection!", "O'BRIEN, PAT \n 12 Elm St %1 Omaha, NE  68102"}));
    // The letter still out is only in the other list, marked NR, and not left over after.
    ASSERT_TRUE(Fill(list, [this](CReportQuery& q, CReportList& l) { BuildNotReturnedList(q, l, rows); }));
    EXPECT_EQ(Rows(list), QStringList{"2|OUT, IDA||3 Oak Rd Lima, OH  45801|01/01/2020||12/01/2019|NR"});
    ASSERT_TRUE(FillFull());
    EXPECT_EQ(Rows(list), full);
}

using ContactReportTest = ReportTest;

TEST_F(ContactReportTest, RemovalAsksAndMarksEveryCodeOneRecord)
{
    Insert("insert into subjects (SubjectId, Lastname, Firstname) values (1, 'ABLE', 'AL'), (2, 'BAKER', 'BO'); "
           "insert into participationhistory (SubjectId, Dataset, Irb, Contacted, ExContact, FeedbackDate) values "
           "(1, 'Tones', 'IRB-7', 1, 'no answer, twice', '2024-01-01'), (1, 'DS1', 'IRB-7', 1, '', '2025-01-01'), "
           "(1, 'DS1', 'IRB-7', 0, '', '2025-02-01'), (2, 'DS1', 'IRB-7', 1, 'moved', '2025-01-01'), "
           "(2, 'DS1', 'IRB-7', 2, '', '2025-03-01')");
    CMemoryReportList list = ListWith(ContactColumns());
    ASSERT_TRUE(Fill(list, BuildContactList));
    // The heading row, then each code-1 record with its subject's id in the hidden column.
    const QString heading = "|Name|Explanation|Dataset|IRB|Date";
    EXPECT_EQ(Rows(list), (QStringList{heading, "1|ABLE, AL|no answer, twice|Tones|IRB-7|01/01/2024",
                                       "1|ABLE, AL||DS1|IRB-7|01/01/2025", "2|BAKER, BO|moved|DS1|IRB-7|01/01/2025"}));
    // The heading row is no selection; No changes nothing, Yes marks with 4.
    list.SetSelectionMark(0);
    EXPECT_FALSE(RemoveFromContactList(*doc, list));
    list.SetSelectionMark(1);
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_FALSE(RemoveFromContactList(*doc, list));
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_TRUE(RemoveFromContactList(*doc, list));
    EXPECT_EQ(ui.Texts(), (QStringList{"Please make a selection!"}
                           + QStringList(2, "Do you want to remove this person from the list?")));
    EXPECT_EQ(ui.Messages()[1].buttons, UserInterface::Buttons::YesNo);
    EXPECT_EQ(Rows(list), (QStringList{heading, "2|BAKER, BO|moved|DS1|IRB-7|01/01/2025"})) << "filled again";
    EXPECT_EQ(Count("Quorin", "select count(*) as num from participationhistory where Contacted = 4"), 2);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from participationhistory where Contacted <> 4"), 3);
    EXPECT_TRUE(TakeErrors().empty());
}

using LettersReportTest = ReportTest;

TEST_F(LettersReportTest, EachCountAtItsBounds)
{
    const auto letters = [this] {
        return Built(ListWith(LettersColumns()),
                     [](CReportQuery& q, CReportList& l) { BuildLettersList(q, l, "1/1/2020", "12/31/2020"); });
    };
    EXPECT_EQ(letters(), (QStringList{" |Number of Letters Sent: |0", " |Number Returned: |0", " |Number Still Active: |0",
                                      " |Number Withdrawn: |0", " |No Response: |0"}))
        << "no subject, no share";
    // Sent on From, on To, after To; returned on From; not back (1901); back on From itself.
    Insert("insert into subjects (Status, Sent, Returned) values (0, '2020-01-01', '2020-01-02'), "
           "(1, '2020-12-31', '2020-12-31'), (0, '2021-01-01', '2021-01-05'), (0, '2019-12-31', '2020-01-01'), "
           "(0, '2020-06-01', '1901-01-01'), (2, '2020-06-02', '2020-01-01')");
    EXPECT_EQ(letters(), (QStringList{" |Number of Letters Sent: |4|66.67 %", " |Number Returned: |2|33.33 %",
                                      " |Number Still Active: |2|33.33 %", " |Number Withdrawn: |1|16.67 %",
                                      " |No Response: |1|16.67 %"}));
}

} // namespace
} // namespace quorin::test
