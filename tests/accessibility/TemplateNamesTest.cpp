// Every registered form and dialog, built by the program's own builder and read through
// Qt's accessibility interface, the way a screen reader reads it. One row per template,
// so a form added to the program is checked the day it is registered.

#include "framework/DataExchange.h"
#include "framework/DdxStandard.h"
#include "framework/DialogTemplate.h"
#include "framework/TemplateAccessibility.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QRadioButton>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
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

// What each kind of control is to a screen reader.
QAccessible::Role ExpectedRole(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Static: return QAccessible::StaticText;
    case ControlKind::Edit:
    case ControlKind::MultiEdit: return QAccessible::EditableText;
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: return QAccessible::Button;
    case ControlKind::CheckBox: return QAccessible::CheckBox;
    case ControlKind::Radio: return QAccessible::RadioButton;
    case ControlKind::GroupBox: return QAccessible::Grouping;
    case ControlKind::ComboDropDown:
    case ControlKind::ComboDropList: return QAccessible::ComboBox;
    case ControlKind::ListBox: return QAccessible::List;
    default: return QAccessible::NoRole; // a report list is a table or a tree; pictures vary
    }
}

void ExpectRoles(const DialogTemplate& form, const std::vector<QWidget*>& widgets, const char* when)
{
    for (size_t i = 0; i < form.controls.size(); ++i) {
        const ControlKind kind = form.controls[i].kind;
        const QAccessible::Role role = Role(widgets[i]);
        const std::string where = "template " + std::to_string(form.id) + ", control " + std::to_string(i) + " \""
            + form.controls[i].text.toStdString() + "\" " + when;
        if (kind == ControlKind::ReportList) {
            EXPECT_TRUE(role == QAccessible::Table || role == QAccessible::Tree) << where << " role " << role;
            EXPECT_NE(QAccessible::queryAccessibleInterface(widgets[i])->tableInterface(), nullptr) << where;
        } else if (ExpectedRole(kind) != QAccessible::NoRole) {
            EXPECT_EQ(role, ExpectedRole(kind)) << where;
        }
    }
}

TEST_P(EveryTemplate, EveryControlHasTheRoleOfItsKind)
{
    ExpectRoles(*form, built.widgets, "as built");
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

// Option groups as a form uses them: the window shows its values (the exchange that
// checks a group's button by index), and the user picks another option. The options
// stay options, each group stays exclusive on its own, and picking in one group leaves
// every other group alone.
void ExpectOptionGroupsKept(const DialogTemplate& form)
{
    const auto Where = [&form](size_t i) {
        return "template " + std::to_string(form.id) + ", control " + std::to_string(i) + " \""
            + form.controls[i].text.toStdString() + "\"";
    };
    BuiltForm built = Build(form);
    std::vector<std::vector<size_t>> groups;
    for (size_t i = 0; i < form.controls.size(); ++i) {
        const ControlTemplate& control = form.controls[i];
        if (control.kind != ControlKind::Radio)
            continue;
        if (groups.empty() || (control.style & framework::StyleGroup) || form.controls[i - 1].kind != ControlKind::Radio)
            groups.emplace_back();
        groups.back().push_back(i);
    }
    if (groups.empty())
        return;
    for (const std::vector<size_t>& group : groups) {
        int value = static_cast<int>(group.size()) - 1;
        ASSERT_TRUE(RunDataExchange(built.host.get(), false, [&](CDataExchange* dx) {
            DDX_Radio(dx, form.controls[group.front()].id, value);
        })) << Where(group.front());
    }
    ExpectRoles(form, built.widgets, "after the exchange");

    for (size_t g = 0; g < groups.size(); ++g) {
        auto* first = qobject_cast<QRadioButton*>(built.widgets[groups[g].front()]);
        ASSERT_NE(first, nullptr) << Where(groups[g].front());
        first->click();
        for (size_t h = 0; h < groups.size(); ++h) {
            for (size_t k = 0; k < groups[h].size(); ++k) {
                auto* radio = qobject_cast<QRadioButton*>(built.widgets[groups[h][k]]);
                // Groups clicked so far hold their first option, the others their last.
                const bool expected = h <= g ? k == 0 : k + 1 == groups[h].size();
                EXPECT_EQ(radio->isChecked(), expected) << Where(groups[h][k]) << " after clicking " << Where(groups[g].front());
            }
        }
    }
}

TEST(OptionGroups, StayOptionsAndExclusiveAfterAnExchangeInEveryTemplate)
{
    int withGroups = 0;
    for (const int id : framework::DialogTemplateIds()) {
        const DialogTemplate* form = framework::FindDialogTemplate(id);
        ASSERT_NE(form, nullptr);
        const bool hasRadio = std::any_of(form->controls.begin(), form->controls.end(),
                                          [](const ControlTemplate& c) { return c.kind == ControlKind::Radio; });
        withGroups += hasRadio ? 1 : 0;
        ExpectOptionGroupsKept(*form);
    }
    EXPECT_GE(withGroups, 2) << "Demographics and Datasets hold option groups";
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
