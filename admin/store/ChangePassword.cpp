// The logged-in user's own password.

#include "admin/store/UserAccounts.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"
#include "rules/LoginName.h"

using quorin::UserInterface;

namespace quorin {

bool ChangePassword(CQuorinDoc& document, const QString& oldPassword, const QString& newPassword,
                    const QString& reenteredPassword)
{
    const std::optional<QString> login = sql::LoginName(document.m_strUserName);
    bool ok = login && oldPassword == document.m_strPassword && newPassword == reenteredPassword;
    // OLD_PASSWORD follows PASSWORD without a comma, as the server reads it; the server
    // checks the old password too.
    if (ok)
        ok = RunText(document.m_db, QStringLiteral("ALTER LOGIN %1 WITH PASSWORD = '%2' OLD_PASSWORD = '%3'")
                                        .arg(*login, sql::Text(newPassword), sql::Text(oldPassword)))
             != 0;
    if (!ok) {
        document.UI().MessageBox(QStringLiteral("Unable to change password"), UserInterface::Icon::Stop);
        return false;
    }
    // Every later session (Aud, CID) logs in with the new one.
    document.m_strPassword = newPassword;
    return true;
}

} // namespace quorin
