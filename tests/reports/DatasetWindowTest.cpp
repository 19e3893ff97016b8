// Report windows opened by their Reports commands and driven by keys and mouse. Dataset
// and IRB: Email to a stalling relay shows the progress, the window answers meanwhile,
// Cancel ends the run and the closing message says who was mailed and who was not.

#include "ReportsFixture.h"
#include "SmtpSink.h"

#include "framework/BackgroundProgress.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "registration/DialogRegistry.h"
#include "reports/ui/CConsentReportDlg.h"
#include "reports/ui/CDatasetReportDlg.h"
#include "reports/ui/ConsentReportTemplates.h"
#include "reports/ui/DatasetReportTemplate.h"
#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quorin::test {
namespace {

// The main frame shown on the document, the windows run by its commands.
class ReportWindowTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ClearMailSettings();
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
        ui.SetBackgroundRunner(nullptr);
        ClearMailSettings();
        FormTest::TearDown();
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
};

using DatasetWindowTest = ReportWindowTest;
using ConsentWindowTest = ReportWindowTest;

TEST_F(DatasetWindowTest, EmailToAStallingRelayKeepsTheWindowAnsweringAndCancels)
{
    SmtpSink sink(QStringLiteral("data")); // takes each message and never confirms it
    ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
    WriteMailSetting(false, "SmtpServer", "127.0.0.1");
    WriteMailSetting(false, "SmtpPort", sink.port());
    WriteMailSetting(false, "Domain", "lab.example");
    WriteMailSetting(false, "TimeoutSeconds", 600);
    ui.SetBackgroundRunner(
        [](BackgroundWork& work) { framework::RunWithProgress(QApplication::activeModalWidget(), work); });
    AddStandardDatasets(registry);
    QString label;
    QString typed;
    int picked = -1;
    OnNextModal([&](QWidget* modal) {
        auto* window = dynamic_cast<CDatasetReportDlg*>(modal);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        CReportListCtrl* list = window->List();
        auto* email = framework::FindControlAs<QAbstractButton>(window, res::datasets::IDC_EMAIL);
        auto* from = framework::FindControlAs<QLineEdit>(window, CReportDlg::IDC_FROM);
        EXPECT_EQ(list->GetItemCount(), 7) << "opened on 1/1/2000 to today: five datasets, heading, TOTAL";
        // While the relay holds the first message: the progress, the window in use, Cancel.
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
            QTest::keyClicks(from, "0");
            typed = from->text();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(2)).center());
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
        from->setText("1/1/2000");
        Click(framework::FindControl(window, CReportDlg::IDC_QUERY));
        EXPECT_EQ(list->GetItemText(0, 0), "DATASET");
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_REPORTS_DATASETS));
    Settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "Escape closed it";
    // Open datasets with a staff requester, by latest request; Closed C only loses its call log.
    EXPECT_EQ(label, "Sending reminder for dataset 1 of 3: O'Neil Study");
    EXPECT_EQ(typed, "1/1/20000") << "typing went on while the mail waited";
    EXPECT_EQ(picked, 2) << "so did picking a row";
    ASSERT_EQ(ui.Messages().size(), 1u) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(ui.Messages()[0].text,
              "Reminders mailed: 0 of 3.\n\n"
              "May have been sent (the message went out, the relay did not confirm it):\n"
              "bob@lab.example (O'Neil Study, IRB D'Arcy 12): Cancelled\n\n"
              "Not sent:\nalice@lab.example (Hearing A, IRB 2010-001): Cancelled\n"
              "alice@lab.example (Later E, IRB 2012-002): Cancelled");
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(sink.MessageCount(), 1);
}

// Consent stays beside the main window; its command raises it again, filled with the
// options it shows; a double click opens the row's subject.
TEST_F(ConsentWindowTest, BesideTheMainWindowRaisedByItsCommandWithItsOptions)
{
    Insert(registry, "insert into subjects (SubjectId, LastDateofConsent, Sent, Returned) values "
                     "(1, '2020-01-01', '2019-12-01', '2020-01-01'), (2, '2020-01-01', '2019-12-01', '1901-01-01')");
    const auto open = [this] {
        EXPECT_TRUE(frame->ExecuteCommand(res::ID_REPORTS_CONSENT));
        Settle();
        return dynamic_cast<CConsentReportDlg*>(OpenModelessWindow(UserInterface::Dialog::ReportConsent));
    };
    CConsentReportDlg* consent = open();
    ASSERT_NE(consent, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    CReportListCtrl* list = consent->List();
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->hasFocus(); })) << "the keyboard starts in the list";
    auto* notBack = framework::FindControlAs<QAbstractButton>(consent, res::consent::IDC_SHOW_NR);
    notBack->setFocus(Qt::TabFocusReason);
    QTest::keyClick(notBack, Qt::Key_Space);
    EXPECT_EQ(open(), consent);
    EXPECT_EQ(list->GetItemText(0, 7), "NR");
    Click(notBack);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
    Settle();
    EXPECT_EQ(doc->m_subject.SubjectID, 1);
}

} // namespace
} // namespace quorin::test
