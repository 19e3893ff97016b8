#pragma once
// Templates of the staff administration dialogs and the ids of their controls: Quorin
// Users (166), User (167) and Change Password (170).

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_USERS = 166;
inline constexpr int IDD_USER = 167;
inline constexpr int IDD_CHANGE_PASSWORD = 170;

namespace users {
enum : int { IDC_FILTER = 1082, IDC_LIST = 1043, IDC_ADD = 3, IDC_MODIFY = 4, IDC_DELETE = 1079 };
} // namespace users

namespace user {
enum : int {
    IDC_USERNAME = 1083,
    IDC_LAST = 1085,
    IDC_FIRST = 1086,
    IDC_STATUS = 1027,
    IDC_CITI = 1087,
    IDC_NIH = 1088,
    IDC_RESET = 1089
};
} // namespace user

namespace password {
enum : int { IDC_OLD = 1092, IDC_NEW = 1091, IDC_REENTER = 1090 };
} // namespace password

framework::DialogTemplate UsersDialogTemplate();
framework::DialogTemplate UserDialogTemplate();
framework::DialogTemplate ChangePasswordDialogTemplate();

// Registers the three templates above with the framework.
void RegisterAdminTemplates();

} // namespace res
