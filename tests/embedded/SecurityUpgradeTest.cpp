// A registry made before the engine kept grants: its databases have the roles and their
// members but no grants table. Opening it adds the roles scripts' grants once, keeping
// every login, user and role member, so its staff work again as on a new registry.

#include "TestServer.h"

#include "database/RegistryScripts.h"
#include "support/RawRegistry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

using namespace testing_embedded;
namespace fs = std::filesystem;

namespace {

constexpr const char* kOwner = "admin";
constexpr const char* kOwnerPassword = "QuorinDemo-Admin1";
constexpr const char* kUserPassword = "QuorinDemo-User1";
constexpr const char* kDatabases[] = {"Quorin", "Aud", "CID"};

void rawExec(const std::string& folder, const char* database, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dalport::DatabaseFilePath(folder, database).c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << sql << ": " << text;
}

// The schema of a database's tables in the raw view of the registry's files.
std::string schemaOf(const char* database) { return std::string(database) == "Quorin" ? "main" : database; }

bool hasGrantsTable(const std::string& folder, const char* database)
{
    return quorin::test::RawRegistry(folder).number("SELECT count(*) FROM " + schemaOf(database)
                                                    + ".sqlite_schema WHERE name = 'sys_permissions'") != 0;
}

// What a database's security catalogue holds, one line per row in a fixed order.
std::string grants(const std::string& folder, const char* database)
{
    return quorin::test::RawRegistry(folder).dump(
        "SELECT class_desc || ' ' || major_name || ' ' || minor_name || ' ' || permission_name || ' ' || state || ' ' "
        "|| grantee FROM " + schemaOf(database) + ".sys_permissions ORDER BY 1");
}

std::string principalsAndMembers(const std::string& folder, const char* database)
{
    const std::string schema = schemaOf(database);
    return quorin::test::RawRegistry(folder).dump("SELECT name || ' ' || type FROM " + schema
                                                  + ".sys_database_principals UNION ALL SELECT role || ' has ' || "
                                                    "member FROM " + schema + ".sys_role_members ORDER BY 1");
}

class OldRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        dalport::CreateServer(folder, kOwner, kOwnerPassword, quorin::registryScripts());
        // The staff as an old registry had them: users in all three databases in a role.
        for (const char* login : {"jsmith", "chief", "outsider"})
            dalport::CreateLogin(folder, login, kUserPassword);
        for (const char* db : kDatabases)
            dalport::CreateDatabaseUser(folder, db, "jsmith", "QuorinUser");
        dalport::CreateDatabaseUser(folder, "Quorin", "chief", "QuorinAdmin");
        dalport::CreateDatabaseUser(folder, "Quorin", "outsider", "");
        for (const char* db : kDatabases) {
            newGrants.push_back(grants(folder, db));
            ASSERT_FALSE(newGrants.back().empty()) << db;
            // Back to the old catalogue: no grants table or view, no role inside a role.
            rawExec(folder, db,
                    "DROP VIEW sys_database_permissions; DROP TABLE sys_permissions; "
                    "DELETE FROM sys_role_members WHERE member IN "
                    "(SELECT name FROM sys_database_principals WHERE type = 'R');");
            oldPrincipals.push_back(principalsAndMembers(folder, db));
        }
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }

    std::string folder = uniqueTempFolder("quorin-old-registry");
    Boxes boxes;
    std::vector<std::string> newGrants;     // per database, as a new registry has them
    std::vector<std::string> oldPrincipals; // per database, in the old shape
};

TEST_F(OldRegistry, OpeningAddsTheScriptsGrantsOnceAndKeepsEveryUserAndMember)
{
    for (const char* db : kDatabases)
        ASSERT_FALSE(hasGrantsTable(folder, db)) << db;

    MyADO staff;
    ASSERT_EQ(staff.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "Quorin"), 1);
    for (std::size_t i = 0; i < std::size(kDatabases); ++i) {
        const char* db = kDatabases[i];
        EXPECT_EQ(grants(folder, db), newGrants[i]) << db;
        // The old users and members stay; the roles scripts' memberships are added.
        const std::string now = principalsAndMembers(folder, db);
        const std::string added = "QuorinUser has QuorinAdmin|\n";
        ASSERT_NE(now.find(added), std::string::npos) << db << "\n" << now;
        std::string without = now;
        without.erase(without.find(added), added.size());
        EXPECT_EQ(without, oldPrincipals[i]) << db;
    }

    // Its staff work as on a new registry, refused what the scripts do not grant.
    EXPECT_EQ(scalar(staff, "select count(*) as v from Aud.dbo.info"), "0");
    EXPECT_EQ(answer(staff, boxes, "delete from subjects"), "error 229");

    // Once done it is never done again: a grant the administrator takes away stays away.
    MyADO owner;
    ASSERT_EQ(owner.SetDataSource(folder.c_str(), kOwner, kOwnerPassword, "Quorin"), 1);
    ASSERT_EQ(owner.RunTextQuery("REVOKE EXECUTE ON dbo.uspLoadSubjectbyId FROM QuorinUser"), 1);
    std::vector<std::string> before;
    for (const char* db : kDatabases)
        before.push_back(grants(folder, db) + principalsAndMembers(folder, db));
    MyADO again;
    ASSERT_EQ(again.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "CID"), 1);
    for (std::size_t i = 0; i < std::size(kDatabases); ++i)
        EXPECT_EQ(grants(folder, kDatabases[i]) + principalsAndMembers(folder, kDatabases[i]), before[i]);
    MyADO third;
    ASSERT_EQ(third.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "Quorin"), 1);
    EXPECT_EQ(answer(third, boxes, "exec uspLoadSubjectbyId 1"), "error 229");
}

TEST_F(OldRegistry, AFailedUpgradeChangesNothingAndLetsOnlyTheAdministratorIn)
{
    // A roles script naming a procedure the old database does not have stops the
    // upgrade of that database; the transaction leaves its catalogue as it was.
    rawExec(folder, "Quorin", "DELETE FROM sys_procedures WHERE name = 'uspUpdatePers'");
    // A first connection shows no box; the session keeps what the server said.
    struct Session : MyADO {
        using MyADO::GetConnectionErrors;
    } staff;
    EXPECT_EQ(staff.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "Quorin"), 0);
    const auto errors = staff.GetConnectionErrors();
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors.back().message.find("cannot add the roles and permissions"), std::string::npos)
        << errors.back().message;
    EXPECT_FALSE(hasGrantsTable(folder, "Quorin"));
    EXPECT_EQ(principalsAndMembers(folder, "Quorin"), oldPrincipals[0]);
    MyADO owner;
    ASSERT_EQ(owner.SetDataSource(folder.c_str(), kOwner, kOwnerPassword, "Quorin"), 1);
    EXPECT_EQ(scalar(owner, "select count(*) as v from subjects"), "0");
}

} // namespace
