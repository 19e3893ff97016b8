// The S/L/L tab (template 197): the two speech-therapy answers and the subject's speech,
// language and literacy tests with the buttons that add, edit and delete them.

#include "implants/ui/SllTemplates.h"

namespace res {

using namespace framework;
using namespace sll;

DialogTemplate SllFormTemplate()
{
    const QStringList answers = {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Unknown")};
    DialogTemplate form;
    form.id = IDD_FORM_SLL;
    form.cx = 531;
    form.cy = 270;
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("Past Speech/Language Therapy:"), 7, 9, 115, 8, StyleNone, {}},
        {IDC_PAST_SPEECH, ControlKind::ComboDropDown, {}, 124, 7, 75, 108, StyleSorted, answers},
        {-1, ControlKind::Static, QStringLiteral("Current Speech/Language Therapy:"), 7, 23, 115, 8, StyleNone, {}},
        {IDC_CURRENT_SPEECH, ControlKind::ComboDropDown, {}, 124, 21, 75, 93, StyleSorted, answers},
        {IDC_LIST, ControlKind::ReportList, {}, 7, 40, 461, 223, StyleNone, {}, QStringLiteral("Speech tests")},
        {IDC_ADD, ControlKind::PushButton, QStringLiteral("Add"), 474, 44, 50, 14, StyleNone, {}},
        {IDC_EDIT, ControlKind::PushButton, QStringLiteral("Edit"), 474, 65, 50, 14, StyleNone, {}},
        {IDC_DELETE, ControlKind::PushButton, QStringLiteral("Delete"), 474, 86, 50, 14, StyleNone, {}},
    };
    return form;
}

} // namespace res
