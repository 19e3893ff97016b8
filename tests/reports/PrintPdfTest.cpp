// A report printed through QPrinter to a PDF file and read back with poppler's tools:
// title, date and the heading row on every page, row 0 never among the body lines,
// landscape pages under the document name "QUORIN"; a file that cannot be opened is
// reported. Page 1 is kept as a PNG beside the test binary.

#include "ReadBack.h"
#include "document/CMemoryReportList.h"
#include "reports/ui/PrintList.h"
#include "subjects_ui/FormFixture.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

class PrintPdfTest : public FormTest {
protected:
    // Row 0 is the heading row; 39 body rows make a full page and four lines.
    static CMemoryReportList FortyRows()
    {
        CMemoryReportList list;
        for (int j = 0; j < 4; ++j)
            list.InsertColumn(j, QString(), CReportList::FormatLeft, 100);
        list.AppendRow({QStringLiteral("DATASET"), QStringLiteral("IRB"), QStringLiteral("OPENED"),
                        QStringLiteral("SUBJECTS")});
        for (int r = 1; r < 40; ++r)
            list.AppendRow({QStringLiteral("Study%1").arg(r, 2, 10, QLatin1Char('0')),
                            QStringLiteral("IRB-%1").arg(r), QStringLiteral("1/%1/2020").arg(r % 28 + 1),
                            QString::number(r * 3)});
        return list;
    }

    static void ToPdf(QPrinter& printer, const QString& path)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    }
};

TEST_F(PrintPdfTest, FortyRowsOnTwoLandscapePages)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("datasets.pdf"));
    const CMemoryReportList list = FortyRows();
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, pdf);
    printer.setPageOrientation(QPageLayout::Portrait); // the report turns it round
    ASSERT_TRUE(PrintListTo(*doc, printer, QStringLiteral("Datasets"), list));
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(ui.WaitCursorDepth(), 0);

    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("(?m)^Pages:\\s+2$")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("(?m)^Title:\\s+QUORIN$")))) << info.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";

    const QStringList pages = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                                  .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    for (int p = 0; p < 2; ++p) {
        const QString& page = pages[p];
        EXPECT_TRUE(page.contains(QStringLiteral("Datasets"))) << "page " << p;
        EXPECT_TRUE(page.contains(QStringLiteral("6/15/2026"))) << "page " << p;
        EXPECT_EQ(page.count(QStringLiteral("DATASET")), 1) << "the heading line once on page " << p;
        const QStringList lines = page.split(QLatin1Char('\n'));
        int headingLine = -1;
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].contains(QStringLiteral("DATASET"))) {
                headingLine = i;
                EXPECT_TRUE(lines[i].contains(QStringLiteral("SUBJECTS")));
            }
        }
        // Every body line comes after the heading line.
        for (int i = 0; i <= headingLine; ++i)
            EXPECT_FALSE(lines[i].contains(QStringLiteral("Study"))) << lines[i].toStdString();
    }
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Study01")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Study35")));
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Study36")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Study36")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Study39")));
    EXPECT_FALSE(pages[1].contains(QStringLiteral("Study35")));

    // Page 1 as a picture, for a reviewer's eyes.
    const QString png = QStringLiteral(QUORIN_OUTPUT_DIR "/report-page1");
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                     QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                     QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, png});
    EXPECT_TRUE(QFile::exists(png + QStringLiteral(".png")));
}

TEST_F(PrintPdfTest, HeadingOnlyAndEmptyListsPrintOnePage)
{
    QTemporaryDir dir;
    CMemoryReportList heading;
    heading.InsertColumn(0, QString());
    heading.AppendItem(QStringLiteral("MONTH"));
    CMemoryReportList empty;
    int n = 0;
    for (const CMemoryReportList* list : {&heading, &empty}) {
        const QString pdf = dir.filePath(QStringLiteral("p%1.pdf").arg(n++));
        QPrinter printer(QPrinter::HighResolution);
        ToPdf(printer, pdf);
        ASSERT_TRUE(PrintListTo(*doc, printer, QStringLiteral("Subjects Added by Month"), *list));
        const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("(?m)^Pages:\\s+1$")))) << info.toStdString();
        EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
                        .contains(QStringLiteral("Subjects Added by Month")));
    }
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(PrintPdfTest, AFileThatCannotBeOpenedIsReported)
{
    const CMemoryReportList list = FortyRows();
    QPrinter printer(QPrinter::HighResolution);
    // Not even the superuser creates files there.
    ToPdf(printer, QStringLiteral("/proc/self/report.pdf"));
    EXPECT_FALSE(PrintListTo(*doc, printer, QStringLiteral("Datasets"), list));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Unable to print!"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}

} // namespace
} // namespace quorin::test
