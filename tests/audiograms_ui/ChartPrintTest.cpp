// File > Print of the chart: Ctrl+P, the print dialog, one landscape PDF page read back
// with poppler's tools; and a printer that cannot start.

#include "ChartFixture.h"

#include "audiograms/ui/CViewAud.h"
#include "framework/ApplicationPrinter.h"
#include "resources/Resource.h"

#include <QDialog>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
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
        ASSERT_TRUE(folder.isValid());
        framework::ApplicationPrinter().setOutputFormat(QPrinter::PdfFormat);
        LoadStoredSubject();
        Show(frame->m_pNodeChart);
        chart->setFocus(Qt::OtherFocusReason);
        OnNextModal([](QWidget* dialog) {
            if (auto d = qobject_cast<QDialog*>(dialog))
                d->accept();
        });
    }
    QTemporaryDir folder;
};

TEST_F(ChartPrint, CtrlPPrintsTheShownTestOnOneLandscapePdfPage)
{
    const QString pdf = folder.filePath(QStringLiteral("chart.pdf"));
    framework::ApplicationPrinter().setOutputFileName(pdf);
    QTest::keyClick(chart, Qt::Key_P, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(" | ").toStdString();
    ASSERT_TRUE(QFile::exists(pdf)) << "the print dialog was accepted";

    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";
    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("KEY TO AUDIOGRAM"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Test Date: 03/04/2025"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("4711, 04/09/1987"))) << text.toStdString();
}

TEST_F(ChartPrint, APrinterThatCannotStartSaysUnableToPrint)
{
    framework::ApplicationPrinter().setOutputFileName(folder.filePath(QStringLiteral("no-such-folder/chart.pdf")));
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_FILE_PRINT));
    Settle();
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Unable to print!")});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
}

} // namespace
} // namespace quorin::test
