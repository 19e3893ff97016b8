// The Change History window's list for one subject on the 100,000-subject demo registry
// with a year of activity in its log (generated: a million rows, every subject touched,
// one subject changed two thousand times), beside the same selection on plain SQLite.
// Aim: the window's list under 1 s for one subject. Times are printed, never checked.
#include "../RatioReporter.h"
#include "bench/common/BenchRegistry.h"
#include "dalport/Registry.h"
#include "document/CMemoryReportList.h"
#include "document/CQuorinDoc.h"
#include "reports/query/ChangeHistoryQuery.h"
#include "reports/query/ReportFill.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

namespace {

constexpr int kSubjects = 100000;
constexpr int kRows = 1000000;
constexpr int kBusySubject = 1;    // changed two thousand times in the year
constexpr int kBusyRows = 2000;
constexpr int kQuietSubject = 4242; // as often as most

struct Change {
    const char* table;
    const char* column;
};
constexpr Change kChanges[] = {{"subjects", "Lastname"}, {"subjects", "Address"},   {"subjects", "Phone1"},
                               {"subjects", "Notes"},    {"aud", "TestedBy"},       {"aud", "Comments"},
                               {"audpoints", "symbol"},  {"speech", "RawScore"},    {"participationhistory", "Contacted"},
                               {"CiDevice", "Status"},   {"subjects", "DateUpdate"}, {"calllog", "Notes"}};

// A year of staff saves and nightly imports, written straight into the log.
void WriteAYear(const std::string& folder)
{
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)> db(quorin::bench::OpenRawDatabase(folder, "Quorin"),
                                                                   &sqlite3_close_v2);
    quorin::bench::ExecRaw(db.get(), "BEGIN");
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(),
                           "INSERT INTO changelog (ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, "
                           "OldValue, NewValue, ChangeKind) VALUES (strftime('%Y-%m-%d %H:%M:%f', '2025-12-01', "
                           "?1 || ' seconds'), ?2, ?3, ?4, ?4, ?5, 'before', 'after', 'update')",
                           -1, &raw, nullptr)
        != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.get()));
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> insert(raw, &sqlite3_finalize);
    std::mt19937 random(2025);
    std::uniform_int_distribution<int> subject(1, kSubjects), second(0, 365 * 86400 - 1), change(0, 11), who(0, 3);
    const char* const staff[] = {"jsmith", "mgarcia", "klee", "admin"};
    for (int i = 0; i < kRows; ++i) {
        const Change& c = kChanges[change(random)];
        sqlite3_bind_int(insert.get(), 1, second(random));
        sqlite3_bind_text(insert.get(), 2, staff[who(random)], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 3, c.table, -1, SQLITE_STATIC);
        sqlite3_bind_int(insert.get(), 4, i < kBusyRows ? kBusySubject : subject(random));
        sqlite3_bind_text(insert.get(), 5, c.column, -1, SQLITE_STATIC);
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db.get()));
        sqlite3_reset(insert.get());
    }
    quorin::bench::ExecRaw(db.get(), "COMMIT");
}

const std::string& Registry()
{
    static const std::string folder = quorin::bench::KeptDemoRegistry(kSubjects, "demo-year-of-history", WriteAYear);
    return folder;
}

void Window(benchmark::State& state, int subject)
{
    quorin::bench::SilentUserInterface ui{quorin::bench::SilentUserInterface::Answer::No, true};
    CQuorinDoc doc(ui);
    if (!quorin::bench::ConnectAsDemoAdministrator(doc, Registry())) {
        state.SkipWithError("cannot log in");
        return;
    }
    for (auto _ : state) {
        CMemoryReportList list;
        for (int c = 0; c < quorin::kChangeHistoryColumns; ++c)
            list.InsertColumn(c, QString());
        if (!quorin::FillReport(doc, list, [subject](quorin::CReportQuery& q, CReportList& l) {
                quorin::BuildChangeHistory(q, l, subject);
            }))
            state.SkipWithError("fill failed");
        state.counters["rows"] = list.GetItemCount();
    }
}

void Raw(benchmark::State& state, int subject)
{
    sqlite3* db = quorin::bench::OpenRawDatabase(Registry(), "Quorin");
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT ChangeId, ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, "
                       "NewValue, ChangeKind FROM changelog WHERE SubjectId = ?1 ORDER BY ChangedAt DESC, ChangeId DESC",
                       -1, &select, nullptr);
    for (auto _ : state) {
        int rows = 0;
        sqlite3_bind_int(select, 1, subject);
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int c = 0; c < 10; ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(select, c));
            ++rows;
        }
        sqlite3_reset(select);
        state.counters["rows"] = rows;
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
}

void BM_WindowBusySubject(benchmark::State& s) { Window(s, kBusySubject); }
void BM_WindowBusySubjectRawSqlite(benchmark::State& s) { Raw(s, kBusySubject); }
void BM_WindowQuietSubject(benchmark::State& s) { Window(s, kQuietSubject); }
void BM_WindowQuietSubjectRawSqlite(benchmark::State& s) { Raw(s, kQuietSubject); }

BENCHMARK(BM_WindowBusySubject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowBusySubjectRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowQuietSubject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowQuietSubjectRawSqlite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Registry();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nthe window's list for one subject, a year of history (aim: under 1 s):\n");
    for (const char* name : {"BM_WindowBusySubject", "BM_WindowQuietSubject"}) {
        const std::string raw = std::string(name) + "RawSqlite";
        if (reporter.times.count(name) && reporter.times.count(raw) && reporter.times[raw] > 0)
            std::printf("%-22s %8.3f ms   raw SQLite %8.3f ms   ratio %.2f\n", name + 3, reporter.times[name],
                        reporter.times[raw], reporter.times[name] / reporter.times[raw]);
    }
    benchmark::Shutdown();
    return 0;
}
