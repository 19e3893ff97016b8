// Every registered form and dialog, built by the program's own builder and read through
// Qt's accessibility interface, the way a screen reader reads it. One row per template,
// so a form added to the program is checked the day it is registered.

#include "framework/DialogTemplate.h"
#include "framework/TemplateAccessibility.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace {

using framework::ControlKind;
using framework::ControlTemplate;
using framework::DialogTemplate;

struct BuiltForm {
    std::unique_ptr<QWidget> host;
    std::vector<QWidget*> widgets; // one per template control, in template order
};

BuiltForm Build(const DialogTemplate& form)
{
    BuiltForm built;
    built.host = std::make_unique<QWidget>();
    const framework::TemplateBuilder builder(framework::TemplateBuilder::DialogFont(form));
    builder.Build(form, built.host.get());
    for (QObject* child : built.host->children()) {
        if (child->isWidgetType())
            built.widgets.push_back(static_cast<QWidget*>(child));
    }
    return built;
}

QString Text(QWidget* widget, QAccessible::Text which)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(which) : QString();
}

QAccessible::Role Role(QWidget* widget)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->role() : QAccessible::NoRole;
}

bool IsInput(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Edit:
    case ControlKind::MultiEdit:
    case ControlKind::ComboDropDown:
    case ControlKind::ComboDropList:
    case ControlKind::ListBox:
    case ControlKind::ReportList:
    case ControlKind::CheckBox:
    case ControlKind::Radio: return true;
    default: return false;
    }
}

bool IsButton(ControlKind kind)
{
    return kind == ControlKind::PushButton || kind == ControlKind::DefPushButton;
}

// A button whose caption is no word a reader could say: "?", "L", "MM", "<<".
bool IsSymbolOnly(const QString& caption)
{
    const QString text = framework::NameFromLabel(caption);
    int letters = 0;
    for (QChar c : text)
        letters += c.isLetter() ? 1 : 0;
    return letters < 3 && text != QLatin1String("OK") && text != QLatin1String("No");
}

// The letter a label's "&" marks, lower case; null without one.
QChar Mnemonic(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&' && text[i + 1] != u'&')
            return text[i + 1].toLower();
        if (text[i] == u'&')
            ++i;
    }
    return QChar();
}

class EveryTemplate : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        form = framework::FindDialogTemplate(GetParam());
        ASSERT_NE(form, nullptr);
        built = Build(*form);
        ASSERT_EQ(built.widgets.size(), form->controls.size()) << "one widget per template control";
    }

    std::string Where(size_t i) const
    {
        const ControlTemplate& control = form->controls[i];
        return "template " + std::to_string(form->id) + ", control " + std::to_string(i) + " (id "
            + std::to_string(control.id) + ", \"" + control.text.toStdString() + "\")";
    }

    const DialogTemplate* form = nullptr;
    BuiltForm built;
};

TEST_P(EveryTemplate, EveryInputControlHasANameAndEveryNameIsUnique)
{
    std::map<std::pair<QString, QString>, size_t> seen;
    for (size_t i = 0; i < form->controls.size(); ++i) {
        const ControlKind kind = form->controls[i].kind;
        if (!IsInput(kind) && !IsButton(kind))
            continue;
        QWidget* widget = built.widgets[i];
        const QString name = Text(widget, QAccessible::Name);
        EXPECT_FALSE(name.trimmed().isEmpty()) << Where(i) << " has no name";
        EXPECT_FALSE(name.contains(u'&') || name.endsWith(u':')) << Where(i) << " is named \"" << name.toStdString()
                                                                 << "\" with the label's marks";
        const auto key = std::make_pair(name, Text(widget, QAccessible::Description));
        const auto [at, inserted] = seen.emplace(key, i);
        EXPECT_TRUE(inserted) << Where(i) << " and " << Where(at->second) << " are both \"" << name.toStdString()
                              << "\" / \"" << key.second.toStdString() << "\"";
    }
}

TEST_P(EveryTemplate, SymbolOnlyButtonsAreNamedInWords)
{
    for (size_t i = 0; i < form->controls.size(); ++i) {
        const ControlTemplate& control = form->controls[i];
        if (!IsButton(control.kind) || !IsSymbolOnly(control.text))
            continue;
        const QString name = Text(built.widgets[i], QAccessible::Name);
        EXPECT_FALSE(IsSymbolOnly(name)) << Where(i) << " is read as \"" << name.toStdString() << "\"";
    }
}

TEST_P(EveryTemplate, ListsAndCombosHaveTheirRoles)
{
    for (size_t i = 0; i < form->controls.size(); ++i) {
        const ControlKind kind = form->controls[i].kind;
        const QAccessible::Role role = Role(built.widgets[i]);
        switch (kind) {
        case ControlKind::ReportList:
            EXPECT_TRUE(role == QAccessible::Table || role == QAccessible::Tree) << Where(i) << " role " << role;
            EXPECT_NE(QAccessible::queryAccessibleInterface(built.widgets[i])->tableInterface(), nullptr) << Where(i);
            break;
        case ControlKind::ListBox: EXPECT_EQ(role, QAccessible::List) << Where(i); break;
        case ControlKind::ComboDropDown:
        case ControlKind::ComboDropList: EXPECT_EQ(role, QAccessible::ComboBox) << Where(i); break;
        case ControlKind::Edit:
        case ControlKind::MultiEdit: EXPECT_EQ(role, QAccessible::EditableText) << Where(i); break;
        case ControlKind::CheckBox: EXPECT_EQ(role, QAccessible::CheckBox) << Where(i); break;
        default: break;
        }
    }
}

// Labels lead to their fields: the label in front of an input control is its buddy, so
// its mnemonic moves the focus there; no two labels of a form share a mnemonic and none
// takes a menu's letter. What has no mnemonic is reached by Tab.
TEST_P(EveryTemplate, EveryInputIsReachedByTabOrItsLabelsMnemonic)
{
    std::map<QChar, size_t> mnemonics;
    const QString reserved = framework::ReservedMnemonics();
    for (size_t i = 0; i < form->controls.size(); ++i) {
        const ControlTemplate& control = form->controls[i];
        QWidget* widget = built.widgets[i];
        const bool tiedLabel = framework::LabelsNext(form->controls, i);
        if (tiedLabel) {
            auto label = qobject_cast<QLabel*>(widget);
            ASSERT_NE(label, nullptr) << Where(i);
            EXPECT_EQ(label->buddy(), built.widgets[i + 1]) << Where(i) << " is not the buddy of its field";
            EXPECT_EQ(framework::NameFromLabel(label->text()), framework::NameFromLabel(control.text))
                << Where(i) << " shows another text";
        }
        if (auto label = qobject_cast<QLabel*>(widget)) {
            const QChar letter = Mnemonic(label->text());
            if (!letter.isNull()) {
                EXPECT_FALSE(reserved.contains(letter)) << Where(i) << " takes a menu's letter " << letter.toLatin1();
                const auto [at, inserted] = mnemonics.emplace(letter, i);
                EXPECT_TRUE(inserted) << Where(i) << " and " << Where(at->second) << " share Alt+"
                                      << letter.toLatin1();
            }
        }
        if (IsInput(control.kind) && !(control.style & framework::StyleHidden)) {
            const bool byTab = widget->focusPolicy() & Qt::TabFocus;
            const bool byMnemonic = i > 0 && qobject_cast<QLabel*>(built.widgets[i - 1])
                && qobject_cast<QLabel*>(built.widgets[i - 1])->buddy() == widget
                && !Mnemonic(qobject_cast<QLabel*>(built.widgets[i - 1])->text()).isNull();
            EXPECT_TRUE(byTab || byMnemonic) << Where(i) << " cannot be reached from the keyboard";
        }
    }
}

std::string TemplateName(const ::testing::TestParamInfo<int>& info)
{
    return "Template" + std::to_string(info.param);
}

INSTANTIATE_TEST_SUITE_P(Registered, EveryTemplate, ::testing::ValuesIn(framework::DialogTemplateIds()), TemplateName);

TEST(TemplateRegistry, HoldsTheFormsOfEverySubsystemThatIsRegistered)
{
    // The table above is only as good as the registry it walks.
    const std::vector<int> ids = framework::DialogTemplateIds();
    const std::set<int> all(ids.begin(), ids.end());
    for (int id : {130, 139, 159, 161, 165}) // Subject, Other, the lookups, Recruitment
        EXPECT_TRUE(all.count(id)) << "template " << id;
}

} // namespace
