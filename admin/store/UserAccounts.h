#pragma once
// Staff users: the rows of pers and, for every member who may log in, a login of the
// server with a user of the same name in the registry in the role of the member's status
// (QuorinUser for active, QuorinAdmin for administrators). These operations keep login,
// user, role and row in step; whatever they show goes through the document's user
// interface. Every statement runs on the document's session, with the rights of whoever
// logged in: the server refuses what that login may not do.

#include "admin/record/CPersRecord.h"
#include "admin/record/StaffStatus.h"

#include <QString>

class CQuorinDoc;
class CReportList;

namespace quorin {

// The Users window's filter passes 0 to 3 for one status; this one means every member.
inline constexpr int kAllStaff = 4;

// A user name a security statement may carry; anything else is refused before a
// statement is built.
bool IsValidUserName(const QString& userName);
QString UserNameRuleMessage();

// Fills the list with the members of a status (0 to 3, kAllStaff for all); with
// setUpColumns the columns "Username", "Name" and the hidden PersId come first. False,
// after "Read error on table Pers", when the read failed.
bool LoadUsers(CQuorinDoc& document, CReportList& list, int status, bool setUpColumns);

// Reads one member by user name for the User dialog. False, after "Read error on table
// Pers", when the read failed or found no row.
bool LoadPersByUsername(CQuorinDoc& document, const QString& userName, CPersRecord& record);

// Adds a member: for an active member or administrator login and user when missing, then
// the row, whose procedure also gives the role of the status. A user name already in pers
// is refused before anything is made (Modify is for an existing member). A login made
// here gets a random temporary password, shown once, that must be changed at the first
// login; a login that existed keeps its password. All or nothing: a failed step removes
// what this call made. True when every step succeeded.
bool CreateNewUser(CQuorinDoc& document, const CPersRecord& record);

// Rewrites a member's row; a member without login (loaded status inactive or no
// password) who becomes active or administrator gets login, user and role; a member with
// a login whose status changed has the role moved. resetPassword gives the login a new
// temporary password (shown once, to be changed at the next login). An administrator
// can neither lower the own status nor reset the own password here. A failure after the
// row was written puts the loaded status back and removes what this call made. True when
// every step succeeded.
bool UpdatePers(CQuorinDoc& document, const CPersRecord& record, int loadedStatus, bool resetPassword);

// Deactivates a member: schema, user and login are dropped in that order, stopping at
// the first failure, and the row becomes inactive once the login is gone. One's own login
// is refused. True when the member ended inactive.
bool DeactivateUser(CQuorinDoc& document, const QString& userName);

// Changes the password of the logged-in user's own login. The old password must be the
// one the document keeps and the new one typed twice alike. On success the document
// keeps the new one (for every later session); otherwise "Unable to change password".
bool ChangePassword(CQuorinDoc& document, const QString& oldPassword, const QString& newPassword,
                    const QString& reenteredPassword);

} // namespace quorin
