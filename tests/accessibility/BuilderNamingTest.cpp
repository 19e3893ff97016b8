// How the builder names what it builds, on small templates made for the case: labels
// without their marks, twins told apart by their group, the name column, mnemonics that
// keep off the menus and each other.

#include "framework/ControlId.h"
#include "framework/DialogTemplate.h"
#include "framework/TemplateAccessibility.h"
#include "framework/TemplateBuilder.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace framework;

QString Name(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

QString Description(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
}

std::unique_ptr<QWidget> BuildForm(const DialogTemplate& form)
{
    auto host = std::make_unique<QWidget>();
    TemplateBuilder(TemplateBuilder::DialogFont(form)).Build(form, host.get());
    return host;
}

ControlTemplate Label(const char* text, int x, int y)
{
    return {-1, ControlKind::Static, QString::fromUtf8(text), x, y, 40, 8, StyleNone, {}};
}

ControlTemplate Edit(int id, int x, int y)
{
    return {id, ControlKind::Edit, {}, x, y, 40, 12, StyleAutoHScroll, {}};
}

TEST(NameFromLabel, DropsTheMnemonicMarkAndTheColon)
{
    EXPECT_EQ(NameFromLabel(QStringLiteral("Birth Date:")), QStringLiteral("Birth Date"));
    EXPECT_EQ(NameFromLabel(QStringLiteral("&Birth Date:")), QStringLiteral("Birth Date"));
    EXPECT_EQ(NameFromLabel(QStringLiteral("Cochlear Implant :")), QStringLiteral("Cochlear Implant"));
    EXPECT_EQ(NameFromLabel(QStringLiteral("Pref. Cont.:")), QStringLiteral("Pref. Cont."));
    EXPECT_EQ(NameFromLabel(QStringLiteral("R&&D &Lab:")), QStringLiteral("R&D Lab"));
    EXPECT_EQ(NameFromLabel(QStringLiteral(" : ")), QString());
}

TEST(BuilderNames, TwinFieldsInTwoGroupsShareTheirNameButNotTheirDescription)
{
    DialogTemplate form;
    form.cx = 200;
    form.cy = 100;
    form.controls = {
        {-1, ControlKind::GroupBox, QStringLiteral("Left Ear"), 5, 5, 90, 40, StyleNone, {}},
        Label("Duration:", 10, 20),
        Edit(1001, 50, 18),
        {-1, ControlKind::GroupBox, QStringLiteral("Right Ear"), 100, 5, 90, 40, StyleNone, {}},
        Label("Duration:", 105, 20),
        Edit(1002, 145, 18),
        Label("Notes:", 5, 60),
        Edit(1003, 45, 58),
    };
    auto host = BuildForm(form);
    QWidget* left = FindControl(host.get(), 1001);
    QWidget* right = FindControl(host.get(), 1002);
    EXPECT_EQ(Name(left), QStringLiteral("Duration"));
    EXPECT_EQ(Name(right), QStringLiteral("Duration"));
    EXPECT_EQ(Description(left), QStringLiteral("Left Ear"));
    EXPECT_EQ(Description(right), QStringLiteral("Right Ear"));
    // Outside both groups: no group's title.
    EXPECT_EQ(Description(FindControl(host.get(), 1003)), QString());
}

TEST(BuilderNames, TheNameColumnWinsOverALabelThatIsNoName)
{
    DialogTemplate form;
    form.cx = 200;
    form.cy = 60;
    ControlTemplate years = Edit(1001, 10, 10);
    years.name = QStringLiteral("Age at implant, years");
    ControlTemplate symbol{1002, ControlKind::PushButton, QStringLiteral("?"), 60, 10, 12, 12, StyleNone, {},
                           QStringLiteral("Load subject by id")};
    ControlTemplate months = Edit(1005, 60, 30);
    months.name = QStringLiteral("Age at implant, months");
    form.controls = {years, Label("yrs", 52, 12), symbol, Edit(1003, 10, 30), Label("mos", 52, 32), months};
    auto host = BuildForm(form);
    EXPECT_EQ(Name(FindControl(host.get(), 1001)), QStringLiteral("Age at implant, years"));
    EXPECT_EQ(Name(FindControl(host.get(), 1002)), QStringLiteral("Load subject by id"));
    // A unit label after its field names nothing: it is not in front of an input.
    EXPECT_EQ(Name(FindControl(host.get(), 1003)), QString());
    // Nor is a unit the label of the field after it: the field the template names is not
    // the unit's buddy and the unit takes no mnemonic.
    EXPECT_EQ(Name(FindControl(host.get(), 1005)), QStringLiteral("Age at implant, months"));
    for (QLabel* unit : host->findChildren<QLabel*>()) {
        EXPECT_EQ(unit->buddy(), nullptr) << unit->text().toStdString();
        EXPECT_FALSE(unit->text().contains(u'&')) << unit->text().toStdString();
    }

    // A label in front of a field with a name column stays its buddy for the focus, also
    // when it stands right of another field on the row: its colon makes it a label.
    ControlTemplate type = {1004, ControlKind::ComboDropDown, {}, 95, 10, 40, 60, StyleNone,
                            {QStringLiteral("Home")}, QStringLiteral("Alt Phone type")};
    form.controls = {Edit(1006, 10, 10), Label("Type:", 52, 12), type};
    auto second = BuildForm(form);
    auto combo = FindControlAs<QComboBox>(second.get(), 1004);
    EXPECT_EQ(Name(combo), QStringLiteral("Alt Phone type"));
    // The reader announces the edit part of an editable combo, which must say the same.
    EXPECT_EQ(Name(combo->lineEdit()), QStringLiteral("Alt Phone type"));
    EXPECT_EQ(second->findChild<QLabel*>()->buddy(), combo);
    // A chosen item is the combo's value, not its name.
    combo->setCurrentIndex(0);
    EXPECT_EQ(Name(combo), QStringLiteral("Alt Phone type"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Value), QStringLiteral("Home"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(combo)->role(), QAccessible::ComboBox);
    // Its edit part and its list are its children.
    QAccessibleInterface* comboIface = QAccessible::queryAccessibleInterface(combo);
    ASSERT_EQ(comboIface->childCount(), 2);
    EXPECT_EQ(comboIface->child(1)->object(), combo->lineEdit());
    EXPECT_EQ(comboIface->indexOfChild(comboIface->child(0)), 0);
}

TEST(BuilderNames, ACheckBoxWithItsOwnTextKeepsItAndOneWithoutTakesTheLabel)
{
    DialogTemplate form;
    form.cx = 200;
    form.cy = 60;
    form.controls = {
        Label("Bilateral:", 10, 10),
        {1001, ControlKind::CheckBox, {}, 50, 10, 10, 10, StyleNone, {}},
        Label("Extra:", 10, 25),
        {1002, ControlKind::CheckBox, QStringLiteral("Weekends"), 50, 25, 50, 10, StyleNone, {}},
    };
    auto host = BuildForm(form);
    EXPECT_EQ(Name(FindControl(host.get(), 1001)), QStringLiteral("Bilateral"));
    EXPECT_EQ(Name(FindControl(host.get(), 1002)), QStringLiteral("Weekends"));
    const auto labels = host->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[1]->buddy(), nullptr) << "a check box with a text is its own label";
}

TEST(BuilderMnemonics, LabelsTakeFreeLettersAwayFromTheMenusAndTheFormsOwn)
{
    ReserveMnemonics(QStringLiteral("FT"));
    DialogTemplate form;
    form.cx = 200;
    form.cy = 100;
    form.controls = {
        {1000, ControlKind::PushButton, QStringLiteral("&Date"), 150, 5, 40, 14, StyleNone, {}},
        Label("First Name:", 5, 5), Edit(1001, 50, 5),    // F is the menu's: N
        Label("Date of Birth:", 5, 20), Edit(1002, 50, 20), // D is the button's: O (of)
        Label("Notes:", 5, 35), Edit(1003, 50, 35),      // N, o taken, t the menu's: e
        Label("&Zip:", 5, 50), Edit(1004, 50, 50),       // the template's own stays
    };
    auto host = BuildForm(form);
    const auto labels = host->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 4);
    EXPECT_EQ(labels[0]->text(), QStringLiteral("First &Name:"));
    EXPECT_EQ(labels[1]->text(), QStringLiteral("Date &of Birth:"));
    EXPECT_EQ(labels[2]->text(), QStringLiteral("Not&es:"));
    EXPECT_EQ(labels[3]->text(), QStringLiteral("&Zip:"));
    EXPECT_EQ(Name(FindControl(host.get(), 1003)), QStringLiteral("Notes"));
    EXPECT_TRUE(ReservedMnemonics().contains(u'f') && ReservedMnemonics().contains(u't'));

    // Alt with the letter moves the focus to the field.
    host->show();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    QTest::keyClick(host.get(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), FindControl(host.get(), 1003));
    QTest::keyClick(host.get(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), FindControl(host.get(), 1001));
}

} // namespace
