#include "dalport/PasswordChangeSession.h"

int PasswordChangeSession::SetDataSourceWithNewPassword(const char* server, const char* uid, const char* oldPwd,
                                                        const char* newPwd, const char* database)
{
    return OpenSession(server, uid, newPwd, database, oldPwd ? oldPwd : "");
}
