// Report periods and the summary reports on small registries, every cell written out.

#include "ReportsFixture.h"

#include "reports/query/ClosedDatasetReport.h"
#include "reports/query/DatabaseNumbersReport.h"
#include "reports/query/DemographicsReport.h"
#include "reports/query/FeedbackReport.h"
#include "reports/query/ListCsv.h"
#include "reports/query/MonthlyNumbersReport.h"
#include "reports/query/ParticipationReport.h"
#include "rules/SqlText.h"

#include <tuple>

namespace quorin::test {
namespace {

using ParticipationFixture = ReportTest;
using ParticipationReportTest = ReportTest;
using FeedbackReportTest = ReportTest;

// From's midnight up to the end of the To day is in, the instants beyond are out, for a
// column with times of day and for one holding dates alone.
TEST_F(ParticipationFixture, WholeDaysFromMidnightToTheEndOfTheToDay)
{
    Insert("insert into participationhistory (SubjectId, Dataset, Irb, Date1, FeedbackDate) values "
           "(1, 'D', 'I', '2009-12-31', '2009-12-31 23:59:59.997'), (1, 'D', 'I', '2010-01-01', '2010-01-01 00:00:00.000'), "
           "(1, 'D', 'I', '2010-06-01', '2010-06-01 09:15:00.000'), (1, 'D', 'I', '2010-12-31', '2010-12-31 23:59:59.997'), "
           "(1, 'D', 'I', '2011-01-01', '2011-01-01 00:00:00.000')");
    using Case = std::tuple<const char*, const char*, const char*, int>;
    const Case cases[] = {{"feedbackdate", "1/1/2010", "12/31/2010", 3}, {"feedbackdate", "12/31/2010", "12/31/2010", 1},
                          {"feedbackdate", "01/01/2011", "1/1/2011", 1}, {"feedbackdate", "6/2/2010", "12/30/2010", 0},
                          {"date1", "1/1/2010", "12/31/2010", 3}, {"date1", "12/31/2009", "12/31/2009", 1}};
    CMemoryReportList unused;
    for (const auto& [column, from, to, expected] : cases) {
        const QString where = sql::WholeDays(QLatin1String(column), QLatin1String(from), QLatin1String(to));
        int count = -1;
        ASSERT_TRUE(Fill(unused, [&](CReportQuery& q, CReportList&) {
            count = q.Count("select count(*) as num from participationhistory where " + where);
        }));
        EXPECT_EQ(count, expected) << column << " " << from << " - " << to;
    }
    EXPECT_TRUE(TakeErrors().empty());
}

// Subject 3, born 19 calendar years ago, is an adult; the release on To, with its time of
// day, counts.
TEST_F(ParticipationReportTest, EveryCellOfAPeriodOnScreenAndInItsFile)
{
    Insert("insert into subjects (SubjectId, Birthdate, Sex, Ethnicity, Race, PatImpression, Status) values "
           "(1, '2012-03-04', 'F', 'Hispanic', 'White', 'Hearing Impaired', 0), "
           "(2, '1980-07-08', 'M', '', 'Black', 'Normal Hearing', 0), "
           "(3, '2007-12-31', '', 'Not Hispanic', '', 'Cochlear Implant', 1), "
           "(4, '2008-01-01', 'F', 'Hispanic', 'White', 'Normal Hearing', 0), (5, '1990-01-01', 'M', '', '', '', 0)");
    Insert("insert into dataset (Dataset, Irb) values ('Hearing A', 'IRB-1'), ('Pilot B', 'IRB-2'), ('Closed C', 'IRB-3')");
    Insert("insert into requesthistory (Title, Irb, SubjectId, RequestDate) values ('Hearing A', 'IRB-1', 1, "
           "'2010-01-01'), ('Hearing A', 'IRB-1', 2, '2010-12-31'), ('Pilot B', 'IRB-2', 3, '2011-01-01')");
    Insert("insert into release (Title, Irb, SubjectId, ReleaseDate) values "
           "('Hearing A', 'IRB-1', 1, '2010-12-31 16:42:07.153'), ('Pilot B', 'IRB-2', 2, '2009-12-31 16:42:07.153')");
    Insert("insert into participationhistory (SubjectId, Dataset, Irb, Date1) values (1, 'Hearing A', 'IRB-1', "
           "'2010-01-01'), (1, 'Pilot B', 'IRB-2', '2010-12-31'), (2, 'Hearing A', 'IRB-1', '2010-06-01'), "
           "(2, 'Closed C', 'IRB-3', '2010-07-07'), (3, 'Closed C', 'IRB-3', '2010-12-31'), "
           "(4, 'Hearing A', 'IRB-1', '2011-01-01')");
    CMemoryReportList list = ListWith(kParticipationColumns);
    ASSERT_TRUE(Fill(list, [](CReportQuery& q, CReportList& l) { BuildParticipationList(q, l, "1/1/2010", "12/31/2010"); }));
    const QStringList rows{" ", "Datasets:|3", "Open:|2", "Closed:|1", " ",
                           "Requests:|2 subjects in 1 requests for 1 IRBs",
                           "Currently Released Data:|1 subjects in 1 datasets for 1 IRBs",
                           "Participation Data:|5 subjects from 3 datasets for 3 IRBs",
                           "|2 subjects participated in 2 IRBs each", "|1 subjects participated in 1 IRB each",
                           " ", "by Age", "|Children: |2", "|Adults: |3",
                           " ", "by Gender", "|NULL|1", "|F|2", "|M|2",
                           " ", "by Ethnicity", "|BLANK|2", "|Hispanic|2", "|Not Hispanic|1",
                           " ", "by Race", "|BLANK|1", "|Black|2", "|White|2",
                           " ", "With Hearing Loss, by Age", "|Children: |2", "|Adults: |1",
                           "|3 out of 4 subjects participated|75.000000 %"};
    EXPECT_EQ(Rows(list), rows);
    // Saved as shown: every row and column, under the report's name.
    QTemporaryDir dir;
    ui.SaveFileNext(dir.filePath("participation.csv"));
    SaveListAsShown(ui, "Participation", list);
    EXPECT_EQ(Rows(ReadCsvWithPython(dir.filePath("participation.csv"))), rows);
    EXPECT_EQ(ui.SaveRequests().at(0).defaultName, "Participation");
    EXPECT_TRUE(TakeErrors().empty());
}

// Feedback of every contact and participation code; "Pilot_1" is one name, its "_"
// matching no other character; feedback is stored with its time of day.
TEST_F(FeedbackReportTest, ByDatasetAndByFeedbackDateEveryCell)
{
    Insert("insert into subjects (SubjectId, Lastname, Firstname, Race, Ethnicity) values "
           "(1, 'O''Brien', 'Pat', 'White', ''), (2, 'Ames', 'Bo', 'Black', 'Not Hispanic'), "
           "(3, 'Chen', 'Li', 'Asian', 'Hispanic')");
    Insert("insert into participationhistory (SubjectId, Dataset, Irb, Contacted, Participate, Completed, ExContact, "
           "ExPartic, FeedbackDate) values "
           "(1, 'Pilot_1', 'IRB-5', 0, 0, 0, 'left, moved', '', '2010-12-31 16:42:07.153'), "
           "(2, 'Pilot_1', 'IRB-5', 1, 1, 1, '', 'busy', '2011-01-01 16:42:07.153'), "
           "(3, 'Pilot_1', 'IRB-5', 2, -1, -1, '', '', '2010-06-01 16:42:07.153'), "
           "(2, 'Pilot11', 'IRB-5', 0, 0, 1, '', '', '2010-06-01 16:42:07.153')");
    // Subject 1 was requested twice: a dataset counts its released subjects once.
    Insert("insert into requesthistory (Title, Irb, SubjectId) values ('Pilot_1', 'IRB-5', 1), ('Pilot_1', 'IRB-5', 1), "
           "('Pilot_1', 'IRB-5', 2), ('Pilot11', 'IRB-5', 2)");
    const QStringList heading{" ", " ", "NAME|CONTACT|PARTICIPATION|RACE|ETHNICITY|EXPLANATION"};
    const QString obrien = "O'Brien, Pat|Contacted|Participated|White||left, moved  ";
    const QString chen = "Chen, Li|DNC|No Data|Asian|Hispanic|  ";
    struct Case { QString dataset, from, to; QStringList rows; };
    const Case cases[] = {
        {"All", "", "", {" ", "Feedback for 4 Subjects|for 4 subjects released", " ", " |2 were not contacted",
                         " |1 did not participate", " |2 participated", " |1 were satisfactory", " |2 were unsatisfactory"}},
        {"Pilot_1", "", "",
         QStringList{" ", "Dataset: Pilot_1|IRB: IRB-5", " ", "Feedback for 3 Subjects|for 2 subjects released", " ",
                     " |2 were not contacted", " |1 did not participate", " |1 participated", " |1 were satisfactory",
                     " |1 were unsatisfactory"}
             + heading + QStringList{obrien, "Ames, Bo|CNC|DNP|Black|Not Hispanic|  busy", chen}},
        {"Pilot_1", "1/1/2010", "12/31/2010",
         QStringList{" ", "Feedback for 2 Subjects", " ", " |1 were not contacted", " |0 did not participate",
                     " |1 participated", " |1 were satisfactory", " |0 were unsatisfactory"}
             + heading + QStringList{obrien, chen}},
    };
    for (const Case& c : cases) {
        CMemoryReportList list = ListWith(kFeedbackColumns);
        ASSERT_TRUE(Fill(list, [&](CReportQuery& q, CReportList& l) {
            if (c.from.isEmpty())
                BuildFeedbackByDataset(q, l, c.dataset);
            else
                BuildFeedbackByDate(q, l, c.dataset, c.from, c.to);
        }));
        // The report's statement gives its subjects no order: they are compared as a set.
        const auto subjectsSorted = [&](QStringList rows) {
            if (const auto at = rows.indexOf(heading.back()); at >= 0)
                std::sort(rows.begin() + at + 1, rows.end());
            return rows;
        };
        EXPECT_EQ(subjectsSorted(Rows(list)), subjectsSorted(c.rows)) << c.dataset.toStdString() << " " << c.from.toStdString();
    }
    EXPECT_TRUE(TakeErrors().empty());
}

const QString kIrb = QStringLiteral("IRB 7");
const QString kDataset = QStringLiteral("O'Hara, pilot");
const QString kAttack = QStringLiteral("x'; DROP TABLE subjects --");

// Subject 1 is 150 months old, 2 a day short of 46 years, 99999 deleted since; IRB 8 has
// a dataset of the same name; Orphan, of IRB 7, has no dataset row.
class ClosedDatasetReportTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        Insert("insert into dataset (Dataset, Irb, Query) values ('O''Hara, pilot', 'IRB 7', "
               "'Age < 19, hearing impaired\r\nSex: any')");
        Insert("insert into subjects (SubjectId, Lastname, Firstname, Birthdate, Sex, Parent, Address, City, State, Zip, "
               "Ethnicity, Phone1, Phone1Type, Phone2, Phone2Type, Email, PrimaryLang, PatImpression, ScreeningImpr, "
               "Contact, Notes, Evenings, Weekends, Workday, Longterm, Shortterm) values "
               "(1, 'Smith, Jr.', 'John', '2013-12-15', 'Male', 'Doe, Jane', '12 Elm St, Apt 4', 'Boston', 'MA', 2115, "
               "'Hispanic, Latino', '0', 'Home', '617-555-0199', 'Cell', 'js@example.org', 'English', "
               "'Hearing Impaired', 'Mild', 'Phone', 'Call after 5, not before', 1, 1, 1, 1, 1), "
               "(2, 'O''Brien', 'Pat', '1980-06-16', 'Female', '', '1 Main St', 'Boston', 'MA', 2115, '', "
               "'617-555-0100', 'Home', '0', '', '', '', '', '', '', '', 1, 0, 0, 0, 1)");
        Insert("insert into participationhistory (SubjectId, Dataset, Irb, Participate) values (1, 'O''Hara, pilot', "
               "'IRB 7', 0), (2, 'O''Hara, pilot', 'IRB 7', 1), (99999, 'O''Hara, pilot', 'IRB 7', 0), "
               "(1, 'O''Hara, pilot', 'IRB 8', 0), (2, 'Orphan', 'IRB 7', 0)");
    }

    bool Load(const QString& irb, const QString& dataset)
    {
        return Fill(list, [&](CReportQuery& q, CReportList& l) { BuildClosedDatasetList(q, l, irb, dataset, load); });
    }
    int Releases() const { return Count("Quorin", "select count(*) as num from release"); }

    CMemoryReportList list = ListWith(int(ClosedDatasetColumns().size()));
    ClosedDatasetLoad load;
};

TEST_F(ClosedDatasetReportTest, EveryCellAndFileLineOfItsSubjectsEachLoadWithItsOwnParameters)
{
    ASSERT_TRUE(Load(kIrb, kDataset));
    EXPECT_EQ(Rows(list),
              (QStringList{"Smith, Jr., John|M|12/15/2013|12y6mo|Doe, Jane||617-555-0199  Cell|js@example.org|12 Elm St, "
                           "Apt 4 Boston, MA  2115|Phone|Hispanic, Latino|English|Hearing Impaired|Mild|Y|Evenings, "
                           "Weekends, Workday, Longterm, Shortterm|1|Call after 5, not before",
                           "O'Brien, Pat|F|06/16/1980|45y11mo||617-555-0100  Home|||1 Main St Boston, MA  2115||||||N|"
                           "Evenings, Shortterm|2"}));
    // The file: dataset, parameters line by line, header, and names apart, columns 1 to 13.
    EXPECT_EQ(Rows(ClosedDatasetCsvLines(load, list)),
              (QStringList{kDataset, "", "DATASET PARAMETERS", "Age < 19, hearing impaired", "Sex: any",
                           "LastName|FirstName|Gender|Birthdate|Age|Parent|Phone|Phone|Email|Address|Preferred Contact|"
                           "Ethnicity|Language|Patient Impression|Screening Impression",
                           "Smith, Jr.|John|M|12/15/2013|12y6mo|Doe, Jane||617-555-0199  Cell|js@example.org|12 Elm St, "
                           "Apt 4 Boston, MA  2115|Phone|Hispanic, Latino|English|Hearing Impaired|Mild",
                           "O'Brien|Pat|F|06/16/1980|45y11mo||617-555-0100  Home|||1 Main St Boston, MA  2115"}));
    ui.SaveFileNext(QString());
    SaveClosedDataset(ui, load, list);
    EXPECT_EQ(ui.SaveRequests().at(0).defaultName, kDataset) << "the file is offered under the dataset's name";
    // Orphan has no dataset row: no parameters, not the ones loaded before.
    ASSERT_TRUE(Load(kIrb, "Orphan"));
    EXPECT_EQ(load.parameters, QString());
    EXPECT_EQ(load.subjects.size(), 1u);
    // The combos offer the IRBs of the feedback and the datasets of one.
    EXPECT_EQ(ClosedDatasetIrbs(*doc).value_or(QStringList()).size(), 2);
    EXPECT_EQ(ClosedDatasetNames(*doc, kIrb).value_or(QStringList()).size(), 2);
    // An IRB typed as an attack is a value: nothing loaded, nothing changed, nothing to reopen.
    EXPECT_EQ(ClosedDatasetNames(*doc, kAttack).value_or(QStringList{"failed"}), QStringList());
    ASSERT_TRUE(Load(kAttack, kDataset));
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_TRUE(load.subjects.empty());
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 2);
    EXPECT_TRUE(ReOpenClosedDataset(*doc, load));
    EXPECT_EQ(Releases(), 0);
    EXPECT_TRUE(TakeErrors().empty());
}

// ReOpen releases every loaded subject, all or nothing, and never one twice.
TEST_F(ClosedDatasetReportTest, AFailedReleaseLeavesNothingReleased)
{
    ASSERT_TRUE(Load(kIrb, kDataset));
    registry.ExecRaw("Quorin", "CREATE TRIGGER fail_second BEFORE INSERT ON release "
                               "WHEN (SELECT count(*) FROM release) >= 1 "
                               "BEGIN SELECT RAISE(ABORT, 'release refused'); END");
    EXPECT_FALSE(ReOpenClosedDataset(*doc, load));
    EXPECT_EQ(Releases(), 0);
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_EQ(ui.Messages().back().text, "Unable to reopen dataset O'Hara, pilot under IRB IRB 7. Nothing was changed.");
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_FALSE(TakeErrors().empty()) << "the session shows the failing statement";
    // The session is usable afterwards.
    registry.ExecRaw("Quorin", "DROP TRIGGER fail_second");
    EXPECT_TRUE(ReOpenClosedDataset(*doc, load));
    EXPECT_TRUE(ReOpenClosedDataset(*doc, load));
    EXPECT_EQ(Count("Quorin", "select count(*) as num from release where Title = 'O''Hara, pilot' and Irb = 'IRB 7' "
                              "and SubjectId in (1, 2) and ReleaseDate >= '6/15/2026'"), 2)
        << "today, and a second ReOpen adds no duplicate";
    EXPECT_EQ(Releases(), 2);
    EXPECT_TRUE(TakeErrors().empty());
}

class NumbersReportTest : public ReportTest {
protected:
    // On 15 June 2026: subject 1 is a child (18 calendar years), 2 an adult (19), 3 of
    // no known age, 4 an adult; 1 and 2 are active, 3 withdrawn, 4 not available.
    void AddSubjects()
    {
        Insert("insert into subjects (SubjectId, Sex, Race, Ethnicity, Birthdate, Status, PatImpression, Recruitment, "
               "DateofEntry) values "
               "(1, 'Female', 'White', 'Not Hispanic', '2008-01-01', 0, 'Hearing Impaired', 'Clinic', '2026-06-01'), "
               "(2, 'Male', 'Black', 'Hispanic', '2007-12-31', 0, 'Normal Hearing', 'Flyer', '2025-12-20'), "
               "(3, '', 'White, Black', 'Not Hispanic', NULL, 1, '', '', NULL), "
               "(4, 'Female', '', '', '1950-05-05', 3, 'Hearing Impaired', 'Clinic', '2026-08-01')");
        Insert("insert into aud (SubjectId, TestDate) values (1, '2020-01-01'), (1, '2021-01-01'), (2, '2020-01-01'), "
               "(3, '2020-01-01')");
    }

    QStringList Numbers(bool activeOnly)
    {
        return Built(ListWith(DatabaseNumbersColumns()),
                     [=](CReportQuery& q, CReportList& l) { BuildDatabaseNumbersList(q, l, activeOnly); });
    }
    QStringList Demographics(int view, bool activeOnly, DemographicsCounting counting = DemographicsCounting::Tally)
    {
        return Built(ListWith(DemographicsColumns()),
                     [=](CReportQuery& q, CReportList& l) { BuildDemographicsList(q, l, {view, activeOnly}, counting); });
    }
};

// Active-only counts active subjects, the shares still of the whole registry; no subject at
// all: no shares. Monthly: newest first, empty months left out, across the year; then the
// future and the undated entries, so that the column sums to every subject.
TEST_F(NumbersReportTest, DatabaseAndMonthlyNumbersWholeActiveOnlyAndEmpty)
{
    const auto monthly = [this] { return Built(ListWith(MonthlyNumbersColumns()), BuildMonthlyNumbersList); };
    EXPECT_EQ(monthly(), QStringList{"MONTH|NUMBER ADDED"});
    EXPECT_EQ(Numbers(false),
              (QStringList{" ", "Total Subjects:|0", "|Active:|0", "|Withdrawn:|0", "|Inactive:|0", "|Not Available:|0",
                           " ", "by Audiogram|Children with Audiograms: |0", "|Adults with Audiograms: |0",
                           "Total Audiograms: ||0", " ", "by Age|Children: ", "||Total: |0", "|Adults: ", "||Total: |0",
                           " ", "by Gender", " ", "Subjects by Ethnicity", " ", "Subjects by Race", " ", "Recruitment"}));
    AddSubjects();
    const QStringList statuses{" ", "Total Subjects:|4", "|Active:|2 (50.00 %)", "|Withdrawn:|1 (25.00 %)",
                               "|Inactive:|0 (0.00 %)", "|Not Available:|1 (25.00 %)", " "};
    EXPECT_EQ(Numbers(false),
              (statuses + QStringList{
                  "by Audiogram|Children with Audiograms: |2", "|Adults with Audiograms: |1", "Total Audiograms: ||4",
                  " ", "by Age|Children: ", "||Hearing Impaired|1", "||Total: |1",
                  "|Adults: ", "||Hearing Impaired|1", "||Normal Hearing|1", "||Total: |2",
                  " ", "by Gender|Not Reported|1||25.00 %", "|Female|2||50.00 %", "|Male|1||25.00 %",
                  " ", "Subjects by Ethnicity|Not Reported|Female|1|25.00 %", "|Not Reported|TOTAL:|1|25.00 %",
                  "|Hispanic|Male|1|25.00 %", "|Hispanic|TOTAL:|1|25.00 %", "|Not Hispanic|Not Reported|1|25.00 %",
                  "|Not Hispanic|Female|1|25.00 %", "|Not Hispanic|TOTAL:|2|50.00 %",
                  " ", "Subjects by Race|Not Reported|Female|1|25.00 %", "|Not Reported|TOTAL:|1|25.00 %",
                  "|Black|Male|1|25.00 %", "|Black|TOTAL:|1|25.00 %", "|White|Female|1|25.00 %", "|White|TOTAL:|1|25.00 %",
                  "|White, Black|Not Reported|1|25.00 %", "|White, Black|TOTAL:|1|25.00 %",
                  " ", "Recruitment|Clinic|2", "|Not Reported|1", "|Flyer|1"}));
    const QStringList active = Numbers(true);
    EXPECT_EQ(active.mid(0, 10), (statuses + QStringList{"by Audiogram|Children with Audiograms: |2",
                                                         "|Adults with Audiograms: |1", "Total Audiograms: ||3"}));
    EXPECT_EQ(active.filter("Active Subjects by"), (QStringList{"Active Subjects by Ethnicity|Hispanic|Male|1|25.00 %",
                                                                "Active Subjects by Race|Black|Male|1|25.00 %"}));
    EXPECT_EQ(active.last(), "|Flyer|1");
    EXPECT_EQ(monthly(), (QStringList{"MONTH|NUMBER ADDED", "2026  June|1", "2025  December|1", "Future date of entry|1",
                                      "No date of entry|1"}));
    EXPECT_TRUE(TakeErrors().empty());
}

// "White, Black" counts under White and Black and once in Total; an empty sex is
// Other/Unknown, an empty ethnicity unreported; no known age counts in totals only.
TEST_F(NumbersReportTest, DemographicsTablesAndBothCountingsAgree)
{
    AddSubjects();
    EXPECT_EQ(Demographics(0, false),
              (QStringList{" |AmericanIndian|Asian|Black|Hawaiian|White|Other|Not Reported|Total",
                           "Children", "Female|0|0|0|0|1|0|0|1", "Male|0|0|0|0|0|0|0|0", "Other/Unknown|0|0|0|0|0|0|0|0",
                           "TOTAL|0|0|0|0|1|0|0|1", " ",
                           "Adults", "Female|0|0|0|0|0|0|1|1", "Male|0|0|1|0|0|0|0|1", "Other|0|0|0|0|0|0|0|0",
                           "TOTAL|0|0|1|0|0|0|1|2", " ",
                           "TOTALS", "Female|0|0|0|0|1|0|1|2", "Male|0|0|1|0|0|0|0|1", "Other/Unknown|0|0|1|0|1|0|0|1",
                           "TOTAL|0|0|2|0|2|0|1|4"}));
    const QStringList ethnicity = Demographics(1, false);
    EXPECT_EQ(QStringList({ethnicity.first(), ethnicity.last()}),
              (QStringList{" |Hispanic|Not Hispanic|NULL|Total", "TOTAL|1|2|1|4"}));
    // Both: the race table of each ethnicity in turn.
    EXPECT_EQ(Demographics(2, false).filter("HISPANIC"), (QStringList{"HISPANIC", "NOT HISPANIC"}));
    EXPECT_EQ(Demographics(0, true).last(), "TOTAL|0|0|1|0|1|0|0|2") << "active subjects only";

    for (int view = 0; view < 3; ++view)
        for (const bool activeOnly : {false, true})
            EXPECT_EQ(Demographics(view, activeOnly, DemographicsCounting::Statements), Demographics(view, activeOnly))
                << "view " << view << " active only " << activeOnly;
    EXPECT_TRUE(TakeErrors().empty());
}

} // namespace
} // namespace quorin::test
