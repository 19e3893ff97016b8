// The Dataset and IRB window opened by Reports > Datasets beside the main frame and
// driven by keys and mouse: type the period, order by IRB, open-only, Query, pick a row,
// Email to a real SMTP server; the list printed to PDF and saved as CSV, both read back.
// Email to a relay that stalls: the progress dialog, the window answering meanwhile,
// Cancel, and the closing message.

#include "ReadBack.h"
#include "DatasetFixture.h"
#include "SmtpSink.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "registration/DialogRegistry.h"
#include "database/demo/DemoRegistry.h"
#include "framework/BackgroundProgress.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "reports/ui/CDatasetReportDlg.h"
#include "reports/query/DatasetReport.h"
#include "reports/ui/PrintList.h"
#include "reports/ui/DatasetReportTemplate.h"
#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>

namespace quorin::test {
namespace {

class DatasetWindowTest : public DatasetTest {
protected:
    void SetUp() override
    {
        DatasetTest::SetUp();
        if (WithStandardSet())
            AddStandardDatasets();
        ui.SetDialogRunner([this](UserInterface::Dialog kind) { return RunRegisteredDialog(kind, frame.get(), *doc); });
        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui.SetDialogRunner(nullptr);
        DatasetTest::TearDown();
    }

    virtual bool WithStandardSet() const { return true; }

    template <class T> static T* Control(QWidget* window, int id) { return framework::FindControlAs<T>(window, id); }

    static QStringList Rows(const CReportList& list)
    {
        QStringList rows;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            QStringList texts;
            for (int column = 0; column < kDatasetColumns; ++column)
                texts << list.GetItemText(row, column);
            rows << texts.join(QLatin1Char('|'));
        }
        return rows;
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
};

TEST_F(DatasetWindowTest, QueryPickEmailPrintAndSaveByKeysAndMouse)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
    WriteMailSetting(false, QStringLiteral("SmtpServer"), QStringLiteral("127.0.0.1"));
    WriteMailSetting(false, QStringLiteral("SmtpPort"), sink.port());
    WriteMailSetting(false, QStringLiteral("Domain"), QStringLiteral("lab.example"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString csv = dir.filePath(QStringLiteral("Datasets.csv"));
    const QString pdf = dir.filePath(QStringLiteral("Datasets.pdf"));
    QStringList shown;
    bool ran = false;

    ASSERT_TRUE(frame->QueryCommand(res::ID_REPORTS_DATASETS).IsEnabled());
    OnNextModal([&](QWidget* modal) {
        auto* window = dynamic_cast<CDatasetReportDlg*>(modal);
        ASSERT_NE(window, nullptr);
        ran = true;
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        CReportListCtrl* list = window->List();
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Dataset and IRB"));
        // Opening fills from 1/1/2000 to today, by request date, closed ones too.
        EXPECT_EQ(Control<QLineEdit>(window, CReportDlg::IDC_FROM)->text(), QStringLiteral("1/1/2000"));
        EXPECT_EQ(Control<QLineEdit>(window, CReportDlg::IDC_TO)->text(), QStringLiteral("6/15/2026"));
        EXPECT_EQ(list->GetItemCount(), 7) << "five datasets, heading and TOTAL";
        EXPECT_EQ(list->GetColumnWidth(0), 120);
        EXPECT_EQ(list->GetColumnWidth(6), 80);

        // From, then Tab on to To, typed over by keys.
        auto* from = Control<QLineEdit>(window, CReportDlg::IDC_FROM);
        from->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([from] { return from->hasFocus(); }));
        QTest::keyClick(from, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(from, QStringLiteral("1/1/2010"));
        QTest::keyClick(from, Qt::Key_Tab);
        auto* to = Control<QLineEdit>(window, CReportDlg::IDC_TO);
        ASSERT_TRUE(to->hasFocus()) << "Tab goes from From to To";
        QTest::keyClick(to, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(to, QStringLiteral("12/31/2010"));
        Click(Control<QAbstractButton>(window, res::datasets::IDC_BY_IRB));
        // Space on the focused check box, as a keyboard user checks it.
        auto* openOnly = Control<QAbstractButton>(window, res::datasets::IDC_OPEN_ONLY);
        openOnly->setFocus();
        QTest::keyClick(openOnly, Qt::Key_Space);
        EXPECT_TRUE(openOnly->isChecked());
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        shown = Rows(*list);
        const QStringList expected{"DATASET|IRB|REQUEST DATE|SUBJECTS|CONTACTED|PARTICIPATED|OPEN",
                                   "Balance B|2009-050|03/03/2010|1|0|0|Open",
                                   "Hearing A|2010-001|12/31/2010|2|2|1|Open",
                                   "O'Neil Study|D'Arcy 12|05/05/2010|3|1|0|Open", "TOTAL:|||6|3|1|"};
        EXPECT_EQ(shown.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());

        // A click on Hearing A's row, then Email: one mail, to alice.
        const QRect rect = list->visualItemRect(list->topLevelItem(2));
        ASSERT_TRUE(rect.isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_EQ(list->GetSelectionMark(), 2);
        Click(Control<QAbstractButton>(window, res::datasets::IDC_EMAIL));

        window->grab().save(QStringLiteral(QUORIN_OUTPUT_DIR "/dataset-window.png"));

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        EXPECT_TRUE(PrintListTo(*doc, printer, window->PrintTitle(), *list));

        ui.SaveFileNext(csv);
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_SAVE));

        // Escape closes it.
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_REPORTS_DATASETS));
    Settle();
    ASSERT_TRUE(ran);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Reminders mailed: 1 of 1.\n\nMailed:\n"
                                                     "alice@lab.example (Hearing A, IRB 2010-001)")});

    ASSERT_EQ(sink.MessageCount(), 1);
    EXPECT_EQ(sink.Message(1)["rcpt_tos"].toArray().first().toString(), QStringLiteral("alice@lab.example"));

    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Datasets")));
    EXPECT_TRUE(text.contains(QStringLiteral("REQUEST DATE")));
    EXPECT_TRUE(text.contains(QStringLiteral("PARTICIPATED")));
    EXPECT_TRUE(text.contains(QStringLiteral("TOTAL:")));
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-f"),
                                     QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                     QStringLiteral("-singlefile"), pdf, QStringLiteral(QUORIN_OUTPUT_DIR "/dataset-page1")});

    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].defaultName, QStringLiteral("Datasets"));
    QStringList readBack;
    for (const QStringList& fields : ReadCsvWithPython(csv))
        readBack << fields.join(QLatin1Char('|'));
    EXPECT_EQ(readBack.join(QLatin1Char('\n')).toStdString(), shown.join(QLatin1Char('\n')).toStdString());
}

TEST_F(DatasetWindowTest, EmailToAStallingRelayKeepsTheWindowAnsweringAndCancels)
{
    SmtpSink sink(QStringLiteral("data")); // takes each message and never confirms it
    ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
    WriteMailSetting(false, QStringLiteral("SmtpServer"), QStringLiteral("127.0.0.1"));
    WriteMailSetting(false, QStringLiteral("SmtpPort"), sink.port());
    WriteMailSetting(false, QStringLiteral("Domain"), QStringLiteral("lab.example"));
    WriteMailSetting(false, QStringLiteral("TimeoutSeconds"), 600);
    ui.SetBackgroundRunner(
        [](BackgroundWork& work) { framework::RunWithProgress(QApplication::activeModalWidget(), work); });
    bool ran = false;
    QString label;
    QString typed;
    int picked = -1;
    OnNextModal([&](QWidget* modal) {
        auto* window = dynamic_cast<CDatasetReportDlg*>(modal);
        ASSERT_NE(window, nullptr);
        ran = true;
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        CReportListCtrl* list = window->List();
        auto* email = Control<QAbstractButton>(window, res::datasets::IDC_EMAIL);
        auto* from = Control<QLineEdit>(window, CReportDlg::IDC_FROM);
        // While the relay holds the first message: read the progress, use the window,
        // then Cancel.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, window, [&] {
            auto* progress = window->findChild<QProgressDialog*>();
            if (!progress || !progress->isVisible() || sink.StallCount() == 0)
                return;
            watch.stop();
            label = progress->labelText();
            EXPECT_FALSE(email->isEnabled()) << "one Email at a time";
            from->setFocus();
            QTest::keyClick(from, Qt::Key_End);
            QTest::keyClicks(from, QStringLiteral("0"));
            typed = from->text();
            const QRect rect = list->visualItemRect(list->topLevelItem(2));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            picked = list->GetSelectionMark();
            auto* cancel = progress->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        watch.start(20);
        list->SetSelectionMark(-1);
        Click(email);
        EXPECT_TRUE(email->isEnabled());
        EXPECT_EQ(window->findChild<QProgressDialog*>(), nullptr) << "the progress dialog is gone";
        // The report goes on working.
        from->setText(QStringLiteral("1/1/2000"));
        Click(Control<QAbstractButton>(window, CReportDlg::IDC_QUERY));
        EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("DATASET"));
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_REPORTS_DATASETS));
    Settle();
    ASSERT_TRUE(ran);
    // Open datasets by latest request: O'Neil Study (bob), Hearing A and Later E (alice);
    // Balance B's requester is no staff member, Closed C only loses its call log.
    EXPECT_EQ(label, QStringLiteral("Sending reminder for dataset 1 of 3: O'Neil Study"));
    EXPECT_EQ(typed, QStringLiteral("1/1/20000")) << "typing went on while the mail waited";
    EXPECT_EQ(picked, 2) << "so did picking a row";
    ASSERT_EQ(ui.Messages().size(), 1u) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(ui.Messages()[0].text,
              QStringLiteral("Reminders mailed: 0 of 3.\n\n"
                             "May have been sent (the message went out, the relay did not confirm it):\n"
                             "bob@lab.example (O'Neil Study, IRB D'Arcy 12): Cancelled\n\n"
                             "Not sent:\nalice@lab.example (Hearing A, IRB 2010-001): Cancelled\n"
                             "alice@lab.example (Later E, IRB 2012-002): Cancelled"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(sink.MessageCount(), 1);
    ui.SetBackgroundRunner(nullptr);
}

// The demo registry instead of the small standard set: its datasets, requests and
// releases as a site would see them.
class DatasetDemoWindowTest : public DatasetWindowTest {
protected:
    bool WithStandardSet() const override { return false; }
};

TEST_F(DatasetDemoWindowTest, PictureOnTheDemoRegistry)
{
    demo::FillDemoRegistry(registry.Folder(), 2000, demo::kDefaultDemoSeed);
    bool ran = false;
    OnNextModal([&](QWidget* modal) {
        auto* window = dynamic_cast<CDatasetReportDlg*>(modal);
        ASSERT_NE(window, nullptr);
        ran = true;
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        const CReportListCtrl* list = window->List();
        ASSERT_GT(list->GetItemCount(), 2) << "heading, at least one dataset, TOTAL";
        EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("DATASET"));
        const int last = list->GetItemCount() - 1;
        EXPECT_EQ(list->GetItemText(last, 0), QStringLiteral("TOTAL:"));
        int subjects = 0;
        for (int row = 1; row < last; ++row)
            subjects += list->GetItemText(row, 3).toInt();
        EXPECT_EQ(list->GetItemText(last, 3).toInt(), subjects);
        QDir().mkpath(QStringLiteral(QUORIN_OUTPUT_DIR));
        EXPECT_TRUE(window->grab().save(QStringLiteral(QUORIN_OUTPUT_DIR "/dataset-window-demo.png")));
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_REPORTS_DATASETS));
    Settle();
    ASSERT_TRUE(ran);
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
}

} // namespace
} // namespace quorin::test
