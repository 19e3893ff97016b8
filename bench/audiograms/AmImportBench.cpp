// The Audiogram Manager search and import in a 100,000-subject demo registry: the
// three search statements of the search dialog and ImportNewestAmAudiogram (the newest
// test with its four reads and a composite of ten tests of 20 symbols), through the
// document and its session against the same statements run straight on SQLite at their
// best (prepared once and reused, the same indexes). Aim: ratio at most 2.

#include "bench/RatioReporter.h"
#include "bench/common/BenchRegistry.h"
#include "bench/audiograms/RawClinicTestReads.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "audiograms/store/AmSearch.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "dalport/Registry.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

using quorin::bench::RawProcedures;
using quorin::bench::SilentUserInterface;

namespace {

constexpr int kSubjects = 100000;
constexpr int kTests = 10;
constexpr int kPointsPerTest = 20;
constexpr int kUnit = 900000002; // no demo patient has it
const char* const kLast = "COMPOSITE";
const char* const kFirst = "TEN";
const char* const kBirth = "03/03/1980";

void Exec(const std::string& folder, const char* database, const std::string& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(dalport::DatabaseFilePath(folder, database).c_str(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open the registry");
    dalport::RegisterEngineFunctions(db);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("filling the clinic tests failed: " + error);
}

// One clinic patient of ten tests in two years, added to the demo.
void AddClinicPatient(const std::string& folder)
{
    const std::string unit = std::to_string(kUnit);
    const std::string mine = " from info where PatientNum = " + unit + ";";
    Exec(folder, "Aud",
         "create temp table n as with recursive c(i) as (select 1 union all select i + 1 from c "
         "where i < " + std::to_string(kPointsPerTest) + ") select i from c;"
         "insert into info (PatientNum, Date, Birthdate, LastName, FirstName, Testedby) select " + unit
         + ", date('2024-01-01', '+' || (i * 2) || ' months') || ' 09:30:00.000', '1980-03-03 00:00:00.000', '"
         + kLast + "', '" + kFirst + "', 'clinic ' || i from n where i <= " + std::to_string(kTests) + ";"
         "insert into Other (PatientIndex, Reliability, Method) select PatientIndex, 1, 2" + mine
         + "insert into Immit (PatientIndex, TympNormR, TympNormL) select PatientIndex, 1, 5" + mine
         + "insert into Impress (PatientIndex, normal_r, mixed_l) select PatientIndex, 1, 1" + mine
         + "insert into Special (PatientIndex, tinnitus_r) select PatientIndex, 1" + mine
         + "insert into Speech (Patientindex, lev1a, mata) select PatientIndex, 4146, 3" + mine
         + "insert into newpoints (patientindex, x, y, symbol, mask) select f.PatientIndex, p.i % 11, "
           "5 + p.i, 1 + (p.i % 12), 0 from info f, n p where f.PatientNum = " + unit + ";");
}

// A demo registry of its own, made once and kept between runs.
const std::string& TheRegistry()
{
    static const std::string folder =
        quorin::bench::KeptDemoRegistry(kSubjects, "amimport-" + std::to_string(kSubjects), AddClinicPatient);
    return folder;
}

struct Document {
    SilentUserInterface ui;
    CQuorinDoc doc{ui};
    Document()
    {
        quorin::bench::ConnectAsDemoAdministrator(doc, TheRegistry());
        if (!doc.ConnectAud())
            throw std::runtime_error("no Aud session");
    }
};

// The dialog's statement through the session, every row read as the dialog reads it.
void Search(benchmark::State& state, const QString& unit, const QString& birth)
{
    Document d;
    const QString sql = quorin::am::SearchQuery(unit, QString::fromLatin1(kLast), QString::fromLatin1(kFirst), birth);
    MyADO& aud = d.doc.m_dbAud;
    for (auto _ : state) {
        int rows = 0;
        if (!quorin::RunText(aud, sql))
            state.SkipWithError("the search failed");
        for (; !aud.IsEOF(); aud.MoveNext(), ++rows) {
            benchmark::DoNotOptimize(aud.GetStringField("Last"));
            benchmark::DoNotOptimize(aud.GetStringField("First"));
            benchmark::DoNotOptimize(aud.GetIntField("Unit"));
            benchmark::DoNotOptimize(aud.GetStringField("Birth"));
        }
        if (rows != 1)
            state.SkipWithError("the patient is not found once");
    }
}

const char* const kRawHead =
    "SELECT DISTINCT LastName, FirstName, PatientNum, convert101(BirthDate, 10) FROM info WHERE ";
const char* const kRawTail = " ORDER BY LastName, FirstName LIMIT 300";

void RawSearch(benchmark::State& state, const std::string& where, const std::vector<std::string>& values)
{
    RawProcedures aud(TheRegistry(), "Aud");
    const std::string sql = kRawHead + where + kRawTail;
    for (auto _ : state)
        if (aud.Run(sql, values) != 1)
            state.SkipWithError("the patient is not found once");
}

void BM_SearchByUnit(benchmark::State& state) { Search(state, QString::number(kUnit), QString()); }
void BM_SearchByUnitRawSqlite(benchmark::State& state)
{
    RawSearch(state, "PatientNum = ?", {std::to_string(kUnit)});
}
void BM_SearchByNamesAndBirth(benchmark::State& state)
{
    Search(state, QStringLiteral("0"), QString::fromLatin1(kBirth));
}
void BM_SearchByNamesAndBirthRawSqlite(benchmark::State& state)
{
    RawSearch(state, "LastName LIKE ? AND FirstName LIKE ? AND BirthDate = ?",
              {std::string(kLast) + "%", std::string(kFirst) + "%", "1980-03-03 00:00:00.000"});
}
void BM_SearchByNames(benchmark::State& state) { Search(state, QString(), QString()); }
void BM_SearchByNamesRawSqlite(benchmark::State& state)
{
    RawSearch(state, "LastName LIKE ? AND FirstName LIKE ?", {std::string(kLast) + "%", std::string(kFirst) + "%"});
}

void BM_ImportNewestAmAudiogram(benchmark::State& state)
{
    Document d;
    d.doc.m_subject.Unit = QString::number(kUnit);
    for (auto _ : state) {
        d.doc.m_audCurrent.ResetAudRecord(true);
        if (d.doc.ImportNewestAmAudiogram() != 1 || !d.doc.m_audCurrent.Info.Composite)
            state.SkipWithError("the import did not come in");
    }
}

void BM_ImportNewestAmAudiogramRawSqlite(benchmark::State& state)
{
    RawProcedures aud(TheRegistry(), "Aud");
    const std::string unit = std::to_string(kUnit);
    for (auto _ : state) {
        aud.Run("SELECT PatientIndex FROM info WHERE PatientNum = ? ORDER BY Date DESC, PatientIndex DESC", {unit});
        const std::string i = aud.First();
        ReadClinicTestRaw(aud, i);
        // The composite: the patient and the test's date, the tests within the limit,
        // and each test's symbols.
        aud.Run("SELECT PatientNum, convert101(BirthDate, 10), convert101(Date, 10) FROM info WHERE PatientIndex = ?",
                {i});
        aud.Run("SELECT PatientIndex FROM info WHERE PatientNum = ? AND CAST(strftime('%Y', '2025-09-01') AS INT) - "
                "CAST(strftime('%Y', Date) AS INT) < 6 ORDER BY Date DESC, PatientIndex DESC", {unit});
        for (int n = 0; n < kTests; ++n)
            aud.Run("SELECT x, y, symbol, mask FROM newpoints WHERE patientindex = ? ORDER BY symbol, x",
                    {std::to_string(std::stoi(i) - n)});
    }
}

BENCHMARK(BM_SearchByUnit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchByUnitRawSqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchByNamesAndBirth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchByNamesAndBirthRawSqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchByNames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchByNamesRawSqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportNewestAmAudiogram)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportNewestAmAudiogramRawSqlite)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TheRegistry();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    std::printf("\n%d subjects; one clinic patient with %d tests of %d symbols:\n", kSubjects, kTests, kPointsPerTest);
    for (const char* name : {"SearchByUnit", "SearchByNamesAndBirth", "SearchByNames", "ImportNewestAmAudiogram"}) {
        const std::string engine = std::string("BM_") + name;
        const std::string raw = engine + "RawSqlite";
        if (t.count(engine) && t.count(raw) && t[raw] > 0)
            std::printf("%-24s %9.1f us   raw SQLite %9.1f us   ratio %.2f (aim: at most 2)\n", name, t[engine],
                        t[raw], t[engine] / t[raw]);
    }
    benchmark::Shutdown();
    return 0;
}
