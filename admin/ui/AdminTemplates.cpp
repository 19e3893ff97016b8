// The staff administration dialogs: the list of users by status, one user's row and
// login, and the own password.

#include "admin/ui/AdminTemplates.h"

#include "framework/TemplateRegistry.h"
#include "resources/FieldLengths.h"

namespace res {

using namespace framework;

DialogTemplate UsersDialogTemplate()
{
    using namespace users;
    DialogTemplate form;
    form.id = IDD_USERS;
    form.caption = QStringLiteral("Quorin Users");
    form.cx = 300;
    form.cy = 190;
    // Tab order: the filter, the list, the buttons that work on it, then OK and Cancel.
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("Show:"), 7, 9, 24, 8, StyleNone, {}},
        {IDC_FILTER, ControlKind::ComboDropList, {}, 33, 7, 110, 80, StyleVScroll,
         {QStringLiteral("Active"), QStringLiteral("Inactive"), QStringLiteral("Active - no password"),
          QStringLiteral("Administrators"), QStringLiteral("All")}},
        {IDC_LIST, ControlKind::ReportList, {}, 7, 26, 226, 157, StyleGroup, {}, QStringLiteral("Users")},
        {IDC_ADD, ControlKind::PushButton, QStringLiteral("Add"), 243, 26, 50, 14, StyleGroup, {}},
        {IDC_MODIFY, ControlKind::PushButton, QStringLiteral("Modify"), 243, 44, 50, 14, StyleNone, {}},
        {IDC_DELETE, ControlKind::PushButton, QStringLiteral("Delete"), 243, 62, 50, 14, StyleNone, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("OK"), 243, 151, 50, 14, StyleGroup, {}},
        {2, ControlKind::PushButton, QStringLiteral("Cancel"), 243, 169, 50, 14, StyleNone, {}},
    };
    return form;
}

DialogTemplate UserDialogTemplate()
{
    using namespace user;
    DialogTemplate form;
    form.id = IDD_USER;
    form.caption = QStringLiteral("User");
    form.cx = 230;
    form.cy = 142;
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("User Name:"), 7, 9, 50, 8, StyleNone, {}},
        {IDC_USERNAME, ControlKind::Edit, {}, 62, 7, 100, 12, StyleUpperCase | StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("Last Name:"), 7, 27, 50, 8, StyleNone, {}},
        {IDC_LAST, ControlKind::Edit, {}, 62, 25, 100, 12, StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("First Name:"), 7, 45, 50, 8, StyleNone, {}},
        {IDC_FIRST, ControlKind::Edit, {}, 62, 43, 100, 12, StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("Status:"), 7, 63, 50, 8, StyleNone, {}},
        {IDC_STATUS, ControlKind::ComboDropList, {}, 62, 61, 100, 60, StyleVScroll,
         {QStringLiteral("Active"), QStringLiteral("Inactive"), QStringLiteral("Active - No Password"),
          QStringLiteral("Administrator")}},
        {-1, ControlKind::Static, QStringLiteral("CITI Date:"), 7, 81, 50, 8, StyleNone, {}},
        {IDC_CITI, ControlKind::Edit, {}, 62, 79, 60, 12, StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("NIH Date:"), 7, 99, 50, 8, StyleNone, {}},
        {IDC_NIH, ControlKind::Edit, {}, 62, 97, 60, 12, StyleAutoHScroll, {}},
        {IDC_RESET, ControlKind::CheckBox, QStringLiteral("Reset Password"), 62, 117, 80, 10, StyleNone, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("OK"), 173, 7, 50, 14, StyleGroup, {}},
        {2, ControlKind::PushButton, QStringLiteral("Cancel"), 173, 25, 50, 14, StyleNone, {}},
    };
    return form;
}

DialogTemplate ChangePasswordDialogTemplate()
{
    using namespace password;
    DialogTemplate form;
    form.id = IDD_CHANGE_PASSWORD;
    form.caption = QStringLiteral("Change Password");
    form.cx = 230;
    form.cy = 74;
    // Tab order: old, new, re-entered.
    form.controls = {
        {-1, ControlKind::Static, QStringLiteral("Old Password:"), 7, 9, 80, 8, StyleNone, {}},
        {IDC_OLD, ControlKind::Edit, {}, 92, 7, 70, 12, StylePassword | StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("New Password:"), 7, 29, 80, 8, StyleNone, {}},
        {IDC_NEW, ControlKind::Edit, {}, 92, 27, 70, 12, StylePassword | StyleAutoHScroll, {}},
        {-1, ControlKind::Static, QStringLiteral("Re-enter New Password:"), 7, 49, 80, 8, StyleNone, {}},
        {IDC_REENTER, ControlKind::Edit, {}, 92, 47, 70, 12, StylePassword | StyleAutoHScroll, {}},
        {1, ControlKind::DefPushButton, QStringLiteral("OK"), 173, 7, 50, 14, StyleGroup, {}},
        {2, ControlKind::PushButton, QStringLiteral("Cancel"), 173, 25, 50, 14, StyleNone, {}},
    };
    return form;
}

void RegisterAdminTemplates()
{
    RegisterDialogTemplate(UsersDialogTemplate());
    RegisterWithFieldLengths(UserDialogTemplate());
    RegisterDialogTemplate(ChangePasswordDialogTemplate());
}

} // namespace res
