// The Participation, Feedback and Closed Dataset reports on a 100,000-subject demo
// registry: Participation over the whole period, Feedback "All" by dataset and by date,
// the largest closed dataset loaded and saved as CSV, and its ReOpen; each beside the
// same statements run straight on SQLite at their best (prepared once and reused, the
// schema's indexes in place). Prints each statement's plan first, and at the end the time
// per operation and the ratio to raw SQLite. Aim: under 1 s each. Never checked.

#include "../RatioReporter.h"
#include "bench/common/BenchRegistry.h"
#include "document/CQuorinDoc.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "dalport/Registry.h"
#include "document/CMemoryReportList.h"
#include "reports/query/ClosedDatasetReport.h"
#include "reports/query/CsvExport.h"
#include "reports/query/FeedbackReport.h"
#include "reports/query/ParticipationReport.h"
#include "reports/query/ReportFill.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using quorin::bench::SilentUserInterface;

constexpr int kSubjects = 100000;
const QString kFrom = QStringLiteral("1/1/1901");
const QString kTo = QStringLiteral("12/31/2030");
const std::string kStoredFrom = "1901-01-01 00:00:00.000";
const std::string kStoredTo = "2030-12-31 00:00:00.000";

// The demo registry the subject benchmarks use, made once and kept between runs; the
// fill changes it, so each run works on a copy of it.
std::string CachedRegistry() { return quorin::bench::KeptDemoRegistry(kSubjects); }

// Shows nothing, but prints each message, so that a failing run says why.
SilentUserInterface g_ui{SilentUserInterface::Answer::No, true};
CQuorinDoc* g_doc = nullptr;
sqlite3* g_raw = nullptr;
std::string g_csvPath;
std::string g_irb;     // the largest closed dataset: its IRB and name
std::string g_dataset;

// Statements on plain SQLite: each prepared once, then reset and rebound.
class RawStatements {
public:
    ~RawStatements()
    {
        for (auto& [sql, statement] : m_prepared)
            sqlite3_finalize(statement);
    }
    sqlite3_stmt* operator()(const std::string& sql, std::initializer_list<std::string> values = {})
    {
        sqlite3_stmt*& statement = m_prepared[sql];
        if (!statement && sqlite3_prepare_v2(g_raw, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            std::cerr << sql << ": " << sqlite3_errmsg(g_raw) << "\n";
            std::exit(1);
        }
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        int position = 1;
        for (const std::string& value : values)
            sqlite3_bind_text(statement, position++, value.c_str(), -1, SQLITE_TRANSIENT);
        return statement;
    }
    int Count(const std::string& sql, std::initializer_list<std::string> values = {})
    {
        sqlite3_stmt* statement = (*this)(sql, values);
        return sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : 0;
    }

private:
    std::map<std::string, sqlite3_stmt*> m_prepared;
};

std::string Column(sqlite3_stmt* statement, int column)
{
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

// --- Participation ---------------------------------------------------------------

const std::string kJoin =
    " from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid ";
const std::string kHearingLoss = " and (PatImpression = 'Hearing Impaired' or PatImpression = 'Cochlear Implant') ";
const std::vector<std::string> kParticipationCounts{
    "select count(distinct dataset) from dataset",
    "select count(distinct title) from release",
    "select count(distinct dataset) from participationhistory where dataset not in (select distinct title from release)",
    "select count(*) from requesthistory where requestdate between ?1 and ?2",
    "select count(distinct title) from requesthistory where requestdate between ?1 and ?2",
    "select count(distinct irb) from requesthistory where requestdate between ?1 and ?2",
    "select count(*) from release where releasedate between ?1 and ?2",
    "select count(distinct title) from release where releasedate between ?1 and ?2",
    "select count(distinct irb) from release where releasedate between ?1 and ?2",
    "select count(*) from participationhistory where date1 between ?1 and ?2",
    "select count(distinct dataset) from participationhistory where date1 between ?1 and ?2",
    "select count(distinct irb) from participationhistory where date1 between ?1 and ?2",
    "select count(*)" + kJoin + "where datediff('yy', birthdate, getdate()) < 19 and date1 between ?1 and ?2",
    "select count(*)" + kJoin + "where datediff('yy', birthdate, getdate()) >= 19 and date1 between ?1 and ?2",
    "select count(*)" + kJoin + "where datediff('yy', birthdate, getdate()) < 19" + kHearingLoss
        + "and date1 between ?1 and ?2",
    "select count(*)" + kJoin + "where datediff('yy', birthdate, getdate()) >= 19" + kHearingLoss
        + "and date1 between ?1 and ?2",
    "select count(distinct subjectid) from participationhistory where date1 between ?1 and ?2",
    "select count(subjectid) from subjects where status = 0"};
const std::vector<std::string> kParticipationRows{
    "select subjectid, count(subjectid) as appear from participationhistory where date1 between ?1 and ?2 group by "
    "subjectid having count(subjectid) >= 1 order by count(subjectid) desc",
    "select sex, count(sex)" + kJoin + "where date1 between ?1 and ?2 group by sex order by sex",
    "select ethnicity, count(ethnicity)" + kJoin + "where date1 between ?1 and ?2 group by ethnicity order by ethnicity",
    "select race, count(race)" + kJoin + "where date1 between ?1 and ?2 group by race order by race"};

void BM_Participation(benchmark::State& state)
{
    for (auto _ : state) {
        CMemoryReportList list;
        for (int c = 0; c < quorin::kParticipationColumns; ++c)
            list.InsertColumn(c, QString());
        if (!quorin::FillReport(*g_doc, list, [](quorin::CReportQuery& q, CReportList& l) {
                quorin::BuildParticipationList(q, l, kFrom, kTo);
            }))
            state.SkipWithError("fill failed");
        state.counters["rows"] = list.GetItemCount();
    }
}

void BM_RawParticipation(benchmark::State& state)
{
    RawStatements raw;
    for (auto _ : state) {
        int total = 0;
        for (const std::string& sql : kParticipationCounts)
            total += raw.Count(sql, {kStoredFrom, kStoredTo});
        int rows = 0;
        for (const std::string& sql : kParticipationRows) {
            sqlite3_stmt* statement = raw(sql, {kStoredFrom, kStoredTo});
            while (sqlite3_step(statement) == SQLITE_ROW) {
                total += sqlite3_column_int(statement, 1);
                ++rows;
            }
        }
        benchmark::DoNotOptimize(total);
        state.counters["rows"] = rows;
    }
}

// --- Feedback ----------------------------------------------------------------------

const char* const kOutcomes[] = {"(contacted = 1 or contacted = 4 or contacted = 2)", "participate = 1",
                                 "participate = 0", "completed = 0", "completed = 1"};
const std::string kFeedbackSubjects =
    "select lastname, firstname, contacted, participate, excontact, expartic, race, ethnicity" + kJoin;

void FillFeedback(benchmark::State& state, bool byDate)
{
    for (auto _ : state) {
        CMemoryReportList list;
        for (int c = 0; c < quorin::kFeedbackColumns; ++c)
            list.InsertColumn(c, QString());
        if (!quorin::FillReport(*g_doc, list, [byDate](quorin::CReportQuery& q, CReportList& l) {
                if (byDate)
                    quorin::BuildFeedbackByDate(q, l, quorin::FeedbackAllDatasets(), kFrom, kTo);
                else
                    quorin::BuildFeedbackByDataset(q, l, quorin::FeedbackAllDatasets());
            }))
            state.SkipWithError("fill failed");
        state.counters["rows"] = list.GetItemCount();
    }
}

void RawFeedback(benchmark::State& state, bool byDate)
{
    RawStatements raw;
    const std::string range = " feedbackdate between ?1 and ?2 and Dataset like '%' ";
    for (auto _ : state) {
        int total = 0;
        int rows = 0;
        if (byDate) {
            total += raw.Count("select count(distinct subjectid) from participationhistory where" + range,
                               {kStoredFrom, kStoredTo});
            for (const char* outcome : kOutcomes)
                total += raw.Count("select count(*) from participationhistory where " + std::string(outcome) + " and"
                                       + range,
                                   {kStoredFrom, kStoredTo});
            sqlite3_stmt* statement = raw(kFeedbackSubjects + "where" + range, {kStoredFrom, kStoredTo});
            while (sqlite3_step(statement) == SQLITE_ROW) {
                benchmark::DoNotOptimize(Column(statement, 0) + Column(statement, 1) + Column(statement, 4));
                ++rows;
            }
        } else {
            total += raw.Count("select count(*) from participationhistory");
            total += raw.Count("select count(*) from requesthistory");
            for (const char* outcome : kOutcomes)
                total += raw.Count("select count(*) from participationhistory where " + std::string(outcome));
        }
        benchmark::DoNotOptimize(total);
        state.counters["rows"] = rows;
    }
}

void BM_FeedbackAll(benchmark::State& s) { FillFeedback(s, false); }
void BM_RawFeedbackAll(benchmark::State& s) { RawFeedback(s, false); }
void BM_FeedbackByDate(benchmark::State& s) { FillFeedback(s, true); }
void BM_RawFeedbackByDate(benchmark::State& s) { RawFeedback(s, true); }

// --- Closed Dataset ------------------------------------------------------------------

const std::string kLoadDataset = "select Query from dataset where Irb = ?1 and Dataset = ?2";
const std::string kOldDataset =
    "select SubjectId, Participate from participationhistory where Irb = ?1 and Dataset = ?2 order by SubjectId";
const std::string kLoadSubject =
    "select Lastname, Firstname, Sex, convert101(Birthdate, 10), Parent, Phone1, Phone1Type, Phone2, Phone2Type, Email, "
    "Address, City, State, Zip, Contact, Ethnicity, PrimaryLang, PatImpression, ScreeningImpr, Evenings, Weekends, "
    "Workday, Longterm, Shortterm, Notes, SubjectId, "
    "CASE WHEN Birthdate IS NULL OR Birthdate < '1900-01-02' THEN 0 ELSE datediff('mm', Birthdate, getdate()) - CASE "
    "WHEN strftime('%d', getdate()) < strftime('%d', Birthdate) THEN 1 ELSE 0 END END from subjects where SubjectId = ?1";
const std::string kReOpen =
    "insert into release (Title, Irb, SubjectId, ReleaseDate) select ?1, ?2, ?3, getdate() where not exists (select 1 "
    "from release where Title = ?1 and Irb = ?2 and SubjectId = ?3)";

quorin::ClosedDatasetLoad g_load;
CMemoryReportList g_closedList;

bool LoadClosed(CMemoryReportList& list, quorin::ClosedDatasetLoad& load)
{
    list.DeleteAllItems();
    if (list.GetColumnCount() == 0)
        for (int c = 0; c < quorin::kClosedDatasetColumns; ++c)
            list.InsertColumn(c, QString());
    const QString irb = QString::fromStdString(g_irb);
    const QString dataset = QString::fromStdString(g_dataset);
    return quorin::FillReport(*g_doc, list, [&](quorin::CReportQuery& q, CReportList& l) {
        quorin::BuildClosedDatasetList(q, l, irb, dataset, load);
    });
}

void BM_ClosedLoadAndSave(benchmark::State& state)
{
    const QString path = QString::fromStdString(g_csvPath);
    for (auto _ : state) {
        CMemoryReportList list;
        quorin::ClosedDatasetLoad load;
        if (!LoadClosed(list, load))
            state.SkipWithError("load failed");
        const auto lines = quorin::ClosedDatasetCsvLines(load, list);
        if (quorin::WriteCsvFile(path, static_cast<int>(lines.size()), [&lines](int i) {
                return lines[static_cast<size_t>(i)];
            }) != quorin::CsvResult::Saved)
            state.SkipWithError("save failed");
        state.counters["rows"] = list.GetItemCount();
    }
}

void BM_RawClosedLoadAndSave(benchmark::State& state)
{
    RawStatements raw;
    for (auto _ : state) {
        std::string out = g_dataset + "\r\n\r\n";
        sqlite3_stmt* parameters = raw(kLoadDataset, {g_irb, g_dataset});
        if (sqlite3_step(parameters) == SQLITE_ROW)
            out += "DATASET PARAMETERS\r\n" + Column(parameters, 0) + "\r\n";
        out += "LastName,FirstName,Gender,Birthdate,Age,Parent,Phone,Phone,Email,Address,Preferred Contact,Ethnicity,"
               "Language,Patient Impression,Screening Impression\r\n";
        std::vector<std::pair<int, int>> ids;
        sqlite3_stmt* old = raw(kOldDataset, {g_irb, g_dataset});
        while (sqlite3_step(old) == SQLITE_ROW)
            ids.emplace_back(sqlite3_column_int(old, 0), sqlite3_column_int(old, 1));
        int rows = 0;
        for (const auto& [id, participate] : ids) {
            sqlite3_stmt* subject = raw(kLoadSubject, {std::to_string(id)});
            if (sqlite3_step(subject) != SQLITE_ROW)
                continue;
            for (int c = 0; c < 27; ++c)
                out += Column(subject, c) + ",";
            out += participate == 0 ? "Y\r\n" : "N\r\n";
            ++rows;
        }
        FILE* file = std::fopen(g_csvPath.c_str(), "wb");
        std::fwrite(out.data(), 1, out.size(), file);
        std::fclose(file);
        state.counters["rows"] = rows;
    }
}

// Each run starts with the dataset closed again (its release rows removed, untimed), so
// every run releases every subject.
void Close(RawStatements& raw)
{
    sqlite3_step(raw("delete from release where Title = ?1 and Irb = ?2", {g_dataset, g_irb}));
}

void BM_ReOpen(benchmark::State& state)
{
    RawStatements raw;
    for (auto _ : state) {
        state.PauseTiming();
        Close(raw);
        state.ResumeTiming();
        if (!quorin::ReOpenClosedDataset(*g_doc, g_load))
            state.SkipWithError("reopen failed");
    }
    state.counters["subjects"] = static_cast<double>(g_load.subjects.size());
}

void BM_RawReOpen(benchmark::State& state)
{
    RawStatements raw;
    for (auto _ : state) {
        state.PauseTiming();
        Close(raw);
        state.ResumeTiming();
        sqlite3_exec(g_raw, "BEGIN", nullptr, nullptr, nullptr);
        for (const quorin::CClosedSubject& subject : g_load.subjects)
            sqlite3_step(raw(kReOpen, {g_dataset, g_irb, std::to_string(subject.subjectId)}));
        sqlite3_exec(g_raw, "COMMIT", nullptr, nullptr, nullptr);
    }
    state.counters["subjects"] = static_cast<double>(g_load.subjects.size());
}

void PrintPlans()
{
    std::vector<std::string> statements = kParticipationCounts;
    statements.insert(statements.end(), kParticipationRows.begin(), kParticipationRows.end());
    const std::string range = " feedbackdate between ?1 and ?2 and Dataset like '%' ";
    statements.push_back("select count(distinct subjectid) from participationhistory where" + range);
    for (const char* outcome : kOutcomes) {
        statements.push_back("select count(*) from participationhistory where " + std::string(outcome));
        statements.push_back("select count(*) from participationhistory where " + std::string(outcome) + " and" + range);
    }
    statements.push_back(kFeedbackSubjects + "where" + range);
    statements.push_back(kLoadDataset);
    statements.push_back(kOldDataset);
    statements.push_back(kLoadSubject);
    statements.push_back(kReOpen);
    for (const std::string& sql : statements) {
        sqlite3_stmt* plan = nullptr;
        if (sqlite3_prepare_v2(g_raw, ("explain query plan " + sql).c_str(), -1, &plan, nullptr) != SQLITE_OK) {
            std::cout << sql << ": " << sqlite3_errmsg(g_raw) << "\n";
            continue;
        }
        std::cout << sql << "\n";
        while (sqlite3_step(plan) == SQLITE_ROW)
            std::cout << "    " << Column(plan, 3) << "\n";
        sqlite3_finalize(plan);
    }
    std::cout << "\n";
}

} // namespace

BENCHMARK(BM_Participation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawParticipation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FeedbackAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawFeedbackAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FeedbackByDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawFeedbackByDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClosedLoadAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawClosedLoadAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawReOpen)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const fs::path folder = dir.filePath(QStringLiteral("registry")).toStdString();
    fs::copy(CachedRegistry(), folder, fs::copy_options::recursive);
    g_csvPath = dir.filePath(QStringLiteral("closed.csv")).toStdString();
    CQuorinDoc doc(g_ui);
    if (!quorin::bench::ConnectAsDemoAdministrator(doc, folder.string())) {
        std::cerr << "cannot connect to the demo registry\n";
        return 1;
    }
    g_doc = &doc;
    const std::string file = dalport::DatabaseFilePath(folder.string(), "Quorin");
    sqlite3_open(file.c_str(), &g_raw);
    sqlite3_busy_timeout(g_raw, 10000);
    dalport::RegisterEngineFunctions(g_raw);

    // The largest dataset by its feedback rows.
    sqlite3_stmt* largest = nullptr;
    sqlite3_prepare_v2(g_raw,
                       "select Irb, Dataset, count(*) from participationhistory group by Irb, Dataset order by count(*) "
                       "desc limit 1",
                       -1, &largest, nullptr);
    if (sqlite3_step(largest) == SQLITE_ROW) {
        g_irb = Column(largest, 0);
        g_dataset = Column(largest, 1);
        std::cout << "largest dataset: " << g_dataset << " under " << g_irb << ", " << sqlite3_column_int(largest, 2)
                  << " feedback rows\n\n";
    }
    sqlite3_finalize(largest);
    if (!LoadClosed(g_closedList, g_load)) {
        std::cerr << "cannot load the largest dataset\n";
        return 1;
    }

    PrintPlans();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* name : {"Participation", "FeedbackAll", "FeedbackByDate", "ClosedLoadAndSave", "ReOpen"}) {
        const double engine = reporter.times["BM_" + std::string(name)];
        const double raw = reporter.times["BM_Raw" + std::string(name)];
        if (raw > 0)
            std::cout << name << ": " << engine << " ms (aim under 1000 ms), raw SQLite " << raw
                      << " ms, engine / raw SQLite = " << engine / raw << "\n";
    }
    sqlite3_close(g_raw);
    return 0;
}
