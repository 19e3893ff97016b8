#include "audiograms/ui/AmSearchDialogTemplate.h"

#include "resources/Resource.h"

namespace res {

using namespace framework;

DialogTemplate AmSearchDialogTemplate()
{
    DialogTemplate form;
    form.id = IDD_AM_SEARCH;
    form.caption = QStringLiteral("Audiogram Manager Database Search Results");
    form.cx = 244;
    form.cy = 121;
    form.controls = {
        {IDOK, ControlKind::DefPushButton, QStringLiteral("OK"), 187, 7, 50, 14, StyleNone, {}},
        {IDCANCEL, ControlKind::PushButton, QStringLiteral("Cancel"), 187, 24, 50, 14, StyleNone, {}},
        {-1, ControlKind::Static, QStringLiteral("Matching Patients found in the Audiogram Manager Database."), 7, 23,
         175, 16, StyleNone, {}},
        {amsearch::IDC_LIST, ControlKind::ReportList, {}, 7, 42, 230, 72, StyleNone, {},
         QStringLiteral("Matching patients")},
    };
    return form;
}

} // namespace res
