#include "framework/AccessibleComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace framework {

AccessibleComboBox::AccessibleComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox)
{
}

QComboBox* AccessibleComboBox::Combo() const
{
    return static_cast<QComboBox*>(widget());
}

// The drop-down list first, then the edit part of an editable combo.
int AccessibleComboBox::childCount() const
{
    return Combo()->lineEdit() ? 2 : 1;
}

QAccessibleInterface* AccessibleComboBox::child(int index) const
{
    if (index == 0)
        return QAccessible::queryAccessibleInterface(Combo()->view());
    if (index == 1 && Combo()->lineEdit())
        return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
    return nullptr;
}

int AccessibleComboBox::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    if (child->object() == Combo()->view())
        return 0;
    if (Combo()->lineEdit() && child->object() == Combo()->lineEdit())
        return 1;
    return -1;
}

QAccessibleInterface* AccessibleComboBox::childAt(int x, int y) const
{
    QLineEdit* edit = Combo()->lineEdit();
    if (edit && QRect(edit->mapToGlobal(QPoint(0, 0)), edit->size()).contains(x, y))
        return child(1);
    return nullptr;
}

QAccessibleInterface* AccessibleComboBox::focusChild() const
{
    // The combo is the focus proxy of its edit part, which is where the typing goes.
    if (Combo()->view()->isVisible())
        return child(0);
    return Combo()->lineEdit() ? child(1) : nullptr;
}

QString AccessibleComboBox::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        return text(QAccessible::Value);
    case QAccessible::Value:
        return Combo()->lineEdit() ? Combo()->lineEdit()->text() : Combo()->currentText();
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State AccessibleComboBox::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = Combo()->view()->isVisible();
    state.collapsed = !state.expanded;
    state.editable = Combo()->isEditable();
    return state;
}

QStringList AccessibleComboBox::actionNames() const
{
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void AccessibleComboBox::doAction(const QString& actionName)
{
    if (actionName == showMenuAction() || actionName == pressAction()) {
        if (Combo()->view()->isVisible())
            Combo()->hidePopup();
        else
            Combo()->showPopup();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QStringList AccessibleComboBox::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == showMenuAction() || actionName == pressAction())
        return {};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

} // namespace framework
