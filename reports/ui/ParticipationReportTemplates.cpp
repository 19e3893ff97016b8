#include "reports/ui/ParticipationReportTemplates.h"

#include "framework/TemplateRegistry.h"
#include "reports/ui/ReportControlIds.h"

namespace res {

using namespace framework;
using namespace res::report;

DialogTemplate ParticipationTemplate()
{
    DialogTemplate form;
    form.id = IDD_PARTICIPATION;
    form.caption = QStringLiteral("Participation");
    form.cx = 360;
    form.cy = 262;
    // Tab order: the period, the list, then the buttons.
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("Participation by date."), 7, 7, 120, 8, StyleNone, {}},
        {-1, ControlKind::Static, QStringLiteral("From:"), 7, 22, 20, 8, StyleNone, {}},
        {kFrom, ControlKind::Edit, {}, 30, 20, 60, 12, StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("To:"), 100, 22, 14, 8, StyleNone, {}},
        {kTo, ControlKind::Edit, {}, 116, 20, 60, 12, StyleAutoHScroll, {}},
        {kList, ControlKind::ReportList, {}, 7, 38, 286, 217, StyleGroup, {}, QStringLiteral("Participation")},
        {kQuery, ControlKind::PushButton, QStringLiteral("Query"), 303, 20, 50, 14, StyleGroup, {}},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 303, 38, 50, 14, StyleNone, {}},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 303, 56, 50, 14, StyleNone, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("Close"), 303, 241, 50, 14, StyleNone, {}},
    };
    return form;
}

DialogTemplate FeedbackTemplate()
{
    DialogTemplate form;
    form.id = IDD_FEEDBACK;
    form.caption = QStringLiteral("Feedback");
    form.cx = 480;
    form.cy = 262;
    // Tab order: the dataset, the feedback period, the list, then the buttons.
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("Dataset:"), 7, 9, 30, 8, StyleNone, {}},
        {participation::IDC_DATASET, ControlKind::ComboDropDown, {}, 40, 7, 150, 120,
         StyleSorted | StyleAutoHScroll | StyleVScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("From:"), 200, 9, 20, 8, StyleNone, {}},
        {kFrom, ControlKind::Edit, {}, 222, 7, 60, 12, StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("To:"), 290, 9, 14, 8, StyleNone, {}},
        {kTo, ControlKind::Edit, {}, 306, 7, 60, 12, StyleAutoHScroll, {}},
        {kList, ControlKind::ReportList, {}, 7, 26, 406, 229, StyleGroup, {}, QStringLiteral("Feedback")},
        {kQuery, ControlKind::PushButton, QStringLiteral("Query"), 423, 7, 50, 14, StyleGroup, {}},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 423, 25, 50, 14, StyleNone, {}},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 423, 43, 50, 14, StyleNone, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("Close"), 423, 241, 50, 14, StyleNone, {}},
    };
    return form;
}

DialogTemplate ClosedDatasetTemplate()
{
    DialogTemplate form;
    form.id = IDD_CLOSED_DATASET;
    form.caption = QStringLiteral("Closed Dataset");
    form.cx = 560;
    form.cy = 280;
    // Tab order: IRB, then dataset, the list, then the buttons.
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("This Report ONLY draws data from the feedback table."), 7, 7, 250, 8,
         StyleNone, {}},
        {-1, ControlKind::Static, QStringLiteral("IRB:"), 7, 24, 18, 8, StyleNone, {}},
        {participation::IDC_IRB, ControlKind::ComboDropDown, {}, 28, 22, 110, 120,
         StyleSorted | StyleAutoHScroll | StyleVScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("Dataset:"), 150, 24, 30, 8, StyleNone, {}},
        {participation::IDC_DATASET, ControlKind::ComboDropDown, {}, 182, 22, 160, 120,
         StyleSorted | StyleAutoHScroll | StyleVScroll, {}},
        {kList, ControlKind::ReportList, {}, 7, 40, 486, 233, StyleGroup, {}, QStringLiteral("Closed dataset")},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 503, 22, 50, 14, StyleGroup, {}},
        {participation::IDC_REOPEN, ControlKind::PushButton, QStringLiteral("ReOpen"), 503, 40, 50, 14, StyleNone, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("Close"), 503, 259, 50, 14, StyleNone, {}},
    };
    return form;
}

void RegisterParticipationReportTemplates()
{
    RegisterDialogTemplate(ParticipationTemplate());
    RegisterDialogTemplate(FeedbackTemplate());
    RegisterDialogTemplate(ClosedDatasetTemplate());
}

} // namespace res
