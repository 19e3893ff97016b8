// The Dataset and IRB list on a 100,000-subject demo registry: the fill by request date,
// by IRB and open datasets only, each beside the same statements run straight on SQLite
// at their best (prepared once and reused, the schema's indexes in place). Prints, at the
// end, the time per fill and the ratio to raw SQLite. Aims: under 1 s per fill, ratio at
// most 2. Times are printed, never checked.

#include "../RatioReporter.h"
#include "bench/common/BenchRegistry.h"
#include "document/CQuorinDoc.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "dalport/Registry.h"
#include "document/CMemoryReportList.h"
#include "reports/query/DatasetReport.h"

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
const QString kFrom = QStringLiteral("1/1/2000");
const QString kTo = QStringLiteral("12/31/2030");
const char* kStoredFrom = "2000-01-01 00:00:00.000";
const char* kStoredTo = "2030-12-31 00:00:00.000";

// The demo registry the subject benchmarks use, made once and kept between runs; the
// fill changes it, so each run works on a copy of it.
std::string CachedRegistry() { return quorin::bench::KeptDemoRegistry(kSubjects); }

// Shows nothing, but prints each message, so that a failing run says why.
SilentUserInterface g_ui{SilentUserInterface::Answer::No, true};
CQuorinDoc* g_doc = nullptr;
sqlite3* g_raw = nullptr;

void Fill(benchmark::State& state, int order, bool openOnly)
{
    const quorin::DatasetReportOptions options{kFrom, kTo, order, openOnly};
    for (auto _ : state) {
        CMemoryReportList list;
        for (int c = 0; c < quorin::kDatasetColumns; ++c)
            list.InsertColumn(c, QString());
        if (!quorin::FillDatasetReport(*g_doc, list, options))
            state.SkipWithError("fill failed");
        state.counters["rows"] = list.GetItemCount();
    }
}

// The fill's statements on plain SQLite: each prepared once, then reset and rebound.
class RawStatements {
public:
    ~RawStatements()
    {
        for (auto& [sql, statement] : m_prepared)
            sqlite3_finalize(statement);
    }
    sqlite3_stmt* operator()(const std::string& sql, std::initializer_list<std::string> values)
    {
        sqlite3_stmt*& statement = m_prepared[sql];
        if (!statement && sqlite3_prepare_v2(g_raw, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            std::cerr << sqlite3_errmsg(g_raw) << "\n";
            std::exit(1);
        }
        sqlite3_reset(statement);
        int position = 1;
        for (const std::string& value : values)
            sqlite3_bind_text(statement, position++, value.c_str(), -1, SQLITE_TRANSIENT);
        return statement;
    }

private:
    std::map<std::string, sqlite3_stmt*> m_prepared;
};

const std::string kPurge = "delete from calllog where dataset not in (select dataset from dataset)";
const std::string kRequested =
    "select distinct dataset, dataset.irb, max(requestdate), convert101(max(requestdate)) as RDate from dataset inner "
    "join requesthistory on dataset.dataset = requesthistory.title where requestdate between ? and ? group by "
    "dataset, dataset.irb";
const std::string kSubjectCount =
    "select distinct dataset, dataset.irb, count(distinct subjectid) as num from dataset inner join requesthistory on "
    "dataset.dataset = requesthistory.title and dataset.irb = requesthistory.irb where requestdate between ? and ? and "
    "dataset = ? and dataset.irb = ? group by dataset, dataset.irb";
const std::string kContacted =
    "select count(*) as num from participationhistory where dataset = ? and irb = ? and contacted = 0";
const std::string kParticipated =
    "select count(*) as num from participationhistory where dataset = ? and irb = ? and participate = 0";
const std::string kReleased = "select count(*) as num from release where title = ? and irb = ?";

std::vector<std::string> PlannedStatements()
{
    return {kPurge, kRequested + " order by max(requestdate), dataset", kRequested + " order by dataset.irb, dataset",
            kSubjectCount + " order by dataset", kContacted, kParticipated, kReleased};
}

struct RawCount {
    std::string dataset, irb, date;
    int subjects = 0, contacted = 0, participated = 0;
};

std::string Column(sqlite3_stmt* statement, int column)
{
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

int CountOf(RawStatements& raw, const std::string& sql, const std::string& dataset, const std::string& irb)
{
    sqlite3_stmt* statement = raw(sql, {dataset, irb});
    return sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : 0;
}

// Each statement's plan as SQLite chooses it, bound with the first dataset's values,
// so a slow fill can be traced to the statement and index behind it.
void PrintPlans()
{
    sqlite3_stmt* first = nullptr;
    sqlite3_prepare_v2(g_raw, "select dataset, irb from dataset order by dataset limit 1", -1, &first, nullptr);
    std::string dataset, irb;
    if (sqlite3_step(first) == SQLITE_ROW) {
        dataset = Column(first, 0);
        irb = Column(first, 1);
    }
    sqlite3_finalize(first);
    for (const std::string& sql : PlannedStatements()) {
        sqlite3_stmt* plan = nullptr;
        if (sqlite3_prepare_v2(g_raw, ("explain query plan " + sql).c_str(), -1, &plan, nullptr) != SQLITE_OK)
            continue;
        const std::vector<std::string> values{kStoredFrom, kStoredTo, dataset, irb};
        const bool datesFirst = sql.find("between") != std::string::npos;
        for (int i = 1; i <= sqlite3_bind_parameter_count(plan); ++i)
            sqlite3_bind_text(plan, i, values[static_cast<std::size_t>(datesFirst ? i - 1 : i + 1)].c_str(), -1,
                              SQLITE_TRANSIENT);
        std::cout << sql << "\n";
        while (sqlite3_step(plan) == SQLITE_ROW)
            std::cout << "    " << Column(plan, 3) << "\n";
        sqlite3_finalize(plan);
    }
    std::cout << "\n";
}

void Raw(benchmark::State& state, int order, bool openOnly)
{
    RawStatements raw;
    const std::string orderBy = order == 1 ? " order by dataset.irb, dataset" : " order by max(requestdate), dataset";
    const std::string countOrder = order == 1 ? " order by dataset.irb, dataset" : " order by dataset";
    for (auto _ : state) {
        sqlite3_step(raw(kPurge, {}));

        std::vector<RawCount> requested;
        sqlite3_stmt* list = raw(kRequested + orderBy, {kStoredFrom, kStoredTo});
        while (sqlite3_step(list) == SQLITE_ROW)
            requested.push_back({Column(list, 0), Column(list, 1), Column(list, 3)});

        std::vector<RawCount> kept;
        for (const RawCount& candidate : requested) {
            sqlite3_stmt* count =
                raw(kSubjectCount + countOrder, {kStoredFrom, kStoredTo, candidate.dataset, candidate.irb});
            if (sqlite3_step(count) != SQLITE_ROW)
                continue;
            RawCount record{Column(count, 0), Column(count, 1), candidate.date};
            record.subjects = sqlite3_column_int(count, 2);
            kept.push_back(std::move(record));
        }

        int rows = 2;
        int subjects = 0;
        for (RawCount& record : kept) {
            record.contacted = CountOf(raw, kContacted, record.dataset, record.irb);
            record.participated = CountOf(raw, kParticipated, record.dataset, record.irb);
            const bool open = CountOf(raw, kReleased, record.dataset, record.irb) > 0;
            if (openOnly && !open)
                continue;
            ++rows;
            subjects += record.subjects;
        }
        benchmark::DoNotOptimize(subjects);
        state.counters["rows"] = rows;
    }
}

void BM_ByDate(benchmark::State& s) { Fill(s, 0, false); }
void BM_RawByDate(benchmark::State& s) { Raw(s, 0, false); }
void BM_ByIrb(benchmark::State& s) { Fill(s, 1, false); }
void BM_RawByIrb(benchmark::State& s) { Raw(s, 1, false); }
void BM_OpenOnly(benchmark::State& s) { Fill(s, 0, true); }
void BM_RawOpenOnly(benchmark::State& s) { Raw(s, 0, true); }

} // namespace

BENCHMARK(BM_ByDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawByDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ByIrb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawByIrb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawOpenOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const fs::path folder = dir.filePath(QStringLiteral("registry")).toStdString();
    fs::copy(CachedRegistry(), folder, fs::copy_options::recursive);
    CQuorinDoc doc(g_ui);
    if (!quorin::bench::ConnectAsDemoAdministrator(doc, folder.string())) {
        std::cerr << "cannot connect to the demo registry\n";
        return 1;
    }
    g_doc = &doc;
    const std::string file = dalport::DatabaseFilePath(folder.string(), "Quorin");
    sqlite3_open(file.c_str(), &g_raw);
    dalport::RegisterEngineFunctions(g_raw);

    PrintPlans();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // The times are kept in each benchmark's unit, milliseconds here.
    for (const char* name : {"ByDate", "ByIrb", "OpenOnly"}) {
        const double engine = reporter.times["BM_" + std::string(name)];
        const double raw = reporter.times["BM_Raw" + std::string(name)];
        if (raw > 0)
            std::cout << name << ": fill " << engine << " ms (aim under 1000 ms), raw SQLite " << raw
                      << " ms, engine / raw SQLite = " << engine / raw << " (aim at most 2)\n";
    }
    sqlite3_close(g_raw);
    return 0;
}
