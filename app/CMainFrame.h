#pragma once
// The program's one top-level window: menu, toolbar, four-pane status bar and, as its
// client area, the nine-node tabbed workspace whose pages are views of the document.

#include "framework/CreateContext.h"
#include "framework/TFrameWnd.h"
#include "framework/TVisualFramework.h"

class CLockKeyPanes;
class CQuorinDoc;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;

class CMainFrame : public TFrameWnd {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the workspace for the context's document and brings the Subject tab
    // forward; false when a page could not be created.
    bool OnCreateClient(CCreateContext* context);

    TVisualFramework m_wndFramework;
    QStatusBar* m_wndStatusBar = nullptr;
    QToolBar* m_wndToolBar = nullptr;

    TVisualNode* m_pTabMain = nullptr;
    TVisualNode* m_pTabAudiogram = nullptr;
    TVisualNode* m_pNodeChart = nullptr;
    TVisualNode* m_pNodeAudData = nullptr;
    TVisualNode* m_pNodeSubject = nullptr;
    TVisualNode* m_pNodeOther = nullptr;
    TVisualNode* m_pNodeComments = nullptr;
    TVisualNode* m_pNodeCIData = nullptr;
    TVisualNode* m_pNodeSLL = nullptr;

    // The window caption: document title, " - ", application title.
    void SetDocumentTitle(const QString& title);

    QMenu* MenuByTitle(const QString& title) const;

    // The Caps, Num and Scroll Lock panes of the status bar.
    CLockKeyPanes* LockKeyPanes() const { return m_pLockKeyPanes; }

protected:
    void showEvent(QShowEvent* event) override;
    // Unsaved work is offered for saving first; Cancel (or a save that stopped) keeps
    // the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeCommandAction(unsigned id);
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void InstallFrameCommands();
    void InstallShortcutOnlyCommands();

    QList<QMenu*> m_menus;
    bool m_bShownOnce = false;
    CQuorinDoc* m_pDocument = nullptr; // the document the workspace shows
    CLockKeyPanes* m_pLockKeyPanes = nullptr;
};
