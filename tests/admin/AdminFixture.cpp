#include "AdminFixture.h"

#include "support/RawRegistry.h"

#include "dalport/PasswordChangeSession.h"
#include "dalport/Registry.h"

#include <sqlite3.h>

namespace quorin::test {

namespace {

// A session that can say why its login was refused.
class ProbeSession : public MyADO {
public:
    using MyADO::GetConnectionErrors;
};

std::string Quoted(const QString& text)
{
    return "'" + text.toStdString() + "'";
}

// The server's logins, read from its master file: "cell,cell,;" a row.
std::string MasterDump(const std::string& folder, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(dalport::DatabaseFilePath(folder, "master").c_str(), &db, SQLITE_OPEN_READONLY, nullptr)
            == SQLITE_OK
        && sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const unsigned char* text = sqlite3_column_text(st, c);
                out += std::string(text ? reinterpret_cast<const char*>(text) : "NULL") + ",";
            }
            out += ";";
        }
    } else {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

} // namespace

void AdminTest::SetUp()
{
    DocumentTest::SetUp();
    m_fixtureReporter = dalport::SetErrorReporter([this](const dalport::ReportedError& e) { m_shown.push_back(e); });
    AddStaffLogin(kAdminLogin, kAdminPassword, "QuorinAdmin", 3);
    AddStaffLogin(kUserLogin, kUserPassword, "QuorinUser", 0);
    LogInAs(kAdminLogin, kAdminPassword);
}

void AdminTest::TearDown()
{
    for (const dalport::ReportedError& e : m_shown)
        ADD_FAILURE() << "unexpected database error: " << e.text;
    m_shown.clear();
    doc.reset();
    dalport::SetErrorReporter(m_fixtureReporter);
    DocumentTest::TearDown();
}

void AdminTest::LogInAs(const char* login, const char* password)
{
    if (doc)
        doc->RemoveView(&view);
    doc = std::make_unique<CQuorinDoc>(ui);
    doc->m_strServer = QString::fromStdString(registry.Folder());
    doc->m_strUserName = QString::fromLatin1(login);
    doc->m_strPassword = QString::fromLatin1(password);
    ASSERT_TRUE(doc->OnNewDocument());
    ASSERT_TRUE(doc->m_db.IsConnected()) << login << " could not log in";
    doc->AddView(&view);
}

void AdminTest::AddStaffLogin(const char* login, const char* password, const char* role, int status)
{
    dalport::CreateLogin(registry.Folder(), login, password);
    for (const char* database : {"Quorin", "Aud", "CID"})
        dalport::CreateDatabaseUser(registry.Folder(), database, login, role);
    AddStaffRow(login, "STAFF", login, status);
}

void AdminTest::AddStaffRow(const char* user, const char* last, const char* first, int status, const char* citi)
{
    registry.ExecRaw("Quorin", "insert into pers (UserName, LastName, FirstName, Name, Status, Citi, Other, Review) "
                               "values ('" + std::string(user) + "', '" + last + "', '" + first + "', '" + last + ", "
                                   + first + "', " + std::to_string(status) + ", "
                                   + (*citi ? "'" + std::string(citi) + " 00:00:00.000'" : std::string("NULL"))
                                   + ", ' ', '')");
}

LoginResult AdminTest::LogIn(const QString& login, const QString& password, const char* database) const
{
    ProbeSession session;
    LoginResult result;
    result.connected = session.SetDataSource(registry.Folder().c_str(), login.toStdString().c_str(),
                                             password.toStdString().c_str(), database)
                       != 0;
    for (const dalport::ReportedError& e : session.GetConnectionErrors())
        if (e.kind == dalport::ReportedError::Kind::Provider && !result.refusal)
            result.refusal = e.number;
    return result;
}

LoginResult AdminTest::FirstLogIn(const QString& login, const QString& temporary, const QString& chosen,
                                  const char* database) const
{
    PasswordChangeSession session;
    LoginResult result;
    result.connected = session.SetDataSourceWithNewPassword(registry.Folder().c_str(), login.toStdString().c_str(),
                                                            temporary.toStdString().c_str(),
                                                            chosen.toStdString().c_str(), database)
                       != 0;
    for (const dalport::ReportedError& e : session.GetConnectionErrors())
        if (e.kind == dalport::ReportedError::Kind::Provider && !result.refusal)
            result.refusal = e.number;
    return result;
}

namespace {

const QString kPasswordBox = QStringLiteral("The temporary password of ");

} // namespace

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

long AdminTest::RunAs(const QString& login, const QString& password, const QString& sql, const char* database) const
{
    std::vector<dalport::ReportedError> shown;
    const dalport::ErrorReporter previous =
        dalport::SetErrorReporter([&shown](const dalport::ReportedError& e) { shown.push_back(e); });
    long refusal = -1;
    {
        MyADO session;
        if (session.SetDataSource(registry.Folder().c_str(), login.toStdString().c_str(),
                                  password.toStdString().c_str(), database)) {
            refusal = session.RunTextQuery(sql.toStdString().c_str()) ? 0 : -1;
            for (const dalport::ReportedError& e : shown)
                if (e.kind == dalport::ReportedError::Kind::Provider && refusal == -1)
                    refusal = e.number;
        }
    }
    dalport::SetErrorReporter(previous);
    return refusal;
}

long long AdminTest::LoginsNamed(const QString& name) const
{
    return std::stoll(MasterDump(registry.Folder(), "select count(*) from logins where name = " + Quoted(name)));
}

long long AdminTest::UsersNamed(const char* database, const QString& name) const
{
    return RawRegistry(registry.Folder())
        .number(std::string("select count(*) from ") + (std::string(database) == "Quorin" ? "main" : database)
                + ".sys_database_principals where name = " + Quoted(name));
}

bool AdminTest::IsMember(const char* database, const QString& user, const char* role) const
{
    return RawRegistry(registry.Folder())
               .number(std::string("select count(*) from ") + (std::string(database) == "Quorin" ? "main" : database)
                       + ".sys_role_members where member = " + Quoted(user) + " and role = '" + role + "'")
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
    const RawRegistry raw(registry.Folder());
    return raw.dump("select * from main.pers order by PersId") + "|"
           + MasterDump(registry.Folder(), "select name, password_hash, check_policy from logins order by name") + "|"
           + raw.dump("select * from main.sys_database_principals order by name") + "|"
           + raw.dump("select * from main.sys_role_members order by role, member");
}

std::vector<dalport::ReportedError> AdminTest::TakeShown()
{
    std::vector<dalport::ReportedError> out;
    out.swap(m_shown);
    return out;
}

} // namespace quorin::test
