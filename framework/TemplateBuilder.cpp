#include "framework/TemplateBuilder.h"

#include "framework/AccessibleFactory.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "framework/ResourceImages.h"
#include "framework/TemplateAccessibility.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace framework {
namespace {

// Upper-case edits convert as the user types.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

Qt::Alignment StaticAlignment(unsigned style)
{
    if (style & StyleCenter)
        return Qt::AlignHCenter | Qt::AlignTop;
    if (style & StyleRight)
        return Qt::AlignRight | Qt::AlignTop;
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget* parent)
{
    auto edit = new QLineEdit(parent);
    if (control.style & StylePassword)
        edit->setEchoMode(QLineEdit::Password);
    if (control.style & StyleUpperCase)
        edit->setValidator(new UpperCaseValidator(edit));
    else if (control.style & StyleNumber)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    if (control.style & StyleRight)
        edit->setAlignment(Qt::AlignRight);
    edit->setReadOnly(control.style & StyleReadOnly);
    edit->setText(control.text);
    return edit;
}

QWidget* MakeCombo(const ControlTemplate& control, QWidget* parent, bool editable)
{
    auto combo = new QComboBox(parent);
    combo->setEditable(editable);
    QStringList items = control.items;
    if (control.style & StyleSorted)
        items.sort(Qt::CaseInsensitive);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    if (editable)
        combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QWidget* MakeList(const ControlTemplate& control, QWidget* parent)
{
    auto list = new QListWidget(parent);
    list->addItems(control.items);
    list->setSortingEnabled(control.style & StyleSorted);
    return list;
}

QWidget* MakePicture(const ControlTemplate& control, QWidget* parent)
{
    auto label = new QLabel(parent);
    const QPixmap image = LoadImageResource(control.text.toInt());
    if (!image.isNull()) {
        label->setPixmap(control.kind == ControlKind::Icon ? image.scaled(32, 32) : image);
        label->resize(label->pixmap().size());
    }
    return label;
}

QWidget* MakeRadio(const ControlTemplate& control, QWidget* parent)
{
    auto radio = new QRadioButton(control.text, parent);
    radio->setProperty("quorinGroupStart", bool(control.style & StyleGroup));
    // A form's option group is exclusive through Qt's own rule for radio buttons: the
    // auto-exclusive buttons of one parent form one group. A QButtonGroup would do it
    // too, but the data exchange then clears the buttons' auto-exclusive flag, and
    // assistive technology reads a checkable button that is not auto-exclusive as a
    // check box. Only a second group in the same parent needs a QButtonGroup to be kept
    // apart from the first; no form has one.
    const int groupStarts = parent->property("quorinRadioGroups").toInt() + (control.style & StyleGroup ? 1 : 0);
    const int groups = std::max(groupStarts, 1);
    parent->setProperty("quorinRadioGroups", groups);
    if (groups > 1) {
        auto group = parent->property("quorinRadioGroup").value<QButtonGroup*>();
        if (!group || (control.style & StyleGroup)) {
            group = new QButtonGroup(parent);
            parent->setProperty("quorinRadioGroup", QVariant::fromValue(group));
        }
        group->addButton(radio);
    }
    radio->setAutoExclusive(true);
    return radio;
}

// A single-line field (an edit, or the edit of a drop-down combo) takes at most the
// template's length. Multi-line edits are left to their forms: they show long stored
// texts whole and limit only what is typed.
void ApplyMaxLength(const ControlTemplate& control, QWidget* widget)
{
    if (control.maxLength <= 0)
        return;
    if (auto edit = qobject_cast<QLineEdit*>(widget))
        edit->setMaxLength(control.maxLength);
    else if (auto combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setMaxLength(control.maxLength);
}

} // namespace

QFont TemplateBuilder::DialogFont(const DialogTemplate& dialogTemplate)
{
    QFont font = QApplication::font();
    font.setPointSize(dialogTemplate.fontPointSize > 0 ? dialogTemplate.fontPointSize : 8);
    return font;
}

TemplateBuilder::TemplateBuilder(const QFont& font) : m_font(font), m_units(font)
{
    // Before any form is queried, so that its tab windows and lists speak our way.
    InstallAccessibleFactories();
}

QWidget* TemplateBuilder::BuildControl(const ControlTemplate& control, QWidget* parent) const
{
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Static: {
        auto label = new QLabel(control.text, parent);
        label->setAlignment(StaticAlignment(control.style));
        label->setWordWrap(true);
        widget = label;
        break;
    }
    case ControlKind::Edit: widget = MakeEdit(control, parent); break;
    case ControlKind::MultiEdit: {
        auto edit = new QPlainTextEdit(control.text, parent);
        edit->setReadOnly(control.style & StyleReadOnly);
        widget = edit;
        break;
    }
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto button = new QPushButton(control.text, parent);
        button->setDefault(control.kind == ControlKind::DefPushButton);
        widget = button;
        break;
    }
    case ControlKind::CheckBox: widget = new QCheckBox(control.text, parent); break;
    case ControlKind::Radio: widget = MakeRadio(control, parent); break;
    case ControlKind::GroupBox: widget = new QGroupBox(control.text, parent); break;
    case ControlKind::ComboDropDown: widget = MakeCombo(control, parent, true); break;
    case ControlKind::ComboDropList: widget = MakeCombo(control, parent, false); break;
    case ControlKind::ListBox: widget = MakeList(control, parent); break;
    case ControlKind::ReportList: widget = new CReportListCtrl(parent); break;
    case ControlKind::Icon:
    case ControlKind::Bitmap: widget = MakePicture(control, parent); break;
    case ControlKind::Frame: {
        auto frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        widget = frame;
        break;
    }
    }
    widget->setFont(m_font);
    QRect rect = m_units.ToPixels(control.x, control.y, control.cx, control.cy);
    const bool isCombo = control.kind == ControlKind::ComboDropDown || control.kind == ControlKind::ComboDropList;
    if (isCombo) {
        // A combo's height in the template is its dropped-down list; the box itself is
        // one edit line high.
        rect.setHeight(qMax(m_units.ToPixelsY(12), widget->sizeHint().height()));
    }
    if (control.kind == ControlKind::Icon || control.kind == ControlKind::Bitmap)
        rect.setSize(widget->size());
    widget->setGeometry(rect);
    if (control.id != -1)
        SetControlId(widget, control.id);
    if (control.style & StyleDisabled)
        widget->setEnabled(false);
    if (control.style & StyleNoTabStop)
        widget->setFocusPolicy(Qt::ClickFocus);
    widget->setVisible(!(control.style & StyleHidden));
    ApplyMaxLength(control, widget);
    return widget;
}

QSize TemplateBuilder::Build(const DialogTemplate& dialogTemplate, QWidget* parent) const
{
    parent->setFont(m_font);
    std::vector<QWidget*> widgets;
    widgets.reserve(dialogTemplate.controls.size());
    for (const ControlTemplate& control : dialogTemplate.controls)
        widgets.push_back(BuildControl(control, parent));
    ApplyAccessibility(dialogTemplate, widgets);
    return QSize(m_units.ToPixelsX(dialogTemplate.cx), m_units.ToPixelsY(dialogTemplate.cy));
}

} // namespace framework
