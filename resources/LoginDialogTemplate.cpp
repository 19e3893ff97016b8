#include "resources/DialogTemplates.h"

#include "resources/Resource.h"

namespace res {

using framework::ControlKind;

framework::DialogTemplate LoginDialogTemplate()
{
    framework::DialogTemplate form;
    form.id = IDD_LOGIN;
    form.caption = QStringLiteral("Velmar");
    form.cx = 270;
    form.cy = 118;
    // The logo (bitmap 157) is painted by the dialog itself at its top-left corner.
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("Tavrenn"), 134, 7, 71, 17, framework::StyleNone, {}},
        {-1, ControlKind::Static, QStringLiteral("Username:"), 134, 26, 44, 8, framework::StyleNone, {}},
        {IDC_USERNAME, ControlKind::Edit, {}, 134, 36, 63, 12, framework::StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("Password:"), 134, 50, 44, 8, framework::StyleNone, {}},
        {IDC_PASSWORD, ControlKind::Edit, {}, 134, 60, 63, 12,
         framework::StylePassword | framework::StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("Server:"), 133, 76, 41, 8, framework::StyleNone, {}},
        {IDC_SERVER, ControlKind::Edit, {}, 134, 88, 65, 13, framework::StyleAutoHScroll, {}},
        {IDOK, ControlKind::DefPushButton, QStringLiteral("OK"), 213, 7, 50, 14, framework::StyleNone, {}},
        {IDCANCEL, ControlKind::PushButton, QStringLiteral("Cancel"), 213, 24, 50, 14, framework::StyleNone, {}},
    };
    return form;
}

} // namespace res
