#include "AdminFixture.h"

#include "support/ErrorRecorder.h"
#include "support/RawRegistry.h"

#include "dalport/PasswordChangeSession.h"
#include "dalport/Registry.h"

#include <tuple>

namespace quorin::test {

namespace {

const QString kPasswordBox = QStringLiteral("The temporary password of ");

std::string Quoted(const QString& text)
{
    return "'" + text.toStdString() + "'";
}

// A database's schema in RawRegistry, where Quorin is the main file.
std::string Schema(const char* database)
{
    return std::string(database) == "Quorin" ? "main" : database;
}

// The registry's files with the server's logins (master) attached as srv.
struct RegistryFiles : RawRegistry {
    explicit RegistryFiles(const std::string& folder) : RawRegistry(folder)
    {
        number("ATTACH DATABASE '" + dalport::DatabaseFilePath(folder, "master") + "' AS srv");
    }
};

} // namespace

void AdminTest::SetUp()
{
    DocumentTest::SetUp();
    for (const auto& [login, password, role, status] : {std::tuple{kAdminLogin, kAdminPassword, "QuorinAdmin", 3},
                                                         std::tuple{kUserLogin, kUserPassword, "QuorinUser", 0}}) {
        dalport::CreateLogin(registry.Folder(), login, password);
        for (const char* database : {"Quorin", "Aud", "CID"})
            dalport::CreateDatabaseUser(registry.Folder(), database, login, role);
        AddStaffRow(login, "STAFF", login, status);
    }
    LogInAs(kAdminLogin, kAdminPassword);
}

void AdminTest::AddStaffRow(const char* user, const char* last, const char* first, int status, const char* citi)
{
    registry.ExecRaw("Quorin", "insert into pers (UserName, LastName, FirstName, Name, Status, Citi, Other, Review) "
                               "values ('" + std::string(user) + "', '" + last + "', '" + first + "', '" + last + ", "
                                   + first + "', " + std::to_string(status) + ", "
                                   + (*citi ? "'" + std::string(citi) + " 00:00:00.000'" : std::string("NULL"))
                                   + ", ' ', '')");
}

LoginResult AdminTest::Connect(const QString& login, const QString& password, const QString& chosen) const
{
    PasswordChangeSession session;
    const std::string server = registry.Folder(), user = login.toStdString(), old = password.toStdString(),
                      fresh = chosen.toStdString();
    LoginResult result;
    result.connected = (chosen.isNull() ? session.SetDataSource(server.c_str(), user.c_str(), old.c_str(), "Quorin")
                                        : session.SetDataSourceWithNewPassword(server.c_str(), user.c_str(),
                                                                               old.c_str(), fresh.c_str(), "Quorin"))
                       != 0;
    for (const dalport::ReportedError& e : session.GetConnectionErrors())
        if (e.kind == dalport::ReportedError::Kind::Provider && !result.refusal)
            result.refusal = e.number;
    return result;
}

QString AdminTest::ShownPassword(const QString& user) const
{
    QString shown;
    for (const QString& text : ui.Texts())
        if (text.startsWith(kPasswordBox + user + QLatin1Char(' ')))
            shown = text.section(QStringLiteral("\n\n"), 1);
    return shown;
}

QStringList AdminTest::Messages() const
{
    QStringList texts;
    for (const QString& text : ui.Texts())
        if (!text.startsWith(kPasswordBox))
            texts << text;
    return texts;
}

long AdminTest::RunAs(const QString& login, const QString& password, const QString& sql) const
{
    const ErrorRecorder shown;
    MyADO session;
    if (!session.SetDataSource(registry.Folder().c_str(), login.toStdString().c_str(), password.toStdString().c_str(),
                               "Quorin"))
        return -1;
    if (session.RunTextQuery(sql.toStdString().c_str()))
        return 0;
    const auto provider = shown.provider();
    return provider.empty() ? -1 : provider.front().number;
}

long long AdminTest::LoginsNamed(const QString& name) const
{
    return RegistryFiles(registry.Folder()).number("select count(*) from srv.logins where name = " + Quoted(name));
}

long long AdminTest::UsersNamed(const char* database, const QString& name) const
{
    return RawRegistry(registry.Folder())
        .number("select count(*) from " + Schema(database) + ".sys_database_principals where name = " + Quoted(name));
}

bool AdminTest::IsMember(const char* database, const QString& user, const char* role) const
{
    return RawRegistry(registry.Folder())
               .number("select count(*) from " + Schema(database) + ".sys_role_members where member = "
                       + Quoted(user) + " and role = '" + role + "'")
           > 0;
}

QString AdminTest::PersField(const QString& user, const char* column) const
{
    const auto rows = RawRegistry(registry.Folder())
                          .rows(std::string("select ") + column + " from main.pers where UserName = " + Quoted(user));
    if (rows.empty() || rows.front().empty() || !rows.front().front())
        return {};
    return QString::fromStdString(*rows.front().front());
}

std::string AdminTest::Snapshot() const
{
    const RegistryFiles raw(registry.Folder());
    return raw.dump("select * from main.pers order by PersId") + "|"
           + raw.dump("select name, password_hash, check_policy from srv.logins order by name") + "|"
           + raw.dump("select * from main.sys_database_principals order by name") + "|"
           + raw.dump("select * from main.sys_role_members order by role, member");
}

} // namespace quorin::test
