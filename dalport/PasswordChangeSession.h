#pragma once
// A session for a login whose password must be changed (SetDataSource refuses it with
// 18488): it logs in with the old password and makes the new one the login's password
// in the same step, as SQL Server's drivers do with their old-password connection
// attribute. Otherwise a MyADO like any other.

#include "dalport/MyADO.h"

class DALPORT_EXPORT PasswordChangeSession : public MyADO {
public:
    // 1 when connected with the new password; 0 otherwise, with the server's reasons in
    // GetConnectionErrors (nothing is shown on a first connection, as with SetDataSource).
    int SetDataSourceWithNewPassword(const char* server, const char* uid, const char* oldPwd, const char* newPwd,
                                     const char* database);

    using MyADO::GetConnectionErrors;
};
