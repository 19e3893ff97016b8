#include "app/CMainFrame.h"

#include "document/CQuorinDoc.h"
#include "app/LockKeyPanes.h"
#include "registration/WorkspacePages.h"
#include "framework/ResourceImages.h"
#include "framework/TTabWnd.h"
#include "resources/Artwork.h"
#include "resources/CommandTable.h"
#include "resources/MenuLayout.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "resources/ToolbarLayout.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

QList<QKeySequence> Shortcuts(const res::CommandInfo& info)
{
    QList<QKeySequence> keys;
    const QString text = QString::fromUtf8(info.shortcuts);
    for (const QString& part : text.split(QStringLiteral("; "), Qt::SkipEmptyParts))
        keys << QKeySequence(part, QKeySequence::PortableText);
    return keys;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : TFrameWnd(parent)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(QIcon(framework::LoadImageResource(res::IDR_MAINFRAME)));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    InstallShortcutOnlyCommands();
    InstallFrameCommands();
    SetDocumentTitle(QString());
}

CMainFrame::~CMainFrame()
{
    m_wndFramework.Destroy();
}

QAction* CMainFrame::MakeCommandAction(unsigned id)
{
    if (QAction* existing = CommandAction(id))
        return existing;
    const res::CommandInfo* info = res::FindCommand(id);
    auto action = new QAction(this);
    if (info) {
        // The text after a tab is what the menu shows as the accelerator ("Alt 1").
        const QString text = QString::fromUtf8(info->menuText);
        action->setText(text.isEmpty() ? QString::fromUtf8(info->toolTip) : text);
        action->setShortcuts(Shortcuts(*info));
        action->setStatusTip(QString::fromUtf8(info->statusText));
        action->setToolTip(QString::fromUtf8(info->toolTip));
    }
    action->setIcon(QIcon(res::ToolbarImage(id)));
    action->setIconVisibleInMenu(false);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    RegisterCommandAction(id, action);
    return action;
}

void CMainFrame::BuildMenus()
{
    for (const res::MenuPopup& popup : res::MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.title));
        m_menus << menu;
        for (const res::MenuEntry& entry : popup.entries) {
            if (entry.id == 0)
                menu->addSeparator();
            else
                menu->addAction(MakeCommandAction(entry.id));
        }
        connect(menu, &QMenu::aboutToShow, this, &TFrameWnd::UpdateCommandUI);
    }
}

void CMainFrame::BuildToolBar()
{
    m_wndToolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_wndToolBar->setObjectName(QStringLiteral("toolbar59392"));
    m_wndToolBar->setIconSize(QSize(16, 15));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (unsigned id : res::MainToolbar()) {
        if (id == 0)
            m_wndToolBar->addSeparator();
        else
            m_wndToolBar->addAction(MakeCommandAction(id));
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

void CMainFrame::BuildStatusBar()
{
    m_wndStatusBar = new QStatusBar(this);
    m_wndStatusBar->setObjectName(QStringLiteral("statusbar59393"));
    setStatusBar(m_wndStatusBar);
    // The message pane shows "Ready" when idle; the three indicators follow it.
    m_wndStatusBar->showMessage(res::StringResource(57345));
    connect(m_wndStatusBar, &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            m_wndStatusBar->showMessage(res::StringResource(57345));
    });
    QList<QLabel*> panes;
    for (int id : {res::ID_INDICATOR_CAPS, res::ID_INDICATOR_NUM, res::ID_INDICATOR_SCRL}) {
        auto pane = new QLabel(res::StringResource(id), m_wndStatusBar);
        pane->setObjectName(QStringLiteral("indicator%1").arg(id));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // Each pane keeps the width of its text, shown or not.
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(pane->text()) + 10);
        m_wndStatusBar->addPermanentWidget(pane);
        panes << pane;
    }
    m_pLockKeyPanes = new CLockKeyPanes(panes[0], panes[1], panes[2], this);
}

void CMainFrame::InstallShortcutOnlyCommands()
{
    // Commands reached only by their keys (Open, Undo, the panes) still need an action.
    for (unsigned id : {res::ID_FILE_OPEN, res::ID_EDIT_UNDO, res::ID_NEXT_PANE, res::ID_PREV_PANE})
        MakeCommandAction(id);
}

void CMainFrame::InstallFrameCommands()
{
    CCommandMap& map = CommandMap();
    map.On(res::ID_APP_EXIT, [this] { close(); });
    map.On(res::ID_VIEW_TOOLBAR, [this] { m_wndToolBar->setVisible(!m_wndToolBar->isVisible()); });
    map.OnUpdate(res::ID_VIEW_TOOLBAR, [this](CCmdUI* ui) { ui->SetCheck(m_wndToolBar->isVisibleTo(this)); });
    map.On(res::ID_VIEW_STATUS_BAR, [this] { m_wndStatusBar->setVisible(!m_wndStatusBar->isVisible()); });
    map.OnUpdate(res::ID_VIEW_STATUS_BAR, [this](CCmdUI* ui) { ui->SetCheck(m_wndStatusBar->isVisibleTo(this)); });
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_pDocument && !m_pDocument->SaveModified()) {
        event->ignore();
        return;
    }
    TFrameWnd::closeEvent(event);
}

bool CMainFrame::OnCreateClient(CCreateContext* context)
{
    m_pDocument = context ? context->m_pCurrentDoc : nullptr;
    auto view = [&](unsigned id, const char* caption) {
        return new TVisualNode(id, QString::fromLatin1(caption), quorin::WorkspacePageClass(id), context);
    };
    m_pTabMain = new TVisualNode(1, QString(), TTabWnd::WindowClass(), context, TVisualNode::TabsTop);
    m_pNodeSubject = view(5, "Subject");
    m_pTabAudiogram = new TVisualNode(2, QStringLiteral("Audiogram"), TTabWnd::WindowClass(), context);
    m_pNodeChart = view(3, "Audiogram");
    m_pNodeAudData = view(4, "Data");
    m_pNodeComments = view(7, "Comments");
    m_pNodeCIData = view(8, "CI Data");
    m_pNodeSLL = view(9, "S/L/L");
    m_pNodeOther = view(6, "Other");

    m_pNodeSubject->SetIcon(res::IDI_SUBJECT);
    for (TVisualNode* node : {m_pTabAudiogram, m_pNodeChart, m_pNodeAudData, m_pNodeComments})
        node->SetIcon(res::IDI_AUDIOGRAM);
    m_pNodeOther->SetIcon(res::IDI_PAGE);
    m_pNodeSLL->SetIcon(res::IDI_PAGE);
    m_pNodeCIData->SetIcon(res::IDI_CIDATA);

    // A node the framework refuses stays ours: it is deleted here and its pointer cleared,
    // so that no member points at a node nobody owns.
    auto add = [this](TVisualNode* parent, TVisualNode*& node) {
        const bool added = parent ? m_wndFramework.Add(parent, node) : m_wndFramework.Add(node);
        if (!added) {
            delete node;
            node = nullptr;
        }
    };
    add(nullptr, m_pTabMain);
    add(m_pTabMain, m_pNodeSubject);
    add(m_pTabMain, m_pTabAudiogram);
    add(m_pTabAudiogram, m_pNodeChart);
    add(m_pTabAudiogram, m_pNodeAudData);
    add(m_pTabAudiogram, m_pNodeComments);
    add(m_pTabMain, m_pNodeCIData);
    add(m_pTabMain, m_pNodeSLL);
    add(m_pTabMain, m_pNodeOther);

    const bool created = m_wndFramework.Create(this);
    m_wndFramework.SetActiveTab(m_pNodeSubject);
    return created;
}

void CMainFrame::showEvent(QShowEvent* event)
{
    TFrameWnd::showEvent(event);
    // The first key the user types after login goes into the page in front.
    if (!m_bShownOnce) {
        m_bShownOnce = true;
        m_wndFramework.ActivateFrontView();
    }
}

void CMainFrame::SetDocumentTitle(const QString& title)
{
    const QString app = res::StringResource(res::IDS_APP_TITLE);
    setWindowTitle(title.isEmpty() ? app : title + QStringLiteral(" - ") + app);
}

QMenu* CMainFrame::MenuByTitle(const QString& title) const
{
    for (QMenu* menu : m_menus) {
        if (menu->title() == title)
            return menu;
    }
    return nullptr;
}
