// The Database Numbers, Numbers added per month and Demographics windows opened by their
// Reports commands beside the main frame and driven by mouse and keys: every option
// refills at once with the tables the raw rows give; Print to PDF read back with
// pdftotext; Save read back with Python's csv module. Pictures of the windows and of
// each first printed page on the demo registry go next to the test binary.

#include "NumbersFixture.h"
#include "ReadBack.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "registration/DialogRegistry.h"
#include "database/demo/DemoRegistry.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "reports/ui/CDatabaseNumbersDlg.h"
#include "reports/ui/CDemographicsDlg.h"
#include "reports/ui/CMonthlyNumbersDlg.h"
#include "reports/ui/PrintList.h"
#include "reports/ui/ReportWindows.h"
#include "reports/ui/NumbersReportTemplates.h"
#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace quorin::test {
namespace {

class NumbersWindowTest : public NumbersTest {
protected:
    void SetUp() override
    {
        NumbersTest::SetUp();
        static const bool registered = [] {
            RegisterReportWindows();
            return true;
        }();
        (void)registered;
        ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, frame.get(), *doc); });
        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
        QDir().mkpath(QStringLiteral(QUORIN_OUTPUT_DIR));
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui.SetDialogRunner(nullptr);
        NumbersTest::TearDown();
    }

    template <class T> static T* Control(QWidget* window, int id) { return framework::FindControlAs<T>(window, id); }

    // Runs the command; the window, once active, goes to the handler, which closes it.
    template <class Window> void Run(unsigned command, const std::function<void(Window*)>& handler)
    {
        ASSERT_TRUE(frame->QueryCommand(command).IsEnabled());
        bool ran = false;
        OnNextModal([&](QWidget* modal) {
            auto* window = dynamic_cast<Window*>(modal);
            ASSERT_NE(window, nullptr);
            ran = true;
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            handler(window);
            if (QApplication::activeModalWidget() == window)
                static_cast<QDialog*>(window)->reject();
        });
        EXPECT_TRUE(frame->ExecuteCommand(command));
        Settle();
        ASSERT_TRUE(ran);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // Prints the list to a PDF and returns pdftotext's pages.
    QStringList PrintToPdf(CReportDlg* window, const QString& pdf, const QString& firstPagePicture = QString())
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        EXPECT_TRUE(PrintListTo(*doc, printer, window->PrintTitle(), *window->List()));
        if (!firstPagePicture.isEmpty())
            RunTool(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-f"),
                     QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                     firstPagePicture});
        QStringList pages =
            RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                .split(QLatin1Char('\f'));
        while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    // Every cell shows its whole text.
    static void ExpectNothingCut(const CReportListCtrl& list)
    {
        const QFontMetrics metrics(list.font());
        for (int row = 0; row < list.GetItemCount(); ++row)
            for (int column = 0; column < list.GetColumnCount(); ++column)
                EXPECT_LE(metrics.horizontalAdvance(list.GetItemText(row, column)), list.GetColumnWidth(column))
                    << "row " << row << " column " << column;
    }

    // Save by mouse to a file of the run; the CSV read back equals the list.
    void SaveAndReadBack(CReportDlg* window, int columns)
    {
        const QString csv = dir.filePath(window->PrintTitle() + QStringLiteral(".csv"));
        ui.SaveFileNext(csv);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_SAVE));
        ASSERT_FALSE(ui.SaveRequests().empty());
        EXPECT_EQ(ui.SaveRequests().back().defaultName, window->PrintTitle());
        const std::vector<QStringList> read = ReadCsvWithPython(csv);
        EXPECT_TRUE(SameTable(read, RowsOf(*window->List(), columns)));
    }

    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
};

TEST_F(NumbersWindowTest, DatabaseNumbersActiveOnlyByMouseAndKeyPrintAndSave)
{
    AddEdgeSubjects();
    const std::vector<NumbersSubject> subjects = ReadSubjects();
    const int audiograms = ReadAudiogramCount();
    QStringList pages;
    Run<CDatabaseNumbersDlg>(res::ID_REPORTS_NUMBERS, [&](CDatabaseNumbersDlg* window) {
        CReportListCtrl* list = window->List();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Database Numbers"));
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectItems) << "no full-row select";
        EXPECT_EQ(list->GetColumnCount(), 5);
        EXPECT_GE(list->GetColumnWidth(0), 120);
        EXPECT_GE(list->GetColumnWidth(1), 140);
        EXPECT_GE(list->GetColumnWidth(4), 80);
        EXPECT_TRUE(SameTable(RowsOf(*list, 5), ExpectedDatabaseNumbers(subjects, audiograms, false)));

        auto* active = Control<QAbstractButton>(window, res::numbers::IDC_ACTIVE_ONLY);
        Click(active);
        EXPECT_TRUE(SameTable(RowsOf(*list, 5), ExpectedDatabaseNumbers(subjects, audiograms, true)));
        // Space on the focused box unchecks it and the whole registry comes back.
        active->setFocus(Qt::TabFocusReason);
        QTest::keyClick(active, Qt::Key_Space);
        EXPECT_FALSE(active->isChecked());
        EXPECT_TRUE(SameTable(RowsOf(*list, 5), ExpectedDatabaseNumbers(subjects, audiograms, false)));
        // Tab goes on from the box to the list, then to Print.
        QTest::keyClick(active, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(window, CReportDlg::IDC_PRINT));

        ExpectNothingCut(*list);
        pages = PrintToPdf(window, dir.filePath(QStringLiteral("numbers.pdf")));
        SaveAndReadBack(window, 5);
        QTest::keyClick(window, Qt::Key_Escape);
    });
    ASSERT_GE(pages.size(), 3) << "over 70 rows";
    for (const QString& page : pages)
        EXPECT_TRUE(page.contains(QStringLiteral("Database Numbers")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("60 (75.00 %)")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Subjects by Race")));
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

TEST_F(NumbersWindowTest, DemographicsEveryOptionRefillsPrintSpansPagesAndSave)
{
    AddEdgeSubjects();
    const std::vector<NumbersSubject> subjects = ReadSubjects();
    QStringList pages;
    Run<CDemographicsDlg>(res::ID_REPORTS_DEMOGRAPHICS, [&](CDemographicsDlg* window) {
        CReportListCtrl* list = window->List();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Demographics"));
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(list->GetColumnCount(), 9);
        EXPECT_GE(list->GetColumnWidth(0), 60);
        EXPECT_GE(list->GetColumnWidth(8), 70);
        EXPECT_TRUE(Control<QAbstractButton>(window, res::numbers::IDC_RACE)->isChecked());
        EXPECT_TRUE(SameTable(RowsOf(*list, 9), ExpectedDemographics(subjects, 0, false)));

        Click(Control<QAbstractButton>(window, res::numbers::IDC_ETHNICITY));
        EXPECT_TRUE(SameTable(RowsOf(*list, 9), ExpectedDemographics(subjects, 1, false)));
        // The arrow key moves the choice on to Both, as in any radio group.
        auto* ethnicity = Control<QAbstractButton>(window, res::numbers::IDC_ETHNICITY);
        ethnicity->setFocus(Qt::TabFocusReason);
        QTest::keyClick(ethnicity, Qt::Key_Right);
        auto* both = Control<QAbstractButton>(window, res::numbers::IDC_BOTH);
        EXPECT_TRUE(both->isChecked());
        EXPECT_EQ(window->m_nView, 2) << "the arrow's choice refills at once";
        EXPECT_TRUE(SameTable(RowsOf(*list, 9), ExpectedDemographics(subjects, 2, false)));

        auto* active = Control<QAbstractButton>(window, res::numbers::IDC_ACTIVE_ONLY);
        active->setFocus(Qt::TabFocusReason);
        QTest::keyClick(active, Qt::Key_Space);
        EXPECT_TRUE(SameTable(RowsOf(*list, 9), ExpectedDemographics(subjects, 2, true)));
        Click(Control<QAbstractButton>(window, res::numbers::IDC_RACE));
        EXPECT_TRUE(SameTable(RowsOf(*list, 9), ExpectedDemographics(subjects, 0, true)));
        Click(Control<QAbstractButton>(window, res::numbers::IDC_BOTH));
        ExpectNothingCut(*list);

        pages = PrintToPdf(window, dir.filePath(QStringLiteral("demographics.pdf")));
        SaveAndReadBack(window, 9);
        // Enter is OK.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        Settle();
        EXPECT_FALSE(window->isVisible());
    });
    ASSERT_GE(pages.size(), 2) << "Both spans several pages";
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(QStringLiteral("Demographics")));
        EXPECT_TRUE(page.contains(QStringLiteral("AmericanIndian"))) << "the heading row on every page";
    }
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

TEST_F(NumbersWindowTest, MonthlyPrintAndSave)
{
    AddEdgeSubjects();
    const std::vector<NumbersSubject> subjects = ReadSubjects();
    QStringList pages;
    Run<CMonthlyNumbersDlg>(res::ID_REPORTS_MONTHLY, [&](CMonthlyNumbersDlg* window) {
        CReportListCtrl* list = window->List();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Numbers added per month"));
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectItems) << "no full-row select";
        EXPECT_GE(list->GetColumnWidth(0), 120);
        EXPECT_GE(list->GetColumnWidth(1), 140);
        EXPECT_GE(list->GetColumnWidth(2), 80);
        EXPECT_TRUE(SameTable(RowsOf(*list, 3), ExpectedMonthlyNumbers(subjects)));
        ExpectNothingCut(*list);
        pages = PrintToPdf(window, dir.filePath(QStringLiteral("monthly.pdf")));
        SaveAndReadBack(window, 3);
        QTest::keyClick(window, Qt::Key_Escape);
    });
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Subjects Added by Month")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("NUMBER ADDED")));
    // pdftotext gives the two blanks between year and month as one.
    EXPECT_TRUE(pages[0].contains(QRegularExpression(QStringLiteral("2026 +June +[1-9]"))));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("No date of entry")));
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

TEST_F(NumbersWindowTest, PicturesOnTheDemoRegistry)
{
    demo::FillDemoRegistry(registry.Folder(), 2000, demo::kDefaultDemoSeed);
    const QString out = QStringLiteral(QUORIN_OUTPUT_DIR "/");
    Run<CDatabaseNumbersDlg>(res::ID_REPORTS_NUMBERS, [&](CDatabaseNumbersDlg* window) {
        EXPECT_TRUE(window->grab().save(out + QStringLiteral("numbers-window-demo.png")));
        PrintToPdf(window, dir.filePath(QStringLiteral("n.pdf")), out + QStringLiteral("numbers-page1"));
    });
    Run<CMonthlyNumbersDlg>(res::ID_REPORTS_MONTHLY, [&](CMonthlyNumbersDlg* window) {
        EXPECT_TRUE(window->grab().save(out + QStringLiteral("monthly-window-demo.png")));
        PrintToPdf(window, dir.filePath(QStringLiteral("m.pdf")), out + QStringLiteral("monthly-page1"));
    });
    Run<CDemographicsDlg>(res::ID_REPORTS_DEMOGRAPHICS, [&](CDemographicsDlg* window) {
        EXPECT_TRUE(window->grab().save(out + QStringLiteral("demographics-window-demo.png")));
        PrintToPdf(window, dir.filePath(QStringLiteral("d.pdf")), out + QStringLiteral("demographics-page1"));
        Click(Control<QAbstractButton>(window, res::numbers::IDC_BOTH));
        EXPECT_TRUE(window->grab().save(out + QStringLiteral("demographics-both-window-demo.png")));
        PrintToPdf(window, dir.filePath(QStringLiteral("db.pdf")), out + QStringLiteral("demographics-both-page1"));
    });
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

} // namespace
} // namespace quorin::test
