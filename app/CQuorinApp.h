#pragma once
// The application object: start-up (settings, login, the first document and the main
// window), the login values kept for the whole run, and the application's commands.

#include "app/FirstRun.h"
#include "app/QtUserInterface.h"
#include "document/FirstLogin.h"
#include "framework/CmdTarget.h"
#include "framework/CreateContext.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class CDocumentCommands;
class CLoginDlg;
class CMainFrame;
class CQuorinDoc;

class CQuorinApp : public CCmdTarget {
public:
    // InitInstance's answer when the program goes on into its event loop.
    static constexpr int kRun = -1;

    CQuorinApp();
    ~CQuorinApp() override;

    // Start-up in its fixed order; kRun, or the exit code to end with (1 when the first
    // start's choice is quit, the login dialog cancelled or the first document cannot
    // be made).
    int InitInstance();

    // File New: the first time it builds the frame, the document and its views.
    bool OnFileNew();
    void OnAppAbout();
    void OnFilePrintSetup();

    // How the login dialog is run (tests answer it without a modal loop).
    void SetLoginRunner(std::function<int(CLoginDlg&)> runner) { m_loginRunner = std::move(runner); }
    // How the first start is run before the login (quorin::RunFirstStart): the fields the
    // login dialog opens with, or nullopt for Quit.
    using FirstStartRunner = std::function<std::optional<quorin::LoginFields>()>;
    void SetFirstStartRunner(FirstStartRunner runner) { m_firstStartRunner = std::move(runner); }
    void SetFirstRunPrompts(quorin::FirstRunPrompts prompts) { m_firstRunPrompts = std::move(prompts); }

    CQuorinDoc* GetDocument() const { return m_document.get(); }
    const QStringList& RecentFiles() const { return m_recentFiles; }

    QString m_strServer;
    QString m_strPassword;
    QString m_strUserName;
    CMainFrame* m_pMainFrame = nullptr;

    static CQuorinApp* Instance();

private:
    void LoadStdProfileSettings(int maxRecentFiles);
    bool CreateFirstDocument();
    // After a login that connected: its server is the next start's.
    void RememberServer();
    // After a login to an embedded registry on a network file system: the warning, once.
    void WarnOfNetworkFolder();

    quorin::QtUserInterface m_ui;
    std::unique_ptr<CQuorinDoc> m_document;
    std::unique_ptr<CDocumentCommands> m_documentCommands;
    std::unique_ptr<CMainFrame> m_frame;
    CCreateContext m_context;
    QStringList m_recentFiles;
    std::function<int(CLoginDlg&)> m_loginRunner;
    FirstStartRunner m_firstStartRunner;
    quorin::FirstRunPrompts m_firstRunPrompts;
};
