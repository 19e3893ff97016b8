#include "dalport/PasswordChangeSession.h"

#include "dalport/SessionObjects.h"

using namespace dalport;

int PasswordChangeSession::SetDataSourceWithNewPassword(const char* server, const char* uid, const char* oldPwd,
                                                        const char* newPwd, const char* database)
{
    m_pConnection = std::make_shared<AdoConnection>();
    m_pCommand = std::make_shared<AdoCommand>();
    m_pRecordset = std::make_shared<AdoRecordset>();
    try {
        m_pConnection->backend = openConnection(server ? server : "", uid ? uid : "", newPwd ? newPwd : "",
                                                database ? database : "", std::string(oldPwd ? oldPwd : ""));
    } catch (const ConnectError& failure) {
        m_pConnection->errors = failure.errors;
        PrintProviderError();
        PrintComError(failure.error);
        return 0;
    }
    m_pCommand->activeConnection = m_pConnection;
    m_bConnected = 1;
    return 1;
}
