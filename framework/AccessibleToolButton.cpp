#include "framework/AccessibleToolButton.h"

#include "framework/TemplateAccessibility.h"

#include <QAction>
#include <QToolButton>

namespace framework {

QString CommandName(const QString& menuText)
{
    QString name = NameFromLabel(menuText.section(u'\t', 0, 0));
    while (name.endsWith(u'.'))
        name.chop(1);
    return name.trimmed();
}

AccessibleToolButton::AccessibleToolButton(QToolButton* button) : QAccessibleWidget(button, QAccessible::Button)
{
}

QToolButton* AccessibleToolButton::Button() const
{
    return static_cast<QToolButton*>(widget());
}

QAction* AccessibleToolButton::Action() const
{
    return Button()->defaultAction();
}

QString AccessibleToolButton::text(QAccessible::Text t) const
{
    QAction* action = Action();
    if (!action)
        return QAccessibleWidget::text(t);
    switch (t) {
    case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        if (const QString name = CommandName(action->text()); !name.isEmpty())
            return name;
        return CommandName(action->toolTip());
    case QAccessible::Accelerator: return action->shortcut().toString(QKeySequence::NativeText);
    case QAccessible::Description:
        if (!widget()->accessibleDescription().isEmpty())
            return widget()->accessibleDescription();
        // The tool tip only where it says more than the name.
        return action->toolTip() == text(QAccessible::Name) ? QString() : action->toolTip();
    case QAccessible::Help: return action->statusTip();
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State AccessibleToolButton::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    QToolButton* button = Button();
    state.checkable = button->isCheckable();
    state.checked = button->isChecked();
    state.pressed = button->isDown();
    return state;
}

QStringList AccessibleToolButton::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled())
        names << (Button()->isCheckable() ? toggleAction() : pressAction());
    return names + QAccessibleWidget::actionNames();
}

void AccessibleToolButton::doAction(const QString& actionName)
{
    if (!widget()->isEnabled())
        return;
    if (actionName == pressAction() || actionName == toggleAction())
        Button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}

QStringList AccessibleToolButton::keyBindingsForAction(const QString& actionName) const
{
    if ((actionName == pressAction() || actionName == toggleAction()) && Action()) {
        QStringList keys;
        for (const QKeySequence& key : Action()->shortcuts())
            keys << key.toString(QKeySequence::NativeText);
        return keys;
    }
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

} // namespace framework
