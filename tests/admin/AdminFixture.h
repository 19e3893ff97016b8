#pragma once
// What the staff administration tests share: a fresh registry with a registry
// administrator who is no server administrator (qadmin, role QuorinAdmin) and an
// ordinary member (quser, role QuorinUser), both with users in Quorin, Aud and CID and
// rows in pers; the document logged in as one of them; and logging in from outside to
// prove what a change did.

#include "app/DocumentFixture.h"

#include <QString>

namespace quorin::test {

inline constexpr const char* kAdminLogin = "qadmin";
inline constexpr const char* kAdminPassword = "Registry-Admin-1";
inline constexpr const char* kUserLogin = "quser";
inline constexpr const char* kUserPassword = "Registry-User-1";
// What a member chooses for a temporary password at the first login.
inline constexpr const char* kChosen = "Chosen-Pass-7";

// What a login attempt on a database gave.
struct LoginResult {
    bool connected = false;
    long refusal = 0; // the server's error number when refused
};

class AdminTest : public DocumentTest {
protected:
    void SetUp() override;

    // A pers row without login.
    void AddStaffRow(const char* user, const char* last, const char* first, int status, const char* citi = "");

    LoginResult LogIn(const QString& login, const QString& password) const { return Connect(login, password, {}); }
    // The first login with a temporary password: it becomes kChosen as the login connects.
    LoginResult FirstLogIn(const QString& login, const QString& temporary) const
    {
        return Connect(login, temporary, kChosen);
    }
    // The temporary password the window showed for the user, "" when it showed none.
    QString ShownPassword(const QString& user) const;
    // Runs the statement on a Quorin session of the login; the refusal's number, 0 when
    // it ran, -1 when the login failed.
    long RunAs(const QString& login, const QString& password, const QString& sql) const;

    // Read from the registry's files directly.
    long long LoginsNamed(const QString& name) const;
    long long UsersNamed(const char* database, const QString& name) const;
    bool IsMember(const char* database, const QString& user, const char* role) const;
    QString PersField(const QString& user, const char* column) const;
    // The whole of pers and of the logins, to show that nothing changed.
    std::string Snapshot() const;

    // The texts shown, but for the boxes of temporary passwords (ShownPassword).
    QStringList Messages() const;

private:
    // `chosen` null: an ordinary login.
    LoginResult Connect(const QString& login, const QString& password, const QString& chosen) const;
};

} // namespace quorin::test
