#include "framework/AccessibleTabBand.h"

#include "framework/TTabWnd.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>

namespace framework {
namespace {

constexpr const char* kWatcherName = "quorinTabBandWatcher";

QWindow* WindowOf(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    const QWidget* top = widget->window();
    return top ? top->windowHandle() : nullptr;
}

// The band's rectangle in the window's coordinates: the whole width, tabs high.
QRect BandRectOf(const TTabWnd* tabWnd)
{
    const int height = TTabWnd::kBandBottom - TTabWnd::kBandTop + 1;
    const int top = tabWnd->GetTabPos() == TTabWnd::TabsOnTop ? TTabWnd::kBandTop
                                                                : tabWnd->height() - TTabWnd::kBandBottom;
    return QRect(0, top, tabWnd->width(), height);
}

// Tells the reader when the active page changes or the band takes the focus. The window
// does not announce its changes, so the watcher follows what it does to its pages.
class TabBandWatcher : public QObject {
public:
    explicit TabBandWatcher(TTabWnd* tabWnd) : QObject(tabWnd), m_tabWnd(tabWnd), m_active(tabWnd->GetActiveTab())
    {
        setObjectName(QLatin1String(kWatcherName));
        tabWnd->installEventFilter(this);
        for (QObject* child : tabWnd->children()) {
            if (child->isWidgetType())
                child->installEventFilter(this);
        }
        NamePages();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_tabWnd) {
            if (event->type() == QEvent::ChildAdded) {
                QObject* child = static_cast<QChildEvent*>(event)->child();
                if (child->isWidgetType())
                    child->installEventFilter(this);
                // The window names its new page only after adding it.
                QTimer::singleShot(0, this, [this] { NamePages(); });
            } else if (event->type() == QEvent::FocusIn) {
                AnnounceFocus();
            }
        } else if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
            // The window marks the new tab active only after showing its page.
            QTimer::singleShot(0, this, [this] { CheckActive(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // A page is read under its tab's caption ("Subject", "Audiogram").
    void NamePages()
    {
        for (int i = 0; i < m_tabWnd->GetTabCount(); ++i) {
            QWidget* page = m_tabWnd->GetTabWnd(i);
            if (page && page->accessibleName().isEmpty())
                page->setAccessibleName(m_tabWnd->GetTabTitle(i));
        }
    }

    AccessibleTabWindow* Owner() const
    {
        return static_cast<AccessibleTabWindow*>(QAccessible::queryAccessibleInterface(m_tabWnd));
    }

    void AnnounceFocus()
    {
        if (AccessibleTab* tab = Owner()->tab(m_tabWnd->GetActiveTab())) {
            QAccessibleEvent focus(tab, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }

    void CheckActive()
    {
        const int active = m_tabWnd->GetActiveTab();
        if (active == m_active)
            return;
        QAccessible::State selected;
        selected.selected = true;
        if (AccessibleTab* old = Owner()->tab(m_active)) {
            QAccessibleStateChangeEvent change(old, selected);
            QAccessible::updateAccessibility(&change);
        }
        m_active = active;
        if (AccessibleTab* tab = Owner()->tab(active)) {
            QAccessibleStateChangeEvent change(tab, selected);
            QAccessible::updateAccessibility(&change);
            QAccessibleEvent selection(tab, QAccessible::Selection);
            QAccessible::updateAccessibility(&selection);
            if (m_tabWnd->hasFocus())
                AnnounceFocus();
        }
    }

    TTabWnd* m_tabWnd;
    int m_active;
};

} // namespace

// ---- the window ----

AccessibleTabWindow::AccessibleTabWindow(TTabWnd* tabWnd) : QAccessibleWidget(tabWnd, QAccessible::Client)
{
    if (!tabWnd->findChild<QObject*>(QLatin1String(kWatcherName), Qt::FindDirectChildrenOnly))
        new TabBandWatcher(tabWnd);
}

AccessibleTabWindow::~AccessibleTabWindow()
{
    if (m_bandId)
        QAccessible::deleteAccessibleInterface(m_bandId);
    for (QAccessible::Id id : m_tabIds) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

TTabWnd* AccessibleTabWindow::tabWnd() const
{
    return static_cast<TTabWnd*>(widget());
}

AccessibleTabBand* AccessibleTabWindow::band() const
{
    if (!m_bandId)
        m_bandId = QAccessible::registerAccessibleInterface(new AccessibleTabBand(tabWnd()));
    return static_cast<AccessibleTabBand*>(QAccessible::accessibleInterface(m_bandId));
}

AccessibleTab* AccessibleTabWindow::tab(int index) const
{
    if (index < 0 || index >= tabWnd()->GetTabCount())
        return nullptr;
    if (static_cast<int>(m_tabIds.size()) <= index)
        m_tabIds.resize(index + 1, 0);
    if (!m_tabIds[index])
        m_tabIds[index] = QAccessible::registerAccessibleInterface(new AccessibleTab(tabWnd(), index));
    return static_cast<AccessibleTab*>(QAccessible::accessibleInterface(m_tabIds[index]));
}

std::vector<QWidget*> AccessibleTabWindow::Pages() const
{
    std::vector<QWidget*> pages;
    for (int i = 0; i < tabWnd()->GetTabCount(); ++i) {
        if (QWidget* page = tabWnd()->GetTabWnd(i))
            pages.push_back(page);
    }
    return pages;
}

int AccessibleTabWindow::childCount() const
{
    return 1 + static_cast<int>(Pages().size());
}

QAccessibleInterface* AccessibleTabWindow::child(int index) const
{
    if (index == 0)
        return band();
    const std::vector<QWidget*> pages = Pages();
    if (index < 0 || index > static_cast<int>(pages.size()))
        return nullptr;
    return QAccessible::queryAccessibleInterface(pages[index - 1]);
}

int AccessibleTabWindow::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    if (child == band())
        return 0;
    const std::vector<QWidget*> pages = Pages();
    for (size_t i = 0; i < pages.size(); ++i) {
        if (child->object() == pages[i])
            return static_cast<int>(i) + 1;
    }
    return -1;
}

QAccessibleInterface* AccessibleTabWindow::focusChild() const
{
    if (tabWnd()->hasFocus())
        return tab(tabWnd()->GetActiveTab());
    return QAccessibleWidget::focusChild();
}

QAccessibleInterface* AccessibleTabWindow::childAt(int x, int y) const
{
    const QPoint local = tabWnd()->mapFromGlobal(QPoint(x, y));
    if (BandRectOf(tabWnd()).contains(local))
        return band();
    QWidget* page = tabWnd()->GetTabWnd(tabWnd()->GetActiveTab());
    if (page && page->geometry().contains(local))
        return QAccessible::queryAccessibleInterface(page);
    return nullptr;
}

// ---- the band ----

AccessibleTabBand::AccessibleTabBand(TTabWnd* tabWnd) : m_tabWnd(tabWnd)
{
}

AccessibleTabWindow* AccessibleTabBand::Owner() const
{
    return static_cast<AccessibleTabWindow*>(QAccessible::queryAccessibleInterface(m_tabWnd.data()));
}

bool AccessibleTabBand::isValid() const
{
    return !m_tabWnd.isNull();
}

QWindow* AccessibleTabBand::window() const
{
    return WindowOf(m_tabWnd.data());
}

QAccessibleInterface* AccessibleTabBand::focusChild() const
{
    if (m_tabWnd && m_tabWnd->hasFocus())
        return Owner()->tab(m_tabWnd->GetActiveTab());
    return nullptr;
}

QAccessibleInterface* AccessibleTabBand::childAt(int x, int y) const
{
    if (!m_tabWnd)
        return nullptr;
    for (int i = 0; i < m_tabWnd->GetTabCount(); ++i) {
        AccessibleTab* tab = Owner()->tab(i);
        if (!tab->state().invisible && tab->rect().contains(QPoint(x, y)))
            return tab;
    }
    return nullptr;
}

QAccessibleInterface* AccessibleTabBand::parent() const
{
    return m_tabWnd ? Owner() : nullptr;
}

QAccessibleInterface* AccessibleTabBand::child(int index) const
{
    return m_tabWnd ? Owner()->tab(index) : nullptr;
}

int AccessibleTabBand::childCount() const
{
    return m_tabWnd ? m_tabWnd->GetTabCount() : 0;
}

int AccessibleTabBand::indexOfChild(const QAccessibleInterface* child) const
{
    if (!m_tabWnd || !child || child->role() != QAccessible::PageTab)
        return -1;
    for (int i = 0; i < m_tabWnd->GetTabCount(); ++i) {
        if (Owner()->tab(i) == child)
            return i;
    }
    return -1;
}

QString AccessibleTabBand::text(QAccessible::Text) const
{
    return QString();
}

QRect AccessibleTabBand::rect() const
{
    if (!m_tabWnd)
        return QRect();
    const QRect local = BandRectOf(m_tabWnd.data());
    return QRect(m_tabWnd->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State AccessibleTabBand::state() const
{
    QAccessible::State state;
    if (!m_tabWnd) {
        state.invalid = true;
        return state;
    }
    state.invisible = !m_tabWnd->isVisible();
    state.disabled = !m_tabWnd->isEnabled();
    return state;
}

// ---- one tab ----

AccessibleTab::AccessibleTab(TTabWnd* tabWnd, int index) : m_tabWnd(tabWnd), m_index(index)
{
}

void* AccessibleTab::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

bool AccessibleTab::isValid() const
{
    return m_tabWnd && m_index < m_tabWnd->GetTabCount();
}

QWindow* AccessibleTab::window() const
{
    return WindowOf(m_tabWnd.data());
}

QAccessibleInterface* AccessibleTab::parent() const
{
    if (!m_tabWnd)
        return nullptr;
    return static_cast<AccessibleTabWindow*>(QAccessible::queryAccessibleInterface(m_tabWnd.data()))->band();
}

QString AccessibleTab::text(QAccessible::Text t) const
{
    if (!isValid() || t != QAccessible::Name)
        return QString();
    return m_tabWnd->GetTabTitle(m_index);
}

QRect AccessibleTab::rect() const
{
    if (!isValid() || m_tabWnd->TabLeft(m_index) < 0)
        return QRect();
    const QRect band = BandRectOf(m_tabWnd.data());
    // The tab is painted six pixels wider than its hit-test span.
    const QRect local(m_tabWnd->TabLeft(m_index), band.top(),
                      m_tabWnd->TabRight(m_index) - m_tabWnd->TabLeft(m_index) + 6, band.height());
    return QRect(m_tabWnd->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State AccessibleTab::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const bool active = m_tabWnd->GetActiveTab() == m_index;
    state.selectable = true;
    state.selected = active;
    state.focusable = (m_tabWnd->focusPolicy() & Qt::TabFocus) != 0;
    state.focused = active && m_tabWnd->hasFocus();
    state.invisible = !m_tabWnd->isVisible() || m_tabWnd->TabLeft(m_index) < 0;
    state.disabled = !m_tabWnd->isEnabled();
    return state;
}

QStringList AccessibleTab::actionNames() const
{
    return {pressAction()};
}

void AccessibleTab::doAction(const QString& actionName)
{
    if (actionName == pressAction() && isValid())
        m_tabWnd->SetActiveTab(m_index, true);
}

} // namespace framework
