#include "framework/TFrameWnd.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

namespace {
constexpr const char* kViewProperty = "quorinView";
}

TFrameWnd::TFrameWnd(QWidget* parent) : QMainWindow(parent), m_updateTimer(new QTimer(this))
{
    m_router.AddTarget([this]() -> CCmdTarget* { return dynamic_cast<CCmdTarget*>(m_activeView.data()); });
    m_router.AddTarget([this] { return m_documentTarget; });
    m_router.AddTarget([this]() -> CCmdTarget* { return this; });
    m_router.AddTarget([this] { return m_applicationTarget; });
    m_updateTimer->setInterval(250);
    connect(m_updateTimer, &QTimer::timeout, this, &TFrameWnd::UpdateCommandUI);
    m_focusConnection =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

TFrameWnd::~TFrameWnd()
{
    // The children still to be destroyed move the focus; this object is half gone by then.
    disconnect(m_focusConnection);
    m_updateTimer->stop();
}

void TFrameWnd::SetActiveView(QWidget* view)
{
    if (m_activeView == view)
        return;
    m_activeView = view;
    emit activeViewChanged(view);
}

QWidget* TFrameWnd::GetActiveView() const
{
    return m_activeView.data();
}

void TFrameWnd::RegisterCommandAction(unsigned id, QAction* action)
{
    m_actions.emplace(id, action);
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
}

QAction* TFrameWnd::CommandAction(unsigned id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second.data();
}

bool TFrameWnd::ExecuteCommand(unsigned id)
{
    const bool handled = m_router.Execute(id);
    UpdateCommandUI();
    return handled;
}

void TFrameWnd::UpdateCommandUI()
{
    for (auto& [id, action] : m_actions) {
        if (!action)
            continue;
        const CCmdUI state = m_router.Update(id);
        action->setEnabled(state.IsEnabled());
        if (state.IsCheckable()) {
            action->setCheckable(true);
            action->setChecked(state.Checked() != 0);
        }
    }
}

void TFrameWnd::MarkAsView(QWidget* view)
{
    view->setProperty(kViewProperty, true);
}

bool TFrameWnd::IsView(const QWidget* widget)
{
    return widget && widget->property(kViewProperty).toBool();
}

void TFrameWnd::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    m_updateTimer->start();
}

void TFrameWnd::hideEvent(QHideEvent* event)
{
    m_updateTimer->stop();
    QMainWindow::hideEvent(event);
}

void TFrameWnd::OnFocusChanged(QWidget* now)
{
    for (QWidget* widget = now; widget && widget != this; widget = widget->parentWidget()) {
        if (IsView(widget)) {
            if (widget->window() == window())
                SetActiveView(widget);
            return;
        }
    }
}
