// The application shell on Qt's offscreen platform: the login dialog, the About box,
// start-up with a failing and a working login, the main frame's menus, bars and
// workspace, and what the tab band looks like in the real window.
#include "app/CAboutDlg.h"
#include "app/CDocumentCommands.h"
#include "app/CLoginDlg.h"
#include "app/CMainFrame.h"
#include "app/CQuorinApp.h"
#include "document/CQuorinDoc.h"
#include "app/ComponentVersions.h"
#include "registration/DialogRegistry.h"
#include "app/LockKeyPanes.h"
#include "app/QtUserInterface.h"
#include "registration/DocumentCommandRegistry.h"
#include "framework/ControlId.h"
#include "framework/TTabWnd.h"
#include "resources/Artwork.h"
#include "resources/Resource.h"
#include "MessageRecorder.h"
#include "app/DocumentFixture.h"
#include "support/ScriptedUserInterface.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <sqlite3.h>

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

TEST_F(LoginDialogTest, UserNameHasTheFocusAtFirst)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Velmar"));
    EXPECT_EQ(QApplication::focusWidget(), Field(&dialog, res::IDC_USERNAME));
    EXPECT_EQ(Field(&dialog, res::IDC_PASSWORD)->echoMode(), QLineEdit::Password);
}

TEST_F(LoginDialogTest, EmptyUserNameIsRefusedWithAMessageAndTheDialogStays)
{
    Field(&dialog, res::IDC_PASSWORD)->setText(QStringLiteral("secret"));
    FindControlAs<QPushButton>(&dialog, res::IDOK)->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("You must enter a username"));
    EXPECT_EQ(messages.shown[0].icon, framework::MessageIcon::Stop);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Field(&dialog, res::IDC_PASSWORD)->text(), QStringLiteral("secret"));
}

TEST_F(LoginDialogTest, BlankUserNameIsAcceptedAndEnterInAnyFieldActsAsOk)
{
    Field(&dialog, res::IDC_USERNAME)->setText(QStringLiteral("   "));
    QTest::keyClick(Field(&dialog, res::IDC_SERVER), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strUserName, QStringLiteral("   "));
    EXPECT_EQ(dialog.m_strServer, QString());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LoginDialogTest, EscapeCancels)
{
    QTest::keyClick(Field(&dialog, res::IDC_USERNAME), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(LoginDialogTest, LogoLeftHalfIsPaintedOnTheDialogColour)
{
    const QImage shot = dialog.grab().toImage();
    const QColor background = dialog.palette().color(dialog.backgroundRole());
    const int half = res::LogoImage().width() / 2;
    // The logo's white became the dialog's colour.
    EXPECT_EQ(shot.pixelColor(0, 0).rgb(), background.rgb());
    int logoPixels = 0;
    for (int y = 0; y < res::LogoImage().height(); ++y) {
        for (int x = 0; x < half; ++x)
            logoPixels += shot.pixelColor(x, y).rgb() != background.rgb();
        EXPECT_EQ(shot.pixelColor(half + 2, y).rgb(), background.rgb()) << "right half drawn at row " << y;
    }
    EXPECT_GT(logoPixels, 500);
    EXPECT_EQ(res::LogoImage().size(), QSize(203, 140));
    EXPECT_EQ(res::LogoImage().colorCount(), 16);
}

TEST(AboutBox, NamesTheDataAccessComponentsReallyUsed)
{
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Quorin"));
    QStringList lines;
    for (QLabel* label : about.findChildren<QLabel*>())
        lines << label->text();
    EXPECT_TRUE(lines.contains(QStringLiteral("Quorin Version 2.1")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Data Access:  Dalport 2.1")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Embedded Engine:  SQLite ") + QString::fromLatin1(sqlite3_libversion())));
    // The driver manager by its release, as the unixODBC tools print it, with the ODBC
    // API level it reports (SQL_DM_VER, "03.52.nnnn.nnnn") after it.
    const QString release = quorin::UnixOdbcVersion();
    ASSERT_FALSE(release.isEmpty());
    EXPECT_TRUE(release.count(QLatin1Char('.')) == 2 && release.front().isDigit()) << release.toStdString();
    EXPECT_TRUE(quorin::OdbcDriverManagerVersion().startsWith(QStringLiteral("03.")))
        << quorin::OdbcDriverManagerVersion().toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("ODBC Driver Manager:  unixODBC %1 (ODBC %2)")
                                   .arg(release, quorin::OdbcDriverManagerVersion().left(5))))
        << lines.join(QStringLiteral(" | ")).toStdString();
}

TEST(Startup, CancelledLoginEndsWithExitCodeOneAndNoWindow)
{
    CQuorinApp app;
    app.SetLoginRunner([](CLoginDlg&) { return int(CTemplateDialog::IDCANCEL); });
    EXPECT_EQ(app.InitInstance(), 1);
    EXPECT_EQ(app.m_pMainFrame, nullptr);
    EXPECT_EQ(app.GetDocument(), nullptr);
}

TEST(Startup, DecliningTheFirstRegistryLeadsToLoginFailed)
{
    QTemporaryDir folder;
    const QByteArray previous = qgetenv("QUORIN_REGISTRY");
    const QString registry = folder.path() + QStringLiteral("/none-yet");
    qputenv("QUORIN_REGISTRY", registry.toLocal8Bit());
    framework::test::MessageRecorder messages;
    QStringList questions;
    {
        CQuorinApp app;
        app.SetLoginRunner(LoginWith(QStringLiteral("labadmin"), QString(), QString()));
        quorin::FirstRunPrompts prompts;
        prompts.askYesNo = [&](const QString& question) {
            questions << question;
            return false;
        };
        prompts.askPassword = [](const QString&) { return std::optional<QString>(); };
        prompts.tell = [](const QString&) {};
        app.SetFirstRunPrompts(prompts);
        ASSERT_EQ(app.InitInstance(), CQuorinApp::kRun);
        EXPECT_FALSE(app.GetDocument()->m_db.IsConnected());
    }
    qputenv("QUORIN_REGISTRY", previous);
    EXPECT_EQ(questions.size(), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Login Failed!"));
    EXPECT_FALSE(QFileInfo::exists(registry + QStringLiteral("/master.db")));
}

class FailedLoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        app.SetLoginRunner(LoginWith(QStringLiteral("nobody"), QStringLiteral("x"), folder.path() + "/missing"));
        ASSERT_EQ(app.InitInstance(), CQuorinApp::kRun);
        ASSERT_NE(app.m_pMainFrame, nullptr);
    }
    QTemporaryDir folder;
    framework::test::MessageRecorder messages;
    CQuorinApp app;
};

TEST_F(FailedLoginTest, LoginFailedIsShownAndTheWindowOpensAnyway)
{
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Login Failed!"));
    EXPECT_EQ(messages.shown[0].icon, framework::MessageIcon::Stop);
    EXPECT_TRUE(app.m_pMainFrame->isMaximized());
    EXPECT_EQ(app.m_pMainFrame->windowTitle(), QStringLiteral("Quorin Demo - Quorin"));
    EXPECT_EQ(app.GetDocument()->m_strServer, folder.path() + "/missing");
    EXPECT_FALSE(app.GetDocument()->m_db.IsConnected());
}

TEST_F(FailedLoginTest, FileNewWithTheSameValuesFailsAgain)
{
    EXPECT_TRUE(app.m_pMainFrame->ExecuteCommand(res::ID_FILE_NEW));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("Login Failed!"));
}

TEST_F(FailedLoginTest, WorkspaceHasItsNineNodesInOrderWithSubjectInFront)
{
    CMainFrame* frame = app.m_pMainFrame;
    auto top = qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd());
    auto audiogram = qobject_cast<TTabWnd*>(frame->m_pTabAudiogram->GetWnd());
    ASSERT_NE(top, nullptr);
    ASSERT_NE(audiogram, nullptr);
    QStringList topTabs, bottomTabs;
    for (int i = 0; i < top->GetTabCount(); ++i)
        topTabs << top->GetTabTitle(i);
    for (int i = 0; i < audiogram->GetTabCount(); ++i)
        bottomTabs << audiogram->GetTabTitle(i);
    EXPECT_EQ(topTabs, QStringList({"Subject", "Audiogram", "CI Data", "S/L/L", "Other"}));
    EXPECT_EQ(bottomTabs, QStringList({"Audiogram", "Data", "Comments"}));
    EXPECT_EQ(top->GetTabPos(), TTabWnd::TabsOnTop);
    EXPECT_EQ(audiogram->GetTabPos(), TTabWnd::TabsOnBottom);
    EXPECT_EQ(top->GetActiveTab(), 0);
    EXPECT_EQ(frame->m_pNodeSubject->GetWnd()->objectName(), QStringLiteral("CFormSubject"));
    EXPECT_EQ(frame->m_pNodeSLL->GetWnd()->objectName(), QStringLiteral("CFormSLL"));
    for (unsigned id = 1; id <= 9; ++id)
        EXPECT_NE(frame->m_wndFramework.FindNode(id), nullptr) << id;
    // Icons on every tab: each is 18 pixels wider than its caption.
    const QFontMetrics metrics(top->TabFont());
    for (int i = 0; i < top->GetTabCount(); ++i)
        EXPECT_EQ(top->TabWidth(i), qMin(metrics.horizontalAdvance(top->GetTabTitle(i)) + 4, 200) + 18);
}

TEST_F(FailedLoginTest, RenderedWindowShowsTheRaisedSubjectTab)
{
    CMainFrame* frame = app.m_pMainFrame;
    frame->showNormal();
    frame->resize(1000, 700);
    QApplication::processEvents();
    auto top = qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd());
    const QImage shot = frame->grab().toImage();
    const QPoint origin = top->mapTo(frame, QPoint(0, 0));
    const QColor face = top->palette().color(QPalette::Button);
    const QColor shadow = top->palette().color(QPalette::Dark);
    // Tabs start at x 0 and follow each other 6 pixels apart.
    EXPECT_EQ(top->TabLeft(0), 0);
    for (int i = 1; i < top->GetTabCount(); ++i)
        EXPECT_EQ(top->TabLeft(i), top->TabRight(i - 1) + 6);
    const int activeMid = origin.x() + (top->TabLeft(0) + top->TabRight(0)) / 2;
    const int otherMid = origin.x() + (top->TabLeft(1) + top->TabRight(1)) / 2;
    EXPECT_EQ(shot.pixelColor(activeMid, origin.y() + 6).rgb(), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixelColor(otherMid, origin.y() + 26).rgb(), qRgb(0, 0, 0));
    // Raised: the active tab runs on into its page.
    EXPECT_EQ(shot.pixelColor(activeMid, origin.y() + 26).rgb(), face.rgb());
    EXPECT_EQ(shot.pixelColor(otherMid, origin.y() + 30).rgb(), shadow.rgb());
    // The Subject tab's icon sits at (x + 4, 8).
    const QImage icon = shot.copy(origin.x() + 4, origin.y() + 8, 16, 16);
    int coloured = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            coloured += icon.pixelColor(x, y).rgb() != face.rgb();
    EXPECT_GT(coloured, 20);
}

TEST_F(FailedLoginTest, MenusToolbarAndStatusBarAreComplete)
{
    CMainFrame* frame = app.m_pMainFrame;
    QStringList titles;
    for (QAction* menu : frame->menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Tools", "Reports", "&Symbol", "&View", "&Help"}));
    QStringList view;
    for (QAction* item : frame->MenuByTitle(QStringLiteral("&View"))->actions())
        view << item->text();
    EXPECT_EQ(view, QStringList({"&Toolbar", "&Status Bar", "Page Prev", "Home", "Page Next"}));
    EXPECT_EQ(frame->MenuByTitle(QStringLiteral("&Symbol"))->actions().at(0)->text(),
              QStringLiteral("AC (TDH-49) Right Ear\tAlt 1"));

    const auto buttons = frame->m_wndToolBar->actions();
    EXPECT_EQ(buttons.size(), 29);
    EXPECT_EQ(buttons.at(0), frame->CommandAction(res::ID_FILE_NEW));
    EXPECT_EQ(buttons.at(12), frame->CommandAction(res::ID_PAGE_PREV));
    EXPECT_EQ(buttons.at(28), frame->CommandAction(res::ID_AUD_EDIT));
    EXPECT_FALSE(frame->CommandAction(32795)->icon().isNull());
    EXPECT_EQ(frame->m_wndToolBar->iconSize(), QSize(16, 15));

    QList<QLabel*> panes = frame->m_wndStatusBar->findChildren<QLabel*>(QRegularExpression("^indicator"));
    ASSERT_EQ(panes.size(), 3);
    // The offscreen platform cannot tell a lock's state, so no pane claims a lock is on,
    // not even after the lock keys.
    for (int key : {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock})
        QTest::keyClick(frame, Qt::Key(key));
    QApplication::processEvents();
    for (QLabel* pane : panes)
        EXPECT_EQ(pane->text(), QString());
    EXPECT_EQ(frame->CommandAction(res::ID_FILE_SAVE)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(frame->CommandAction(res::ID_SYMBOL_ERASER)->shortcut(), QKeySequence(QStringLiteral("Alt+-")));

    // The status-bar texts the program gives its commands.
    EXPECT_EQ(frame->CommandAction(res::ID_TOOLS_RECRUITMENT)->statusTip(), QStringLiteral("Edit Recruitment Methods"));
    EXPECT_EQ(frame->CommandAction(res::ID_TOOLS_UPDATE)->statusTip(),
              QStringLiteral("Update Subject Records from Audiogram Manager."));
    EXPECT_EQ(frame->CommandAction(res::ID_TOOLS_CID_IMPORT)->statusTip(), QStringLiteral("Import from CID Database"));
    EXPECT_EQ(frame->CommandAction(res::ID_AUD_EDIT)->statusTip(), QStringLiteral("Edit the current Audiogram"));
    EXPECT_EQ(frame->CommandAction(res::ID_PAGE_PREV)->statusTip(), QStringLiteral("View Previous Test."));
}

TEST_F(FailedLoginTest, UpdateHandlersOfTheShell)
{
    CMainFrame* frame = app.m_pMainFrame;
    CQuorinDoc* doc = app.GetDocument();
    // Print has no handler in the workspace pages; Save and New are handled.
    EXPECT_FALSE(frame->QueryCommand(res::ID_FILE_PRINT).IsEnabled());
    EXPECT_TRUE(frame->QueryCommand(res::ID_FILE_SAVE).IsEnabled());
    EXPECT_TRUE(frame->QueryCommand(res::ID_APP_ABOUT).IsEnabled());
    // Page Prev: enabled before any history; disabled at the oldest test of a loaded one.
    EXPECT_TRUE(frame->QueryCommand(res::ID_PAGE_PREV).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(res::ID_PAGE_NEXT).IsEnabled());
    doc->m_bHistoryLoaded = 1;
    doc->m_nHistoryPos = 1;
    doc->m_nHistoryCount = 2;
    doc->m_nPageDir = 1;
    EXPECT_FALSE(frame->QueryCommand(res::ID_PAGE_PREV).IsEnabled());
    EXPECT_TRUE(frame->QueryCommand(res::ID_PAGE_NEXT).IsEnabled());
    doc->m_nHistoryPos = 3; // the current test again
    EXPECT_TRUE(frame->QueryCommand(res::ID_PAGE_PREV).IsEnabled());
    EXPECT_FALSE(frame->QueryCommand(res::ID_PAGE_NEXT).IsEnabled());
    // The toolbar follows.
    frame->UpdateCommandUI();
    EXPECT_FALSE(frame->CommandAction(res::ID_PAGE_NEXT)->isEnabled());
    // View > Toolbar is checked while the toolbar shows, and hides it.
    EXPECT_EQ(frame->QueryCommand(res::ID_VIEW_TOOLBAR).Checked(), 1);
    frame->ExecuteCommand(res::ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame->m_wndToolBar->isVisible());
    EXPECT_EQ(frame->QueryCommand(res::ID_VIEW_TOOLBAR).Checked(), 0);
}

TEST_F(FailedLoginTest, HiddenBarsLeaveTheWorkspaceFillingTheClientArea)
{
    CMainFrame* frame = app.m_pMainFrame;
    frame->showNormal();
    frame->resize(900, 700);
    QApplication::processEvents();
    const int before = frame->centralWidget()->height();
    frame->ExecuteCommand(res::ID_VIEW_STATUS_BAR);
    frame->ExecuteCommand(res::ID_VIEW_TOOLBAR);
    QApplication::processEvents();
    EXPECT_FALSE(frame->m_wndStatusBar->isVisible());
    EXPECT_GT(frame->centralWidget()->height(), before);
    EXPECT_EQ(frame->centralWidget()->geometry().bottom(), frame->height() - 1);
    auto top = qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd());
    EXPECT_EQ(top->GetTabWnd(0)->height(), top->height() - 32);
    EXPECT_EQ(frame->QueryCommand(res::ID_VIEW_STATUS_BAR).Checked(), 0);
}

TEST_F(FailedLoginTest, AWindowOfALaterSubsystemIsEnabledOnceRegistered)
{
    CMainFrame* frame = app.m_pMainFrame;
    EXPECT_FALSE(quorin::IsDialogAvailable(quorin::UserInterface::Dialog::ReportLetters));
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

TEST_F(FailedLoginTest, BringingPagesForwardFromTheDocument)
{
    CMainFrame* frame = app.m_pMainFrame;
    auto top = qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd());
    auto audiogram = qobject_cast<TTabWnd*>(frame->m_pTabAudiogram->GetWnd());
    app.GetDocument()->UI().BringForward(quorin::UserInterface::Page::Comments);
    EXPECT_EQ(top->GetActiveTab(), 1);
    EXPECT_EQ(audiogram->GetActiveTab(), 2);
    EXPECT_TRUE(frame->m_pNodeComments->GetWnd()->isVisible());
}

class WorkingLoginTest : public ::testing::Test {
protected:
    quorin::test::TestRegistry registry;
    framework::test::MessageRecorder messages;
};

TEST_F(WorkingLoginTest, LoginOpensTheConnectedMainWindow)
{
    CQuorinApp app;
    app.SetLoginRunner(LoginWith(QString::fromLatin1(quorin::test::kTestLogin),
                                 QString::fromLatin1(quorin::test::kTestPassword),
                                 QString::fromStdString(registry.Folder())));
    ASSERT_EQ(app.InitInstance(), CQuorinApp::kRun);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(app.GetDocument()->m_db.IsConnected());
    EXPECT_EQ(app.m_strUserName, QString::fromLatin1(quorin::test::kTestLogin));
    // File New with nothing changed clears without a question, and brings the chart
    // forward inside the Audiogram tab, then the Subject tab.
    CMainFrame* frame = app.m_pMainFrame;
    app.GetDocument()->UI().BringForward(quorin::UserInterface::Page::Comments);
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_FILE_NEW));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd())->GetActiveTab(), 0);
    EXPECT_EQ(qobject_cast<TTabWnd*>(frame->m_pTabAudiogram->GetWnd())->GetActiveTab(), 0);
}

TEST(QtUserInterface, MapsIconsButtonsAnswersAndUnknownDialogs)
{
    framework::test::MessageRecorder messages;
    messages.answers = {framework::MessageResult::Yes, framework::MessageResult::No};
    quorin::QtUserInterface qtUi;
    using UI = quorin::UserInterface;
    UI& ui = qtUi;
    EXPECT_EQ(ui.MessageBox(QStringLiteral("Save Current Subject?"), UI::Icon::Default, UI::Buttons::YesNo),
              UI::Answer::Yes);
    EXPECT_EQ(ui.MessageBox(QStringLiteral("Again?"), UI::Icon::Information, UI::Buttons::YesNo), UI::Answer::No);
    EXPECT_EQ(ui.MessageBox(QStringLiteral("Login Failed!"), UI::Icon::Stop), UI::Answer::Ok);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].buttons, framework::MessageButtons::YesNo);
    EXPECT_EQ(messages.shown[0].icon, framework::MessageIcon::Default);
    EXPECT_EQ(messages.shown[1].icon, framework::MessageIcon::Information);
    EXPECT_EQ(messages.shown[2].icon, framework::MessageIcon::Stop);
    EXPECT_EQ(messages.shown[2].buttons, framework::MessageButtons::Ok);

    quorin::test::ScriptedUserInterface scripted;
    CQuorinDoc doc(scripted);
    qtUi.SetDocument(&doc);
    EXPECT_EQ(ui.RunDialog(UI::Dialog::CidImport), 2); // nobody registered it
    ui.BeginWaitCursor();
    ui.BeginWaitCursor();
    ui.EndWaitCursor();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    ui.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(DocumentCommands, AdminImportAndRegisteredCommands)
{
    quorin::test::ScriptedUserInterface ui;
    CQuorinDoc doc(ui);
    int runs = 0;
    bool enabled = false;
    quorin::RegisterDocumentCommand(res::ID_PAGE_HOME, {[&](CQuorinDoc& d) { runs += &d == &doc; },
                                                        [&](const CQuorinDoc&) { return enabled; }});
    CDocumentCommands commands(doc);
    EXPECT_TRUE(commands.OnCmdMsg(res::ID_PAGE_HOME, nullptr));
    EXPECT_EQ(runs, 1);
    CCmdUI state(res::ID_PAGE_HOME);
    EXPECT_TRUE(commands.OnCmdMsg(res::ID_PAGE_HOME, &state));
    EXPECT_FALSE(state.IsEnabled());

    EXPECT_TRUE(commands.OnCmdMsg(res::ID_TOOLS_ADMIN_IMPORT, nullptr));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Unable to connect to Medical Manager Server!"));
    EXPECT_EQ(ui.Messages()[0].icon, quorin::UserInterface::Icon::Stop);
}

TEST(DocumentCommands, OpenChecksOnlyThatTheFileCanBeRead)
{
    quorin::test::ScriptedUserInterface ui;
    CQuorinDoc doc(ui);
    CDocumentCommands commands(doc);
    QTemporaryDir folder;
    const QString existing = folder.path() + "/notes.txt";
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ui.OpenFileNext(existing);
    commands.OnCmdMsg(res::ID_FILE_OPEN, nullptr);
    EXPECT_TRUE(ui.Messages().empty());
    ui.OpenFileNext(folder.path() + "/missing.txt");
    commands.OnCmdMsg(res::ID_FILE_OPEN, nullptr);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Error: Can't open input file."));
    EXPECT_EQ(ui.Messages()[0].icon, quorin::UserInterface::Icon::Stop);
    ui.OpenFileNext(QString()); // cancelled: nothing
    commands.OnCmdMsg(res::ID_FILE_OPEN, nullptr);
    EXPECT_EQ(ui.Messages().size(), 1u);
}

} // namespace
