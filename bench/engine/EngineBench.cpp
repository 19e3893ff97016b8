// The same count query and the same point lookup through MyADO on the embedded engine
// and through raw SQLite, on a registry of 100,000 subjects. Raw SQLite keeps its
// prepared statements and binds the key, as a program that knows its statements would;
// the engine keeps its translations and prepared statements per statement shape. A third
// set looks up a new key written into the text each call, as the program sends its text
// queries: the engine reuses the shape's plan with the new value bound; raw SQLite binds
// the key to its one prepared statement (its best plan), or prepares each text anew.
// A last run sends a million texts of distinct shapes and shows the process's resident
// memory staying flat, the plan cache bounded. Prints ratios and times per operation.

#include "bench/RatioReporter.h"
#include "dalport/MyADO.h"
#include "dalport/Registry.h"
#include "dalport/embedded/PlanCache.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 100000;
constexpr const char* kCount = "select count(*) as num from subjects where status = 0";
constexpr const char* kLookup = "select lastname from subjects where subjectid = 47111";

const char* kSchema = R"(
CREATE TABLE subjects(subjectid INTEGER PRIMARY KEY, lastname TEXT COLLATE TSQL, firstname TEXT COLLATE TSQL,
                      birthdate DATETIME, status INTEGER, race TEXT COLLATE TSQL);
)";

class Registry {
public:
    Registry()
    {
        std::random_device rd;
        m_folder = (fs::temp_directory_path() / ("quorin-bench-" + std::to_string(getpid()) + "-" + std::to_string(rd())))
                       .string();
        dalport::CreateServer(m_folder, "admin", "bench-pw", {{"Quorin", kSchema, {}, {}}});
        sqlite3* db = nullptr;
        sqlite3_open(dalport::DatabaseFilePath(m_folder, "Quorin").c_str(), &db);
        dalport::RegisterEngineFunctions(db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO subjects VALUES (?1, ?2, 'First', '1980-01-01 00:00:00.000', ?3, 'White')", -1,
                           &insert, nullptr);
        for (int i = 1; i <= kRows; ++i) {
            const std::string name = "Name" + std::to_string(i);
            sqlite3_bind_int(insert, 1, i);
            sqlite3_bind_text(insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, i % 4);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    ~Registry()
    {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
    const std::string& folder() const { return m_folder; }

private:
    std::string m_folder;
};

Registry& registry()
{
    static Registry r;
    return r;
}

void viaMyADO(benchmark::State& state, const char* sql, const char* column)
{
    MyADO db;
    if (!db.SetDataSource(registry().folder().c_str(), "admin", "bench-pw", "Quorin")) {
        state.SkipWithError("cannot connect");
        return;
    }
    for (auto _ : state) {
        db.RunTextQuery(sql);
        benchmark::DoNotOptimize(db.GetStringField(column));
    }
}

// Raw SQLite on the registry's file, with the engine's functions and collation.
sqlite3* openRaw()
{
    sqlite3* db = nullptr;
    sqlite3_open(dalport::DatabaseFilePath(registry().folder(), "Quorin").c_str(), &db);
    dalport::RegisterEngineFunctions(db);
    return db;
}

// One run of a prepared statement: its first row's first column read as the program
// reads it, then reset.
void runRaw(sqlite3_stmt* stmt)
{
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(stmt, 0);
        benchmark::DoNotOptimize(std::string(t ? reinterpret_cast<const char*>(t) : ""));
    }
    sqlite3_reset(stmt);
}

// Raw SQLite with the statement prepared once and reset after each run.
void viaRawSqlite(benchmark::State& state, const char* sql)
{
    sqlite3* db = openRaw();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    for (auto _ : state)
        runRaw(stmt);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

std::string lookupOf(int key) { return "select lastname from subjects where subjectid = " + std::to_string(key); }

// The plan cache as the last engine run left it, before its session closed.
dalport::embedded::PlanCacheFigures g_cacheSeen;

void notePlanCache() { g_cacheSeen = dalport::embedded::planCacheFigures(); }

// The process's resident memory, in kB.
long residentKb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A new key in the text each call.
void newLiteralViaMyADO(benchmark::State& state)
{
    MyADO db;
    if (!db.SetDataSource(registry().folder().c_str(), "admin", "bench-pw", "Quorin")) {
        state.SkipWithError("cannot connect");
        return;
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> key(1, kRows);
    for (auto _ : state) {
        db.RunTextQuery(lookupOf(key(random)).c_str());
        benchmark::DoNotOptimize(db.GetStringField("lastname"));
    }
    notePlanCache();
}

// Raw SQLite at its best: one prepared statement, the new key bound each call.
void newLiteralViaRawBound(benchmark::State& state)
{
    sqlite3* db = openRaw();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "select lastname from subjects where subjectid = ?1", -1, &stmt, nullptr);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> key(1, kRows);
    for (auto _ : state) {
        sqlite3_bind_int(stmt, 1, key(random));
        runRaw(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

// Texts of distinct shapes, one after another in one session: the resident memory after
// each tenth of the run.
void distinctShapes(long count)
{
    MyADO db;
    if (!db.SetDataSource(registry().folder().c_str(), "admin", "bench-pw", "Quorin"))
        return;
    std::cout << "\n" << count << " texts of distinct shapes, resident memory:";
    const long tenth = std::max(1L, count / 10);
    for (long i = 0; i < count; ++i) {
        const std::string sql = "select lastname as c" + std::to_string(i) + " from subjects where subjectid = "
            + std::to_string(i % kRows + 1);
        db.RunTextQuery(sql.c_str());
        if ((i + 1) % tenth == 0) {
            const auto figures = dalport::embedded::planCacheFigures();
            std::cout << "\n  after " << (i + 1) << ": " << residentKb() / 1024.0 << " MB resident, plan cache "
                      << figures.variants << " plans, " << figures.bytes / 1024.0 << " kB" << std::flush;
        }
    }
    std::cout << "\n";
}

void newLiteralViaRawSqlite(benchmark::State& state)
{
    sqlite3* db = openRaw();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> key(1, kRows);
    for (auto _ : state) {
        const std::string sql = lookupOf(key(random));
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        runRaw(stmt);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
}

void BM_Count_MyADO(benchmark::State& s) { viaMyADO(s, kCount, "num"); }
void BM_Count_RawSqlite(benchmark::State& s) { viaRawSqlite(s, kCount); }
void BM_Lookup_MyADO(benchmark::State& s) { viaMyADO(s, kLookup, "lastname"); }
void BM_Lookup_RawSqlite(benchmark::State& s) { viaRawSqlite(s, kLookup); }
void BM_LookupNewLiteral_MyADO(benchmark::State& s) { newLiteralViaMyADO(s); }
void BM_LookupNewLiteral_RawSqlite(benchmark::State& s) { newLiteralViaRawSqlite(s); }
void BM_LookupNewLiteral_RawBound(benchmark::State& s) { newLiteralViaRawBound(s); }

BENCHMARK(BM_Count_MyADO);
BENCHMARK(BM_Count_RawSqlite);
BENCHMARK(BM_Lookup_MyADO);
BENCHMARK(BM_Lookup_RawSqlite);
BENCHMARK(BM_LookupNewLiteral_MyADO);
BENCHMARK(BM_LookupNewLiteral_RawSqlite);
BENCHMARK(BM_LookupNewLiteral_RawBound);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    registry();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto line = [&](const char* what, const char* engine, const char* raw, const char* aim) {
        const double e = reporter.times[engine];
        const double r = reporter.times[raw];
        std::printf("%s: MyADO %.2f us/op, raw SQLite %.2f us/op, ratio %.2f%s\n", what, e / 1e3, r / 1e3,
                    r > 0 ? e / r : 0.0, aim);
    };
    std::cout << "\n" << std::thread::hardware_concurrency() << " cores\n";
    line("count query                                ", "BM_Count_MyADO", "BM_Count_RawSqlite", " (aim <= 1.1)");
    line("point lookup, same statement reused        ", "BM_Lookup_MyADO", "BM_Lookup_RawSqlite", " (aim <= 1.5)");
    line("point lookup, a new literal each call      ", "BM_LookupNewLiteral_MyADO", "BM_LookupNewLiteral_RawBound",
         " (aim <= 1.5; raw binds it to one prepared statement)");
    line("  the same, raw SQLite preparing each text ", "BM_LookupNewLiteral_MyADO", "BM_LookupNewLiteral_RawSqlite",
         "");
    std::printf("plan cache after the new-literal run: %zu plans, %.1f kB (at most %zu per session)\n",
                g_cacheSeen.variants, g_cacheSeen.bytes / 1024.0, dalport::embedded::PlanCache::kCapacity);
    const char* shapes = std::getenv("QUORIN_BENCH_SHAPES");
    distinctShapes(shapes ? std::atol(shapes) : 1000000L);
    benchmark::Shutdown();
    return 0;
}
