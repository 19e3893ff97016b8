#include "app/CQuorinApp.h"

#include "app/CAboutDlg.h"
#include "app/CDocumentCommands.h"
#include "app/CLoginDlg.h"
#include "app/CMainFrame.h"
#include "app/FirstStartDialog.h"
#include "dalport/Backup.h"
#include "dalport/Registry.h"
#include "document/FirstLogin.h"
#include "document/CQuorinDoc.h"
#include "framework/ApplicationPrinter.h"
#include "resources/Resource.h"
#include "rules/DbString.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QScreen>
#include <QSettings>

#include <exception>

namespace {
CQuorinApp* g_app = nullptr;
// The server of the last login that connected (absent: the default registry).
const QString kLastServerKey = QStringLiteral("Login/Server");
}

CQuorinApp::CQuorinApp()
{
    g_app = this;
    m_loginRunner = [](CLoginDlg& dialog) { return dialog.DoModal(); };
    m_firstStartRunner = [] {
        return quorin::RunFirstStart(quorin::ChooseFirstStart, quorin::QtFirstStartPrompts());
    };
    m_firstRunPrompts = quorin::QtFirstRunPrompts();
    CommandMap().On(res::ID_APP_ABOUT, [this] { OnAppAbout(); });
    CommandMap().On(res::ID_FILE_NEW, [this] { OnFileNew(); });
    CommandMap().On(res::ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
}

CQuorinApp::~CQuorinApp()
{
    // Views detach from the document as they go, so the frame goes first.
    m_frame.reset();
    m_documentCommands.reset();
    m_document.reset();
    if (g_app == this)
        g_app = nullptr;
}

CQuorinApp* CQuorinApp::Instance()
{
    return g_app;
}

void CQuorinApp::LoadStdProfileSettings(int maxRecentFiles)
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 1; i <= maxRecentFiles; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty())
            m_recentFiles << file;
    }
    settings.endGroup();
}

int CQuorinApp::InitInstance()
{
    // The per-user settings key, and the recent-file list of four entries.
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorin"));
    LoadStdProfileSettings(4);

    // The server of the last login that connected is named again, and a machine that
    // always works on a SQL Server never sees the first start; a registry folder since
    // removed names nothing. Otherwise, without a registry at the default place the first
    // start comes first; what it made or chose fills the login dialog. Quitting it ends
    // as a cancelled login does.
    QString remembered = QSettings().value(kLastServerKey).toString();
    if (dalport::NamesMissingRegistry(quorin::ToDb(remembered)))
        remembered.clear();
    const std::optional<quorin::LoginFields> fields =
        remembered.isEmpty() ? m_firstStartRunner() : quorin::LoginFields{remembered, QString()};
    if (!fields)
        return 1;
    {
        CLoginDlg login;
        login.m_strServer = fields->server;
        login.m_strUserName = fields->userName;
        if (m_loginRunner(login) != CTemplateDialog::IDOK)
            return 1;
        m_strUserName = login.m_strUserName;
        m_strPassword = login.m_strPassword;
        m_strServer = login.m_strServer;
    }

    // A temporary password is changed before the document connects. A registry whose
    // storage is at fault has been named with what is wrong: nothing here could work.
    if (quorin::CheckFirstLogin(m_strServer, m_strUserName, m_strPassword, m_firstRunPrompts)
        == quorin::FirstLoginResult::StorageProblem)
        return 1;

    if (!OnFileNew())
        return 1;
    RememberServer();
    // Without a window manager (a bare X server) maximising does nothing, so the window
    // first takes the whole screen itself.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_pMainFrame->setGeometry(screen->availableGeometry());
    m_pMainFrame->showMaximized();
    m_pMainFrame->update();
    WarnOfNetworkFolder();
    return kRun;
}

void CQuorinApp::RememberServer()
{
    if (!m_document->m_db.IsConnected())
        return;
    QSettings settings;
    if (m_strServer.isEmpty())
        settings.remove(kLastServerKey);
    else
        settings.setValue(kLastServerKey, m_strServer);
}

void CQuorinApp::WarnOfNetworkFolder()
{
    const std::string server = quorin::ToDb(m_strServer);
    if (!m_document->m_db.IsConnected() || !dalport::IsEmbeddedServerName(server))
        return;
    try {
        if (const auto warning = dalport::NetworkFolderWarning(server))
            m_ui.MessageBox(QString::fromStdString(*warning), quorin::UserInterface::Icon::Information,
                            quorin::UserInterface::Buttons::Ok);
    } catch (const std::exception&) {
        // A file system that cannot be told is no reason to stop a login that worked.
    }
}

bool CQuorinApp::CreateFirstDocument()
{
    m_document = std::make_unique<CQuorinDoc>(m_ui);
    m_documentCommands = std::make_unique<CDocumentCommands>(*m_document);
    m_ui.SetDocument(m_document.get());
    m_frame = std::make_unique<CMainFrame>();
    m_frame->SetDocumentTarget(m_documentCommands.get());
    m_frame->SetApplicationTarget(this);
    m_ui.SetMainFrame(m_frame.get());
    m_context.m_pCurrentDoc = m_document.get();
    // A page that could not be created is simply absent.
    m_frame->OnCreateClient(&m_context);
    m_pMainFrame = m_frame.get();
    // The document's own copy of the login values, for every session it opens.
    m_document->m_strUserName = m_strUserName;
    m_document->m_strPassword = m_strPassword;
    m_document->m_strServer = m_strServer;
    return true;
}

bool CQuorinApp::OnFileNew()
{
    if (!m_document && !CreateFirstDocument())
        return false;
    const bool made = m_document->OnNewDocument();
    // A cleared document starts over where a new subject starts: the first field of the
    // page in front. A subject kept open because its save stopped keeps the focus where
    // the save put it. (The first time, the window's first showing does this.)
    if (made && m_pMainFrame && m_pMainFrame->isVisible() && !m_document->IsModified())
        m_pMainFrame->m_wndFramework.ActivateFrontView();
    return made;
}

void CQuorinApp::OnAppAbout()
{
    CAboutDlg about(m_pMainFrame);
    about.DoModal();
}

void CQuorinApp::OnFilePrintSetup()
{
    QPageSetupDialog dialog(&framework::ApplicationPrinter(), m_pMainFrame);
    dialog.exec();
}
