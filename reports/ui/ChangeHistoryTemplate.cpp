#include "reports/ui/ChangeHistoryTemplate.h"

#include "reports/ui/ReportControlIds.h"

namespace res {

using namespace framework;
using namespace res::report;

DialogTemplate ChangeHistoryTemplate()
{
    DialogTemplate form;
    form.id = IDD_CHANGE_HISTORY;
    form.caption = QStringLiteral("Change History");
    form.cx = 580;
    form.cy = 290;
    // The list first: the keyboard starts in it.
    form.controls = {
        {kList, ControlKind::ReportList, {}, 7, 7, 505, 276, StyleNone, {}, QStringLiteral("Change history")},
        {kPrint, ControlKind::PushButton, QStringLiteral("Print"), 517, 7, 56, 14, StyleNone, {}},
        {kSave, ControlKind::PushButton, QStringLiteral("Save"), 517, 25, 56, 14, StyleNone, {}},
        {kOk, ControlKind::DefPushButton, QStringLiteral("Close"), 517, 269, 56, 14, StyleNone, {}},
    };
    return form;
}

} // namespace res
