// The audiogram history of one subject with 50 clinic and 50 registry tests of 20
// symbols each, in a 100,000-subject demo registry: building it through the document
// against the same statements run straight on SQLite at their best (prepared once and
// reused, the same indexes), then every page step to the oldest test and back.
// Aims: build ratio at most 2; a page step well under a screen refresh (16 ms).

#include "bench/RatioReporter.h"
#include "bench/common/BenchRegistry.h"
#include "bench/audiograms/RawClinicTestReads.h"

#include "document/CQuorinDoc.h"
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
constexpr int kTestsEach = 50;
constexpr int kPointsPerTest = 20;
constexpr int kUnit = 900000001; // no demo patient has it

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
        throw std::runtime_error("filling the history failed: " + error);
}

// A demo registry of its own (made once, kept between runs) and the subject in it with
// the long history.
struct Registry {
    std::string folder;
    int subjectId = 0;
};

// The subject with the long history: fifty registry tests and fifty clinic tests.
void AddLongHistory(const std::string& folder)
{
    const std::string n = std::to_string(kTestsEach);
    const std::string points = std::to_string(kPointsPerTest);
    const std::string unit = std::to_string(kUnit);
    Exec(folder, "Quorin",
         "insert into subjects (Lastname, Firstname, Birthdate, Unit) values ('HISTORY', 'LONG', "
         "'2010-04-09 00:00:00.000', " + unit + ");"
         "create temp table n as with recursive c(i) as (select 1 union all select i + 1 from c "
         "where i < " + n + " + 1) select i from c;"
         "insert into aud (SubjectId, TestDate, TestedBy) select (select max(SubjectId) from subjects), "
         "date('2011-01-01', '+' || (i * 2) || ' months') || ' 00:00:00.000', 'registry ' || i from n;"
         "insert into audpoints (TestId, symbol, xy, mask, recent, type) select a.TestId, "
         "1 + (p.i % 4), (p.i % 11) * 100 + 5 + p.i, 0, 1, 1 from aud a, n p "
         "where a.SubjectId = (select max(SubjectId) from subjects) and p.i <= " + points + ";");
    Exec(folder, "Aud",
         "create temp table n as with recursive c(i) as (select 1 union all select i + 1 from c "
         "where i < " + n + ") select i from c;"
         "insert into info (PatientNum, Date, LastName, FirstName, Testedby) select " + unit + ", "
         "date('2011-02-01', '+' || (i * 2) || ' months') || ' 00:00:00.000', 'HISTORY', 'LONG', "
         "'clinic ' || i from n;"
         "insert into Other (PatientIndex, Reliability, Method) select PatientIndex, 1, 2 from info "
         "where PatientNum = " + unit + ";"
         "insert into Immit (PatientIndex, TympNormR, TympNormL) select PatientIndex, 1, 5 from info "
         "where PatientNum = " + unit + ";"
         "insert into Impress (PatientIndex, normal_r, mixed_l) select PatientIndex, 1, 1 from info "
         "where PatientNum = " + unit + ";"
         "insert into Special (PatientIndex, tinnitus_r) select PatientIndex, 1 from info "
         "where PatientNum = " + unit + ";"
         "insert into Speech (Patientindex, lev1a, mata) select PatientIndex, 4146, 3 from info "
         "where PatientNum = " + unit + ";"
         "insert into newpoints (patientindex, x, y, symbol, mask) select f.PatientIndex, p.i % 11, "
         "5 + p.i, 1 + (p.i % 12), 0 from info f, n p where f.PatientNum = " + unit + " and p.i <= "
         + points + ";");
}

const Registry& TheRegistry()
{
    static const Registry registry = [] {
        Registry r{quorin::bench::KeptDemoRegistry(kSubjects, "history-" + std::to_string(kSubjects), AddLongHistory), 0};
        RawProcedures raw(r.folder, "Quorin");
        raw.Run("SELECT SubjectId FROM subjects WHERE Unit = ?", {std::to_string(kUnit)});
        r.subjectId = std::stoi(raw.First());
        return r;
    }();
    return registry;
}

struct Document {
    SilentUserInterface ui;
    CQuorinDoc doc{ui};
    Document()
    {
        quorin::bench::ConnectAsDemoAdministrator(doc, TheRegistry().folder);
        if (!doc.LoadSubjectById(TheRegistry().subjectId))
            throw std::runtime_error("the history subject does not load");
    }
};

void BM_BuildAudHistory(benchmark::State& state)
{
    Document d;
    for (auto _ : state) {
        d.doc.BuildAudHistory();
        if (d.doc.m_nHistoryCount != 2 * kTestsEach)
            state.SkipWithError("the history is not whole");
    }
}

// A list query prepared once: the first column of every row.
class RawList {
public:
    RawList(const std::string& folder, const char* database, const char* sql)
    {
        if (sqlite3_open(dalport::DatabaseFilePath(folder, database).c_str(), &m_db) != SQLITE_OK)
            throw std::runtime_error("cannot open the registry");
        dalport::RegisterEngineFunctions(m_db);
        if (sqlite3_prepare_v2(m_db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
    }
    ~RawList()
    {
        sqlite3_finalize(m_statement);
        sqlite3_close(m_db);
    }
    // At most limit values, as the document keeps at most that many.
    const std::vector<std::string>& Rows(const std::string& key, size_t limit)
    {
        m_rows.clear();
        sqlite3_bind_int64(m_statement, 1, std::stoll(key));
        while (m_rows.size() < limit && sqlite3_step(m_statement) == SQLITE_ROW)
            m_rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(m_statement, 0)));
        sqlite3_reset(m_statement);
        return m_rows;
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    std::vector<std::string> m_rows;
};

void BM_BuildAudHistoryRawSqlite(benchmark::State& state)
{
    RawProcedures quorin(TheRegistry().folder, "Quorin");
    RawProcedures aud(TheRegistry().folder, "Aud");
    RawList clinicTests(TheRegistry().folder, "Aud",
                        "SELECT PatientIndex FROM info WHERE PatientNum = ? ORDER BY Date DESC");
    // The body of uspGetAudHistoryTestIds.
    RawList registryTests(TheRegistry().folder, "Quorin",
                          "SELECT TestId FROM aud WHERE SubjectId = ?1 AND TestId <> (SELECT max(TestId) FROM aud "
                          "WHERE SubjectId = ?1) ORDER BY TestDate DESC, TestId DESC");
    const std::string subject = std::to_string(TheRegistry().subjectId);
    for (auto _ : state) {
        // The clinic's tests of the unit, newest first, then each one's five reads.
        for (const std::string& i : clinicTests.Rows(std::to_string(kUnit), kTestsEach)) {
            ReadClinicTestRaw(aud, i);
            aud.Run("SELECT x, y, symbol, mask FROM newpoints WHERE patientindex = ? ORDER BY symbol, x", {i});
        }
        // The registry's earlier tests, each with its symbols.
        for (const std::string& t : registryTests.Rows(subject, kTestsEach)) {
            quorin.Call("uspLoadHistoryAudiogram", {t});
            quorin.Call("uspLoadAudHistoryPts", {t});
        }
    }
}

void BM_PageToTheOldestAndBack(benchmark::State& state)
{
    Document d;
    d.doc.OnPagePrev(); // builds the history and shows the newest history test
    d.doc.OnPageHome();
    for (auto _ : state) {
        while (d.doc.m_nHistoryPos > 1)
            d.doc.OnPagePrev();
        while (d.doc.m_nHistoryPos <= d.doc.m_nHistoryCount)
            d.doc.OnPageNext();
        d.doc.OnPageHome();
    }
    state.counters["steps"] = 2 * d.doc.m_nHistoryCount + 1;
}

BENCHMARK(BM_BuildAudHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAudHistoryRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageToTheOldestAndBack)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TheRegistry();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    std::printf("\n%d subjects; one subject with %d clinic and %d registry tests of %d symbols:\n", kSubjects,
                kTestsEach, kTestsEach, kPointsPerTest);
    if (t.count("BM_BuildAudHistory") && t.count("BM_BuildAudHistoryRawSqlite") && t["BM_BuildAudHistoryRawSqlite"] > 0)
        std::printf("BuildAudHistory %8.3f ms   raw SQLite %8.3f ms   ratio %.2f (aim: at most 2)\n",
                    t["BM_BuildAudHistory"], t["BM_BuildAudHistoryRawSqlite"],
                    t["BM_BuildAudHistory"] / t["BM_BuildAudHistoryRawSqlite"]);
    if (t.count("BM_PageToTheOldestAndBack"))
        std::printf("page step       %8.4f ms   (%d steps per round; aim: well under 16 ms)\n",
                    t["BM_PageToTheOldestAndBack"] / (4 * kTestsEach + 1), 4 * kTestsEach + 1);
    benchmark::Shutdown();
    return 0;
}
