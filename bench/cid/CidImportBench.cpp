// CID Import on the 100,000-subject demo registry (about 3,000 implanted subjects) with
// CID grown to 100,000 patients. Three ways over the same subjects:
// - the command's run: the bulk runner with one CID session (candidates, checks, a
//   transaction, load, import and save per subject);
// - the same job with a new CID session per subject, as each import once logged in;
// - a plain loop without the runner: load by id, import on one session, save.
// And, for scale, a plain load and save of the same subjects without any import.
// Prints subjects per second and the runner's cost per subject against the plain loop
// (aim: at most 1.5).

#include "bench/RatioReporter.h"
#include "bench/common/BenchRegistry.h"

#include "document/CBulkUpdate.h"
#include "document/CQuorinDoc.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "implants/store/CidAccess.h"
#include "implants/store/CidImportJob.h"

#include "dalport/Registry.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>

namespace {

using quorin::bench::SilentUserInterface;

constexpr int kSubjects = 100000;
constexpr int kCidPatients = 100000;

void Exec(sqlite3* db, const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string error = message ? message : "";
        sqlite3_free(message);
        throw std::runtime_error(error);
    }
}

// CID grown with patients the registry does not know (units above every demo unit),
// each with a fitting, a device and a speech row, so that every CID table grows.
void GrowCid(const std::string& folder)
{
    std::cerr << "growing CID to " << kCidPatients << " patients...\n";
    sqlite3* db = nullptr;
    if (sqlite3_open(dalport::DatabaseFilePath(folder, "CID").c_str(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open CID");
    dalport::RegisterEngineFunctions(db); // the TSQL collation of the text columns
    Exec(db, "BEGIN");
    Exec(db, "WITH RECURSIVE n(i) AS (SELECT (SELECT count(*) FROM patient) + 1 UNION ALL SELECT i + 1 FROM n "
             "WHERE i < " + std::to_string(kCidPatients) + ") INSERT INTO patient (Lastname, Firstname, Dob, Unit, "
             "DegreePriorLeft) SELECT 'Cidonly' || i, 'Pat', '1980-01-01 00:00:00.000', CAST(80000000 + i AS TEXT), "
             "'Severe' FROM n");
    Exec(db, "INSERT INTO external (PatientId, Processor, DateFit) SELECT PatientId, 'Freedom', "
             "'2012-01-01 00:00:00.000' FROM patient WHERE Lastname LIKE 'Cidonly%'");
    Exec(db, "INSERT INTO \"Internal\" (PatientId, Ear, Device, SurgeryDate) SELECT PatientId, 'Left', 'Nucleus', "
             "'2011-01-01 00:00:00.000' FROM patient WHERE Lastname LIKE 'Cidonly%'");
    Exec(db, "INSERT INTO speech (patientid, type, name, score, time, Ear, testtype) SELECT PatientId, 'Word', "
             "'CNC', 50, 6, 'Left', 2 FROM patient WHERE Lastname LIKE 'Cidonly%'");
    Exec(db, "COMMIT");
    sqlite3_close(db);
}

// The demo registry with the grown CID, made once and kept between runs.
const std::string& Registry()
{
    static const std::string folder = quorin::bench::KeptDemoRegistry(
        kSubjects, "cid-" + std::to_string(kSubjects) + "-" + std::to_string(kCidPatients), GrowCid);
    return folder;
}

std::unique_ptr<CQuorinDoc> Connected(quorin::UserInterface& ui)
{
    auto doc = std::make_unique<CQuorinDoc>(ui);
    if (!quorin::bench::ConnectAsDemoAdministrator(*doc, Registry()))
        throw std::runtime_error("the demo registry refused the login");
    return doc;
}

// The subjects a run imports, with their CID patients, found as the command finds them.
std::vector<CSubjectLink> KeptSubjects()
{
    static const std::vector<CSubjectLink> kept = [] {
        SilentUserInterface ui;
        auto doc = Connected(ui);
        MyADO cid;
        quorin::ConnectCid(*doc, cid);
        quorin::CidImportJob job(cid);
        std::vector<CSubjectLink> candidates;
        std::vector<CSubjectLink> out;
        job.Candidates(*doc, candidates);
        for (CSubjectLink& link : candidates)
            if (!job.Check(*doc, link))
                out.push_back(link);
        return out;
    }();
    return kept;
}

// CID Import's job, but every import logs in to CID on its own.
class SessionPerSubjectJob : public quorin::CidImportJob {
public:
    using CidImportJob::CidImportJob;
    std::optional<QString> Update(CQuorinDoc& document, const CSubjectLink& link) override
    {
        if (!document.ImportCiFromCid(link.PatientId))
            return QString::fromLatin1(quorin::kReasonCidReadFailed);
        if (document.m_ciData.HasCiData == 1 && !document.SaveSubject())
            return QString::fromLatin1(quorin::kReasonSaveFailed);
        return std::nullopt;
    }
};

std::map<std::string, int>& SubjectsPerIteration()
{
    static std::map<std::string, int> n;
    return n;
}

void Finish(benchmark::State& state, const char* name, int subjects)
{
    SubjectsPerIteration()[name] = subjects;
    state.counters["subjects/s"] = benchmark::Counter(subjects, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_CidImportRunner(benchmark::State& state)
{
    SilentUserInterface ui;
    auto doc = Connected(ui);
    int committed = 0;
    for (auto _ : state) {
        const std::optional<quorin::BulkResult> result = quorin::RunCidImport(*doc);
        committed = result ? result->Count() : 0;
    }
    if (committed != int(KeptSubjects().size()))
        state.SkipWithError("not every subject was committed");
    Finish(state, "BM_CidImportRunner", committed);
}

void BM_CidImportSessionPerSubject(benchmark::State& state)
{
    SilentUserInterface ui;
    auto doc = Connected(ui);
    int committed = 0;
    for (auto _ : state) {
        MyADO cid;
        quorin::ConnectCid(*doc, cid);
        SessionPerSubjectJob job(cid);
        quorin::CBulkUpdate runner(*doc);
        committed = runner.Run(job).Count();
    }
    Finish(state, "BM_CidImportSessionPerSubject", committed);
}

void BM_PlainLoadImportSave(benchmark::State& state)
{
    SilentUserInterface ui;
    auto doc = Connected(ui);
    const std::vector<CSubjectLink> kept = KeptSubjects();
    int saved = 0;
    for (auto _ : state) {
        MyADO cid;
        quorin::ConnectCid(*doc, cid);
        doc->Interactive = 0;
        saved = 0;
        for (const CSubjectLink& link : kept) {
            doc->LoadSubjectById(link.SubjectId);
            if (doc->ImportCiFromCid(link.PatientId, &cid) && doc->SaveSubject())
                ++saved;
        }
        doc->Interactive = 1;
    }
    Finish(state, "BM_PlainLoadImportSave", saved);
}

void BM_PlainLoadSave(benchmark::State& state)
{
    SilentUserInterface ui;
    auto doc = Connected(ui);
    const std::vector<CSubjectLink> kept = KeptSubjects();
    int saved = 0;
    for (auto _ : state) {
        doc->Interactive = 0;
        saved = 0;
        for (const CSubjectLink& link : kept) {
            doc->LoadSubjectById(link.SubjectId);
            if (doc->SaveSubject())
                ++saved;
        }
        doc->Interactive = 1;
    }
    Finish(state, "BM_PlainLoadSave", saved);
}

BENCHMARK(BM_CidImportRunner)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CidImportSessionPerSubject)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainLoadImportSave)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainLoadSave)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Registry();
    std::fprintf(stderr, "%zu implanted subjects with exactly one CID patient\n", KeptSubjects().size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto perSubject = [&](const char* name) -> double {
        // The reported names carry the run's options ("/iterations:1/real_time").
        const std::string prefix = std::string(name) + "/";
        const int n = SubjectsPerIteration()[name];
        for (const auto& [reported, ms] : reporter.times)
            if ((reported == name || reported.rfind(prefix, 0) == 0) && n > 0)
                return ms / n;
        return 0.0;
    };
    std::printf("\nper subject (ms), %d subjects, CID %d patients:\n", kSubjects, kCidPatients);
    for (const char* name : {"BM_CidImportRunner", "BM_CidImportSessionPerSubject", "BM_PlainLoadImportSave",
                             "BM_PlainLoadSave"})
        if (perSubject(name) > 0)
            std::printf("  %-30s %7.3f ms   %7.0f subjects/s\n", name + 3, perSubject(name), 1000.0 / perSubject(name));
    if (perSubject("BM_PlainLoadImportSave") > 0) {
        std::printf("runner against the plain loop (aim at most 1.5): %.2f\n",
                    perSubject("BM_CidImportRunner") / perSubject("BM_PlainLoadImportSave"));
        std::printf("one CID session per subject against one per run: %.2f\n",
                    perSubject("BM_CidImportSessionPerSubject") / perSubject("BM_CidImportRunner"));
    }
    benchmark::Shutdown();
    return 0;
}
