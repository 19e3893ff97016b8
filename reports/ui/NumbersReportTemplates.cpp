// The Database Numbers (179), Numbers added per month (180) and Demographics (188)
// windows: the list on the left, options and buttons on the right, Close (OK in
// Demographics) at the bottom.

#include "reports/ui/NumbersReportTemplates.h"

#include "framework/TemplateRegistry.h"
#include "reports/ui/ReportControlIds.h"

namespace res {

using namespace framework;
using namespace res::report;

DialogTemplate DatabaseNumbersTemplate()
{
    DialogTemplate form;
    form.id = IDD_DATABASE_NUMBERS;
    form.caption = QStringLiteral("Database Numbers");
    form.cx = 460;
    form.cy = 280;
    form.controls = {
        {numbers::IDC_ACTIVE_ONLY, ControlKind::CheckBox, QStringLiteral("Active Subjects Only"), 7, 7, 120, 10,
         StyleGroup, {}},
        {kList, ControlKind::ReportList, {}, 7, 22, 380, 251, StyleGroup, {}, QStringLiteral("Database numbers")},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 393, 22, 60, 14, StyleGroup, {}},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 393, 40, 60, 14, StyleNone, {}},
        {kOk, ControlKind::DefPushButton, QStringLiteral("Close"), 393, 259, 60, 14, StyleNone, {}},
    };
    return form;
}

DialogTemplate MonthlyNumbersTemplate()
{
    DialogTemplate form;
    form.id = IDD_MONTHLY_NUMBERS;
    form.caption = QStringLiteral("Numbers added per month");
    form.cx = 290;
    form.cy = 240;
    form.controls = {
        {kList, ControlKind::ReportList, {}, 7, 7, 210, 226, StyleGroup, {}, QStringLiteral("Subjects added by month")},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 223, 7, 60, 14, StyleGroup, {}},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 223, 25, 60, 14, StyleNone, {}},
        {kOk, ControlKind::DefPushButton, QStringLiteral("Close"), 223, 219, 60, 14, StyleNone, {}},
    };
    return form;
}

DialogTemplate DemographicsTemplate()
{
    DialogTemplate form;
    form.id = IDD_DEMOGRAPHICS;
    form.caption = QStringLiteral("Demographics");
    form.cx = 500;
    form.cy = 300;
    form.controls = {
        {numbers::IDC_RACE, ControlKind::Radio, QStringLiteral("Race"), 7, 7, 50, 10, StyleGroup, {}},
        {numbers::IDC_ETHNICITY, ControlKind::Radio, QStringLiteral("Ethnicity"), 60, 7, 60, 10, StyleNone, {}},
        {numbers::IDC_BOTH, ControlKind::Radio, QStringLiteral("Both"), 123, 7, 50, 10, StyleNone, {}},
        {numbers::IDC_ACTIVE_ONLY, ControlKind::CheckBox, QStringLiteral("Show Active Patients Only"), 190, 7, 120, 10,
         StyleGroup, {}},
        {kList, ControlKind::ReportList, {}, 7, 22, 420, 271, StyleGroup, {}, QStringLiteral("Demographics")},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 433, 22, 60, 14, StyleGroup, {}},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 433, 40, 60, 14, StyleNone, {}},
        {kOk, ControlKind::DefPushButton, QStringLiteral("OK"), 433, 279, 60, 14, StyleNone, {}},
    };
    return form;
}

void RegisterNumbersReportTemplates()
{
    RegisterDialogTemplate(DatabaseNumbersTemplate());
    RegisterDialogTemplate(MonthlyNumbersTemplate());
    RegisterDialogTemplate(DemographicsTemplate());
}

} // namespace res
