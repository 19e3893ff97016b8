// LoadSubjectById on 1,000 random subjects of a 100,000-subject demo registry, and the
// subject write, each against the same statements run straight on SQLite. Prints the
// ratios at the end; the aim is at most 2.

#include "bench/RatioReporter.h"
#include "RawProcedures.h"

#include "app/CQuorinDoc.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <random>

namespace fs = std::filesystem;
using quorin::bench::RawProcedures;
using quorin::bench::StoredDate;

namespace {

constexpr int kSubjects = 100000;
constexpr int kLoads = 1000;

class SilentUserInterface : public quorin::UserInterface {
public:
    Answer MessageBox(const QString&, Icon, Buttons buttons) override
    {
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void BringForward(Page) override {}
    int RunDialog(Dialog) override { return 2; }
    QString GetOpenFileName(const QString&) override { return {}; }
    void SetDocumentTitle(const QString&) override {}
};

// The demo registry is made once and kept between runs.
const std::string& Registry()
{
    static const std::string folder = [] {
        const fs::path path = fs::temp_directory_path() / "quorin-bench" / ("demo-" + std::to_string(kSubjects));
        if (!fs::exists(path / "master.db")) {
            std::cerr << "creating the demo registry (" << kSubjects << " subjects)...\n";
            fs::create_directories(path.parent_path());
            quorin::demo::CreateDemoRegistry(path.string(), kSubjects);
        }
        return path.string();
    }();
    return folder;
}

const std::vector<int>& RandomIds()
{
    static const std::vector<int> ids = [] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> pick(1, kSubjects);
        std::vector<int> v;
        for (int i = 0; i < kLoads; ++i)
            v.push_back(pick(random));
        return v;
    }();
    return ids;
}

struct Document {
    SilentUserInterface ui;
    CQuorinDoc doc{ui};
    Document()
    {
        const auto& admin = quorin::demo::demoStaffLogins().front();
        doc.m_strServer = QString::fromStdString(Registry());
        doc.m_strUserName = admin.login;
        doc.m_strPassword = admin.password;
        doc.OnNewDocument();
    }
};

void BM_LoadSubjectById(benchmark::State& state)
{
    Document d;
    for (auto _ : state)
        for (int id : RandomIds())
            benchmark::DoNotOptimize(d.doc.LoadSubjectById(id));
    state.SetItemsProcessed(state.iterations() * kLoads);
}

void BM_LoadSubjectRawSqlite(benchmark::State& state)
{
    RawProcedures raw(Registry(), "Quorin");
    for (auto _ : state) {
        for (int id : RandomIds()) {
            const std::string key = std::to_string(id);
            raw.Call("uspLoadSubjectbyId", {key});
            raw.Call("uspGetCurrentStudy", {key});
            raw.Call("uspGetParticDate", {key});
            raw.Call("uspGetTestId", {key});
            // The test id the load found decides the next reads, as in the document.
            const std::string testId = raw.First();
            raw.Call("uspLoadAudiogram", {testId});
            raw.Call("uspLoadAudPts", {testId});
            raw.Call("uspLoadCiData", {key});
            raw.Call("uspLoadCiDevices", {key});
            raw.Run("Select * from CiSpeech where SubjectId = " + key);
            raw.Call("uspLoadSpeech", {key});
        }
    }
    state.SetItemsProcessed(state.iterations() * kLoads);
}

void BM_WriteSubject(benchmark::State& state)
{
    Document d;
    d.doc.LoadSubjectById(RandomIds().front());
    for (auto _ : state)
        benchmark::DoNotOptimize(d.doc.WriteSubject());
}

void BM_WriteSubjectRawSqlite(benchmark::State& state)
{
    Document d;
    d.doc.LoadSubjectById(RandomIds().front());
    const CSubject& s = d.doc.m_subject;
    auto t = [](const QString& q) { return q.toStdString(); };
    auto date = [&](const QString& q) { return StoredDate(q.toStdString()); };
    const std::vector<std::string> values = {
        std::to_string(s.SubjectID), t(s.Lastname), t(s.Firstname), t(s.Unit), date(s.Birth), t(s.Sex),
        t(s.Ethnicity), t(s.Race), t(s.Address), t(s.City), t(s.State), t(s.Zip), t(s.Phone1),
        t(s.Phone1Type), t(s.Phone2), t(s.Phone2Type), t(s.Email), t(s.PrimaryLang), t(s.PatImpression),
        date(s.DateEntry), date(d.doc.Today()), t(s.EnteredBy), std::to_string(s.Status), date(s.DateInitial),
        date(s.DateLast), t(s.Notes), "10", std::to_string(s.Longterm), std::to_string(s.Shortterm),
        std::to_string(s.Workday), std::to_string(s.Evenings), std::to_string(s.Weekends),
        std::to_string(s.Other), t(s.Recruitment), t(s.ScreeningImpr), t(s.Parent), t(s.Contact),
        date(s.LetterSent), date(s.LetterReturned), t(s.Bilingual), t(s.LossType), t(s.Cochlear),
        t(s.School), t(s.PastSpeech), t(s.CurrentSpeech), t(s.CochlearImplant)};
    RawProcedures raw(Registry(), "Quorin");
    RawProcedures aud(Registry(), "Aud");
    const std::string audUpdate = "Update info set Velmar = 'No' where patientnum = " + t(s.Unit)
                                  + " and Birthdate = '" + date(s.Birth) + "'";
    for (auto _ : state) {
        raw.Call("uspGetZone", {t(s.Zip)});
        raw.Call("uspUpdateSubject", values);
        aud.Run(audUpdate);
    }
}

BENCHMARK(BM_LoadSubjectById)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSubjectRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSubject)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteSubjectRawSqlite)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Registry();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* a, const char* b) {
        if (reporter.times.count(a) && reporter.times.count(b) && reporter.times[b] > 0)
            std::cout << a << " / " << b << " = " << reporter.times[a] / reporter.times[b] << "\n";
    };
    ratio("BM_LoadSubjectById", "BM_LoadSubjectRawSqlite");
    ratio("BM_WriteSubject", "BM_WriteSubjectRawSqlite");
    benchmark::Shutdown();
    return 0;
}
