// Opening and saving subjects through the document on a 100,000-subject demo registry,
// each against the same statements run straight on SQLite at their best (prepared once
// and reused, the same indexes). Prints, at the end, milliseconds per operation and the
// ratio to raw SQLite. Aims: under 0.2 ms per load, ratio at most 2.

#include "bench/RatioReporter.h"
#include "bench/common/BenchRegistry.h"
#include "RawProcedures.h"

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "rules/KvNumber.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>

using quorin::bench::RawProcedures;
using quorin::bench::SilentUserInterface;
using quorin::bench::StoredDate;

namespace {

constexpr int kSubjects = 100000;
constexpr int kLoads = 1000;
constexpr int kSaves = 200;

// Operations one iteration of each benchmark does, for the time per operation.
std::map<std::string, int>& OperationsPerIteration()
{
    static std::map<std::string, int> ops;
    return ops;
}

// The demo registry, made once and kept between runs.
const std::string& Registry()
{
    static const std::string folder = quorin::bench::KeptDemoRegistry(kSubjects);
    return folder;
}

std::vector<int> RandomIds(int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(1, kSubjects);
    std::vector<int> v;
    for (int i = 0; i < count; ++i)
        v.push_back(pick(random));
    return v;
}

const std::vector<int>& LoadIds()
{
    static const std::vector<int> ids = RandomIds(kLoads, 7);
    return ids;
}

const std::vector<int>& SaveIds()
{
    static const std::vector<int> ids = RandomIds(kSaves, 11);
    return ids;
}

struct Document {
    SilentUserInterface ui;
    CQuorinDoc doc{ui};
    explicit Document(const std::string& folder = Registry())
    {
        quorin::bench::ConnectAsDemoAdministrator(doc, folder);
    }
};

std::string T(const QString& q) { return q.toStdString(); }
std::string D(const QString& q) { return StoredDate(q.toStdString()); }
std::string N(long long n) { return std::to_string(n); }

// Name, first name and birth date of the subjects LoadSubject looks up.
struct NameKey {
    std::string last, first, birthUs, birthStored;
};

const std::vector<NameKey>& NameKeys()
{
    static const std::vector<NameKey> keys = [] {
        RawProcedures raw(Registry(), "Quorin");
        std::vector<NameKey> out;
        for (int id : LoadIds()) {
            NameKey k;
            raw.Run("SELECT Lastname FROM subjects WHERE SubjectId = ?", {N(id)});
            k.last = raw.First();
            raw.Run("SELECT Firstname FROM subjects WHERE SubjectId = ?", {N(id)});
            k.first = raw.First();
            raw.Run("SELECT convert101(Birthdate, 10) FROM subjects WHERE SubjectId = ?", {N(id)});
            k.birthUs = raw.First();
            k.birthStored = StoredDate(k.birthUs);
            out.push_back(k);
        }
        return out;
    }();
    return keys;
}

// What both loads read after the subject's own row: study, participation, audiogram,
// implant data and speech tests, as the document's one load does.
void RawLoadRest(RawProcedures& raw, const std::string& key)
{
    raw.Call("uspGetCurrentStudy", {key});
    raw.Call("uspGetParticDate", {key});
    raw.Call("uspGetTestId", {key});
    // The test id the load found decides the next reads, as in the document.
    const std::string testId = raw.First();
    raw.Call("uspLoadAudiogram", {testId});
    raw.Call("uspLoadAudPts", {testId});
    raw.Call("uspLoadCiData", {key});
    raw.Call("uspLoadCiDevices", {key});
    raw.Run("SELECT * FROM cispeech WHERE SubjectId = ?", {key});
    raw.Call("uspLoadSpeech", {key});
}

void BM_LoadSubjectById(benchmark::State& state)
{
    Document d;
    for (auto _ : state)
        for (int id : LoadIds())
            benchmark::DoNotOptimize(d.doc.LoadSubjectById(id));
    state.counters["ops"] = kLoads;
}

void BM_LoadSubjectByIdRawSqlite(benchmark::State& state)
{
    RawProcedures raw(Registry(), "Quorin");
    for (auto _ : state) {
        for (int id : LoadIds()) {
            const std::string key = N(id);
            raw.Call("uspLoadSubjectbyId", {key});
            RawLoadRest(raw, key);
        }
    }
    state.counters["ops"] = kLoads;
}

void BM_LoadSubjectByName(benchmark::State& state)
{
    Document d;
    const auto& keys = NameKeys();
    std::vector<std::array<QString, 3>> names;
    for (const NameKey& k : keys)
        names.push_back({QString::fromStdString(k.last), QString::fromStdString(k.first), QString::fromStdString(k.birthUs)});
    for (auto _ : state)
        for (const auto& n : names)
            benchmark::DoNotOptimize(d.doc.LoadSubject(QString(), n[0], n[1], n[2]));
    state.counters["ops"] = kLoads;
}

void BM_LoadSubjectByNameRawSqlite(benchmark::State& state)
{
    RawProcedures raw(Registry(), "Quorin");
    const auto& keys = NameKeys();
    for (auto _ : state) {
        for (const NameKey& k : keys) {
            raw.Call("uspLoadSubject", {"0", k.last, k.first, k.birthStored});
            RawLoadRest(raw, raw.First());
        }
    }
    state.counters["ops"] = kLoads;
}

// The statements SaveSubject sends for a loaded, unchanged subject, with the values the
// document binds, ready for raw SQLite.
struct RawSave {
    std::string id, zip, unit, birth, statusWord;
    bool audiogramManager = false;
    std::vector<std::string> subject;
    bool ciData = false, ciHistory = false;
    std::vector<std::string> history;
    std::vector<std::vector<std::string>> devices, ciSpeech, speechTests;
    bool audiogramStep = false;
};

RawSave RawSaveOf(CQuorinDoc& doc)
{
    const CSubject& s = doc.m_subject;
    RawSave r;
    r.id = N(s.SubjectID);
    r.zip = N(s.Zip.toInt());
    r.unit = T(s.Unit);
    r.birth = D(s.Birth);
    r.audiogramManager = quorin::sql::KvNumber(s.Unit).has_value();
    r.statusWord = s.Status == 0 ? "Yes" : s.Status == 1 ? "Declined" : "No";
    const QString returned = s.LetterReturned.toUpper() == QLatin1String("NR") ? QStringLiteral("01/01/1901")
                                                                               : s.LetterReturned;
    r.subject = {r.id, T(s.Lastname), T(s.Firstname), N(s.Unit.toInt()), D(s.Birth), T(s.Sex), T(s.Ethnicity),
                 T(s.Race), T(s.Address), T(s.City), T(s.State), r.zip, T(s.Phone1), T(s.Phone1Type), T(s.Phone2),
                 T(s.Phone2Type), T(s.Email), T(s.PrimaryLang), T(s.PatImpression),
                 D(s.DateEntry.isEmpty() ? s.DateInitial : s.DateEntry), D(doc.Today()), T(s.EnteredBy), N(s.Status),
                 D(s.DateInitial), D(s.DateLast.isEmpty() ? s.DateInitial : s.DateLast), T(s.Notes),
                 "10", // replaced by the zone the raw save reads
                 N(s.Longterm), N(s.Shortterm), N(s.Workday), N(s.Evenings), N(s.Weekends), N(s.Other),
                 T(s.Recruitment), T(s.ScreeningImpr), T(s.Parent), T(s.Contact), D(s.LetterSent), D(returned),
                 T(s.Bilingual), T(s.LossType), T(s.Cochlear), T(s.School), T(s.PastSpeech), T(s.CurrentSpeech),
                 T(s.CochlearImplant)};
    const CCiData& ci = doc.m_ciData;
    r.ciData = ci.HasCiData == 1;
    r.ciHistory = !ci.Devices.empty() || ci.HasHistoryValues();
    r.history = {r.id, N(ci.DurationPriorL), N(ci.DurationPriorR), T(ci.DegreePriorL), T(ci.DegreePriorR),
                 T(ci.NatureL), T(ci.NatureR), T(ci.EtiologyL), T(ci.EtiologyR), "0", "0", N(ci.HaTimeL),
                 N(ci.HaTimeR), N(ci.DurationUnaidedL), N(ci.DurationUnaidedR), T(ci.Processor1), T(ci.Processor2)};
    for (const CCiDevice& dv : ci.Devices)
        r.devices.push_back({r.id, T(dv.Ear), T(dv.Device), T(dv.Positioner), D(dv.SurgDate), D(dv.StimDate),
                             N(dv.AgeAtImplant), T(dv.Surgeon), T(dv.Hospital), T(dv.Status), D(dv.ExplantDate)});
    for (const CCiSpeech& cs : doc.m_ciSpeechList) {
        char score[32];
        std::snprintf(score, sizeof score, "%.2f", static_cast<double>(cs.Score));
        r.ciSpeech.push_back({r.id, T(cs.DataType), T(cs.TestType), T(cs.TestName), score, N(cs.TimeIS),
                              T(cs.Condition)});
    }
    for (const CSpeechTest& t : doc.m_speechTestList)
        r.speechTests.push_back({r.id, T(t.TestName), D(t.TestDate), T(t.AgeAtTest), T(t.TestedBy), T(t.Lab),
                                 T(t.Screening), T(t.RawScore), T(t.StandardScore), N(t.AgeEquivalent),
                                 T(t.Percentile), T(t.SD), T(t.Other), T(t.Comments), N(t.TestId)});
    r.audiogramStep = s.AudiogramClean != 1;
    return r;
}

// Saves the subjects of SaveIds, each loaded first (outside the timing).
void SaveEach(benchmark::State& state, const std::string& folder)
{
    Document d(folder);
    for (auto _ : state) {
        for (int id : SaveIds()) {
            state.PauseTiming();
            d.doc.LoadSubjectById(id);
            state.ResumeTiming();
            benchmark::DoNotOptimize(d.doc.SaveSubject());
        }
    }
}

void BM_SaveSubject(benchmark::State& state) { SaveEach(state, Registry()); }

// The same saves on a copy of the registry without the change history's triggers: what
// the log costs a save (aim: at most 1.3 times the save without it).
const std::string& RegistryWithoutLog()
{
    static const std::string folder =
        quorin::bench::KeptDemoRegistry(kSubjects, "demo-without-log", [](const std::string& registry) {
            const std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)> db(
                quorin::bench::OpenRawDatabase(registry, "Quorin"), &sqlite3_close_v2);
            std::vector<std::string> drops;
            if (sqlite3_exec(
                    db.get(), "SELECT 'DROP TRIGGER \"' || name || '\"' FROM sqlite_schema WHERE type = 'trigger'",
                    [](void* out, int, char** values, char**) {
                        static_cast<std::vector<std::string>*>(out)->push_back(values[0]);
                        return 0;
                    },
                    &drops, nullptr)
                    != SQLITE_OK
                || drops.empty())
                throw std::runtime_error("the registry has no change-history triggers to drop");
            for (const std::string& drop : drops)
                quorin::bench::ExecRaw(db.get(), drop);
        });
    return folder;
}

void BM_SaveSubjectWithoutLog(benchmark::State& state) { SaveEach(state, RegistryWithoutLog()); }

void BM_SaveSubjectRawSqlite(benchmark::State& state)
{
    std::vector<RawSave> saves;
    {
        Document d;
        for (int id : SaveIds()) {
            d.doc.LoadSubjectById(id);
            saves.push_back(RawSaveOf(d.doc));
        }
    }
    RawProcedures raw(Registry(), "Quorin");
    RawProcedures aud(Registry(), "Aud");
    for (auto _ : state) {
        for (RawSave& r : saves) {
            raw.Call("uspGetZone", {r.zip});
            r.subject[26] = raw.First() == "-1" ? "10" : raw.First();
            raw.Call("uspUpdateSubject", r.subject);
            if (r.audiogramManager)
                aud.Run("UPDATE info SET Velmar = ? WHERE PatientNum = ? AND Birthdate = ?", {r.statusWord, r.unit, r.birth});
            if (r.ciData) {
                raw.Run("BEGIN");
                raw.Call("uspDeleteCiData", {r.id});
                if (r.ciHistory)
                    raw.Call("uspWriteCiData", r.history);
                raw.Run("DELETE FROM CiDevice WHERE SubjectId = ?", {r.id});
                for (const auto& device : r.devices)
                    raw.Run("INSERT INTO CiDevice VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", device);
                raw.Run("COMMIT");
                raw.Run("BEGIN");
                raw.Run("DELETE FROM cispeech WHERE SubjectId = ?", {r.id});
                for (const auto& row : r.ciSpeech)
                    raw.Run("INSERT INTO cispeech VALUES (?, ?, ?, ?, ?, ?, ?)", row);
                raw.Run("COMMIT");
            }
            raw.Run("BEGIN");
            for (const auto& test : r.speechTests)
                raw.Call("uspUpdateSpeech", test);
            raw.Run("COMMIT");
            raw.Call("uspLoadSpeech", {r.id});
            if (r.audiogramStep)
                raw.Call("uspGetTestId", {r.id});
        }
    }
}

BENCHMARK(BM_LoadSubjectById)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSubjectByIdRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSubjectByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSubjectByNameRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSubject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSubjectRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSubjectWithoutLog)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Registry();
    OperationsPerIteration() = {{"BM_LoadSubjectById", kLoads}, {"BM_LoadSubjectByIdRawSqlite", kLoads},
                                {"BM_LoadSubjectByName", kLoads}, {"BM_LoadSubjectByNameRawSqlite", kLoads},
                                {"BM_SaveSubject", kSaves}, {"BM_SaveSubjectRawSqlite", kSaves},
                                {"BM_SaveSubjectWithoutLog", kSaves}};
    // CPU time as well: on a machine shared with other work the wall clock also counts
    // the waits for the processor and the disk.
    struct Reporter : RatioReporter {
        void ReportRuns(const std::vector<Run>& runs) override
        {
            for (const Run& r : runs)
                cpu[r.benchmark_name()] = r.GetAdjustedCPUTime();
            RatioReporter::ReportRuns(runs);
        }
        std::map<std::string, double> cpu;
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto line = [&](const char* name, const std::string& raw) {
        if (!reporter.times.count(name))
            return;
        auto& ops = OperationsPerIteration();
        std::printf("%-18s %7.3f ms (cpu %7.3f)", name + 3, reporter.times[name] / ops[name],
                    reporter.cpu[name] / ops[name]);
        if (reporter.times.count(raw) && reporter.times[raw] > 0 && reporter.cpu[raw] > 0)
            std::printf("   raw SQLite %7.3f ms (cpu %7.3f)   ratio %.2f (cpu %.2f)", reporter.times[raw] / ops[raw],
                        reporter.cpu[raw] / ops[raw], reporter.times[name] / reporter.times[raw],
                        reporter.cpu[name] / reporter.cpu[raw]);
        std::printf("\n");
    };
    std::printf("\n%d subjects, per operation (aims: a load under 0.2 ms, every ratio at most 2):\n", kSubjects);
    line("BM_LoadSubjectById", "BM_LoadSubjectByIdRawSqlite");
    line("BM_LoadSubjectByName", "BM_LoadSubjectByNameRawSqlite");
    line("BM_SaveSubject", "BM_SaveSubjectRawSqlite");
    std::printf("with the change history against without it (aim: at most 1.3):\n");
    line("BM_SaveSubject", "BM_SaveSubjectWithoutLog");
    benchmark::Shutdown();
    return 0;
}
