#pragma once
// Controls of a form or dialog are found by their numeric ids, as the templates give
// them. The id travels with the widget as a property.

#include <QWidget>

namespace framework {

void SetControlId(QWidget* control, int id);

// 0 when the widget carries no id.
int ControlId(const QWidget* control);

// The first descendant of root with the id, or null.
QWidget* FindControl(const QWidget* root, int id);

template <class T>
T* FindControlAs(const QWidget* root, int id)
{
    return qobject_cast<T*>(FindControl(root, id));
}

// The text a control shows (edit, combo, label, button), and setting it.
QString WindowText(const QWidget* control);
void SetWindowText(QWidget* control, const QString& text);

} // namespace framework
