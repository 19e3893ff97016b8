// The demo's ordinary staff against the registry's grants: what a QuorinUser cannot do,
// access that ends with the staff status in all three databases, and an administrator
// who is no server administrator adding and removing a member as the Users window does.

#include "admin/record/StaffStatus.h"
#include "database/RegistryFixture.h"
#include "support/RawRegistry.h"

namespace quorin::test {

namespace {

constexpr const char* kUserPassword = "QuorinDemo-User1";

class StaffAccess : public RegistryTest {
protected:
    std::int64_t raw(const std::string& sql) const { return RawRegistry(folder()).number(sql); }
    std::int64_t roles(const char* login, const char* role) const
    {
        std::int64_t n = 0;
        for (const char* schema : {"main", "Aud", "CID"})
            n += raw(std::string("SELECT count(*) FROM ") + schema + ".sys_role_members WHERE member = '" + login
                     + "' AND role = '" + role + "'");
        return n;
    }
};

// The program's table of status to role is the source: the account procedure gives each
// status exactly that role in all three databases and no other, and access ends with it.
TEST_F(StaffAccess, AccessEndsWithTheStatusInEveryDatabaseAndComesBackWithIt)
{
    const std::pair<const char*, const char*> reads[] = {
        {"Quorin", "SELECT count(*) AS num FROM subjects"},
        {"Quorin", "SELECT count(*) AS num FROM CID.dbo.patient"},
        {"Aud", "SELECT count(*) AS num FROM info"},
        {"CID", "SELECT count(*) AS num FROM patient"},
    };
    for (int status : {StaffInactive, StaffActive, StaffNoPassword, StaffAdministrator}) {
        ASSERT_EQ(errorOf(m_db, "EXEC uspUpdateAccount 'klee', " + std::to_string(status)), 0) << errorText();
        const char* role = RoleOfStatus(status);
        for (const char* each : {"QuorinUser", "QuorinAdmin"})
            EXPECT_EQ(roles("klee", each), role && std::string(role) == each ? 3 : 0) << status << " " << each;
        if (status == StaffNoPassword || status == StaffAdministrator)
            continue;
        for (const auto& [database, sql] : reads)
            EXPECT_EQ(errorOf(*connect(database, "klee", kUserPassword), sql), status == StaffInactive ? 229 : 0)
                << status << " " << database << ": " << sql;
    }
    EXPECT_EQ(raw("SELECT Status FROM pers WHERE UserName = 'klee'"), StaffAdministrator);
}

TEST_F(StaffAccess, AnAdministratorWhoIsNoServerAdministratorAddsAndRemovesAMember)
{
    ASSERT_EQ(errorOf(m_db, "EXEC uspUpdateAccount 'mgarcia', 3"), 0) << errorText();
    auto boss = connect("Quorin", "mgarcia", kUserPassword);
    const char* add[] = {
        "IF NOT EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'newbie') CREATE LOGIN newbie with "
        "Password = 'Newbie-Start1', CHECK_POLICY = Off",
        "IF NOT EXISTS (SELECT * FROM sys.database_principals WHERE [name] = 'newbie') CREATE USER newbie",
    };
    for (const char* sql : add)
        ASSERT_EQ(errorOf(*boss, sql), 0) << sql << "\n" << errorText();
    boss->BindStringParam("@user", "newbie");
    boss->BindStringParam("@last", "NEW");
    boss->BindStringParam("@first", "BIE");
    boss->BindStringParam("@name", "NEW, BIE");
    boss->BindStringParam("@citi", "");
    boss->BindStringParam("@nih", "");
    boss->BindIntParam("@status", 0);
    ASSERT_EQ(boss->RunStoredProcedure("uspCreateNewUser"), 1) << errorText();
    boss->RemoveParams();
    // A user in all three databases with the role of the status.
    EXPECT_EQ(roles("newbie", "QuorinUser"), 3);
    // A name that has a row already is refused, and that member stays as it was.
    EXPECT_EQ(errorOf(*boss, "EXEC uspCreateNewUser 'jsmith', 'Moreau', 'Paul', 'Moreau, Paul', '', '', 3"), 50000);
    EXPECT_NE(errorText().find("A user named jsmith already exists."), std::string::npos) << errorText();
    EXPECT_EQ(raw("SELECT count(*) FROM pers WHERE UserName = 'jsmith' AND Status = 0 AND LastName <> 'Moreau'"), 1);
    EXPECT_EQ(roles("jsmith", "QuorinUser"), 3);
    EXPECT_EQ(roles("jsmith", "QuorinAdmin"), 0);
    for (const char* database : {"Quorin", "Aud", "CID"}) {
        auto newbie = connect(database, "newbie", "Newbie-Start1");
        EXPECT_EQ(errorOf(*newbie, "SELECT count(*) AS num FROM sys.database_principals"), 0) << database;
    }
    // The server administrator stays out of a database administrator's reach.
    EXPECT_EQ(errorOf(*boss, "ALTER LOGIN admin WITH PASSWORD = 'Taken-0ver1'"), 15151);
    const char* remove[] = {
        "IF EXISTS (SELECT * FROM sys.schemas WHERE [name] = 'newbie') DROP SCHEMA newbie",
        "IF EXISTS (SELECT * FROM sys.database_principals WHERE [name] = 'newbie') DROP USER newbie",
        "IF EXISTS (SELECT * FROM sys.server_principals WHERE [name] = 'newbie') DROP LOGIN newbie",
        "Update Pers set status = 1 where username = 'newbie'",
    };
    for (const char* sql : remove)
        EXPECT_EQ(errorOf(*boss, sql), 0) << sql << "\n" << errorText();
    MyADO gone;
    EXPECT_EQ(gone.SetDataSource(folder().c_str(), "newbie", "Newbie-Start1", "Quorin"), 0);
}

} // namespace
} // namespace quorin::test
