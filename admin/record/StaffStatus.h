#pragma once
// A staff member's status (pers.Status) and the role it gives in every database: the
// one source of the rule. The account procedures (uspCreateNewUser, uspUpdateAccount)
// write it in SQL for both engines; a test holds the embedded engine's to this table.

namespace quorin {

enum StaffStatus : int { StaffActive = 0, StaffInactive = 1, StaffNoPassword = 2, StaffAdministrator = 3 };

// The role a status gives; none (nullptr) for inactive members and those without password.
constexpr const char* RoleOfStatus(int status)
{
    if (status == StaffActive)
        return "QuorinUser";
    if (status == StaffAdministrator)
        return "QuorinAdmin";
    return nullptr;
}

} // namespace quorin
