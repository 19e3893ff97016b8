#pragma once
// A combo box that a screen reader names by its label, as the dialog template ties them.
// Qt names a combo on Linux by its current value and leaves the label to the relation,
// so two "Type:" combos both read as "Type: Home"; here the name set from the template
// ("Phone type", "Alt Phone type") is the name and the value stays the value. Without a
// name the combo reads as Qt reads it.

#include <QAccessibleWidget>

class QComboBox;

namespace framework {

class AccessibleComboBox : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(QComboBox* combo);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QComboBox* Combo() const;
};

} // namespace framework
