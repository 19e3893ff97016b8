// The chart inside the main frame: tools, clicks, first-draw checks, Tools > Update from
// the menu, the Audiogram Manager search dialog, and File > Print.

#include "ChartFixture.h"

#include "audiograms/ui/CAmSearchDlg.h"
#include "audiograms/ui/CViewAud.h"
#include "framework/ApplicationPrinter.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "registration/DialogRegistry.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace quorin::test {
namespace {

using ChartView = ChartTest;

const QString kIdentity = QStringLiteral("You must enter either a KV Number, or Last Name, First Name, and Birth Date!");

// The checked tool command among 32795..32805, 0 when none is.
unsigned CheckedTool(CMainFrame& frame)
{
    frame.UpdateCommandUI();
    unsigned checked = 0;
    for (unsigned id = res::ID_SYMBOL_FIRST; id <= res::ID_SYMBOL_ERASER; ++id) {
        const QAction* action = frame.CommandAction(id);
        if (action && action->isChecked())
            checked = checked == 0 ? id : ~0u; // one mark at a time
    }
    return checked;
}

TEST_F(ChartView, ToolsComeFromTheToolbarAndAltKeysAndAClickPlacesTheSymbol)
{
    LoadStoredSubject();
    Show(frame->m_pNodeChart);
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(CheckedTool(*frame), 0u);

    // The toolbar's Warble Tones, then Alt 1 typed where the focus is.
    Click(frame->m_wndToolBar->widgetForAction(frame->CommandAction(32803)));
    EXPECT_EQ(std::pair(chart->Tool(), CheckedTool(*frame)), std::pair(10, 32803u));
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(std::pair(chart->Tool(), CheckedTool(*frame)), std::pair(1, 32795u));

    // A click asks about a new audiogram; No edits the shown test and turns Edit on.
    ui.AnswerNext(UserInterface::Answer::No);
    ClickPoint(8, 6); // 4000 Hz, 25 dB
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->CommandAction(res::ID_AUD_EDIT)->isChecked());
    ASSERT_EQ(doc->m_audCurrent.Points.size(), 3u);
    EXPECT_EQ(doc->m_audCurrent.Points[2].xy, 806);
    chart->repaint();
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(chart);
    ASSERT_NE(described, nullptr);
    EXPECT_EQ(described->text(QAccessible::Description),
              QStringLiteral("Audiogram of 03/04/2025, 3 points; right ear 2, left ear 1"));

    // On another page the chart's commands are not there; the tool stays.
    Show(frame->m_pNodeSubject);
    EXPECT_FALSE(frame->QueryCommand(32795).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(res::ID_FILE_PRINT).IsEnabled());
    Show(frame->m_pNodeChart);
    EXPECT_EQ(chart->Tool(), 1);
}

TEST_F(ChartView, TheIdentityCheckRunsAfterThePaintOncePerShowing)
{
    // An empty subject: the chart is opened before anything was typed.
    frame->m_wndFramework.BringForward(frame->m_pNodeChart);
    chart->repaint();
    EXPECT_TRUE(ui.Texts().isEmpty()) << "never from inside a paint";
    Settle();
    QTest::qWait(20);
    EXPECT_EQ(ui.Texts(), QStringList{kIdentity});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    ASSERT_FALSE(ui.PagesBroughtForward().empty());
    EXPECT_EQ(ui.PagesBroughtForward().back(), UserInterface::Page::Subject);
    for (int i = 0; i < 3; ++i) {
        chart->repaint();
        Settle();
    }
    EXPECT_EQ(ui.Texts().size(), 1) << "more paints of the same showing ask nothing";

    // The test is not shown, so clicks do not edit it unseen.
    frame->UpdateCommandUI();
    chart->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(chart, Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(chart->Tool(), 1);
    ClickPoint(4, 5);
    EXPECT_TRUE(doc->m_audCurrent.Points.empty());
    EXPECT_EQ(ui.Texts().size(), 1) << "no question either";

    // The next showing checks again; with a KV Number the consent date is missing.
    doc->m_subject.Unit = "4711";
    Show(frame->m_pNodeSubject);
    Show(frame->m_pNodeChart);
    EXPECT_EQ(ui.Texts(), (QStringList{kIdentity, QStringLiteral("You must enter an Inital Date of Consent")}));
    EXPECT_EQ(doc->m_bChartLoaded, 0);
}

// Tools > Update, a document command, is reached from the main window's Tools menu.
TEST_F(ChartView, ToolsUpdateIsAskedFromTheToolsMenu)
{
    QAction* update = frame->CommandAction(res::ID_TOOLS_UPDATE);
    ASSERT_TRUE(frame->MenuByTitle(QStringLiteral("&Tools"))->actions().contains(update));
    frame->UpdateCommandUI();
    ui.AnswerNext(UserInterface::Answer::No);
    update->trigger();
    Settle();
    ASSERT_EQ(ui.Texts().size(), 1);
    EXPECT_TRUE(ui.Texts()[0].startsWith("Update Subject records from Audiogram Database")) << ui.Texts()[0].toStdString();
}

using AmSearch = ChartTest;

TEST_F(AmSearch, EnterWithoutASelectionSaysSoAndADoubleClickChoosesAMatch)
{
    ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, frame.get(), *doc); });
    for (const char* unit : {"4711", "4712"})
        registry.ExecRaw("Aud", std::string("insert into info (PatientIndex, PatientNum, Date, Birthdate, LastName, "
                                            "FirstName) values (") + unit + ", " + unit
                                    + ", '2024-03-05 14:30:00.000', '1990-05-20 00:00:00.000', 'O''Brien', 'Kate');"
                                      "insert into Other (PatientIndex, Method) values (" + unit + ", 2);");
    Show(frame->m_pNodeSubject);
    auto field = [this](int id) { return framework::FindControlAs<QLineEdit>(frame->m_pNodeSubject->GetWnd(), id); };
    for (const auto& [id, text] : {std::pair{res::subject::IDC_LAST, "O'Brien"}, {res::subject::IDC_FIRST, "Kate"},
                                   {res::subject::IDC_BIRTH, "05/20/1990"}, {res::subject::IDC_DATE_INITIAL, "01/02/2020"}})
        TypeInto(field(id), QString::fromUtf8(text));
    ui.AnswerNext(UserInterface::Answer::Yes);
    QStringList listed;
    bool stayed = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CAmSearchDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_TRUE(dialog->isAncestorOf(QApplication::focusWidget())) << "the dialog takes the keys";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        stayed = dialog->isVisible();
        EXPECT_EQ(ui.Texts().last(), "Please Make Selection From First Column");
        CReportListCtrl* list = dialog->List();
        int chosen = -1;
        for (int row = 0; row < list->GetItemCount(); ++row) {
            listed << list->GetItemText(row, 0) + " | " + list->GetItemText(row, 1) + " | " + list->GetItemText(row, 2);
            if (list->GetItemText(row, 1) == "4712")
                chosen = row;
        }
        ASSERT_GE(chosen, 0);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(chosen)).center());
    });
    poll.start();
    Show(frame->m_pNodeChart);
    EXPECT_TRUE(stayed);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"O'Brien, Kate | 4711 | 05/20/1990", "O'Brien, Kate | 4712 | 05/20/1990"}));
    EXPECT_EQ(doc->m_subject.Unit, "4712");
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
    Show(frame->m_pNodeSubject);
    EXPECT_EQ(field(res::subject::IDC_UNIT)->text(), "4712") << "the Subject tab shows the chosen unit";
}

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000) && process.exitCode() == 0)
        << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
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
    for (const char* expected : {"KEY TO AUDIOGRAM", "Test Date: 03/04/2025", "4711, 04/09/1987"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << text.toStdString();
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
