// A registry made before the engine kept grants: its databases have the roles and their
// members but no grants table. Opening it adds the roles scripts' grants once, keeping
// every login, user and role member, so its staff work again as on a new registry.

#include "TestServer.h"

#include "database/RegistryScripts.h"

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

// Raw SQLite on one database file, as the registry's files stand.
std::string rawText(const std::string& folder, const char* database, const std::string& sql)
{
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(dalport::DatabaseFilePath(folder, database).c_str(), &db), SQLITE_OK);
    std::string out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(stmt, 0);
            out += std::string(text ? reinterpret_cast<const char*>(text) : "NULL") + "\n";
        }
    } else {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

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

// What a database's security catalogue holds, one line per row in a fixed order.
std::string grants(const std::string& folder, const char* database)
{
    return rawText(folder, database,
                   "SELECT class_desc || ' ' || major_name || ' ' || minor_name || ' ' || permission_name || ' ' || "
                   "state || ' ' || grantee FROM sys_permissions ORDER BY 1");
}

std::string principalsAndMembers(const std::string& folder, const char* database)
{
    return rawText(folder, database,
                   "SELECT name || ' ' || type FROM sys_database_principals UNION ALL "
                   "SELECT role || ' has ' || member FROM sys_role_members ORDER BY 1");
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
        {
            MyADO owner;
            ASSERT_EQ(owner.SetDataSource(folder.c_str(), kOwner, kOwnerPassword, "Quorin"), 1);
            ASSERT_EQ(owner.RunTextQuery("insert into subjects(Lastname, Firstname, Unit) values ('Oldfield', 'Ann', 0)"), 1);
            ASSERT_EQ(owner.RunTextQuery("insert into Aud.dbo.info(PatientNum, LastName) values (7, 'Oldfield')"), 1);
        }
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

    long outcome(MyADO& db, const std::string& sql)
    {
        boxes.clear();
        if (db.RunTextQuery(sql.c_str()) == 1)
            return 1;
        const auto p = boxes.provider();
        return p.empty() ? -1 : p.back().number;
    }

    std::string folder = uniqueTempFolder("quorin-old-registry");
    Boxes boxes;
    std::vector<std::string> newGrants;     // per database, as a new registry has them
    std::vector<std::string> oldPrincipals; // per database, in the old shape
};

TEST_F(OldRegistry, OpeningAddsTheScriptsGrantsOnceAndKeepsEveryUserAndMember)
{
    for (const char* db : kDatabases)
        ASSERT_EQ(rawText(folder, db, "SELECT count(*) FROM sqlite_schema WHERE name = 'sys_permissions'"), "0\n");

    MyADO staff;
    ASSERT_EQ(staff.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "Quorin"), 1);
    for (std::size_t i = 0; i < std::size(kDatabases); ++i) {
        const char* db = kDatabases[i];
        EXPECT_EQ(grants(folder, db), newGrants[i]) << db;
        // The old users and members stay; the roles scripts' memberships are added.
        const std::string now = principalsAndMembers(folder, db);
        EXPECT_NE(now.find("QuorinUser has QuorinAdmin\n"), std::string::npos) << db << "\n" << now;
        EXPECT_EQ(now.find("jsmith S\n") != std::string::npos, true) << db;
        EXPECT_NE(now.find("QuorinUser has jsmith\n"), std::string::npos) << db;
        std::string without = now;
        without.erase(without.find("QuorinUser has QuorinAdmin\n"), std::string("QuorinUser has QuorinAdmin\n").size());
        EXPECT_EQ(without, oldPrincipals[i]) << db;
    }

    // The ordinary user reads subjects, in Aud too, and runs what the scripts grant.
    EXPECT_EQ(scalar(staff, "select Firstname as v from subjects where Lastname = 'Oldfield'"), "Ann");
    EXPECT_EQ(scalar(staff, "select count(*) as v from Aud.dbo.info where LastName = 'Oldfield'"), "1");
    const std::string id = scalar(staff, "select SubjectId as v from subjects where Lastname = 'Oldfield'");
    staff.BindIntParam("@id", std::stoi(id));
    ASSERT_EQ(staff.RunStoredProcedure("uspLoadSubjectbyId"), 1);
    EXPECT_EQ(std::string(staff.GetStringField("Lastname")), "Oldfield");
    // ... and is refused what they do not grant.
    boxes.clear();
    staff.RemoveParams();
    staff.BindIntParam("@PersId", 1);
    for (const char* p : {"@last", "@first", "@name", "@user", "@citi", "@nih"})
        staff.BindStringParam(p, "x");
    staff.BindIntParam("@status", 3);
    staff.BindStringParam("@other", "x");
    staff.BindStringParam("@Review", "x");
    EXPECT_EQ(staff.RunStoredProcedure("uspUpdatePers"), 0);
    ASSERT_FALSE(boxes.provider().empty());
    EXPECT_EQ(boxes.provider().back().number, 229);
    EXPECT_EQ(boxes.provider().back().message,
              "The EXECUTE permission was denied on the object 'uspUpdatePers', database 'Quorin', schema 'dbo'.");
    EXPECT_EQ(outcome(staff, "delete from subjects"), 229);
    EXPECT_EQ(scalar(staff, "select count(*) as v from subjects"), "1");

    // A member of the old QuorinAdmin reads as a QuorinUser (the role inside the role);
    // a user in no role stays refused.
    MyADO chief, outsider;
    ASSERT_EQ(chief.SetDataSource(folder.c_str(), "chief", kUserPassword, "Quorin"), 1);
    EXPECT_EQ(scalar(chief, "select count(*) as v from subjects"), "1");
    ASSERT_EQ(outsider.SetDataSource(folder.c_str(), "outsider", kUserPassword, "Quorin"), 1);
    EXPECT_EQ(outcome(outsider, "select count(*) as v from subjects"), 229);

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
    boxes.clear();
    third.BindIntParam("@id", std::stoi(id));
    EXPECT_EQ(third.RunStoredProcedure("uspLoadSubjectbyId"), 0);
    ASSERT_FALSE(boxes.provider().empty());
    EXPECT_EQ(boxes.provider().back().number, 229);
}

TEST_F(OldRegistry, AFailedUpgradeChangesNothingAndLetsOnlyTheAdministratorIn)
{
    // A roles script naming a procedure the old database does not have stops the
    // upgrade of that database; the transaction leaves its catalogue as it was.
    rawExec(folder, "Quorin", "DELETE FROM sys_procedures WHERE name = 'uspUpdatePers'");
    const std::string oldQuorin = principalsAndMembers(folder, "Quorin");
    // A first connection shows no box; the session keeps what the server said.
    struct Session : MyADO {
        using MyADO::GetConnectionErrors;
    } staff;
    EXPECT_EQ(staff.SetDataSource(folder.c_str(), "jsmith", kUserPassword, "Quorin"), 0);
    const auto errors = staff.GetConnectionErrors();
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors.back().message.find("cannot add the roles and permissions"), std::string::npos)
        << errors.back().message;
    EXPECT_EQ(rawText(folder, "Quorin", "SELECT count(*) FROM sqlite_schema WHERE name = 'sys_permissions'"), "0\n");
    EXPECT_EQ(principalsAndMembers(folder, "Quorin"), oldQuorin);
    MyADO owner;
    ASSERT_EQ(owner.SetDataSource(folder.c_str(), kOwner, kOwnerPassword, "Quorin"), 1);
    EXPECT_EQ(scalar(owner, "select count(*) as v from subjects"), "1");
}

} // namespace
