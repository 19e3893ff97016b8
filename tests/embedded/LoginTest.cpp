// Logins, database users, roles and the security statements, with SQL Server's numbers.

#include "TestServer.h"

#include "dalport/PasswordChangeSession.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace testing_embedded;

namespace {

class Logins : public ::testing::Test {
protected:
    // A session that has connected once shows the errors of a later SetDataSource.
    void connectedFirst(MyADO& db) { connect(db, server, kAdmin, kAdminPassword); }

    dalport::ReportedError lastProviderError() const
    {
        const auto p = boxes.provider();
        return p.empty() ? dalport::ReportedError{} : p.back();
    }

    TestServer server;
    Boxes boxes;
};

TEST_F(Logins, WrongPasswordOrUnknownLoginIs18456)
{
    MyADO db;
    connectedFirst(db);
    EXPECT_EQ(db.SetDataSource(server.folder().c_str(), "jdoe", "wrong", "Quorin"), 0);
    EXPECT_EQ(lastProviderError().number, 18456);
    EXPECT_EQ(lastProviderError().level, 14);
    EXPECT_EQ(lastProviderError().message, "Login failed for user 'jdoe'.");
    boxes.clear();
    EXPECT_EQ(db.SetDataSource(server.folder().c_str(), "ghost", kStaffPassword, "Quorin"), 0);
    EXPECT_EQ(lastProviderError().message, "Login failed for user 'ghost'.");
}

TEST_F(Logins, FirstConnectionFailureShowsNothing)
{
    MyADO db;
    EXPECT_EQ(db.SetDataSource(server.folder().c_str(), "jdoe", "wrong", "Quorin"), 0);
    EXPECT_EQ(db.IsConnected(), 0);
    EXPECT_TRUE(boxes.all.empty());
}

TEST_F(Logins, LoginWithoutUserIs4060)
{
    MyADO db;
    connectedFirst(db);
    EXPECT_EQ(db.SetDataSource(server.folder().c_str(), "nouser", kStaffPassword, "Quorin"), 0);
    EXPECT_EQ(lastProviderError().number, 4060);
    EXPECT_EQ(lastProviderError().level, 11);
    EXPECT_EQ(lastProviderError().message,
              "Cannot open database \"Quorin\" requested by the login. The login failed.");
    boxes.clear();
    EXPECT_EQ(db.SetDataSource(server.folder().c_str(), kAdmin, kAdminPassword, "NoSuchDb"), 0);
    EXPECT_EQ(lastProviderError().number, 4060);
}

TEST_F(Logins, AdministratorOpensEveryDatabase)
{
    for (const char* name : {"Quorin", "Aud", "CID", "quorin"}) {
        MyADO db;
        connect(db, server, kAdmin, kAdminPassword, name);
    }
}

TEST_F(Logins, UserInNoRoleConnectsButIsRefused229)
{
    MyADO db;
    connect(db, server, "norole", kStaffPassword);
    EXPECT_EQ(db.RunTextQuery("select count(*) as num from subjects"), 0);
    EXPECT_EQ(lastProviderError().number, 229);
    EXPECT_EQ(lastProviderError().message,
              "The SELECT permission was denied on the object 'subjects', database 'Quorin', schema 'dbo'.");
    boxes.clear();
    db.BindIntParam("@id", 1);
    EXPECT_EQ(db.RunStoredProcedure("uspLoadSubjectbyId"), 0);
    EXPECT_EQ(lastProviderError().message,
              "The EXECUTE permission was denied on the object 'uspLoadSubjectbyId', database 'Quorin', schema 'dbo'.");
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("update pers set status = 1 where username = 'x'"), 0);
    EXPECT_EQ(lastProviderError().number, 229);
}

TEST_F(Logins, RoleMembersUseTablesAndProcedures)
{
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword);
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects"), "0");
    db.BindStringParam("@last", "Doe");
    db.BindStringParam("@first", "Jane");
    db.BindStringParam("@birth", "5/6/1970");
    EXPECT_EQ(db.RunStoredProcedure("uspAddSubject"), 1);
    EXPECT_TRUE(boxes.all.empty());
}

TEST_F(Logins, SecurityStatementsNeedAdministrator15247)
{
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword);
    EXPECT_EQ(db.RunTextQuery("CREATE LOGIN intruder with Password = 'x', CHECK_POLICY = Off"), 0);
    EXPECT_EQ(lastProviderError().number, 15247);
    EXPECT_EQ(lastProviderError().message, "User does not have permission to perform this action.");
    // The catalogue itself cannot be written by a query either.
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("insert into sys_role_members(role, member) values ('QuorinAdmin', 'jdoe')"), 0);
    EXPECT_EQ(lastProviderError().number, 229);
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("create table mine(a int)"), 0);
    EXPECT_EQ(lastProviderError().number, 262);
    EXPECT_EQ(lastProviderError().message, "CREATE TABLE permission denied in database 'Quorin'.");
}

TEST_F(Logins, QuorinAdminMemberAddsAStaffMemberWhoMustChangeThePassword)
{
    MyADO db;
    connect(db, server, "boss", kStaffPassword);
    const char* statements[] = {
        "IF NOT EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'jsmith') CREATE LOGIN [jsmith] WITH PASSWORD = 'Tq7-xR2mWp.9aKz' MUST_CHANGE, CHECK_POLICY = ON, CHECK_EXPIRATION = ON",
        "IF NOT EXISTS (SELECT * FROM sys.database_principals WHERE [name] = 'jsmith') CREATE USER [jsmith]",
        "EXEC sp_addrolemember 'QuorinUser', [jsmith]",
        "IF EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'jsmith') ALTER LOGIN [jsmith] WITH PASSWORD = 'Hb4=nV8cLs?2dQe' MUST_CHANGE, CHECK_POLICY = ON, CHECK_EXPIRATION = ON",
    };
    for (const char* sql : statements)
        EXPECT_EQ(db.RunTextQuery(sql), 1) << sql;
    EXPECT_TRUE(boxes.all.empty());

    // The temporary password alone gets nobody in: it must be changed first.
    PasswordChangeSession staff;
    connectedFirst(staff);
    EXPECT_EQ(staff.SetDataSource(server.folder().c_str(), "jsmith", "Hb4=nV8cLs?2dQe", "Quorin"), 0);
    EXPECT_EQ(lastProviderError().number, 18488);
    EXPECT_EQ(lastProviderError().message,
              "Login failed for user 'jsmith'. Reason: The password of the account must be changed.");
    // A new password the policy refuses changes nothing; a wrong old one neither.
    boxes.clear();
    EXPECT_EQ(staff.SetDataSourceWithNewPassword(server.folder().c_str(), "jsmith", "Hb4=nV8cLs?2dQe", "short",
                                                 "Quorin"),
              0);
    EXPECT_EQ(lastProviderError().number, 18466);
    boxes.clear();
    EXPECT_EQ(staff.SetDataSourceWithNewPassword(server.folder().c_str(), "jsmith", "Tq7-xR2mWp.9aKz",
                                                 "Own-Choice42", "Quorin"),
              0);
    EXPECT_EQ(lastProviderError().number, 18456);
    // Old and new together: changed and connected in one step, and the old one is gone.
    EXPECT_EQ(staff.SetDataSourceWithNewPassword(server.folder().c_str(), "jsmith", "Hb4=nV8cLs?2dQe",
                                                 "Own-Choice42", "Quorin"),
              1);
    EXPECT_EQ(scalar(staff, "select count(*) as v from subjects"), "0");
    MyADO later;
    EXPECT_EQ(later.SetDataSource(server.folder().c_str(), "jsmith", "Hb4=nV8cLs?2dQe", "Quorin"), 0);
    connect(later, server, "jsmith", "Own-Choice42");
}

TEST_F(Logins, MustChangeNeedsPolicyAndExpiration15128)
{
    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    for (const char* sql : {"CREATE LOGIN [pnew] WITH PASSWORD = 'Tq7-xR2mWp.9aKz' MUST_CHANGE, CHECK_POLICY = OFF",
                            "CREATE LOGIN [pnew] WITH PASSWORD = 'Tq7-xR2mWp.9aKz' MUST_CHANGE",
                            "ALTER LOGIN [jdoe] WITH PASSWORD = 'Tq7-xR2mWp.9aKz' MUST_CHANGE, CHECK_EXPIRATION = OFF"}) {
        boxes.clear();
        EXPECT_EQ(db.RunTextQuery(sql), 0) << sql;
        EXPECT_EQ(lastProviderError().number, 15128) << sql;
    }
    EXPECT_EQ(scalar(db, "select count(*) as v from sys.server_principals where name = 'pnew'"), "0");
    connect(db, server, "jdoe", kStaffPassword);
}

TEST_F(Logins, DeactivatingDropsSchemaUserAndLogin)
{
    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    ASSERT_EQ(db.RunTextQuery("insert into pers(persid, username, status) values (1, 'jdoe', 0)"), 1);
    const char* statements[] = {
        "IF EXISTS (SELECT * FROM sys.schemas WHERE [name] = 'jdoe') DROP SCHEMA jdoe",
        "IF EXISTS (SELECT * FROM sys.database_principals WHERE [name] = 'jdoe') DROP USER jdoe",
        "IF EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'jdoe') DROP LOGIN jdoe",
        "Update Pers set status = 1 where username = 'jdoe'",
    };
    for (const char* sql : statements)
        EXPECT_EQ(db.RunTextQuery(sql), 1) << sql;
    EXPECT_EQ(scalar(db, "select count(*) as v from sys.database_principals where name = 'jdoe'"), "0");
    EXPECT_EQ(scalar(db, "select count(*) as v from sys_role_members where member = 'jdoe'"), "0");
    MyADO gone;
    EXPECT_EQ(gone.SetDataSource(server.folder().c_str(), "jdoe", kStaffPassword, "Quorin"), 0);
    // Unconditional drops of what is not there are SQL Server's 15151.
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("DROP USER jdoe"), 0);
    EXPECT_EQ(lastProviderError().number, 15151);
    EXPECT_EQ(lastProviderError().message,
              "Cannot drop the user 'jdoe', because it does not exist or you do not have permission.");
}

TEST_F(Logins, OwnPasswordChangesWithTheOldOne)
{
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword);
    // SQL Server's grammar: OLD_PASSWORD follows PASSWORD, without a comma.
    EXPECT_EQ(db.RunTextQuery("ALTER LOGIN jdoe WITH OLD_PASSWORD = 'Staff-Pass1', PASSWORD = 'N3w-pass'"), 0);
    EXPECT_EQ(lastProviderError().number, 102);
    EXPECT_EQ(lastProviderError().message, "Incorrect syntax near 'OLD_PASSWORD'.");
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("ALTER LOGIN jdoe WITH PASSWORD = 'N3w-pass' OLD_PASSWORD = 'wrong'"), 0);
    EXPECT_EQ(lastProviderError().number, 15151);
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("ALTER LOGIN jdoe WITH PASSWORD = 'N3w-pass' OLD_PASSWORD = 'Staff-Pass1'"), 1);
    EXPECT_TRUE(boxes.all.empty());
    // Another login's password stays out of reach.
    EXPECT_EQ(db.RunTextQuery("ALTER LOGIN boss WITH PASSWORD = 'x' OLD_PASSWORD = 'Staff-Pass1'"), 0);
    EXPECT_EQ(lastProviderError().number, 15151);
    MyADO again;
    EXPECT_EQ(again.SetDataSource(server.folder().c_str(), "jdoe", kStaffPassword, "Quorin"), 0);
    connect(again, server, "jdoe", "N3w-pass");
}

TEST_F(Logins, DatabaseAdministratorCannotTakeOverTheServerAdministrator)
{
    MyADO db;
    connect(db, server, "boss", kStaffPassword);
    EXPECT_EQ(db.RunTextQuery("ALTER LOGIN sa WITH PASSWORD = 'Taken-0ver'"), 0);
    EXPECT_EQ(lastProviderError().number, 15151);
    EXPECT_EQ(lastProviderError().message,
              "Cannot alter the login 'sa', because it does not exist or you do not have permission.");
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("DROP LOGIN sa"), 0);
    EXPECT_EQ(lastProviderError().message,
              "Cannot drop the login 'sa', because it does not exist or you do not have permission.");
    // Staff logins stay theirs to manage.
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("ALTER LOGIN jdoe WITH PASSWORD = 'Reset-by-boss7', CHECK_POLICY = OFF"), 1);
    EXPECT_TRUE(boxes.all.empty());
    MyADO admin;
    connect(admin, server, kAdmin, kAdminPassword);
}

TEST_F(Logins, CatalogueShowsAPlainUserOnlyTheOwnLoginAndNoHashesOrSource)
{
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword);
    EXPECT_EQ(column(db, "select name from sys.server_principals", "name"), (std::vector<std::string>{"jdoe"}));
    EXPECT_EQ(column(db, "select name from sys.sql_logins where name = 'SA'", "name"), std::vector<std::string>{});
    // The users and roles of the database stay in view, as on SQL Server.
    EXPECT_EQ(scalar(db, "select count(*) as v from sys.database_principals where name in ('boss', 'QuorinAdmin')"),
              "2");
    EXPECT_EQ(db.RunTextQuery("select definition from sys_procedures"), 0);
    EXPECT_EQ(lastProviderError().number, 229);
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("select password_hash from master.logins"), 0);
    EXPECT_EQ(lastProviderError().number, 229);
    boxes.clear();
    EXPECT_EQ(db.RunTextQuery("update master.logins set is_admin = 1 where name = 'jdoe'"), 0);
    EXPECT_EQ(lastProviderError().number, 229);
    // A holder of ALTER ANY LOGIN sees every login, as the Users window's checks need.
    MyADO boss;
    connect(boss, server, "boss", kStaffPassword);
    EXPECT_EQ(column(boss, "select name from sys.server_principals where name in ('sa', 'jdoe') order by name", "name"),
              (std::vector<std::string>{"jdoe", "sa"}));
}

TEST_F(Logins, PasswordsAreStoredOnlyAsArgon2idHashes)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open((server.folder() + "/master.db").c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw, "SELECT name, password_hash FROM logins", -1, &stmt, nullptr), SQLITE_OK);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const std::string hash = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u) << hash;
        EXPECT_EQ(hash.find(kStaffPassword), std::string::npos);
        EXPECT_EQ(hash.find(kAdminPassword), std::string::npos);
        ++rows;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
    EXPECT_EQ(rows, 5);
}

} // namespace
