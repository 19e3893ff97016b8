// What a very large report costs once its rows are in the list: the page layout, a PDF
// of every page, the CSV file (beside the same bytes written by one fwrite), and
// filling the list control on screen. 100,000 body rows, eight columns.

#include "bench/common/BenchRegistry.h"

#include "document/CQuorinDoc.h"
#include "framework/ReportListCtrl.h"
#include "document/CMemoryReportList.h"
#include "reports/query/CsvExport.h"
#include "rules/CsvText.h"
#include "reports/query/PrintLayout.h"
#include "reports/ui/PrintList.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>

namespace {

using quorin::bench::SilentUserInterface;

constexpr int kRows = 100000;
constexpr int kColumns = 8;

QStringList RowTexts(int r)
{
    QStringList row;
    row << QString::number(100000 + r) << QStringLiteral("Lastname%1, Firstname").arg(r)
        << QStringLiteral("%1/%2/19%3").arg(r % 12 + 1).arg(r % 28 + 1).arg(40 + r % 60)
        << QStringLiteral("555-%1").arg(r % 10000, 4, 10, QLatin1Char('0')) << QStringLiteral("Hearing Impaired")
        << QStringLiteral("Notes with \"quotes\", commas") << QStringLiteral("Active") << QString::number(r % 7);
    return row;
}

const CMemoryReportList& BigList()
{
    static const CMemoryReportList list = [] {
        CMemoryReportList l;
        for (int j = 0; j < kColumns; ++j)
            l.InsertColumn(j, QString(), CReportList::FormatLeft, 90);
        l.AppendRow({QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("BIRTH"), QStringLiteral("PHONE"),
                     QStringLiteral("HEARING"), QStringLiteral("NOTES"), QStringLiteral("STATUS"),
                     QStringLiteral("STUDIES")});
        for (int r = 1; r <= kRows; ++r)
            l.AppendRow(RowTexts(r));
        return l;
    }();
    return list;
}

QString TempPath(const char* name)
{
    static QTemporaryDir dir;
    return dir.filePath(QString::fromLatin1(name));
}

void BM_PageLayout(benchmark::State& state)
{
    const CMemoryReportList& list = BigList();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const quorin::PrinterFonts fonts(&printer);
    for (auto _ : state) {
        const quorin::CPrintLayout layout(QStringLiteral("Consent List"), QStringLiteral("6/15/2026"), list, 6360, 4860,
                                          fonts);
        size_t texts = 0;
        for (int page = 0; page < layout.PageCount(); ++page)
            texts += layout.PageTexts(page).size();
        benchmark::DoNotOptimize(texts);
        state.counters["pages"] = layout.PageCount();
    }
}

void BM_PrintPdf(benchmark::State& state)
{
    SilentUserInterface ui{SilentUserInterface::Answer::No, true};
    CQuorinDoc doc(ui);
    const QString path = TempPath("report.pdf");
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (!quorin::PrintListTo(doc, printer, QStringLiteral("Consent List"), BigList()))
            state.SkipWithError("printing failed");
    }
    state.counters["MB"] = double(QFile(path).size()) / 1e6;
}

void BM_SaveCsv(benchmark::State& state)
{
    const CMemoryReportList& list = BigList();
    const QString path = TempPath("report.csv");
    for (auto _ : state) {
        const auto result = quorin::WriteCsvFile(path, list.GetItemCount(), [&list](int r) {
            QStringList fields;
            for (int j = 0; j < kColumns; ++j)
                fields << list.GetItemText(r, j);
            return fields;
        });
        if (result != quorin::CsvResult::Saved)
            state.SkipWithError("writing failed");
    }
    state.counters["MB"] = double(QFile(path).size()) / 1e6;
}

// The floor under BM_SaveCsv: the finished bytes, written by one fwrite.
void BM_CsvBytesFwrite(benchmark::State& state)
{
    const CMemoryReportList& list = BigList();
    QString text;
    for (int r = 0; r < list.GetItemCount(); ++r) {
        QStringList fields;
        for (int j = 0; j < kColumns; ++j)
            fields << list.GetItemText(r, j);
        text += quorin::csv::Line(fields);
    }
    const QByteArray bytes = text.toUtf8();
    const QByteArray path = QFile::encodeName(TempPath("raw.csv"));
    for (auto _ : state) {
        FILE* file = std::fopen(path.constData(), "wb");
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
        std::fclose(file);
    }
}

void BM_FillListControl(benchmark::State& state)
{
    const CMemoryReportList& source = BigList();
    for (auto _ : state) {
        CReportListCtrl list;
        for (int j = 0; j < kColumns; ++j)
            list.InsertColumn(j, QString(), CReportList::FormatLeft, 90);
        for (int r = 0; r < source.GetItemCount(); ++r) {
            const int row = list.AppendItem(source.GetItemText(r, 0));
            for (int j = 1; j < kColumns; ++j)
                list.SetItemText(row, j, source.GetItemText(r, j));
        }
        benchmark::DoNotOptimize(list.GetItemCount());
    }
}

BENCHMARK(BM_PageLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintPdf)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SaveCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvBytesFwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillListControl)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    BigList();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
