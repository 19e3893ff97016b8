// How the builder names what it builds, on a small template made for the case: a unit
// label after a field is that field's, never the label of the field after it.

#include "framework/ControlId.h"
#include "framework/TemplateBuilder.h"

#include <QAccessible>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

using namespace framework;

QString Name(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

TEST(BuilderNames, AUnitAfterAFieldNamesNothingAndLeadsNowhere)
{
    DialogTemplate form;
    form.cx = 200;
    form.cy = 60;
    const auto edit = [](int id, int x, int y, const char* name) {
        return ControlTemplate{id, ControlKind::Edit, {}, x, y, 40, 12, StyleAutoHScroll, {}, QString::fromLatin1(name)};
    };
    const auto unit = [](const char* text, int x, int y) {
        return ControlTemplate{-1, ControlKind::Static, QString::fromLatin1(text), x, y, 20, 8, StyleNone, {}};
    };
    form.controls = {edit(1001, 10, 10, "Age at implant, years"), unit("yrs", 52, 12), edit(1003, 10, 30, ""),
                     unit("mos", 52, 32), edit(1005, 60, 30, "Age at implant, months")};
    QWidget host;
    TemplateBuilder(TemplateBuilder::DialogFont(form)).Build(form, &host);
    EXPECT_EQ(Name(FindControl(&host, 1001)), QStringLiteral("Age at implant, years"));
    EXPECT_EQ(Name(FindControl(&host, 1003)), QString());
    EXPECT_EQ(Name(FindControl(&host, 1005)), QStringLiteral("Age at implant, months"));
    for (QLabel* label : host.findChildren<QLabel*>()) {
        EXPECT_EQ(label->buddy(), nullptr) << label->text().toStdString();
        EXPECT_FALSE(label->text().contains(u'&')) << label->text().toStdString();
    }
}

} // namespace
