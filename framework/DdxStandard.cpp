#include "framework/DdxStandard.h"

#include "framework/ControlId.h"
#include "framework/MessageBox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace {

[[noreturn]] void FailWith(CDataExchange* pDX, const QString& message)
{
    framework::ShowMessage(pDX->m_pDlgWnd,
                           {message, framework::MessageIcon::Default, framework::MessageButtons::Ok});
    pDX->Fail();
}

QString NumberText(double value)
{
    return QString::number(value, 'g', 15);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int id, QString& value)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = framework::WindowText(control);
    else
        framework::SetWindowText(control, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        framework::SetWindowText(control, QString::number(value));
        return;
    }
    bool ok = false;
    const int parsed = framework::WindowText(control).trimmed().toInt(&ok);
    if (!ok)
        FailWith(pDX, QStringLiteral("Please enter an integer."));
    value = parsed;
}

void DDX_Text(CDataExchange* pDX, int id, double& value)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        framework::SetWindowText(control, NumberText(value));
        return;
    }
    bool ok = false;
    const double parsed = framework::WindowText(control).trimmed().toDouble(&ok);
    if (!ok)
        FailWith(pDX, QStringLiteral("Please enter a number."));
    value = parsed;
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index)
{
    auto combo = qobject_cast<QComboBox*>(pDX->PrepareCtrl(id));
    if (!combo)
        pDX->Fail();
    if (pDX->m_bSaveAndValidate)
        index = combo->currentIndex();
    else
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void DDX_CBString(CDataExchange* pDX, int id, QString& value)
{
    auto combo = qobject_cast<QComboBox*>(pDX->PrepareCtrl(id));
    if (!combo)
        pDX->Fail();
    if (pDX->m_bSaveAndValidate) {
        value = combo->currentText();
        return;
    }
    if (combo->isEditable()) {
        // An editable combo shows any text; the list selection follows when it matches.
        const int match = combo->findText(value, Qt::MatchFixedString);
        combo->setCurrentIndex(match);
        combo->setEditText(value);
    } else {
        // A drop-down list selects the first item that starts with the text, as the
        // platform's combo does; an empty text selects nothing, and no match keeps the
        // current selection.
        if (value.isEmpty()) {
            combo->setCurrentIndex(-1);
            return;
        }
        const int match = combo->findText(value, Qt::MatchStartsWith);
        if (match >= 0)
            combo->setCurrentIndex(match);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int id, int& index)
{
    auto list = qobject_cast<QListWidget*>(pDX->PrepareCtrl(id));
    if (!list)
        pDX->Fail();
    if (pDX->m_bSaveAndValidate) {
        const auto selected = list->selectedItems();
        index = selected.isEmpty() ? -1 : list->row(selected.first());
    } else {
        list->clearSelection();
        list->setCurrentRow(index >= 0 && index < list->count() ? index : -1);
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    auto button = qobject_cast<QAbstractButton*>(pDX->PrepareCtrl(id));
    if (!button)
        pDX->Fail();
    auto box = qobject_cast<QCheckBox*>(button);
    if (pDX->m_bSaveAndValidate) {
        if (box)
            value = box->checkState() == Qt::PartiallyChecked ? 2 : (box->isChecked() ? 1 : 0);
        else
            value = button->isChecked() ? 1 : 0;
        return;
    }
    if (box && value == 2) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    } else {
        button->setChecked(value == 1);
    }
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& value)
{
    QWidget* first = pDX->PrepareCtrl(firstId);
    QWidget* parent = first->parentWidget();
    // The group runs from the first button through the following radio buttons of the
    // same parent, in creation order, up to the next one that starts a group.
    QList<QRadioButton*> group;
    bool inGroup = false;
    for (QObject* child : parent->children()) {
        auto widget = qobject_cast<QWidget*>(child);
        if (!widget)
            continue;
        if (widget == first) {
            inGroup = true;
        } else if (inGroup) {
            auto radio = qobject_cast<QRadioButton*>(widget);
            if (!radio || radio->property("quorinGroupStart").toBool())
                break;
        }
        if (inGroup)
            group.append(qobject_cast<QRadioButton*>(widget));
    }
    group.removeAll(nullptr);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < group.size(); ++i) {
            if (group[i]->isChecked()) {
                value = i;
                break;
            }
        }
        return;
    }
    // Exclusive radios refuse "none checked" (-1); lift the exclusion while setting.
    QButtonGroup* buttons = group.isEmpty() ? nullptr : group.first()->group();
    if (buttons)
        buttons->setExclusive(false);
    for (int i = 0; i < group.size(); ++i) {
        group[i]->setAutoExclusive(false);
        group[i]->setChecked(i == value);
        group[i]->setAutoExclusive(!buttons);
    }
    if (buttons)
        buttons->setExclusive(true);
}

void DDV_MaxChars(CDataExchange* pDX, const QString& value, int maxChars)
{
    QWidget* control = pDX->LastControl();
    if (!pDX->m_bSaveAndValidate) {
        if (auto edit = qobject_cast<QLineEdit*>(control))
            edit->setMaxLength(maxChars);
        return;
    }
    if (value.size() > maxChars)
        FailWith(pDX, QStringLiteral("Please enter no more than %1 characters.").arg(maxChars));
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
        FailWith(pDX, QStringLiteral("Please enter an integer between %1 and %2.")
                          .arg(minValue)
                          .arg(maxValue));
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minValue, double maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
        FailWith(pDX, QStringLiteral("Please enter a number between %1 and %2.")
                          .arg(NumberText(minValue), NumberText(maxValue)));
}
