// The Recruitment dialog (165): the registry's list of recruitment methods, added and
// deleted by their text.

#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"

namespace res {

using namespace framework;
using namespace recruitment;

DialogTemplate RecruitmentDialogTemplate()
{
    DialogTemplate form;
    form.id = IDD_RECRUITMENT;
    form.caption = QStringLiteral("Recruitment");
    form.cx = 186;
    form.cy = 106;
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("New Method Description:"), 7, 7, 81, 8, StyleNone, {}},
        {IDC_METHOD, ControlKind::Edit, {}, 7, 16, 117, 12, StyleAutoHScroll, {}},
        {IDC_LIST, ControlKind::ReportList, {}, 7, 35, 120, 64, StyleSorted, {}, QStringLiteral("Recruitment methods")},
        {IDOK, ControlKind::DefPushButton, QStringLiteral("OK"), 129, 7, 50, 14, StyleNone, {}},
        {IDC_ADD, ControlKind::PushButton, QStringLiteral("Add"), 129, 24, 50, 14, StyleNone, {}},
        {IDC_DELETE, ControlKind::PushButton, QStringLiteral("Delete"), 129, 44, 50, 14, StyleNone, {}},
    };
    return form;
}

} // namespace res
