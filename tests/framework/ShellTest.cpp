// The application shell on Qt's offscreen platform: the login dialog, start-up with a
// failing and a working login, and the main frame's commands and pages as the document
// and the subsystems reach them.
#include "app/CLoginDlg.h"
#include "app/CMainFrame.h"
#include "app/CQuorinApp.h"
#include "document/CQuorinDoc.h"
#include "registration/DialogRegistry.h"
#include "framework/ControlId.h"
#include "framework/TTabWnd.h"
#include "resources/Resource.h"
#include "MessageRecorder.h"
#include "app/DocumentFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using framework::FindControlAs;

QLineEdit* Field(QWidget* dialog, int id)
{
    return FindControlAs<QLineEdit>(dialog, id);
}

// Fills the login dialog and presses Enter in the password field.
std::function<int(CLoginDlg&)> LoginWith(QString user, QString password, QString server)
{
    return [=](CLoginDlg& dialog) {
        dialog.show();
        Field(&dialog, res::IDC_USERNAME)->setText(user);
        Field(&dialog, res::IDC_PASSWORD)->setText(password);
        Field(&dialog, res::IDC_SERVER)->setText(server);
        QTest::keyClick(Field(&dialog, res::IDC_PASSWORD), Qt::Key_Return);
        return dialog.result() == QDialog::Accepted ? CTemplateDialog::IDOK : CTemplateDialog::IDCANCEL;
    };
}

class LoginDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QApplication::processEvents();
    }
    CLoginDlg dialog;
    framework::test::MessageRecorder messages;
};

TEST_F(LoginDialogTest, UserNameHasTheFocusAnEmptyOneIsRefusedAndEscapeCancels)
{
    EXPECT_EQ(QApplication::focusWidget(), Field(&dialog, res::IDC_USERNAME));
    EXPECT_EQ(Field(&dialog, res::IDC_PASSWORD)->echoMode(), QLineEdit::Password);
    Field(&dialog, res::IDC_PASSWORD)->setText(QStringLiteral("secret"));
    FindControlAs<QPushButton>(&dialog, res::IDOK)->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("You must enter a username"));
    EXPECT_EQ(messages.shown[0].icon, framework::MessageIcon::Stop);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Field(&dialog, res::IDC_PASSWORD)->text(), QStringLiteral("secret"));
    QTest::keyClick(Field(&dialog, res::IDC_USERNAME), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(Startup, CancelledLoginEndsWithExitCodeOneAndNoWindow)
{
    CQuorinApp app;
    app.SetLoginRunner([](CLoginDlg&) { return int(CTemplateDialog::IDCANCEL); });
    EXPECT_EQ(app.InitInstance(), 1);
    EXPECT_EQ(app.m_pMainFrame, nullptr);
    EXPECT_EQ(app.GetDocument(), nullptr);
}

class FailedLoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        app.SetLoginRunner(LoginWith(QStringLiteral("nobody"), QStringLiteral("x"), folder.path() + "/missing"));
        ASSERT_EQ(app.InitInstance(), CQuorinApp::kRun);
        ASSERT_NE(app.m_pMainFrame, nullptr);
        frame = app.m_pMainFrame;
    }
    QTemporaryDir folder;
    framework::test::MessageRecorder messages;
    CQuorinApp app;
    CMainFrame* frame = nullptr;
};

TEST_F(FailedLoginTest, LoginFailedIsShownAndTheWindowOpensAnyway)
{
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Login Failed!"));
    EXPECT_EQ(messages.shown[0].icon, framework::MessageIcon::Stop);
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Quorin Demo - Quorin"));
    EXPECT_EQ(app.GetDocument()->m_strServer, folder.path() + "/missing");
    EXPECT_FALSE(app.GetDocument()->m_db.IsConnected());
}

TEST_F(FailedLoginTest, AWindowOfALaterSubsystemIsEnabledOnceRegistered)
{
    EXPECT_FALSE(frame->QueryCommand(res::ID_REPORTS_LETTERS).IsEnabled());
    int runs = 0;
    quorin::RegisterDialog(quorin::UserInterface::Dialog::ReportLetters, [&](QWidget*, CQuorinDoc&) {
        ++runs;
        return 1;
    });
    EXPECT_TRUE(frame->QueryCommand(res::ID_REPORTS_LETTERS).IsEnabled());
    frame->ExecuteCommand(res::ID_REPORTS_LETTERS);
    EXPECT_EQ(runs, 1);
}

// Pages the document brings forward show; File New with nothing changed clears without a
// question, and brings the chart forward inside the Audiogram tab, then the Subject tab.
TEST(WorkingLogin, LoginOpensTheConnectedMainWindowWhosePagesTheDocumentBringsForward)
{
    quorin::test::TestRegistry registry;
    framework::test::MessageRecorder messages;
    CQuorinApp app;
    app.SetLoginRunner(LoginWith(QString::fromLatin1(quorin::test::kTestLogin),
                                 QString::fromLatin1(quorin::test::kTestPassword),
                                 QString::fromStdString(registry.Folder())));
    ASSERT_EQ(app.InitInstance(), CQuorinApp::kRun);
    EXPECT_TRUE(app.GetDocument()->m_db.IsConnected());
    EXPECT_EQ(app.m_strUserName, QString::fromLatin1(quorin::test::kTestLogin));
    CMainFrame* frame = app.m_pMainFrame;
    app.GetDocument()->UI().BringForward(quorin::UserInterface::Page::Comments);
    EXPECT_EQ(qobject_cast<TTabWnd*>(frame->m_pTabAudiogram->GetWnd())->GetActiveTab(), 2);
    EXPECT_TRUE(frame->m_pNodeComments->GetWnd()->isVisible());
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_FILE_NEW));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd())->GetActiveTab(), 0);
    EXPECT_EQ(qobject_cast<TTabWnd*>(frame->m_pTabAudiogram->GetWnd())->GetActiveTab(), 0);
}

} // namespace
