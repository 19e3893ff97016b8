#include "framework/TVisualFramework.h"

#include "framework/ControlId.h"
#include "framework/FocusChain.h"
#include "framework/TFrameWnd.h"
#include "framework/TTabWnd.h"
#include "framework/TVisualFormView.h"

#include <QMainWindow>

TVisualFramework::TVisualFramework() = default;

TVisualFramework::~TVisualFramework()
{
    Destroy();
}

bool TVisualFramework::Add(TVisualNode* node)
{
    if (!node || m_index.count(node->m_nId))
        return false;
    node->m_pFramework = this;
    m_roots.push_back(node);
    m_index[node->m_nId] = node;
    return true;
}

bool TVisualFramework::Add(TVisualNode* parent, TVisualNode* node)
{
    if (!node || !parent || m_index.count(node->m_nId) || FindNode(parent->m_nId) != parent)
        return false;
    node->m_pParent = parent;
    node->m_pFramework = this;
    parent->m_children.push_back(node);
    m_index[node->m_nId] = node;
    return true;
}

TVisualNode* TVisualFramework::FindNode(unsigned id) const
{
    const auto found = m_index.find(id);
    return found == m_index.end() ? nullptr : found->second;
}

TVisualNode* TVisualFramework::FindNode(const QWidget* window) const
{
    for (const auto& [id, node] : m_index) {
        if (window && node->m_pWnd == window)
            return node;
    }
    return nullptr;
}

bool TVisualFramework::Create(QMainWindow* frame)
{
    m_pFrame = frame;
    bool ok = true;
    for (TVisualNode* root : m_roots)
        ok = CreateNode(root) && ok;
    return ok;
}

bool TVisualFramework::CreateNode(TVisualNode* node)
{
    if (node->m_nType != TVisualNode::KindTabWnd && node->m_nType != TVisualNode::KindView)
        return false;
    QWidget* host = node->m_pParent ? node->m_pParent->m_pWnd.data() : m_pFrame;
    node->m_pParentWnd = host;
    if (auto tabHost = qobject_cast<TTabWnd*>(host)) {
        node->m_pWnd = tabHost->AddView(node->m_strTitle, node->m_windowClass, node->m_pContext);
        if (node->m_pWnd)
            tabHost->SetTabIcon(tabHost->GetTabIndex(node->m_pWnd), node->m_icon);
    } else if (node->m_nType == TVisualNode::KindTabWnd && host == m_pFrame && m_pFrame) {
        QWidget* window = node->m_windowClass.create(m_pFrame, node->m_pContext);
        if (window) {
            framework::SetControlId(window, TTabWnd::kFrameChildId);
            m_pFrame->setCentralWidget(window);
            window->show();
        }
        node->m_pWnd = window;
    } else {
        return false;
    }
    if (!node->m_pWnd)
        return false;
    if (node->m_nType == TVisualNode::KindView)
        TFrameWnd::MarkAsView(node->m_pWnd);

    if (auto tabs = qobject_cast<TTabWnd*>(node->m_pWnd.data())) {
        if (node->m_dwStyle & TVisualNode::TabsTop)
            tabs->SetTabPos(TTabWnd::TabsOnTop);
        else if (node->m_dwStyle & TVisualNode::TabsBottom)
            tabs->SetTabPos(TTabWnd::TabsOnBottom);
    }
    if (node->m_dwStyle & TVisualNode::ActiveTab) {
        if (auto tabHost = qobject_cast<TTabWnd*>(host))
            tabHost->SetActiveTab(tabHost->GetTabIndex(node->m_pWnd), true);
    }

    bool ok = true;
    for (TVisualNode* child : node->m_children)
        ok = CreateNode(child) && ok;
    return ok;
}

void TVisualFramework::SetActiveTab(TVisualNode* node)
{
    if (!node || !node->m_pWnd)
        return;
    if (auto tabHost = qobject_cast<TTabWnd*>(node->m_pParentWnd))
        tabHost->SetActiveTab(tabHost->GetTabIndex(node->m_pWnd), false);
}

void TVisualFramework::BringForward(TVisualNode* node)
{
    // Outer tab windows first, so that the nested one shows with its page.
    std::vector<TVisualNode*> path;
    for (TVisualNode* n = node; n; n = n->m_pParent)
        path.insert(path.begin(), n);
    for (TVisualNode* n : path)
        SetActiveTab(n);
}

QWidget* TVisualFramework::GetFrontView() const
{
    QWidget* view = m_roots.empty() ? nullptr : m_roots.front()->m_pWnd.data();
    while (auto tabs = qobject_cast<TTabWnd*>(view))
        view = tabs->GetTabWnd(tabs->GetActiveTab());
    return view;
}

void TVisualFramework::ActivateFrontView()
{
    QWidget* view = GetFrontView();
    if (!view)
        return;
    if (auto form = qobject_cast<TVisualFormView*>(view)) {
        form->ActivateFirstControl();
        return;
    }
    if (auto frame = qobject_cast<TFrameWnd*>(m_pFrame))
        frame->SetActiveView(view);
    framework::FocusFirstTabStop(view);
}

void TVisualFramework::DestroyNode(TVisualNode* node)
{
    for (TVisualNode* child : node->m_children)
        DestroyNode(child);
    if (node->m_nType == TVisualNode::KindTabWnd && node->m_pWnd) {
        if (m_pFrame && m_pFrame->centralWidget() == node->m_pWnd)
            m_pFrame->takeCentralWidget();
        delete node->m_pWnd.data();
    }
}

void TVisualFramework::Destroy()
{
    for (TVisualNode* root : m_roots)
        DestroyNode(root);
    for (auto& [id, node] : m_index)
        delete node;
    m_index.clear();
    m_roots.clear();
}
