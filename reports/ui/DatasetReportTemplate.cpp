#include "reports/ui/DatasetReportTemplate.h"

#include "reports/ui/ReportControlIds.h"

namespace res {

using namespace framework;
using namespace report;

DialogTemplate DatasetReportTemplate()
{
    DialogTemplate form;
    form.id = IDD_REPORT_DATASETS;
    form.caption = QStringLiteral("Dataset and IRB");
    form.cx = 480;
    form.cy = 236;
    // Tab order: the range and the options, the list, then the buttons.
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("From:"), 7, 9, 20, 8, StyleNone, {}},
        {kFrom, ControlKind::Edit, {}, 30, 7, 60, 12, StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("To:"), 100, 9, 14, 8, StyleNone, {}},
        {kTo, ControlKind::Edit, {}, 116, 7, 60, 12, StyleAutoHScroll, {}},
        {datasets::IDC_BY_DATE, ControlKind::Radio, QStringLiteral("Order by Request Date"), 190, 4, 100, 10, StyleGroup, {}},
        {datasets::IDC_BY_IRB, ControlKind::Radio, QStringLiteral("Order by IRB"), 190, 15, 100, 10, StyleNone, {}},
        {datasets::IDC_OPEN_ONLY, ControlKind::CheckBox, QStringLiteral("Include open datasets only"), 300, 8, 110, 10,
         StyleGroup, {}},
        {kList, ControlKind::ReportList, {}, 7, 30, 406, 199, StyleGroup, {}, QStringLiteral("Datasets")},
        {kQuery, ControlKind::PushButton, QStringLiteral("Query"), 423, 7, 50, 14, StyleGroup, {}},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 423, 25, 50, 14, StyleNone, {}},
        {datasets::IDC_EMAIL, ControlKind::PushButton, QStringLiteral("Email"), 423, 43, 50, 14, StyleNone, {}},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 423, 61, 50, 14, StyleNone, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("Close"), 423, 215, 50, 14, StyleNone, {}},
    };
    return form;
}

} // namespace res
