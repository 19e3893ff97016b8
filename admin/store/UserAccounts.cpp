// Adding, modifying and deactivating staff members. Logins live on the server, outside
// the registry's transactions, so a change that fails part-way is taken back step by
// step: each call remembers what it created and removes it again in reverse.

#include "admin/store/UserAccounts.h"

#include "admin/record/TemporaryPassword.h"
#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"
#include "rules/LoginName.h"

using quorin::UserInterface;

namespace quorin {

namespace {

void Stop(CQuorinDoc& document, const QString& text)
{
    document.UI().MessageBox(text, UserInterface::Icon::Stop);
}

// The statements of one account change on the document's session, each checked, and
// what they created, so that a failure can remove it again.
class AccountChange {
public:
    // user: lower case, already found valid.
    AccountChange(CQuorinDoc& document, const QString& user)
        : m_document(document), m_db(document.m_db), m_user(user), m_quoted(sql::Text(user)),
          m_login(sql::LoginName(user).value_or(QString()))
    {
    }

    bool Run(const QString& statement) { return RunText(m_db, statement) != 0; }

    // A login that exists already (made by hand) is taken up with its password.
    bool CreateLogin()
    {
        bool existed = false;
        if (!Exists("sys.server_principals", existed))
            return false;
        if (existed)
            return true;
        const QString password = TemporaryPassword(m_user);
        if (!Run(QStringLiteral("IF NOT EXISTS (SELECT * FROM sys.server_principals WHERE [name] = '%1') CREATE LOGIN "
                                "%2 WITH PASSWORD = '%3' MUST_CHANGE, CHECK_POLICY = ON, CHECK_EXPIRATION = ON")
                     .arg(m_quoted, m_login, sql::Text(password))))
            return false;
        m_createdLogin = true;
        m_password = password;
        return true;
    }

    bool CreateUser()
    {
        bool existed = false;
        if (!Exists("sys.database_principals", existed))
            return false;
        if (!Run(QStringLiteral("IF NOT EXISTS (SELECT * FROM sys.database_principals WHERE [name] = '%1') CREATE "
                                "USER %2")
                     .arg(m_quoted, m_login)))
            return false;
        m_createdUser = !existed;
        return true;
    }

    bool AddRoleOf(int status)
    {
        const char* role = RoleOfStatus(status);
        return !role || Run(QStringLiteral("EXEC sp_addrolemember '%1', %2").arg(QLatin1String(role), m_login));
    }

    // The role of the status, in the registry and in Aud and CID, by the server's own
    // procedure.
    bool UpdateAccount(int status)
    {
        BindString(m_db, "@user", m_user);
        m_db.BindIntParam("@status", status);
        const bool ran = m_db.RunStoredProcedure("uspUpdateAccount") != 0;
        m_db.RemoveParams();
        m_movedAccount = m_movedAccount || ran;
        return ran;
    }

    bool ResetPassword()
    {
        bool exists = false;
        if (!Exists("sys.server_principals", exists))
            return false;
        if (!exists)
            return true; // a member without login has no password to reset
        const QString password = TemporaryPassword(m_user);
        if (!Run(QStringLiteral("IF EXISTS (SELECT * FROM sys.server_principals WHERE [name] = '%1') ALTER LOGIN %2 "
                                "WITH PASSWORD = '%3' MUST_CHANGE, CHECK_POLICY = ON, CHECK_EXPIRATION = ON")
                     .arg(m_quoted, m_login, sql::Text(password))))
            return false;
        m_password = password;
        return true;
    }

    // The temporary password this call gave the login, once, for the administrator to
    // hand on; nothing when the login kept its password.
    void ShowPassword()
    {
        if (m_password.isEmpty())
            return;
        // The box's text can be selected and copied.
        m_document.UI().MessageBox(
            QStringLiteral("The temporary password of %1 is below. It is shown only now: copy it and give it to %1, "
                           "who must choose a new password at the first login.\n\n%2")
                .arg(m_user, m_password),
            UserInterface::Icon::Information);
        m_password.clear();
    }

    bool CreatedLogin() const { return m_createdLogin; }

    // Takes back what this call made, in reverse: the role moved back to the status
    // before, then the user and the login it created. A login that stays is announced.
    void Undo(int statusBefore)
    {
        bool failed = false;
        if (m_movedAccount)
            failed |= !UpdateAccount(statusBefore);
        if (m_createdUser)
            failed |= !Run(QStringLiteral("DROP USER %1").arg(m_login));
        // Tried even when the user stayed: a login nobody was told of is what must not
        // be left behind.
        if (m_createdLogin)
            failed |= !Run(QStringLiteral("DROP LOGIN %1").arg(m_login));
        m_movedAccount = m_createdUser = m_createdLogin = false;
        m_password.clear();
        if (failed)
            Stop(m_document, QStringLiteral("The login %1 could not be removed again.").arg(m_user));
    }

private:
    bool Exists(const char* view, bool& exists)
    {
        if (!Run(QStringLiteral("SELECT count(*) AS num FROM %1 WHERE [name] = '%2'")
                     .arg(QLatin1String(view), m_quoted)))
            return false;
        exists = !m_db.IsEOF() && m_db.GetIntField("num") > 0;
        return true;
    }

    CQuorinDoc& m_document;
    MyADO& m_db;
    QString m_user;
    QString m_quoted;
    QString m_login;
    QString m_password;
    bool m_createdLogin = false;
    bool m_createdUser = false;
    bool m_movedAccount = false;
};

bool RunUpdatePers(MyADO& db, const CPersRecord& record, const QString& user, int status)
{
    db.BindIntParam("@PersId", record.PersId);
    BindString(db, "@last", record.LastName);
    BindString(db, "@first", record.FirstName);
    BindString(db, "@name", record.Name);
    BindString(db, "@user", user);
    BindString(db, "@citi", record.Citi);
    BindString(db, "@nih", record.Nih);
    db.BindIntParam("@status", status);
    BindString(db, "@other", QStringLiteral(" "));
    BindString(db, "@Review", record.Review);
    const bool ran = db.RunStoredProcedure("uspUpdatePers") != 0;
    db.RemoveParams();
    return ran;
}

// The user name as statements carry it, or nothing after the rule's message.
std::optional<QString> CheckedUserName(CQuorinDoc& document, const QString& typed)
{
    const QString user = typed.toLower();
    if (!IsValidUserName(user)) {
        Stop(document, UserNameRuleMessage());
        return std::nullopt;
    }
    return user;
}

} // namespace

bool IsValidUserName(const QString& userName)
{
    return sql::LoginName(userName).has_value();
}

QString UserNameRuleMessage()
{
    return QStringLiteral("The UserName may hold only letters, digits, '_', '.', '-' and '@', and must begin with a "
                          "letter or '_'.");
}

bool CreateNewUser(CQuorinDoc& document, const CPersRecord& record)
{
    const std::optional<QString> user = CheckedUserName(document, record.UserName);
    if (!user)
        return false;
    MyADO& db = document.m_db;
    // One member, one name: Add never takes over an existing row, its login or its role.
    if (!RunText(db, QStringLiteral("SELECT count(*) AS num FROM pers WHERE UserName = '%1'").arg(sql::Text(*user)))) {
        Stop(document, QStringLiteral("Error in write, CreateNewUser!"));
        return false;
    }
    if (!db.IsEOF() && db.GetIntField("num") > 0) {
        Stop(document, QStringLiteral("A user named %1 already exists. Select them and use Modify.").arg(*user));
        return false;
    }
    AccountChange change(document, *user);
    // Only a member who may log in gets a login: an inactive one or one without
    // password gets the row alone, as Modify and Delete leave them.
    bool ok = !RoleOfStatus(record.Status) || (change.CreateLogin() && change.CreateUser());
    if (ok) {
        BindString(db, "@user", *user);
        BindString(db, "@last", record.LastName);
        BindString(db, "@first", record.FirstName);
        BindString(db, "@name", record.Name);
        BindString(db, "@citi", record.Citi);
        BindString(db, "@nih", record.Nih);
        db.BindIntParam("@status", record.Status);
        ok = db.RunStoredProcedure("uspCreateNewUser") != 0;
        db.RemoveParams();
    }
    if (ok) {
        change.ShowPassword();
        return true;
    }
    Stop(document, QStringLiteral("Error in write, CreateNewUser!"));
    change.Undo(StaffInactive);
    return false;
}

bool UpdatePers(CQuorinDoc& document, const CPersRecord& record, int loadedStatus, bool resetPassword)
{
    const std::optional<QString> user = CheckedUserName(document, record.UserName);
    if (!user)
        return false;
    const bool own = user->compare(document.m_strUserName, Qt::CaseInsensitive) == 0;
    // An administrator who lowered the own status could not undo it; another
    // administrator has to. The own password is changed with Change Password, which
    // asks for the old one.
    if (own && loadedStatus == StaffAdministrator && record.Status != StaffAdministrator) {
        Stop(document, QStringLiteral("You cannot lower your own status: you would lose the right to manage users. "
                                      "Ask another administrator."));
        return false;
    }
    if (own && resetPassword) {
        Stop(document, QStringLiteral("You cannot reset your own password here. Use Change Password."));
        return false;
    }
    MyADO& db = document.m_db;
    if (!RunUpdatePers(db, record, *user, record.Status)) {
        Stop(document, QStringLiteral("Error in write, UpdatePers!"));
        return false;
    }
    AccountChange change(document, *user);
    bool ok = true;
    const bool hadNoLogin = loadedStatus == StaffInactive || loadedStatus == StaffNoPassword;
    if (hadNoLogin) {
        // Only a member who may log in again gets a login: editing an inactive member's
        // dates must not hand out one with the known temporary password.
        if (RoleOfStatus(record.Status))
            ok = change.CreateLogin() && change.CreateUser() && change.AddRoleOf(record.Status)
                 && change.UpdateAccount(record.Status);
    } else if (record.Status != loadedStatus) {
        ok = change.UpdateAccount(record.Status);
    }
    // A login just made has its temporary password already.
    if (ok && resetPassword && !change.CreatedLogin())
        ok = change.ResetPassword();
    if (ok) {
        change.ShowPassword();
        return true;
    }
    Stop(document, QStringLiteral("Error in write, UpdatePers!"));
    change.Undo(loadedStatus);
    RunUpdatePers(db, record, *user, loadedStatus);
    return false;
}

bool DeactivateUser(CQuorinDoc& document, const QString& userName)
{
    const std::optional<QString> user = CheckedUserName(document, userName);
    if (!user)
        return false;
    // Dropping the own user would succeed and the own login then fail: the one doing it
    // would be left without access.
    if (user->compare(document.m_strUserName, Qt::CaseInsensitive) == 0) {
        Stop(document, QStringLiteral("You cannot deactivate your own login."));
        return false;
    }
    AccountChange change(document, *user);
    const QString quoted = sql::Text(*user);
    const QString login = *sql::LoginName(*user);
    const bool ok =
        change.Run(QStringLiteral("IF EXISTS (SELECT * FROM sys.schemas WHERE [name] = '%1') DROP SCHEMA %2")
                       .arg(quoted, login))
        && change.Run(QStringLiteral("IF EXISTS (SELECT * FROM sys.database_principals WHERE [name] = '%1') DROP USER %2")
                          .arg(quoted, login))
        && change.Run(QStringLiteral("IF EXISTS (SELECT * FROM sys.server_principals WHERE [name] = '%1') DROP LOGIN %2")
                          .arg(quoted, login))
        // Inactive only once the login is gone.
        && change.Run(QStringLiteral("Update Pers set status = 1 where username = '%1'").arg(quoted));
    if (!ok)
        Stop(document, QStringLiteral("Error in write, DeactivateUser!"));
    return ok;
}

} // namespace quorin
