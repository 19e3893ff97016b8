#include "framework/ControlId.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace framework {
namespace {
constexpr const char* kIdProperty = "quorinControlId";
}

void SetControlId(QWidget* control, int id)
{
    control->setProperty(kIdProperty, id);
}

int ControlId(const QWidget* control)
{
    const QVariant id = control->property(kIdProperty);
    return id.isValid() ? id.toInt() : 0;
}

QWidget* FindControl(const QWidget* root, int id)
{
    if (!root)
        return nullptr;
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (ControlId(child) == id)
            return child;
    }
    return nullptr;
}

QString WindowText(const QWidget* control)
{
    if (auto edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto text = qobject_cast<const QPlainTextEdit*>(control))
        return text->toPlainText();
    if (auto combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    if (auto label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    return control ? control->windowTitle() : QString();
}

void SetWindowText(QWidget* control, const QString& text)
{
    if (auto edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto plain = qobject_cast<QPlainTextEdit*>(control))
        plain->setPlainText(text);
    else if (auto combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    } else if (auto label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (control)
        control->setWindowTitle(text);
}

} // namespace framework
