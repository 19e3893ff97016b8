// The Database Numbers, Numbers added per month and Demographics tables on the embedded
// engine with the real schema, each cell compared with what the raw rows say: the edge
// registry, an empty one, the 2,000-subject demo, and a registry that lost a table.

#include "NumbersFixture.h"

#include "database/demo/DemoRegistry.h"
#include "dalport/Clock.h"
#include "document/CMemoryReportList.h"
#include "reports/query/DatabaseNumbersReport.h"
#include "reports/query/DemographicsReport.h"
#include "reports/query/MonthlyNumbersReport.h"
#include "reports/query/ReportFill.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

class NumbersReportTest : public NumbersTest {
protected:
    static CMemoryReportList ListWith(const std::vector<std::pair<QString, int>>& columns)
    {
        CMemoryReportList list;
        int index = 0;
        for (const auto& [heading, width] : columns)
            list.InsertColumn(index++, heading, CReportList::FormatLeft, width);
        return list;
    }

    Table Demographics(int view, bool activeOnly, DemographicsCounting counting)
    {
        CMemoryReportList list = ListWith(DemographicsColumns());
        EXPECT_TRUE(FillReport(*doc, list, [&](CReportQuery& q, CReportList& l) {
            BuildDemographicsList(q, l, {view, activeOnly}, counting);
        }));
        return RowsOf(list, 9);
    }
    Table Numbers(bool activeOnly)
    {
        CMemoryReportList list = ListWith(DatabaseNumbersColumns());
        EXPECT_TRUE(FillReport(*doc, list, [&](CReportQuery& q, CReportList& l) {
            BuildDatabaseNumbersList(q, l, activeOnly);
        }));
        return RowsOf(list, 5);
    }
    Table Monthly()
    {
        CMemoryReportList list = ListWith(MonthlyNumbersColumns());
        EXPECT_TRUE(FillReport(*doc, list, [](CReportQuery& q, CReportList& l) { BuildMonthlyNumbersList(q, l); }));
        return RowsOf(list, 3);
    }

    // Every view of every report equal to the tables tallied from the raw rows; the
    // Demographics views both from the one grouped read and from one statement per cell.
    void ExpectEveryTableAsTheRowsSay()
    {
        const std::vector<NumbersSubject> subjects = ReadSubjects();
        const int audiograms = ReadAudiogramCount();
        for (const bool activeOnly : {false, true}) {
            for (int view = 0; view < 3; ++view) {
                SCOPED_TRACE(testing::Message() << "Demographics view " << view << " active only " << activeOnly);
                const Table expected = ExpectedDemographics(subjects, view, activeOnly);
                EXPECT_TRUE(SameTable(Demographics(view, activeOnly, DemographicsCounting::Tally), expected));
                EXPECT_TRUE(SameTable(Demographics(view, activeOnly, DemographicsCounting::Statements), expected));
            }
            SCOPED_TRACE(testing::Message() << "Database Numbers active only " << activeOnly);
            EXPECT_TRUE(SameTable(Numbers(activeOnly), ExpectedDatabaseNumbers(subjects, audiograms, activeOnly)));
        }
        EXPECT_TRUE(SameTable(Monthly(), ExpectedMonthlyNumbers(subjects)));
        EXPECT_TRUE(TakeErrors().empty());
        EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    }
};

TEST_F(NumbersReportTest, EdgeRegistryEveryCellAsTheRawRowsSay)
{
    AddEdgeSubjects();
    ExpectEveryTableAsTheRowsSay();
}

TEST_F(NumbersReportTest, EdgeRegistryFiguresStaffReadFirst)
{
    AddEdgeSubjects();
    const Table numbers = Numbers(false);
    ASSERT_GT(numbers.size(), 3u);
    EXPECT_EQ(numbers[1][0], QStringLiteral("Total Subjects:"));
    EXPECT_EQ(numbers[1][1], QStringLiteral("80"));
    EXPECT_EQ(numbers[2][1], QStringLiteral("Active:"));
    EXPECT_EQ(numbers[2][2], QStringLiteral("60 (75.00 %)"));
    // The active variant counts active subjects but shares of the whole registry.
    const Table active = Numbers(true);
    EXPECT_EQ(active[2][2], QStringLiteral("60 (75.00 %)"));

    // Ethnicity: Hispanic + Not Hispanic + NULL is the total of every row; "Not Reported"
    // is unreported, not Not Hispanic.
    for (const bool activeOnly : {false, true}) {
        for (const QStringList& row : Demographics(1, activeOnly, DemographicsCounting::Tally)) {
            if (row[0] == QLatin1String(" ") || row[1].isEmpty() || row[1] == QLatin1String("Hispanic"))
                continue;
            EXPECT_EQ(row[1].toInt() + row[2].toInt() + row[3].toInt(), row[4].toInt()) << row.join('|').toStdString();
        }
    }
    const Table race = Demographics(0, false, DemographicsCounting::Tally);
    const QStringList& totalRow = race.back();
    EXPECT_EQ(totalRow[0], QStringLiteral("TOTAL"));
    EXPECT_EQ(totalRow[8], QStringLiteral("80")) << "every subject once in Total";
    // "White, Black" counts under White and Black and once in Total; "Unknown" in Total
    // alone.
    int both = 0, none = 0;
    for (const NumbersSubject& s : ReadSubjects()) {
        both += s.race == QLatin1String("White, Black");
        none += s.race == QLatin1String("Unknown");
    }
    ASSERT_GT(both, 0);
    ASSERT_GT(none, 0);
    int columns = 0;
    for (int column = 1; column <= 7; ++column)
        columns += totalRow[column].toInt();
    EXPECT_EQ(columns, 80 + both - none);
}

TEST_F(NumbersReportTest, MonthlyThisMonthAndThreeBackGiveTwoRows)
{
    registry.ExecRaw("Quorin",
                     "INSERT INTO subjects (Lastname, DateofEntry) VALUES ('A', '2026-06-02 00:00:00.000'), "
                     "('B', '2026-06-14 00:00:00.000'), ('C', '2026-03-31 00:00:00.000');");
    const Table shown = Monthly();
    EXPECT_TRUE(SameTable(shown, {{"MONTH", "NUMBER ADDED", ""}, {"2026  June", "2", ""}, {"2026  March", "1", ""}}));

    // Then one in the future, one without a date and one across the year: each has its
    // row and the column sums to every subject.
    registry.ExecRaw("Quorin",
                     "INSERT INTO subjects (Lastname, DateofEntry) VALUES ('D', '2026-07-01 00:00:00.000'), "
                     "('E', NULL), ('F', '2025-12-31 00:00:00.000');");
    EXPECT_TRUE(SameTable(Monthly(), {{"MONTH", "NUMBER ADDED", ""},
                                      {"2026  June", "2", ""},
                                      {"2026  March", "1", ""},
                                      {"2025  December", "1", ""},
                                      {"Future date of entry", "1", ""},
                                      {"No date of entry", "1", ""}}));
}

TEST_F(NumbersReportTest, MonthlyAcrossJanuary)
{
    dalport::SetFixedClock("2027-01-10 08:00:00");
    registry.ExecRaw("Quorin", "INSERT INTO subjects (Lastname, DateofEntry) VALUES ('A', '2027-01-02 00:00:00.000'), "
                               "('B', '2026-12-31 00:00:00.000'), ('C', '2026-11-01 00:00:00.000');");
    const Table shown = Monthly();
    dalport::SetFixedClock("2026-06-15 10:30:00");
    EXPECT_TRUE(SameTable(shown, {{"MONTH", "NUMBER ADDED", ""},
                                  {"2027  January", "1", ""},
                                  {"2026  December", "1", ""},
                                  {"2026  November", "1", ""}}));
}

TEST_F(NumbersReportTest, EmptyRegistry)
{
    ExpectEveryTableAsTheRowsSay();
    const Table numbers = Numbers(false);
    ASSERT_GT(numbers.size(), 2u);
    EXPECT_EQ(numbers[2][2], QStringLiteral("0")) << "no share of nothing";
    EXPECT_EQ(Monthly().size(), 1u) << "the heading alone";
}

TEST_F(NumbersReportTest, DemoRegistryEveryCellAndTheSums)
{
    demo::FillDemoRegistry(registry.Folder(), 2000, demo::kDefaultDemoSeed);
    ExpectEveryTableAsTheRowsSay();

    const Table numbers = Numbers(false);
    const int total = numbers[1][1].toInt();
    EXPECT_EQ(total, 2000);
    int statuses = 0;
    for (int row = 2; row <= 5; ++row)
        statuses += numbers[static_cast<std::size_t>(row)][2].section(QLatin1Char(' '), 0, 0).toInt();
    EXPECT_EQ(statuses, total);
    int months = 0;
    const Table monthly = Monthly();
    for (std::size_t row = 1; row < monthly.size(); ++row)
        months += monthly[row][1].toInt();
    EXPECT_EQ(months, total);
}

TEST_F(NumbersReportTest, LostTableShowsTheSessionsBoxThenAnEmptyList)
{
    AddEdgeSubjects();
    registry.ExecRaw("Quorin", "DROP TABLE aud;");
    CMemoryReportList list = ListWith(DatabaseNumbersColumns());
    EXPECT_FALSE(FillReport(*doc, list, [](CReportQuery& q, CReportList& l) { BuildDatabaseNumbersList(q, l, false); }));
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_FALSE(TakeErrors().empty()) << "the session's own box";

    registry.ExecRaw("Quorin", "ALTER TABLE subjects RENAME TO subjects_gone;");
    for (int view = 0; view < 3; ++view) {
        for (const DemographicsCounting counting : {DemographicsCounting::Tally, DemographicsCounting::Statements}) {
            CMemoryReportList demographics = ListWith(DemographicsColumns());
            EXPECT_FALSE(FillReport(*doc, demographics, [&](CReportQuery& q, CReportList& l) {
                BuildDemographicsList(q, l, {view, false}, counting);
            }));
            EXPECT_EQ(demographics.GetItemCount(), 0);
            EXPECT_FALSE(TakeErrors().empty());
        }
    }
    CMemoryReportList monthly = ListWith(MonthlyNumbersColumns());
    EXPECT_FALSE(FillReport(*doc, monthly, [](CReportQuery& q, CReportList& l) { BuildMonthlyNumbersList(q, l); }));
    EXPECT_EQ(monthly.GetItemCount(), 0);
    EXPECT_FALSE(TakeErrors().empty());
}

} // namespace
} // namespace quorin::test
