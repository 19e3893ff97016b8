#pragma once
// A toolbar button as a screen reader sees it: named after its command without the
// accelerator that the menu text carries ("Save", not "Save\tCtrl+S"), the command's
// keys as its shortcut, the tool tip as description and the status text as help.

#include <QAccessibleWidget>

class QAction;
class QToolButton;

namespace framework {

// The command's name in a menu text: what stands before the tab, without "&" and a
// trailing "...".
QString CommandName(const QString& menuText);

class AccessibleToolButton : public QAccessibleWidget {
public:
    explicit AccessibleToolButton(QToolButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QToolButton* Button() const;
    QAction* Action() const;
};

} // namespace framework
