// The audiogram Comments tab (template 140): the test's comments and recommendations,
// two multi-line fields that scroll vertically.

#include "audiograms/ui/AudTemplates.h"

namespace res {

using namespace framework;
using namespace audother;

DialogTemplate AudOtherFormTemplate()
{
    DialogTemplate form;
    form.id = IDD_FORM_AUD_OTHER;
    form.cx = 552;
    form.cy = 284;
    const unsigned multiLine = StyleVScroll | StyleWantReturn;
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("Comments:"), 7, 7, 80, 8, StyleNone, {}},
        {IDC_COMMENTS, ControlKind::MultiEdit, {}, 7, 18, 538, 118, multiLine, {}},
        {-1, ControlKind::Static, QStringLiteral("Recommendations:"), 7, 145, 80, 8, StyleNone, {}},
        {IDC_RECOMMEND, ControlKind::MultiEdit, {}, 7, 156, 538, 118, multiLine, {}},
    };
    return form;
}

} // namespace res
