// The Database Numbers, Numbers added per month and Demographics views on a
// 100,000-subject demo registry, all subjects and active ones only, each beside the same
// statements run straight on SQLite at their best (prepared once and reused, the
// schema's indexes in place). Demographics reads one grouped result per view and tallies
// it; its statement-per-cell form is timed beside it for comparison. Prints the plans of
// the raw statements, then the time per view and the ratio to raw SQLite. Aim: under
// 1 s per view. Times are printed, never checked.

#include "../RatioReporter.h"
#include "bench/common/BenchRegistry.h"
#include "document/CQuorinDoc.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoRegistry.h"
#include "dalport/Registry.h"
#include "document/CMemoryReportList.h"
#include "reports/query/DatabaseNumbersReport.h"
#include "reports/query/DemographicsReport.h"
#include "reports/query/MonthlyNumbersReport.h"
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

// The demo registry the subject benchmarks use, made once and kept between runs. These
// reports only read.
std::string CachedRegistry() { return quorin::bench::KeptDemoRegistry(kSubjects); }

// Shows nothing, but prints each message, so that a failing run says why.
SilentUserInterface g_ui{SilentUserInterface::Answer::No, true};
CQuorinDoc* g_doc = nullptr;
sqlite3* g_raw = nullptr;

void Fill(benchmark::State& state, int columns, const quorin::ReportBuilder& build)
{
    for (auto _ : state) {
        CMemoryReportList list;
        for (int c = 0; c < columns; ++c)
            list.InsertColumn(c, QString());
        if (!quorin::FillReport(*g_doc, list, build))
            state.SkipWithError("fill failed");
        state.counters["rows"] = list.GetItemCount();
    }
}

// The statements on plain SQLite, each prepared once and reused.
class RawStatements {
public:
    ~RawStatements()
    {
        for (auto& [sql, statement] : m_prepared)
            sqlite3_finalize(statement);
    }
    // Steps through every row; returns the sum of the last column (so nothing is
    // optimised away).
    long long Run(const std::string& sql)
    {
        sqlite3_stmt*& statement = m_prepared[sql];
        if (!statement && sqlite3_prepare_v2(g_raw, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            std::cerr << sqlite3_errmsg(g_raw) << "\n" << sql << "\n";
            std::exit(1);
        }
        sqlite3_reset(statement);
        long long sum = 0;
        const int last = sqlite3_column_count(statement) - 1;
        while (sqlite3_step(statement) == SQLITE_ROW)
            sum += sqlite3_column_int64(statement, last);
        return sum;
    }

private:
    std::map<std::string, sqlite3_stmt*> m_prepared;
};

// T-SQL of the reports in SQLite's words: the date part of datediff is a text, a number
// glued to a keyword gets its blank, GetDate() is the engine's getdate().
std::string Raw(const QString& tsql)
{
    std::string sql = tsql.toStdString();
    const auto replaceAll = [&sql](const std::string& from, const std::string& to) {
        for (std::size_t at = sql.find(from); at != std::string::npos; at = sql.find(from, at + to.size()))
            sql.replace(at, from.size(), to);
    };
    replaceAll("datediff(yy,", "datediff('yy',");
    replaceAll("datediff(mm,", "datediff('mm',");
    replaceAll("0group", "0 group");
    return sql;
}

std::vector<std::string> NumbersStatements(bool activeOnly)
{
    const char* const all[] = {
        "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where "
        "datediff(yy,birthdate, GetDate()) < 19",
        "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where "
        "datediff(yy,birthdate, GetDate()) >= 19",
        "select count(*) as num from aud",
        "select patimpression, count (patimpression) as num from subjects where datediff(yy,birthdate, GetDate()) < 19 "
        "group by patimpression order by patimpression",
        "select patimpression, count (patimpression) as num from subjects where datediff(yy,birthdate, GetDate()) >= "
        "19 group by patimpression order by patimpression",
        "select sex, count(sex) as num from subjects group by sex order by sex",
        "select ethnicity, sex, count(ethnicity) as num from subjects group by ethnicity,sex order by ethnicity,sex",
        "select race, sex, count(race) as num from subjects group by race,sex order by race,sex",
        "select  recruitment, count (recruitment) as num from subjects group by recruitment order by num desc, "
        "recruitment"};
    const char* const active[] = {
        "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where "
        "datediff(yy,birthdate, GetDate()) < 19 and status = 0",
        "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where "
        "datediff(yy,birthdate, GetDate()) >= 19  and status = 0",
        "select count(*) as num from aud inner join subjects on subjects.subjectid = aud.subjectid where status = 0",
        "select patimpression, count (patimpression) as num from subjects where datediff(yy,birthdate, GetDate()) < 19 "
        " and status = 0group by patimpression order by patimpression",
        "select patimpression, count (patimpression) as num from subjects where datediff(yy,birthdate, GetDate()) >= "
        "19  and status = 0group by patimpression order by patimpression",
        "select sex, count(sex) as num from subjects where status=0group by sex order by sex",
        "select ethnicity, sex, count(ethnicity) as num from subjects where status = 0 group by ethnicity,sex order by "
        "ethnicity,sex",
        "select race, sex, count(race) as num from subjects where status = 0 group by race,sex order by race,sex",
        "select  recruitment, count (recruitment) as num from subjects  where status = 0group by recruitment order by "
        "num desc, recruitment"};
    std::vector<std::string> statements{"select  count (*) as num from subjects"};
    for (int status = 0; status < 4; ++status)
        statements.push_back("select  count (*) as num from subjects where status = " + std::to_string(status));
    for (const char* sql : activeOnly ? active : all)
        statements.push_back(Raw(QString::fromLatin1(sql)));
    return statements;
}

std::vector<std::string> MonthlyStatements()
{
    return {Raw(QStringLiteral("select datediff(mm,dateofentry, getdate()) as months, count(datediff(mm,dateofentry, "
                               "getdate())) as num from subjects group by datediff(mm,dateofentry,getdate()) order by "
                               "months")),
            "select count(*) as num from subjects where dateofentry is null"};
}

// The report's per-cell statements of one view: 24 per race table, 12 for the ethnicity table.
std::vector<std::string> DemographicsStatements(int view, bool activeOnly)
{
    const char* const races[] = {"%%White%%", "%%Black%%",    "%%Asian%%",   "%%Indian%%",
                                 "%%Other%%", "%%Hawaiian%%", "NotReported", "%%"};
    const char* const ethnicities[] = {"Hispanic%%", "Not Hispanic%%", "NotReported", "%%"};
    std::vector<std::string> statements;
    const auto raceTable = [&](int filter) {
        for (int age = 0; age < 3; ++age)
            for (const char* pattern : races)
                statements.push_back(
                    Raw(quorin::DemographicsRaceSql(QString::fromLatin1(pattern), age, filter, activeOnly)));
    };
    if (view == 0)
        raceTable(quorin::kAnyEthnicity);
    else if (view == 1)
        for (int age = 0; age < 3; ++age)
            for (const char* pattern : ethnicities)
                statements.push_back(
                    Raw(quorin::DemographicsEthnicitySql(QString::fromLatin1(pattern), age, activeOnly)));
    else
        for (const int filter : {quorin::kHispanic, quorin::kNotHispanic, quorin::kEthnicityNotReported})
            raceTable(filter);
    return statements;
}

void RawRun(benchmark::State& state, const std::vector<std::string>& statements)
{
    RawStatements raw;
    for (auto _ : state) {
        long long sum = 0;
        for (const std::string& sql : statements)
            sum += raw.Run(sql);
        benchmark::DoNotOptimize(sum);
    }
}

void PrintPlans(const std::vector<std::string>& statements)
{
    for (const std::string& sql : statements) {
        sqlite3_stmt* plan = nullptr;
        if (sqlite3_prepare_v2(g_raw, ("explain query plan " + sql).c_str(), -1, &plan, nullptr) != SQLITE_OK)
            continue;
        std::cout << sql << "\n";
        while (sqlite3_step(plan) == SQLITE_ROW)
            std::cout << "    " << reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)) << "\n";
        sqlite3_finalize(plan);
    }
    std::cout << "\n";
}

void BM_Numbers(benchmark::State& s)
{
    Fill(s, 5, [](quorin::CReportQuery& q, CReportList& l) { quorin::BuildDatabaseNumbersList(q, l, false); });
}
void BM_RawNumbers(benchmark::State& s) { RawRun(s, NumbersStatements(false)); }
void BM_NumbersActive(benchmark::State& s)
{
    Fill(s, 5, [](quorin::CReportQuery& q, CReportList& l) { quorin::BuildDatabaseNumbersList(q, l, true); });
}
void BM_RawNumbersActive(benchmark::State& s) { RawRun(s, NumbersStatements(true)); }
void BM_Monthly(benchmark::State& s)
{
    Fill(s, 3, [](quorin::CReportQuery& q, CReportList& l) { quorin::BuildMonthlyNumbersList(q, l); });
}
void BM_RawMonthly(benchmark::State& s) { RawRun(s, MonthlyStatements()); }

// Demographics, the view (0 race, 1 ethnicity, 2 both) and active-only from the
// benchmark's arguments: the one grouped read and its tally.
void BM_Demographics(benchmark::State& s)
{
    const quorin::DemographicsOptions options{static_cast<int>(s.range(0)), s.range(1) != 0};
    Fill(s, 9, [options](quorin::CReportQuery& q, CReportList& l) { quorin::BuildDemographicsList(q, l, options); });
}
void BM_RawDemographics(benchmark::State& s)
{
    RawRun(s, {Raw(quorin::DemographicsTallySql(s.range(1) != 0))});
}
// The same views with one statement per cell, as the tally's reference.
void BM_DemographicsStatements(benchmark::State& s)
{
    const quorin::DemographicsOptions options{static_cast<int>(s.range(0)), s.range(1) != 0};
    Fill(s, 9, [options](quorin::CReportQuery& q, CReportList& l) {
        quorin::BuildDemographicsList(q, l, options, quorin::DemographicsCounting::Statements);
    });
}
void BM_RawDemographicsStatements(benchmark::State& s)
{
    RawRun(s, DemographicsStatements(static_cast<int>(s.range(0)), s.range(1) != 0));
}

const std::vector<std::vector<int64_t>> kViews{{0, 1, 2}, {0, 1}};

} // namespace

BENCHMARK(BM_Numbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumbersActive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawNumbersActive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Monthly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawMonthly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Demographics)->ArgsProduct(kViews)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawDemographics)->ArgsProduct(kViews)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DemographicsStatements)->ArgsProduct(kViews)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawDemographicsStatements)->ArgsProduct(kViews)->Unit(benchmark::kMillisecond);

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

    std::vector<std::string> planned = NumbersStatements(false);
    for (const std::string& sql : NumbersStatements(true))
        planned.push_back(sql);
    for (const std::string& sql : MonthlyStatements())
        planned.push_back(sql);
    planned.push_back(Raw(quorin::DemographicsTallySql(false)));
    planned.push_back(Raw(quorin::DemographicsTallySql(true)));
    planned.push_back(DemographicsStatements(2, true).front());
    PrintPlans(planned);

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // The times are kept in each benchmark's unit, milliseconds here.
    std::vector<std::string> names{"Numbers", "NumbersActive", "Monthly"};
    for (const char* form : {"Demographics", "DemographicsStatements"})
        for (const char* args : {"/0/0", "/0/1", "/1/0", "/1/1", "/2/0", "/2/1"})
            names.push_back(std::string(form) + args);
    for (const std::string& name : names) {
        const std::string engineName = "BM_" + name;
        const std::string rawName = "BM_Raw" + name;
        if (!reporter.times.count(engineName) || !reporter.times.count(rawName))
            continue;
        const double engine = reporter.times[engineName];
        const double raw = reporter.times[rawName];
        std::cout << name << ": view " << engine << " ms (aim under 1000 ms), raw SQLite " << raw
                  << " ms, engine / raw SQLite = " << (raw > 0 ? engine / raw : 0) << "\n";
    }
    sqlite3_close(g_raw);
    return 0;
}
