#include "framework/AccessibleCanvas.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace framework {
namespace {

constexpr const char* kRoleProperty = "quorinCanvasRole";
constexpr const char* kItemNameProperty = "quorinCanvasItemName";
constexpr const char* kItemRectProperty = "quorinCanvasItemRect";

// The one item under the view's focus point; it reads name and place from the view,
// so it never goes stale.
class CanvasItem : public QAccessibleInterface {
public:
    explicit CanvasItem(QWidget* view) : m_view(view) {}

    bool isValid() const override { return m_view && !CanvasFocusItemName(m_view).isEmpty(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && m_view ? CanvasFocusItemName(m_view) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!m_view)
            return QRect();
        const QRect local = m_view->property(kItemRectProperty).toRect();
        return QRect(m_view->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.focused = m_view && m_view->hasFocus();
        state.invisible = !m_view || !m_view->isVisible();
        return state;
    }

private:
    QPointer<QWidget> m_view;
};

} // namespace

void MakeAccessibleCanvas(QWidget* view, QAccessible::Role role)
{
    view->setProperty(kRoleProperty, static_cast<int>(role));
}

bool IsAccessibleCanvas(const QWidget* view)
{
    return view && view->property(kRoleProperty).isValid();
}

void PublishCanvasDescription(QWidget* view, const QString& description)
{
    // Qt tells the reader that the description changed.
    view->setAccessibleDescription(description);
}

void PublishCanvasFocusItem(QWidget* view, const QString& name, const QRect& rect)
{
    const bool had = !CanvasFocusItemName(view).isEmpty();
    view->setProperty(kItemNameProperty, name);
    view->setProperty(kItemRectProperty, rect);
    if (!QAccessible::isActive() || !IsAccessibleCanvas(view))
        return;
    auto canvas = static_cast<AccessibleCanvas*>(QAccessible::queryAccessibleInterface(view));
    if (had != !name.isEmpty()) {
        QAccessibleEvent reorder(view, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
    }
    if (QAccessibleInterface* item = canvas->FocusItem()) {
        QAccessibleEvent changed(item, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
        if (view->hasFocus()) {
            QAccessibleEvent focus(item, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
}

QString CanvasFocusItemName(const QWidget* view)
{
    return view ? view->property(kItemNameProperty).toString() : QString();
}

AccessibleCanvas::AccessibleCanvas(QWidget* view)
    : QAccessibleWidget(view, static_cast<QAccessible::Role>(view->property(kRoleProperty).toInt()))
{
}

AccessibleCanvas::~AccessibleCanvas()
{
    if (m_itemId)
        QAccessible::deleteAccessibleInterface(m_itemId);
}

QAccessibleInterface* AccessibleCanvas::FocusItem() const
{
    if (CanvasFocusItemName(widget()).isEmpty())
        return nullptr;
    if (!m_itemId)
        m_itemId = QAccessible::registerAccessibleInterface(new CanvasItem(widget()));
    return QAccessible::accessibleInterface(m_itemId);
}

int AccessibleCanvas::childCount() const
{
    return QAccessibleWidget::childCount() + (FocusItem() ? 1 : 0);
}

QAccessibleInterface* AccessibleCanvas::child(int index) const
{
    const int widgets = QAccessibleWidget::childCount();
    if (index < widgets)
        return QAccessibleWidget::child(index);
    return index == widgets ? FocusItem() : nullptr;
}

int AccessibleCanvas::indexOfChild(const QAccessibleInterface* child) const
{
    if (child && child == FocusItem())
        return QAccessibleWidget::childCount();
    return QAccessibleWidget::indexOfChild(child);
}

QAccessibleInterface* AccessibleCanvas::focusChild() const
{
    if (widget()->hasFocus())
        if (QAccessibleInterface* item = FocusItem())
            return item;
    return QAccessibleWidget::focusChild();
}

} // namespace framework
