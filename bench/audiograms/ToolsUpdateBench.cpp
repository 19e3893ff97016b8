// Tools > Update over the 100,000-subject demo registry, as an ordinary staff member:
// - the check phase through the bulk runner (both registry lists read whole, one
//   newer-test question to the Audiogram Manager per subject), against the same
//   statements run straight on SQLite at their best (prepared once and reused, the
//   same indexes). Aim: ratio at most 2;
// - a whole run on a copy of the registry: the check phase's and the update phase's
//   subjects per second (each kept subject loaded, its clinic test imported and the
//   subject saved in one transaction).

#include "bench/RatioReporter.h"
#include "bench/common/BenchRegistry.h"

#include "document/CQuorinDoc.h"
#include "audiograms/store/ToolsUpdate.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "dalport/Registry.h"

#include <QDate>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSubjects = 100000;

// Answers Yes, shows nothing, and notes when each progress phase begins and ends.
class TimingUserInterface : public quorin::bench::SilentUserInterface {
public:
    Answer MessageBox(const QString& text, Icon icon, Buttons buttons) override
    {
        boxes << text;
        return SilentUserInterface::MessageBox(text, icon, buttons);
    }
    void BeginProgress(int total) override
    {
        begins.push_back(Clock::now());
        totals.push_back(total);
    }
    void EndProgress() override { ends.push_back(Clock::now()); }

    QStringList boxes;
    std::vector<Clock::time_point> begins, ends;
    std::vector<int> totals;
};

// The demo registry the other benchmarks use.
std::string CachedRegistry() { return quorin::bench::KeptDemoRegistry(kSubjects); }

// An ordinary staff member of the demo (not the administrator).
const quorin::demo::DemoStaffLogin& StaffLogin()
{
    for (const auto& login : quorin::demo::demoStaffLogins())
        if (login.status == 0)
            return login;
    return quorin::demo::demoStaffLogins().front();
}

struct Document {
    TimingUserInterface ui;
    CQuorinDoc doc{ui};
    explicit Document(const std::string& folder)
    {
        doc.m_strServer = QString::fromStdString(folder);
        doc.m_strUserName = QString::fromLatin1(StaffLogin().login);
        doc.m_strPassword = QString::fromLatin1(StaffLogin().password);
        doc.OnNewDocument();
        if (!doc.m_db.IsConnected())
            throw std::runtime_error("the demo registry refused the staff login");
    }
};

// The check phase alone: the runner with the job's candidates and check, keeping none.
class CheckOnly : public quorin::BulkJob {
public:
    bool Candidates(CQuorinDoc& d, std::vector<CSubjectLink>& out) override { return m_job.Candidates(d, out); }
    std::optional<QString> Check(CQuorinDoc& d, CSubjectLink& link) override
    {
        if (const std::optional<QString> reason = m_job.Check(d, link))
            return reason;
        ++kept;
        return QStringLiteral("kept");
    }
    std::optional<QString> Update(CQuorinDoc&, const CSubjectLink&) override { return QStringLiteral("unused"); }
    int kept = 0;

private:
    quorin::AmUpdateJob m_job;
};

int g_candidates = 0;
int g_kept = 0;

void BM_CheckPhase(benchmark::State& state)
{
    Document d(CachedRegistry());
    if (!d.doc.ConnectAud())
        state.SkipWithError("Aud refused the staff login");
    for (auto _ : state) {
        CheckOnly job;
        quorin::CBulkUpdate runner(d.doc);
        const quorin::BulkResult result = runner.Run(job);
        g_candidates = result.candidates;
        g_kept = job.kept;
    }
    state.counters["subjects"] = g_candidates;
    state.counters["newer"] = g_kept;
    state.counters["subjects/s"] = benchmark::Counter(double(g_candidates) * double(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}

class Raw {
public:
    explicit Raw(const std::string& folder)
    {
        if (sqlite3_open(dalport::DatabaseFilePath(folder, "Quorin").c_str(), &m_db) != SQLITE_OK)
            throw std::runtime_error("cannot open the registry");
        dalport::RegisterEngineFunctions(m_db);
        const std::string aud = dalport::DatabaseFilePath(folder, "Aud");
        sqlite3_exec(m_db, ("ATTACH DATABASE '" + aud + "' AS Aud").c_str(), nullptr, nullptr, nullptr);
    }
    ~Raw()
    {
        for (sqlite3_stmt* s : m_statements)
            sqlite3_finalize(s);
        sqlite3_close(m_db);
    }
    sqlite3_stmt* Prepare(const char* sql)
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        m_statements.push_back(s);
        return s;
    }

private:
    sqlite3* m_db = nullptr;
    std::vector<sqlite3_stmt*> m_statements;
};

struct RawLink {
    int subjectId;
    std::string unit;
    std::string date; // MM/DD/YYYY
};

// The same statements on SQLite: both procedure bodies read whole, then per subject the
// newer-test query with the next day (as stored) and the unit bound.
void BM_CheckPhaseRawSqlite(benchmark::State& state)
{
    Raw raw(CachedRegistry());
    sqlite3_stmt* withTest = raw.Prepare(
        "SELECT s.SubjectId, convert101(max(a.TestDate), 10) AS TestDate, s.Unit FROM subjects s "
        "JOIN aud a ON a.SubjectId = s.SubjectId WHERE s.Unit <> 0 GROUP BY s.SubjectId, s.Unit ORDER BY s.SubjectId");
    sqlite3_stmt* withoutTest = raw.Prepare(
        "SELECT s.SubjectId, s.Unit FROM subjects s WHERE s.Unit <> 0 AND NOT EXISTS "
        "(SELECT 1 FROM aud a WHERE a.SubjectId = s.SubjectId) ORDER BY s.SubjectId");
    sqlite3_stmt* newer = raw.Prepare("SELECT PatientIndex FROM Aud.info WHERE Date >= ? AND PatientNum = ?");
    int kept = 0;
    int candidates = 0;
    for (auto _ : state) {
        std::vector<RawLink> links;
        while (sqlite3_step(withTest) == SQLITE_ROW)
            links.push_back({sqlite3_column_int(withTest, 0),
                             reinterpret_cast<const char*>(sqlite3_column_text(withTest, 2)),
                             reinterpret_cast<const char*>(sqlite3_column_text(withTest, 1))});
        sqlite3_reset(withTest);
        while (sqlite3_step(withoutTest) == SQLITE_ROW)
            links.push_back({sqlite3_column_int(withoutTest, 0),
                             reinterpret_cast<const char*>(sqlite3_column_text(withoutTest, 1)), "01/01/1900"});
        sqlite3_reset(withoutTest);
        kept = 0;
        for (const RawLink& l : links) {
            const QDate day = QDate::fromString(QString::fromStdString(l.date), QStringLiteral("MM/dd/yyyy")).addDays(1);
            const std::string from = day.toString(QStringLiteral("yyyy-MM-dd")).toStdString() + " 00:00:00.000";
            sqlite3_bind_text(newer, 1, from.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(newer, 2, std::stoll(l.unit));
            if (sqlite3_step(newer) == SQLITE_ROW)
                ++kept;
            sqlite3_reset(newer);
        }
        candidates = int(links.size());
    }
    if (kept != g_kept && g_kept != 0)
        state.SkipWithError("raw SQLite kept another number of subjects");
    state.counters["subjects"] = candidates;
    state.counters["newer"] = kept;
}

double g_checkSeconds = 0, g_updateSeconds = 0;
int g_updated = 0, g_updateTotal = 0;

// A whole run on a fresh copy of the registry (made outside the timing).
void BM_WholeRunOnACopy(benchmark::State& state)
{
    const fs::path copy = fs::temp_directory_path() / "quorin-bench" / "toolsupdate-scratch";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(copy);
        fs::copy(CachedRegistry(), copy, fs::copy_options::recursive);
        auto* d = new Document(copy.string());
        state.ResumeTiming();
        const std::optional<quorin::ToolsUpdateResult> result = quorin::RunToolsUpdate(d->doc);
        state.PauseTiming();
        if (!result || d->ui.begins.size() != 2 || d->ui.ends.size() != 2) {
            state.SkipWithError("the run did not go through both phases");
        } else {
            using Seconds = std::chrono::duration<double>;
            g_checkSeconds = Seconds(d->ui.ends[0] - d->ui.begins[0]).count();
            g_updateSeconds = Seconds(d->ui.ends[1] - d->ui.begins[1]).count();
            g_updated = result->Count();
            g_updateTotal = d->ui.totals[1];
            if (!result->NotUpdated().empty())
                std::fprintf(stderr, "%zu subjects not updated, first: %d %s\n", result->NotUpdated().size(),
                             result->NotUpdated().front().subjectId,
                             result->NotUpdated().front().reason.toStdString().c_str());
        }
        delete d;
        fs::remove_all(copy);
        state.ResumeTiming();
    }
    state.counters["updated"] = g_updated;
    state.counters["check_s"] = g_checkSeconds;
    state.counters["update_s"] = g_updateSeconds;
}

BENCHMARK(BM_CheckPhase)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK(BM_CheckPhaseRawSqlite)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK(BM_WholeRunOnACopy)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CachedRegistry();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    std::printf("\n%d demo subjects, %d with a KV Number checked, %d with a newer clinic test:\n", kSubjects,
                g_candidates, g_kept);
    const char* check = "BM_CheckPhase/iterations:2";
    const char* raw = "BM_CheckPhaseRawSqlite/iterations:2";
    if (t.count(check) && t.count(raw) && t[raw] > 0)
        std::printf("check phase %8.2f s  %8.0f subjects/s   raw SQLite %8.2f s   ratio %.2f (aim: at most 2)\n",
                    t[check], g_candidates / t[check], t[raw], t[check] / t[raw]);
    if (g_updateSeconds > 0)
        std::printf("whole run: check %.2f s, update %.2f s for %d of %d kept subjects: %.0f subjects/s updated\n",
                    g_checkSeconds, g_updateSeconds, g_updated, g_updateTotal, g_updated / g_updateSeconds);
    benchmark::Shutdown();
    return 0;
}
