#include "resources/DialogTemplates.h"

#include "resources/Resource.h"

namespace res {

using framework::ControlKind;

framework::DialogTemplate AboutDialogTemplate()
{
    framework::DialogTemplate form;
    form.id = IDD_ABOUTBOX;
    form.caption = QStringLiteral("About Quorin");
    form.cx = 235;
    form.cy = 98;
    // The three component lines get their texts when the box opens: the data-access
    // components really in use, with their versions.
    form.controls = {
        {-1, ControlKind::Icon, QString::number(IDR_MAINFRAME), 11, 17, 20, 20, framework::StyleNone, {}},
        {-1, ControlKind::Static, QStringLiteral("Quorin Version 2.1"), 40, 10, 119, 8, framework::StyleNone, {}},
        {-1, ControlKind::Static, QStringLiteral("Tavrenn"), 40, 25, 119, 8, framework::StyleNone, {}},
        {IDC_ABOUT_COMPONENT1, ControlKind::Static, {}, 40, 60, 190, 8, framework::StyleNone, {}},
        {IDC_ABOUT_COMPONENT2, ControlKind::Static, {}, 40, 69, 190, 8, framework::StyleNone, {}},
        {IDC_ABOUT_COMPONENT3, ControlKind::Static, {}, 40, 78, 190, 8, framework::StyleNone, {}},
        {IDOK, ControlKind::DefPushButton, QStringLiteral("OK"), 178, 7, 50, 14, framework::StyleGroup, {}},
    };
    return form;
}

} // namespace res
