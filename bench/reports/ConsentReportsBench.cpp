// The Consent, letters-out, Contact and Letters reports on a 100,000-subject demo
// registry: each built into the in-memory list on the embedded engine, beside the same
// selections written for plain SQLite; the Consent window's list fill; the full Consent
// mail-merge file and PDF. Times are printed, never checked.

#include "../RatioReporter.h"
#include "bench/common/BenchRegistry.h"
#include "document/CQuorinDoc.h"
#include "database/demo/DemoRegistry.h"
#include "dalport/Registry.h"
#include "framework/ReportListCtrl.h"
#include "document/CMemoryReportList.h"
#include "reports/query/ConsentReport.h"
#include "reports/query/ContactReport.h"
#include "reports/query/CsvExport.h"
#include "reports/query/LettersReport.h"
#include "reports/ui/PrintList.h"
#include "reports/query/ReportFill.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <iostream>

namespace {

using quorin::bench::SilentUserInterface;

QTemporaryDir* g_dir = nullptr;
// Shows nothing, but prints each message, so that a failing run says why.
SilentUserInterface g_ui{SilentUserInterface::Answer::No, true};
CQuorinDoc* g_doc = nullptr;
sqlite3* g_raw = nullptr;

void Fill(benchmark::State& state, const quorin::ReportBuilder& build)
{
    for (auto _ : state) {
        CMemoryReportList list;
        for (int c = 0; c < 8; ++c)
            list.InsertColumn(c, QString());
        if (!quorin::FillReport(*g_doc, list, build))
            state.SkipWithError("fill failed");
        state.counters["rows"] = list.GetItemCount();
    }
}

// The same selection on plain SQLite (engine functions registered), every column read.
void Raw(benchmark::State& state, std::initializer_list<const char*> statements)
{
    for (auto _ : state) {
        int rows = 0;
        for (const char* sql : statements) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(g_raw, sql, -1, &st, nullptr) != SQLITE_OK) {
                state.SkipWithError(sqlite3_errmsg(g_raw));
                return;
            }
            while (sqlite3_step(st) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(st); ++c)
                    benchmark::DoNotOptimize(sqlite3_column_text(st, c));
                ++rows;
            }
            sqlite3_finalize(st);
        }
        state.counters["rows"] = rows;
    }
}

std::vector<quorin::ConsentRow> g_rows;

void BM_Consent(benchmark::State& s)
{
    Fill(s, [](quorin::CReportQuery& q, CReportList& l) { quorin::BuildConsentList(q, l, g_rows); });
}
void BM_NotReturned(benchmark::State& s)
{
    Fill(s, [](quorin::CReportQuery& q, CReportList& l) { quorin::BuildNotReturnedList(q, l, g_rows); });
}
void BM_Contact(benchmark::State& s) { Fill(s, quorin::BuildContactList); }
void BM_Letters(benchmark::State& s)
{
    Fill(s, [](quorin::CReportQuery& q, CReportList& l) {
        quorin::BuildLettersList(q, l, QStringLiteral("1/1/2000"), QStringLiteral("6/15/2026"));
    });
}

const char* kRawConsent =
    "select SubjectId, Lastname, Firstname, LastDateofConsent, Address, City, State, Zip, Parent, Sent, Returned "
    "from subjects where (strftime('%Y', 'now') - strftime('%Y', LastDateofConsent)) * 12 + strftime('%m', 'now') "
    "- strftime('%m', LastDateofConsent) > 24 and Status = 0 and Returned <> '1901-01-01 00:00:00.000' and "
    "SubjectId not in (select SubjectId from participationhistory where (strftime('%Y', 'now') - strftime('%Y', "
    "Date1)) * 12 + strftime('%m', 'now') - strftime('%m', Date1) <= 24 and (Participate = 0 or Contacted = 0)) "
    "order by LastDateofConsent, Lastname, Firstname";
const char* kRawAdult =
    "select SubjectId, Lastname, Firstname, LastDateofConsent, Address, City, State, Zip, Parent, Sent, Returned "
    "from subjects where julianday('now') - julianday(Birthdate) >= 19 * 365.25 and julianday(LastDateofConsent) "
    "- julianday(Birthdate) < 19 * 365.25 and Status = 0 and Returned <> '1901-01-01 00:00:00.000' order by "
    "LastDateofConsent, Lastname, Firstname";
const char* kRawNotReturned =
    "select SubjectId, Lastname, Firstname, LastDateofConsent, Address, City, State, Zip, Parent, Sent, Returned "
    "from subjects where Status = 0 and Returned = '1901-01-01 00:00:00.000' order by Lastname, Firstname";
const char* kRawContact =
    "select p.SubjectId, Lastname, Firstname, ExContact, Dataset, Irb, FeedbackDate from participationhistory p "
    "inner join subjects s on p.SubjectId = s.SubjectId where Contacted = 1";
const char* kRawLetters =
    "select (select count(distinct SubjectId) from subjects where Sent between '2000-01-01' and '2026-06-15'), "
    "(select count(distinct SubjectId) from subjects), "
    "(select count(distinct SubjectId) from subjects where Sent between '2000-01-01' and '2026-06-15' and Returned "
    "> '2000-01-01'), "
    "(select count(distinct SubjectId) from subjects where Returned between '2000-01-01' and '2026-06-15' and "
    "Status = 0), "
    "(select count(distinct SubjectId) from subjects where Returned between '2000-01-01' and '2026-06-15' and "
    "Status = 1), "
    "(select count(distinct SubjectId) from subjects where Sent between '2000-01-01' and '2026-06-15' and Returned "
    "< '2000-01-01')";

void BM_RawConsent(benchmark::State& s)
{
    Raw(s, {kRawConsent, kRawAdult});
}
void BM_RawNotReturned(benchmark::State& s) { Raw(s, {kRawNotReturned}); }
void BM_RawContact(benchmark::State& s) { Raw(s, {kRawContact}); }
void BM_RawLetters(benchmark::State& s) { Raw(s, {kRawLetters}); }

void BM_ConsentWindowListFill(benchmark::State& state)
{
    for (auto _ : state) {
        CReportListCtrl list;
        int c = 0;
        for (const auto& [heading, width] : quorin::ConsentColumns())
            list.InsertColumn(c++, heading, CReportList::FormatLeft, width);
        quorin::FillReport(*g_doc, list,
                           [](quorin::CReportQuery& q, CReportList& l) { quorin::BuildConsentList(q, l, g_rows); });
        state.counters["rows"] = list.GetItemCount();
    }
}

CMemoryReportList& FullConsent()
{
    static CMemoryReportList list = [] {
        CMemoryReportList l;
        int c = 0;
        for (const auto& [heading, width] : quorin::ConsentColumns())
            l.InsertColumn(c++, heading, CReportList::FormatLeft, width);
        quorin::FillReport(*g_doc, l,
                           [](quorin::CReportQuery& q, CReportList& r) { quorin::BuildConsentList(q, r, g_rows); });
        return l;
    }();
    return list;
}

void BM_ConsentCsv(benchmark::State& state)
{
    CMemoryReportList& list = FullConsent();
    const std::vector<QStringList> lines = quorin::ConsentCsvLines(list, g_rows);
    const QString path = g_dir->filePath(QStringLiteral("consent.csv"));
    for (auto _ : state) {
        const auto result = quorin::WriteCsvFile(path, static_cast<int>(lines.size()),
                                                 [&lines](int i) { return lines[static_cast<std::size_t>(i)]; });
        if (result != quorin::CsvResult::Saved)
            state.SkipWithError("writing failed");
    }
    state.counters["rows"] = list.GetItemCount();
}

void BM_ConsentPdf(benchmark::State& state)
{
    CMemoryReportList& list = FullConsent();
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(g_dir->filePath(QStringLiteral("consent.pdf")));
        if (!quorin::PrintListTo(*g_doc, printer, QStringLiteral("Consent List"), list))
            state.SkipWithError("printing failed");
    }
    state.counters["rows"] = list.GetItemCount();
}

} // namespace

BENCHMARK(BM_Consent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawConsent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NotReturned)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawNotReturned)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Contact)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawContact)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Letters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawLetters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConsentWindowListFill)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ConsentCsv)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ConsentPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    const std::string folder = dir.filePath(QStringLiteral("registry")).toStdString();
    // A copy of the kept demo registry, so that nothing a run does stays in it.
    std::filesystem::copy(quorin::bench::KeptDemoRegistry(100000), folder, std::filesystem::copy_options::recursive);
    CQuorinDoc doc(g_ui);
    if (!quorin::bench::ConnectAsDemoAdministrator(doc, folder)) {
        std::cerr << "cannot connect to the demo registry\n";
        return 1;
    }
    g_doc = &doc;
    const std::string file = dalport::DatabaseFilePath(folder, "Quorin");
    sqlite3_open(file.c_str(), &g_raw);
    dalport::RegisterEngineFunctions(g_raw);

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* name : {"Consent", "NotReturned", "Contact", "Letters"}) {
        const double engine = reporter.times["BM_" + std::string(name)];
        const double raw = reporter.times["BM_Raw" + std::string(name)];
        if (raw > 0)
            std::cout << name << ": engine / raw SQLite = " << engine / raw << "\n";
    }
    sqlite3_close(g_raw);
    return 0;
}
