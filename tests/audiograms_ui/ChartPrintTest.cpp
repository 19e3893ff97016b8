// File > Print and Print Preview of the chart: one landscape PDF page read back with
// poppler's tools, the preview window, and a printer that cannot start.

#include "ChartFixture.h"

#include "app/CMainFrame.h"
#include "audiograms/ui/CViewAud.h"
#include "framework/ApplicationPrinter.h"
#include "resources/Resource.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace quorin::test {
namespace {

// Runs a poppler tool; its standard output.
QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

class ChartPrint : public ChartTest {
protected:
    void SetUp() override
    {
        ChartTest::SetUp();
        framework::ApplicationPrinter().setOutputFormat(QPrinter::PdfFormat);
    }
};

TEST_F(ChartPrint, CtrlPPrintsTheShownTestOnOneLandscapePdfPage)
{
    LoadStoredSubject();
    ShowChart();
    const QString pdf = OutputPath(QStringLiteral("printed-chart.pdf"));
    QFile::remove(pdf);
    framework::ApplicationPrinter().setOutputFileName(pdf);

    bool dialogSeen = false;
    OnNextModal([&dialogSeen](QWidget* dialog) {
        dialogSeen = qobject_cast<QDialog*>(dialog) != nullptr;
        if (auto d = qobject_cast<QDialog*>(dialog))
            d->accept();
    });
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_P, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(dialogSeen) << "the print dialog came up";
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(" | ").toStdString();
    ASSERT_TRUE(QFile::exists(pdf));

    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";

    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("KEY TO AUDIOGRAM"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Test Date: 03/04/2025"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("LEE, MORGAN")) || text.contains(QStringLiteral("Lee, Morgan")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("4711, 04/09/1987"))) << text.toStdString();

    // Rendered back for a reviewer; the red circle of the right ear is on the page.
    const QString prefix = OutputPath(QStringLiteral("printed-chart"));
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                                     QStringLiteral("-singlefile"), pdf, prefix});
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());
    int red = 0, blue = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
        }
    EXPECT_GT(red, 20) << "right-ear symbols are red";
    EXPECT_GT(blue, 20) << "left-ear symbols are blue";
}

TEST_F(ChartPrint, APrinterThatCannotStartSaysUnableToPrint)
{
    LoadStoredSubject();
    ShowChart();
    framework::ApplicationPrinter().setOutputFileName(OutputPath(QStringLiteral("no-such-folder/chart.pdf")));
    OnNextModal([](QWidget* dialog) {
        if (auto d = qobject_cast<QDialog*>(dialog))
            d->accept();
    });
    chart->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_FILE_PRINT));
    Settle();
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Unable to print!")});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
}

TEST_F(ChartPrint, CancelledPrintDialogPrintsNothing)
{
    LoadStoredSubject();
    ShowChart();
    const QString pdf = OutputPath(QStringLiteral("cancelled.pdf"));
    QFile::remove(pdf);
    framework::ApplicationPrinter().setOutputFileName(pdf);
    OnNextModal([](QWidget* dialog) {
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    chart->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_FILE_PRINT));
    Settle();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(ChartPrint, PrintPreviewOpensWithThePage)
{
    LoadStoredSubject();
    ShowChart();
    chart->setFocus(Qt::OtherFocusReason);
    Settle();
    EXPECT_TRUE(frame->QueryCommand(res::ID_FILE_PRINT_PREVIEW).IsEnabled());
    bool previewSeen = false;
    OnNextModal([&previewSeen](QWidget* dialog) {
        previewSeen = qobject_cast<QPrintPreviewDialog*>(dialog) != nullptr;
        if (auto d = qobject_cast<QDialog*>(dialog))
            d->reject();
    });
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_FILE_PRINT_PREVIEW));
    Settle();
    EXPECT_TRUE(previewSeen);
}

} // namespace
} // namespace quorin::test
