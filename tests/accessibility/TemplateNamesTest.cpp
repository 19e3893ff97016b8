// Every registered form and dialog, built by the program's own builder and read through
// Qt's accessibility interface, the way a screen reader reads it. One row per template,
// so a form added to the program is checked the day it is registered. Also the builder's
// naming on a template of its own, and the tab band.

#include "framework/AccessibleFactory.h"
#include "framework/ControlId.h"
#include "framework/DataExchange.h"
#include "framework/DdxStandard.h"
#include "framework/DialogTemplate.h"
#include "framework/TemplateAccessibility.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"
#include "framework/TTabWnd.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QRadioButton>
#include <QLabel>
#include <QStringList>
#include <QTest>
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

std::string Where(const DialogTemplate& form, size_t i)
{
    const ControlTemplate& control = form.controls[i];
    return "template " + std::to_string(form.id) + ", control " + std::to_string(i) + " (id "
        + std::to_string(control.id) + ", \"" + control.text.toStdString() + "\")";
}

bool IsInput(ControlKind kind)
{
    return std::set{ControlKind::Edit, ControlKind::MultiEdit, ControlKind::ComboDropDown, ControlKind::ComboDropList,
                    ControlKind::ListBox, ControlKind::ReportList, ControlKind::CheckBox, ControlKind::Radio}
        .count(kind);
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
    std::string Where(size_t i) const { return ::Where(*form, i); }

    const DialogTemplate* form = nullptr;
    BuiltForm built;
};

TEST_P(EveryTemplate, EveryInputControlHasANameAndEveryNameIsUniqueAndSymbolButtonsAreReadInWords)
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
        // A button whose caption is a symbol is read in words.
        if (IsButton(kind) && IsSymbolOnly(form->controls[i].text)) {
            EXPECT_FALSE(IsSymbolOnly(name)) << Where(i) << " is read as \"" << name.toStdString() << "\"";
        }
    }
}

// What each kind of control is to a screen reader; a report list is a table or a tree,
// and pictures vary.
QAccessible::Role ExpectedRole(ControlKind kind)
{
    static const std::map<ControlKind, QAccessible::Role> roles = {
        {ControlKind::Static, QAccessible::StaticText},      {ControlKind::Edit, QAccessible::EditableText},
        {ControlKind::MultiEdit, QAccessible::EditableText}, {ControlKind::PushButton, QAccessible::Button},
        {ControlKind::DefPushButton, QAccessible::Button},   {ControlKind::CheckBox, QAccessible::CheckBox},
        {ControlKind::Radio, QAccessible::RadioButton},      {ControlKind::GroupBox, QAccessible::Grouping},
        {ControlKind::ComboDropDown, QAccessible::ComboBox}, {ControlKind::ComboDropList, QAccessible::ComboBox},
        {ControlKind::ListBox, QAccessible::List}};
    const auto found = roles.find(kind);
    return found == roles.end() ? QAccessible::NoRole : found->second;
}

void ExpectRoles(const DialogTemplate& form, const std::vector<QWidget*>& widgets, const char* when)
{
    for (size_t i = 0; i < form.controls.size(); ++i) {
        const ControlKind kind = form.controls[i].kind;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widgets[i]);
        const QAccessible::Role role = iface ? iface->role() : QAccessible::NoRole;
        const std::string where = Where(form, i) + " " + when;
        if (kind == ControlKind::ReportList) {
            EXPECT_TRUE(role == QAccessible::Table || role == QAccessible::Tree) << where << " role " << role;
            EXPECT_NE(iface->tableInterface(), nullptr) << where;
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
            auto* before = i > 0 ? qobject_cast<QLabel*>(built.widgets[i - 1]) : nullptr;
            const bool byMnemonic = before && before->buddy() == widget && !Mnemonic(before->text()).isNull();
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
        })) << Where(form, group.front());
    }
    ExpectRoles(form, built.widgets, "after the exchange");

    for (size_t g = 0; g < groups.size(); ++g) {
        auto* first = qobject_cast<QRadioButton*>(built.widgets[groups[g].front()]);
        ASSERT_NE(first, nullptr) << Where(form, groups[g].front());
        first->click();
        for (size_t h = 0; h < groups.size(); ++h) {
            for (size_t k = 0; k < groups[h].size(); ++k) {
                auto* radio = qobject_cast<QRadioButton*>(built.widgets[groups[h][k]]);
                // Groups clicked so far hold their first option, the others their last.
                const bool expected = h <= g ? k == 0 : k + 1 == groups[h].size();
                EXPECT_EQ(radio->isChecked(), expected)
                    << Where(form, groups[h][k]) << " after clicking " << Where(form, groups[g].front());
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
        withGroups += std::any_of(form->controls.begin(), form->controls.end(),
                                  [](const ControlTemplate& c) { return c.kind == ControlKind::Radio; });
        ExpectOptionGroupsKept(*form);
    }
    EXPECT_GE(withGroups, 2) << "Demographics and Datasets hold option groups";
}

std::string TemplateName(const ::testing::TestParamInfo<int>& info)
{
    return "Template" + std::to_string(info.param);
}

INSTANTIATE_TEST_SUITE_P(Registered, EveryTemplate, ::testing::ValuesIn(framework::DialogTemplateIds()), TemplateName);

// How the builder names what it builds, on a small template made for the case: a unit
// label after a field is that field's, never the label of the field after it.
TEST(BuilderNames, AUnitAfterAFieldNamesNothingAndLeadsNowhere)
{
    DialogTemplate form;
    form.cx = 200;
    form.cy = 60;
    const auto edit = [](int id, int x, int y, const char* name) {
        return ControlTemplate{id, ControlKind::Edit, {}, x, y, 40, 12, framework::StyleAutoHScroll, {},
                               QString::fromLatin1(name)};
    };
    const auto unit = [](const char* text, int x, int y) {
        return ControlTemplate{-1, ControlKind::Static, QString::fromLatin1(text), x, y, 20, 8, framework::StyleNone, {}};
    };
    form.controls = {edit(1001, 10, 10, "Age at implant, years"), unit("yrs", 52, 12), edit(1003, 10, 30, ""),
                     unit("mos", 52, 32), edit(1005, 60, 30, "Age at implant, months")};
    const BuiltForm built = Build(form);
    const auto name = [&](int id) { return Text(framework::FindControl(built.host.get(), id), QAccessible::Name); };
    EXPECT_EQ(name(1001), QStringLiteral("Age at implant, years"));
    EXPECT_EQ(name(1003), QString());
    EXPECT_EQ(name(1005), QStringLiteral("Age at implant, months"));
    for (QLabel* label : built.host->findChildren<QLabel*>()) {
        EXPECT_EQ(label->buddy(), nullptr) << label->text().toStdString();
        EXPECT_FALSE(label->text().contains(u'&')) << label->text().toStdString();
    }
}

// The tab window's band as a screen reader meets it: a page-tab list, one tab per page,
// the active one selected, a press switching the page, and the window's own switches
// shown in the band.
TEST(TabBand, IsAPageTabListWhosePressSwitchesThePageAndWhoseSelectionFollowsTheWindow)
{
    framework::InstallAccessibleFactories();
    TTabWnd tabs;
    tabs.SetTabPos(TTabWnd::TabsOnTop);
    for (const char* title : {"Subject", "Audiogram", "Other"})
        tabs.AddPage(QString::fromLatin1(title), new QWidget);
    tabs.resize(500, 300);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&tabs);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->childCount(), 4); // the band, then the pages
    QAccessibleInterface* band = window->child(0);
    ASSERT_EQ(band->role(), QAccessible::PageTabList);
    QStringList names;
    for (int i = 0; i < band->childCount(); ++i) {
        EXPECT_EQ(band->child(i)->role(), QAccessible::PageTab);
        EXPECT_EQ(band->child(i)->state().selected, i == 0) << i;
        names << band->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(names, (QStringList{"Subject", "Audiogram", "Other"}));
    EXPECT_EQ(window->child(2)->object(), tabs.GetTabWnd(1));
    const QRect second = band->child(1)->rect();
    EXPECT_EQ(band->childAt(second.center().x(), second.center().y()), band->child(1));

    ASSERT_NE(band->child(2)->actionInterface(), nullptr);
    band->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs.GetActiveTab(), 2);
    EXPECT_TRUE(band->child(2)->state().selected);
    tabs.SetActiveTab(1, false);
    EXPECT_TRUE(band->child(1)->state().selected);
    EXPECT_FALSE(band->child(2)->state().selected);
}

} // namespace
