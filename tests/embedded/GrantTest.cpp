// GRANT, DENY and REVOKE on the engine: what each allows, what a procedure's owner
// rights cover, the password policy and the registry files' modes.

#include "TestServer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/stat.h>

#include <filesystem>

using namespace testing_embedded;

namespace fs = std::filesystem;

namespace {

class Grants : public ::testing::Test {
protected:
    void SetUp() override { connect(admin, server, kAdmin, kAdminPassword); }

    dalport::ReportedError lastError() const
    {
        const auto p = boxes.provider();
        return p.empty() ? dalport::ReportedError{} : p.back();
    }
    // 1 when the statement ran, else the number of the error it failed with.
    long outcome(MyADO& db, const std::string& sql)
    {
        boxes.clear();
        if (db.RunTextQuery(sql.c_str()) == 1)
            return 1;
        return lastError().number;
    }
    void asAdmin(const std::string& sql) { ASSERT_EQ(outcome(admin, sql), 1) << sql << ": " << lastError().message; }

    TestServer server;
    Boxes boxes;
    MyADO admin;
};

TEST_F(Grants, ExecuteAloneRunsTheProcedureWithItsOwnersRightsOnItsOwnDatabaseOnly)
{
    asAdmin("GRANT EXECUTE ON dbo.uspAddSubject TO norole");
    asAdmin("GRANT EXECUTE ON uspCountPatients TO norole");
    MyADO db;
    connect(db, server, "norole", kStaffPassword);
    db.BindStringParam("@last", "Chained");
    db.BindStringParam("@first", "Owner");
    db.BindStringParam("@birth", "1/2/1980");
    EXPECT_EQ(db.RunStoredProcedure("uspAddSubject"), 1) << lastError().message;
    // The table itself stays shut to the user.
    EXPECT_EQ(outcome(db, "select count(*) as num from subjects"), 229);
    EXPECT_EQ(outcome(db, "insert into subjects(lastname) values ('direct')"), 229);
    EXPECT_EQ(scalar(admin, "select count(*) as v from subjects where lastname = 'Chained'"), "1");
    // CID is another database: its owner's rights do not reach there, the caller has no user.
    boxes.clear();
    EXPECT_EQ(db.RunStoredProcedure("uspCountPatients"), 0);
    EXPECT_EQ(lastError().number, 916);
    EXPECT_EQ(lastError().message, "The server principal \"norole\" is not able to access the database \"CID\" under "
                                   "the current security context.");
}

TEST_F(Grants, DenyWinsOverTheSchemaGrantAndRevokeTakesItBack)
{
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword);
    EXPECT_EQ(outcome(db, "select count(*) as num from subjects"), 1);
    EXPECT_EQ(outcome(db, "select top 1 lastname from subjects"), 1);
    asAdmin("DENY SELECT ON dbo.subjects TO QuorinUser");
    // A session already open sees the change from its next statement on.
    EXPECT_EQ(outcome(db, "select count(*) as num from subjects"), 229);
    // A read is checked once its first step has begun: one that finds no row, and one
    // with a row in hand whose statement is kept from before the DENY.
    EXPECT_EQ(outcome(db, "select lastname from subjects where subjectid = -1"), 229);
    EXPECT_EQ(outcome(db, "select top 1 lastname from subjects"), 229);
    EXPECT_EQ(outcome(db, "select count(*) as num from release"), 1);
    EXPECT_EQ(scalar(admin, "select count(*) as v from sys.database_permissions where state_desc = 'DENY' and "
                            "permission_name = 'SELECT' and object_name = 'subjects' and grantee_name = 'QuorinUser'"),
              "1");
    asAdmin("REVOKE SELECT ON dbo.subjects FROM QuorinUser");
    EXPECT_EQ(outcome(db, "select count(*) as num from subjects"), 1);
}

TEST_F(Grants, ColumnGrantsAllowTheirColumnsAndName230ForTheOthers)
{
    asAdmin("GRANT SELECT ON SCHEMA::dbo TO norole");
    asAdmin("GRANT UPDATE ON dbo.pers (status) TO norole");
    asAdmin("insert into pers(persid, username, status) values (7, 'someone', 0)");
    MyADO db;
    connect(db, server, "norole", kStaffPassword);
    EXPECT_EQ(outcome(db, "update pers set status = 1 where persid = 7"), 1);
    EXPECT_EQ(outcome(db, "update pers set username = 'other' where persid = 7"), 230);
    EXPECT_EQ(lastError().message, "The UPDATE permission was denied on the column 'username' of the object 'pers', "
                                   "database 'Quorin', schema 'dbo'.");
    EXPECT_EQ(outcome(db, "delete from pers where persid = 7"), 229);
    EXPECT_EQ(scalar(admin, "select username + ':' + cast(status as varchar(5)) as v from pers where persid = 7"),
              "someone:1");
}

TEST_F(Grants, ThreePartNamesAreCheckedInTheDatabaseThatOwnsTheTable)
{
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword); // a user in Quorin only
    EXPECT_EQ(outcome(db, "select count(*) as num from CID.dbo.patient"), 916);
    EXPECT_EQ(outcome(db, "update Aud.dbo.info set Velmar = 'x'"), 916);
    EXPECT_EQ(outcome(db, "select count(*) as num from CID.sys.database_principals"), 916);
    dalport::CreateDatabaseUser(server.folder(), "CID", "jdoe", "");
    EXPECT_EQ(outcome(db, "select count(*) as num from CID.dbo.patient"), 229);
    EXPECT_EQ(lastError().message,
              "The SELECT permission was denied on the object 'patient', database 'CID', schema 'dbo'.");
    // Every user of a database reads its catalogue.
    EXPECT_EQ(scalar(db, "select count(*) as v from CID.sys.database_principals where name = 'jdoe'"), "1");
    asAdmin("EXEC CID.dbo.sp_addrolemember 'QuorinUser', 'jdoe'");
}

TEST_F(Grants, OnlyServerAdministratorsGrantAndGrantsNameRealObjects)
{
    MyADO boss;
    connect(boss, server, "boss", kStaffPassword);
    EXPECT_EQ(outcome(boss, "GRANT SELECT ON dbo.subjects TO norole"), 15247);
    EXPECT_EQ(outcome(admin, "GRANT SELECT ON dbo.nothing TO norole"), 15151);
    EXPECT_EQ(lastError().message,
              "Cannot find the object 'nothing', because it does not exist or you do not have permission.");
    EXPECT_EQ(outcome(admin, "GRANT SELECT ON dbo.subjects TO nobody"), 15151);
    EXPECT_EQ(outcome(admin, "GRANT EXECUTE ON dbo.subjects TO norole"), 4606);
    EXPECT_EQ(outcome(admin, "GRANT UPDATE ON dbo.subjects (nocolumn) TO norole"), 207);
    EXPECT_EQ(outcome(admin, "GRANT SELEKT ON dbo.subjects TO norole"), 102);
    EXPECT_EQ(scalar(admin, "select count(*) as v from sys.database_permissions where grantee_name = 'norole'"), "0");
}

TEST_F(Grants, SecurityStatementsInsideAProcedureNeedTheCallersPermission)
{
    // jdoe may run every procedure of the test schema, uspUpdateAccount included, but
    // moving roles is a security statement: the caller's ALTER ANY ROLE decides.
    asAdmin("insert into pers(persid, username, status) values (1, 'jdoe', 0)");
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword);
    EXPECT_EQ(outcome(db, "EXEC uspUpdateAccount 'jdoe', 3"), 15247);
    EXPECT_EQ(scalar(admin, "select role as v from sys_role_members where member = 'jdoe'"), "QuorinUser");
    MyADO boss;
    connect(boss, server, "boss", kStaffPassword);
    EXPECT_EQ(outcome(boss, "EXEC uspUpdateAccount 'jdoe', 3"), 1) << lastError().message;
    EXPECT_EQ(scalar(admin, "select role as v from sys_role_members where member = 'jdoe'"), "QuorinAdmin");
}

TEST_F(Grants, SecurityStatementsNeedTheirPermission)
{
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword);
    EXPECT_EQ(outcome(db, "CREATE USER nouser"), 15247);
    EXPECT_EQ(outcome(db, "EXEC sp_addrolemember 'QuorinAdmin', 'jdoe'"), 15151);
    EXPECT_EQ(lastError().message,
              "Cannot alter the role 'QuorinAdmin', because it does not exist or you do not have permission.");
    EXPECT_EQ(outcome(db, "ALTER ROLE QuorinAdmin ADD MEMBER jdoe"), 15151);
    EXPECT_EQ(outcome(db, "DROP USER norole"), 15151);
    EXPECT_EQ(outcome(db, "DROP LOGIN norole"), 15151);
    EXPECT_EQ(outcome(db, "ALTER LOGIN norole WITH PASSWORD = 'Taken-0ver1', CHECK_POLICY = OFF"), 15151);
    EXPECT_EQ(outcome(db, "CREATE ROLE Mine"), 15247);
    // The own password only with the old one.
    EXPECT_EQ(outcome(db, "ALTER LOGIN jdoe WITH PASSWORD = 'Changed-Pass2'"), 15151);
    EXPECT_EQ(outcome(db, "ALTER LOGIN jdoe WITH PASSWORD = 'Changed-Pass2' OLD_PASSWORD = 'Staff-Pass1'"), 1);
    EXPECT_EQ(scalar(admin, "select count(*) as v from sys_role_members where member = 'jdoe'"), "1");
    // QuorinAdmin's members manage staff logins (ALTER ANY LOGIN on this server).
    MyADO boss;
    connect(boss, server, "boss", kStaffPassword);
    EXPECT_EQ(outcome(boss, "ALTER ROLE QuorinUser ADD MEMBER norole"), 1) << lastError().message;
    EXPECT_EQ(outcome(boss, "ALTER LOGIN norole WITH PASSWORD = 'Reset-Pass3'"), 1) << lastError().message;
    MyADO norole;
    connect(norole, server, "norole", "Reset-Pass3");
    EXPECT_EQ(scalar(norole, "select count(*) as v from subjects"), "0");
}

TEST_F(Grants, PasswordPolicyRefusesWeakPasswordsUnlessItIsOff)
{
    const std::string tooWeak =
        "Password validation failed. The password does not meet the operating system policy requirements because "
        "it is not complex enough.";
    for (const char* password : {"Sh0rt-1", "alllowercase", "lowercase123", "UPPER-CASE-ONLY", "Xnewbie-9"}) {
        EXPECT_EQ(outcome(admin, std::string("CREATE LOGIN newbie WITH PASSWORD = '") + password + "'"), 15118)
            << password;
        EXPECT_EQ(lastError().message, tooWeak);
    }
    EXPECT_EQ(outcome(admin, "CREATE LOGIN newbie WITH PASSWORD = 'Good-Pass1'"), 1);
    EXPECT_EQ(outcome(admin, "ALTER LOGIN newbie WITH PASSWORD = 'weak'"), 15118);
    // Off keeps the old rule: anything but empty.
    EXPECT_EQ(outcome(admin, "CREATE LOGIN plain WITH PASSWORD = 'plain-phrase', CHECK_POLICY = OFF"), 1);
    EXPECT_EQ(outcome(admin, "ALTER LOGIN plain WITH PASSWORD = 'x'"), 1);
    EXPECT_EQ(outcome(admin, "ALTER LOGIN plain WITH PASSWORD = ''"), 15116);
    EXPECT_EQ(outcome(admin, "ALTER LOGIN plain WITH PASSWORD = 'weak', CHECK_POLICY = ON"), 15118);
}

mode_t modeOf(const fs::path& p)
{
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 0777;
}

TEST(RegistryFiles, AreTheOwnersAloneWhateverTheUmaskAndAnExposedOneIsReportedOnce)
{
    const mode_t previous = ::umask(022);
    const std::string folder = uniqueTempFolder("quorin-private");
    dalport::CreateServer(folder, kAdmin, kAdminPassword, TestServer::scripts());
    Boxes boxes;
    {
        MyADO db; // a session that writes, so the -wal and -shm files exist too
        ASSERT_EQ(db.SetDataSource(folder.c_str(), kAdmin, kAdminPassword, "Quorin"), 1);
        ASSERT_EQ(db.RunTextQuery("insert into release(title) values ('t')"), 1);
        EXPECT_EQ(modeOf(folder), 0700u);
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            EXPECT_EQ(modeOf(entry.path()), 0600u) << entry.path();
            ++files;
        }
        EXPECT_GE(files, 6u); // master, three databases, a journal's -wal and -shm
    }
    ::umask(previous);

    // Opened after someone widened it: one warning, on standard error.
    fs::permissions(folder, fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
                                | fs::perms::others_exec, fs::perm_options::add);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i) {
        MyADO db;
        ASSERT_EQ(db.SetDataSource(folder.c_str(), kAdmin, kAdminPassword, "Quorin"), 1);
    }
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("Warning: other users of this computer can read the registry in " + folder), std::string::npos)
        << printed;
    EXPECT_NE(printed.find("the folder is 0755"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("Warning", printed.find("Warning") + 1), std::string::npos) << "warned twice: " << printed;
    std::error_code ec;
    fs::remove_all(folder, ec);
}

} // namespace

// SQLite copies the rows of `INSERT INTO t SELECT * FROM u` between tables of the same
// shape without reading their columns; the read of u is checked all the same, in the
// session's database and in another one named with three parts.
TEST(InsertSelect, ACopyOfAWholeTableNeedsSelectOnItsSource)
{
    TestServer server;
    {
        sqlite3* raw = nullptr;
        for (const char* file : {"Quorin", "CID"}) {
            ASSERT_EQ(sqlite3_open(dalport::DatabaseFilePath(server.folder(), file).c_str(), &raw), SQLITE_OK);
            const std::string table = std::string(file) == "CID" ? "donor" : "copyfrom";
            const std::string sql = "CREATE TABLE " + table + "(a INTEGER, b TEXT); INSERT INTO " + table
                + " VALUES (1, 'one'), (2, 'two');"
                + (std::string(file) == "Quorin" ? "CREATE TABLE copyto(a INTEGER, b TEXT);" : "");
            ASSERT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
            sqlite3_close(raw);
        }
    }
    Boxes boxes;
    MyADO admin;
    connect(admin, server, kAdmin, kAdminPassword);
    ASSERT_EQ(admin.RunTextQuery("GRANT INSERT ON dbo.copyto TO norole"), 1);
    MyADO db;
    connect(db, server, "norole", kStaffPassword);
    auto outcome = [&](const char* sql) {
        boxes.clear();
        if (db.RunTextQuery(sql) == 1)
            return 1L;
        const auto p = boxes.provider();
        return p.empty() ? -1L : p.back().number;
    };
    auto message = [&] {
        const auto p = boxes.provider();
        return p.empty() ? std::string() : p.back().message;
    };
    EXPECT_EQ(outcome("INSERT INTO copyto SELECT * FROM copyfrom"), 229);
    EXPECT_EQ(message(),
              "The SELECT permission was denied on the object 'copyfrom', database 'Quorin', schema 'dbo'.");
    EXPECT_EQ(outcome("INSERT INTO dbo.copyto SELECT * FROM dbo.copyfrom"), 229);
    EXPECT_EQ(outcome("INSERT INTO copyto(a, b) SELECT a, b FROM copyfrom"), 229);
    EXPECT_EQ(outcome("INSERT INTO Quorin.dbo.copyto SELECT * FROM Quorin.dbo.copyfrom"), 229);
    // Another database: no user there, then a user without the grant.
    EXPECT_EQ(outcome("INSERT INTO copyto SELECT * FROM CID.dbo.donor"), 916);
    dalport::CreateDatabaseUser(server.folder(), "CID", "norole", "");
    EXPECT_EQ(outcome("INSERT INTO copyto SELECT * FROM CID.dbo.donor"), 229);
    EXPECT_EQ(message(),
              "The SELECT permission was denied on the object 'donor', database 'CID', schema 'dbo'.");
    EXPECT_EQ(scalar(admin, "select count(*) as v from copyto"), "0");
    // With the grant the same statements copy every row.
    ASSERT_EQ(admin.RunTextQuery("GRANT SELECT ON dbo.copyfrom TO norole"), 1);
    EXPECT_EQ(outcome("INSERT INTO copyto SELECT * FROM copyfrom"), 1);
    EXPECT_EQ(scalar(admin, "select count(*) as v from copyto"), "2");
    EXPECT_EQ(scalar(admin, "select b as v from copyto where a = 2"), "two");
}
