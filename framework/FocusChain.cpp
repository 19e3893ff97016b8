#include "framework/FocusChain.h"

#include "framework/TTabWnd.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <utility>
#include <vector>

namespace framework {

bool IsTabStop(const QWidget* container, const QWidget* widget)
{
    // "To the container": a page about to be shown is still hidden and disabled itself.
    return widget && container && container->isAncestorOf(widget) && widget->isVisibleTo(container)
           && widget->isEnabledTo(container) && (widget->focusPolicy() & Qt::TabFocus);
}

QWidget* FirstTabStop(QWidget* container)
{
    if (!container)
        return nullptr;
    for (QWidget* w = container->nextInFocusChain(); w && w != container; w = w->nextInFocusChain()) {
        if (IsTabStop(container, w))
            return w;
    }
    return nullptr;
}

void FocusFirstTabStop(QWidget* container)
{
    if (!container)
        return;
    QWidget* first = FirstTabStop(container);
    (first ? first : container)->setFocus(Qt::TabFocusReason);
    // As when tabbed into: the first key replaces what the field holds (also when it
    // had the focus already, which the focus reason alone would not do).
    if (auto edit = qobject_cast<QLineEdit*>(first))
        edit->selectAll();
    else if (auto combo = qobject_cast<QComboBox*>(first); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

bool ShowPageOf(QWidget* widget)
{
    // Outer tab windows first, so that a nested one is shown before its own page changes.
    std::vector<std::pair<TTabWnd*, QWidget*>> path;
    for (QWidget* child = widget; child && !child->isWindow(); child = child->parentWidget()) {
        if (auto tabs = qobject_cast<TTabWnd*>(child->parentWidget()))
            path.insert(path.begin(), {tabs, child});
    }
    for (const auto& [tabs, page] : path) {
        const int index = tabs->GetTabIndex(page);
        if (index >= 0 && !tabs->SetActiveTab(index, false))
            return false;
    }
    return true;
}

void ReturnFocusTo(QWidget* field)
{
    if (!field || !ShowPageOf(field))
        return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    else if (auto combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    else if (auto spin = qobject_cast<QAbstractSpinBox*>(field))
        spin->selectAll();
}

} // namespace framework
