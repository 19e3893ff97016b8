#include "framework/TemplateAccessibility.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>

namespace framework {
namespace {

QString& Reserved()
{
    static QString letters;
    return letters;
}

// The letter after a single "&", or a null char.
QChar MnemonicOf(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return QChar();
}

// Where the label's mnemonic goes: the first word's initial that is still free, else
// any free letter of the text; -1 when every letter is taken.
int MnemonicPosition(const QString& text, const QSet<QChar>& used)
{
    for (int i = 0; i < text.size(); ++i) {
        const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
        if (wordStart && text[i].isLetter() && !used.contains(text[i].toLower()))
            return i;
    }
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].isLetter() && !used.contains(text[i].toLower()))
            return i;
    }
    return -1;
}

bool Inside(const ControlTemplate& control, const ControlTemplate& group)
{
    return control.x >= group.x && control.x + control.cx <= group.x + group.cx && control.y >= group.y
        && control.y < group.y + group.cy;
}

void SetName(QWidget* widget, const QString& name)
{
    widget->setAccessibleName(name);
    // An editable combo hands the focus to its edit part, which the reader announces.
    if (auto combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
}

void SetDescription(QWidget* widget, const QString& description)
{
    widget->setAccessibleDescription(description);
    if (auto combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleDescription(description);
}

} // namespace

bool LabelsNext(const std::vector<ControlTemplate>& controls, size_t index)
{
    if (index + 1 >= controls.size())
        return false;
    const ControlTemplate& label = controls[index];
    if (label.kind != ControlKind::Static || !TakesInputFromLabel(controls[index + 1])
        || NameFromLabel(label.text).isEmpty())
        return false;
    if (index == 0 || label.text.trimmed().endsWith(u':'))
        return true;
    // A unit ("yrs") right after a field on its row belongs to that field, not to the
    // field after it; a label proper ("Type:") ends with a colon.
    const ControlTemplate& before = controls[index - 1];
    const bool sameRow = label.y < before.y + before.cy && before.y < label.y + label.cy;
    return !(TakesInputFromLabel(before) && sameRow && label.x >= before.x + before.cx);
}

QString NameFromLabel(const QString& labelText)
{
    QString name;
    name.reserve(labelText.size());
    for (int i = 0; i < labelText.size(); ++i) {
        if (labelText[i] == u'&') {
            // "&&" shows one ampersand; a single one only marks the mnemonic.
            if (i + 1 < labelText.size() && labelText[i + 1] == u'&') {
                name += u'&';
                ++i;
            }
            continue;
        }
        name += labelText[i];
    }
    name = name.trimmed();
    while (name.endsWith(u':'))
        name = name.chopped(1).trimmed();
    return name;
}

void ReserveMnemonics(const QString& letters)
{
    for (QChar letter : letters) {
        if (letter.isLetter() && !Reserved().contains(letter.toLower()))
            Reserved() += letter.toLower();
    }
}

QString ReservedMnemonics()
{
    return Reserved();
}

bool TakesInputFromLabel(const ControlTemplate& control)
{
    switch (control.kind) {
    case ControlKind::Edit:
    case ControlKind::MultiEdit:
    case ControlKind::ComboDropDown:
    case ControlKind::ComboDropList:
    case ControlKind::ListBox:
    case ControlKind::ReportList: return true;
    case ControlKind::CheckBox:
    case ControlKind::Radio: return NameFromLabel(control.text).isEmpty();
    default: return false;
    }
}

void ApplyAccessibility(const DialogTemplate& dialogTemplate, const std::vector<QWidget*>& widgets)
{
    const std::vector<ControlTemplate>& controls = dialogTemplate.controls;
    const size_t count = std::min(controls.size(), widgets.size());

    // Mnemonics the template gives itself, and the program's, are not handed out again.
    QSet<QChar> used;
    for (QChar letter : Reserved())
        used.insert(letter);
    for (size_t i = 0; i < count; ++i) {
        if (const QChar letter = MnemonicOf(controls[i].text); !letter.isNull())
            used.insert(letter);
    }

    for (size_t i = 0; i < count; ++i) {
        const ControlTemplate& control = controls[i];
        QWidget* widget = widgets[i];
        if (!widget)
            continue;
        if (i + 1 < count && widgets[i + 1] && LabelsNext(controls, i)) {
            auto label = qobject_cast<QLabel*>(widget);
            const QString name = NameFromLabel(control.text);
            if (label && !name.isEmpty()) {
                label->setBuddy(widgets[i + 1]);
                if (MnemonicOf(control.text).isNull()) {
                    const int at = MnemonicPosition(control.text, used);
                    if (at >= 0) {
                        used.insert(control.text[at].toLower());
                        QString text = control.text;
                        text.insert(at, u'&');
                        label->setText(text);
                    }
                }
                if (controls[i + 1].name.isEmpty())
                    SetName(widgets[i + 1], name);
            }
        }
        if (!control.name.isEmpty() && control.kind != ControlKind::Static)
            SetName(widget, control.name);
    }

    // Two "Duration:" fields, one in "Left Ear" and one in "Right Ear", are told apart by
    // their group.
    for (size_t g = 0; g < count; ++g) {
        if (controls[g].kind != ControlKind::GroupBox)
            continue;
        const QString title = NameFromLabel(controls[g].text);
        if (title.isEmpty())
            continue;
        for (size_t i = 0; i < count; ++i) {
            const ControlKind kind = controls[i].kind;
            if (i == g || !widgets[i] || kind == ControlKind::GroupBox || kind == ControlKind::Static)
                continue;
            if (Inside(controls[i], controls[g]))
                SetDescription(widgets[i], title);
        }
    }
}

} // namespace framework
