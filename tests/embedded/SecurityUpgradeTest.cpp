// A registry made before the engine kept grants: its databases have the roles and their
// members but no grants table. Opening it adds the roles scripts' grants once, keeping
// every login, user and role member, so its staff work again as on a new registry.

#include "TestServer.h"

#include "database/RegistryScripts.h"
#include "support/RawRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace testing_embedded;

namespace {

constexpr const char* kOwner = "admin";
constexpr const char* kOwnerPassword = "QuorinDemo-Admin1";
constexpr const char* kUserPassword = "QuorinDemo-User1";
constexpr const char* kDatabases[] = {"Quorin", "Aud", "CID"};

// What a database's security catalogue holds, one line per row in a fixed order: its
// grants (when it has the table), then its principals and role members.
std::string catalogue(const std::string& folder, const std::string& database, bool withGrants = true)
{
    const std::string schema = database == "Quorin" ? "main" : database;
    const quorin::test::RawRegistry raw(folder);
    return (withGrants ? raw.dump("SELECT class_desc || ' ' || major_name || ' ' || minor_name || ' ' || "
                                  "permission_name || ' ' || state || ' ' || grantee FROM " + schema
                                  + ".sys_permissions ORDER BY 1")
                       : "")
        + raw.dump("SELECT name || ' ' || type FROM " + schema + ".sys_database_principals UNION ALL SELECT role || "
                   "' has ' || member FROM " + schema + ".sys_role_members ORDER BY 1");
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
            newCatalogue.push_back(catalogue(folder, db));
            // Back to the old catalogue: no grants table or view, no role inside a role.
            ExecRaw(folder, db,
                    "DROP VIEW sys_database_permissions; DROP TABLE sys_permissions; "
                    "DELETE FROM sys_role_members WHERE member IN "
                    "(SELECT name FROM sys_database_principals WHERE type = 'R');");
        }
        oldQuorin = catalogue(folder, "Quorin", false);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    std::string folder = uniqueTempFolder("quorin-old-registry");
    Boxes boxes;
    std::vector<std::string> newCatalogue; // per database, as a new registry has it
    std::string oldQuorin;                 // Quorin's users and members in the old shape
};

TEST_F(OldRegistry, OpeningAddsTheScriptsGrantsOnceAndKeepsEveryUserAndMember)
{
    MyADO staff;
    ASSERT_EQ(staff.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "Quorin"), 1);
    // Every database has a new registry's grants again and keeps its old users and members.
    for (std::size_t i = 0; i < std::size(kDatabases); ++i)
        EXPECT_EQ(catalogue(folder, kDatabases[i]), newCatalogue[i]) << kDatabases[i];
    // Its staff work as on a new registry, refused what the scripts do not grant.
    EXPECT_EQ(scalar(staff, "select count(*) as v from Aud.dbo.info"), "0");
    EXPECT_EQ(answer(staff, boxes, "delete from subjects"), "error 229");

    // Once done it is never done again: a grant the administrator takes away stays away.
    MyADO owner;
    ASSERT_EQ(owner.SetDataSource(folder.c_str(), kOwner, kOwnerPassword, "Quorin"), 1);
    ASSERT_EQ(owner.RunTextQuery("REVOKE EXECUTE ON dbo.uspLoadSubjectbyId FROM QuorinUser"), 1);
    const std::string revoked = catalogue(folder, "Quorin");
    MyADO again, third;
    ASSERT_EQ(again.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "CID"), 1);
    ASSERT_EQ(third.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "Quorin"), 1);
    EXPECT_EQ(catalogue(folder, "Quorin"), revoked);
    EXPECT_EQ(answer(third, boxes, "exec uspLoadSubjectbyId 1"), "error 229");
}

TEST_F(OldRegistry, AFailedUpgradeChangesNothingAndLetsOnlyTheAdministratorIn)
{
    // A roles script naming a procedure the old database does not have stops the
    // upgrade of that database; the transaction leaves its catalogue as it was.
    ExecRaw(folder, "Quorin", "DELETE FROM sys_procedures WHERE name = 'uspUpdatePers'");
    // A first connection shows no box; the session keeps what the server said.
    struct Session : MyADO { using MyADO::GetConnectionErrors; } staff;
    EXPECT_EQ(staff.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "Quorin"), 0);
    const auto errors = staff.GetConnectionErrors();
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors.back().message.find("cannot add the roles and permissions"), std::string::npos)
        << errors.back().message;
    EXPECT_EQ(quorin::test::RawRegistry(folder).number("SELECT count(*) FROM sqlite_schema WHERE name = 'sys_permissions'"), 0);
    EXPECT_EQ(catalogue(folder, "Quorin", false), oldQuorin);
    MyADO owner;
    ASSERT_EQ(owner.SetDataSource(folder.c_str(), kOwner, kOwnerPassword, "Quorin"), 1);
    EXPECT_EQ(scalar(owner, "select count(*) as v from subjects"), "0");
}

} // namespace
