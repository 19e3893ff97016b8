// Logins, database users, roles and the security statements, with SQL Server's numbers;
// what the catalogue shows of them and how passwords are kept.

#include "TestServer.h"

#include "support/RawRegistry.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

class Logins : public ::testing::Test {
protected:
    TestServer server;
    Boxes boxes;
};

TEST_F(Logins, AWrongPasswordAnUnknownLoginOrAMissingUserIsRefusedWithItsNumber)
{
    MyADO db;
    // A session that has connected once shows the errors of a later SetDataSource.
    connect(db, server, kAdmin, kAdminPassword);
    auto refusal = [&](const char* login, const char* password, const char* database) {
        boxes.clear();
        EXPECT_EQ(db.SetDataSource(server.folder.c_str(), login, password, database), 0) << login;
        const auto e = lastError(boxes);
        return std::to_string(e.number) + ", level " + std::to_string(e.level) + ": " + e.message;
    };
    EXPECT_EQ(refusal("jdoe", "wrong", "Quorin"), "18456, level 14: Login failed for user 'jdoe'.");
    EXPECT_EQ(refusal("ghost", kStaffPassword, "Quorin"), "18456, level 14: Login failed for user 'ghost'.");
    EXPECT_EQ(refusal("nouser", kStaffPassword, "Quorin"),
              "4060, level 11: Cannot open database \"Quorin\" requested by the login. The login failed.");
    EXPECT_EQ(refusal(kAdmin, kAdminPassword, "NoSuchDb"),
              "4060, level 11: Cannot open database \"NoSuchDb\" requested by the login. The login failed.");
}

TEST_F(Logins, SecurityStatementsNeedTheirPermissionAndAStrongPassword)
{
    MyADO admin, boss, jdoe;
    connect(admin, server, kAdmin, kAdminPassword);
    connect(boss, server, "boss", kStaffPassword);
    connect(jdoe, server, "jdoe", kStaffPassword);
    // A staff member makes no login, user, role or table, writes no catalogue, and changes
    // only the own password, with the old one in SQL Server's grammar.
    expectAnswers(jdoe, boxes, {
        {"CREATE LOGIN intruder with Password = 'x', CHECK_POLICY = Off",
         "error 15247: User does not have permission to perform this action."},
        {"CREATE USER nouser", "error 15247"}, {"CREATE ROLE Mine", "error 15247"},
        {"EXEC sp_addrolemember 'QuorinAdmin', 'jdoe'",
         "error 15151: Cannot alter the role 'QuorinAdmin', because it does not exist or you do not have permission."},
        {"ALTER ROLE QuorinAdmin ADD MEMBER jdoe", "error 15151"}, {"DROP USER norole", "error 15151"}, {"DROP LOGIN norole", "error 15151"},
        {"ALTER LOGIN norole WITH PASSWORD = 'Taken-0ver1', CHECK_POLICY = OFF", "error 15151"},
        {"insert into sys_role_members(role, member) values ('QuorinAdmin', 'jdoe')", "error 229"},
        {"create table mine(a int)", "error 262: CREATE TABLE permission denied in database 'Quorin'."},
        {"ALTER LOGIN jdoe WITH PASSWORD = 'N3w-pass'", "error 15151"},
        {"ALTER LOGIN jdoe WITH OLD_PASSWORD = 'Staff-Pass1', PASSWORD = 'N3w-pass'",
         "error 102: Incorrect syntax near 'OLD_PASSWORD'."},
        {"ALTER LOGIN jdoe WITH PASSWORD = 'N3w-pass' OLD_PASSWORD = 'wrong'", "error 15151"},
        {"ALTER LOGIN jdoe WITH PASSWORD = 'N3w-pass' OLD_PASSWORD = 'Staff-Pass1'", "done"},
    });
    // QuorinAdmin's members manage staff logins and roles but grant nothing.
    expectAnswers(boss, boxes, {
        {"GRANT SELECT ON dbo.subjects TO norole", "error 15247"},
        {"ALTER ROLE QuorinUser ADD MEMBER norole", "done"},
        {"ALTER LOGIN norole WITH PASSWORD = 'Reset-Pass3'", "done"},
    });
    const std::string tooWeak = "error 15118: Password validation failed. The password does not meet the operating "
                                "system policy requirements because it is not complex enough.";
    expectAnswers(admin, boxes, {
        // Grants name real objects, permissions and columns.
        {"GRANT SELECT ON dbo.nothing TO norole",
         "error 15151: Cannot find the object 'nothing', because it does not exist or you do not have permission."},
        {"GRANT SELECT ON dbo.subjects TO nobody", "error 15151"}, {"GRANT SELEKT ON dbo.subjects TO norole", "error 102"},
        {"GRANT EXECUTE ON dbo.subjects TO norole", "error 4606"},
        {"GRANT UPDATE ON dbo.subjects (nocolumn) TO norole", "error 207"},
        {"select count(*) as v from sys.database_permissions where grantee_name = 'norole'", "0"},
        // MUST_CHANGE needs the policy and expiration checks.
        {"CREATE LOGIN [pnew] WITH PASSWORD = 'Tq7-xR2mWp.9aKz' MUST_CHANGE, CHECK_POLICY = OFF", "error 15128"},
        {"ALTER LOGIN [jdoe] WITH PASSWORD = 'Tq7-xR2mWp.9aKz' MUST_CHANGE, CHECK_EXPIRATION = OFF", "error 15128"},
        {"select count(*) as v from sys.server_principals where name = 'pnew'", "0"},
        // The policy refuses short, simple or name-bearing passwords unless it is off; off, only an empty one.
        {"CREATE LOGIN newbie WITH PASSWORD = 'Sh0rt-1'", tooWeak}, {"CREATE LOGIN newbie WITH PASSWORD = 'lowercase123'", tooWeak},
        {"CREATE LOGIN newbie WITH PASSWORD = 'Xnewbie-9'", tooWeak}, {"CREATE LOGIN newbie WITH PASSWORD = 'Good-Pass1'", "done"},
        {"ALTER LOGIN newbie WITH PASSWORD = 'weak'", "error 15118"},
        {"CREATE LOGIN plain WITH PASSWORD = 'plain-phrase', CHECK_POLICY = OFF", "done"},
        {"ALTER LOGIN plain WITH PASSWORD = 'x'", "done"}, {"ALTER LOGIN plain WITH PASSWORD = ''", "error 15116"},
        {"ALTER LOGIN plain WITH PASSWORD = 'weak', CHECK_POLICY = ON", "error 15118"},
        {"select count(*) as v from sys_role_members where member = 'jdoe'", "1"},
    });
    MyADO again, reset;
    EXPECT_EQ(again.SetDataSource(server.folder.c_str(), "jdoe", kStaffPassword, "Quorin"), 0);
    connect(again, server, "jdoe", "N3w-pass");
    connect(reset, server, "norole", "Reset-Pass3");
    EXPECT_EQ(scalar(reset, "select count(*) as v from subjects"), "0");
}

TEST_F(Logins, DatabaseAdministratorCannotTakeOverTheServerAdministrator)
{
    MyADO db;
    connect(db, server, "boss", kStaffPassword);
    expectAnswers(db, boxes, {
        {"ALTER LOGIN sa WITH PASSWORD = 'Taken-0ver'",
         "error 15151: Cannot alter the login 'sa', because it does not exist or you do not have permission."},
        {"DROP LOGIN sa", "error 15151: Cannot drop the login 'sa', because it does not exist or you do not have permission."},
        // Staff logins stay theirs to manage.
        {"ALTER LOGIN jdoe WITH PASSWORD = 'Reset-by-boss7', CHECK_POLICY = OFF", "done"},
    });
    EXPECT_TRUE(boxes.all.empty());
    MyADO admin;
    connect(admin, server, kAdmin, kAdminPassword);
}

TEST_F(Logins, CatalogueShowsAPlainUserOnlyTheOwnLoginAndNoHashesOrSource)
{
    MyADO db, boss;
    connect(db, server, "jdoe", kStaffPassword);
    expectAnswers(db, boxes, {
        {"select name as v from sys.server_principals", "jdoe"},
        {"select name as v from sys.sql_logins where name = 'SA'", "done"},
        // The users and roles of the database stay in view, as on SQL Server.
        {"select count(*) as v from sys.database_principals where name in ('boss', 'QuorinAdmin')", "2"},
        {"select definition from sys_procedures", "error 229"},
        {"select password_hash from master.logins", "error 229"},
        {"update master.logins set is_admin = 1 where name = 'jdoe'", "error 229"},
    });
    // A holder of ALTER ANY LOGIN sees every login, as the Users window's checks need.
    connect(boss, server, "boss", kStaffPassword);
    EXPECT_EQ(scalar(boss, "select count(*) as v from sys.server_principals where name in ('sa', 'jdoe')"), "2");
    // What the catalogue keeps of a password is an Argon2id hash, never the password.
    const quorin::test::RawRegistry raw(server.folder);
    raw.dump("ATTACH DATABASE '" + dalport::DatabaseFilePath(server.folder, "master") + "' AS server_file");
    const auto hashes = raw.rows("SELECT password_hash FROM server_file.logins");
    EXPECT_EQ(hashes.size(), 5u);
    for (const auto& row : hashes) {
        const std::string hash = row[0].value_or("");
        EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u) << hash;
        EXPECT_EQ(hash.find(kStaffPassword), std::string::npos);
        EXPECT_EQ(hash.find(kAdminPassword), std::string::npos);
    }
}

} // namespace
