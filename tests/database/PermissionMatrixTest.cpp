// What each kind of login may do in the three databases, against what the SQL Server
// roles scripts grant: the expectations are read from database/mssql/04 to 06 (the
// same statements the embedded engine ran to make the registry), not written here.
// Every procedure of the contract and SELECT / INSERT / UPDATE / DELETE on every table,
// through the session's own database and through three-part names from the others.

#include "database/ContractTable.h"
#include "database/RegistryFixture.h"
#include "support/RawRegistry.h"

#include "dalport/Registry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

namespace quorin::test {

namespace {

constexpr const char* kPassword = "Matrix-Pass1";
const char* const kDatabases[] = {"Quorin", "Aud", "CID"};

// The grants of the three scripts, per database (lower case names, permissions as the
// scripts write them). Each security statement there is one line; one the reader missed
// would show as a grant the embedded catalogue holds and the scripts do not.
struct GrantScripts {
    struct Grant {
        std::string permission; // SELECT, UPDATE, ..., ALTER ANY USER
        std::string object;     // "" for SCHEMA::dbo and for the database
        std::string column;     // "" for the whole object
        std::string grantee;
    };
    std::map<std::string, std::vector<Grant>> grants;
    std::map<std::string, std::vector<Grant>> denies; // a DENY wins over every GRANT
    std::map<std::string, std::multimap<std::string, std::string>> memberOf; // db -> member -> role

    GrantScripts()
    {
        for (const char* file : {"mssql/04-quorin-roles.sql", "mssql/05-aud-standin.sql", "mssql/06-cid-standin.sql"}) {
            std::istringstream lines(readSourceFile(file));
            std::string db;
            for (std::string line; std::getline(lines, line);) {
                line = trim(line.substr(0, line.find("--")));
                if (line.empty() || line.back() != ';')
                    continue;
                line.pop_back();
                const std::string up = upper(line);
                if (up.rfind("USE ", 0) == 0)
                    db = lowerCase(trim(line.substr(4)));
                else if (up.rfind("EXEC SP_ADDROLEMEMBER ", 0) == 0)
                    addMember(db, line);
                else if (up.rfind("GRANT ", 0) == 0)
                    addGrant(grants[db], line.substr(6), up.substr(6));
                else if (up.rfind("DENY ", 0) == 0)
                    addGrant(denies[db], line.substr(5), up.substr(5));
            }
        }
    }

    // "EXEC sp_addrolemember 'role', 'member'"
    void addMember(const std::string& db, const std::string& line)
    {
        std::vector<std::string> quoted;
        for (auto open = line.find('\''); open != std::string::npos; open = line.find('\'', line.find('\'', open + 1) + 1))
            quoted.push_back(lowerCase(line.substr(open + 1, line.find('\'', open + 1) - open - 1)));
        if (quoted.size() == 2)
            memberOf[db].emplace(quoted[1], quoted[0]);
    }

    // "p1, p2 [ON SCHEMA::dbo | ON dbo.object [(c1, c2)]] TO grantee", after GRANT or DENY
    static void addGrant(std::vector<Grant>& into, const std::string& line, const std::string& up)
    {
        const auto to = up.rfind(" TO ");
        const auto on = std::min(up.find(" ON "), to);
        std::string target = on < to ? trim(line.substr(on + 4, to - on - 4)) : "";
        std::vector<std::string> columns{""};
        if (const auto open = target.find('('); open != std::string::npos) {
            columns = list(lowerCase(target.substr(open + 1, target.find(')') - open - 1)));
            target = trim(target.substr(0, open));
        }
        const std::string object = upper(target).rfind("DBO.", 0) == 0 ? lowerCase(target.substr(4)) : "";
        for (const std::string& p : list(line.substr(0, on)))
            for (const std::string& c : columns)
                into.push_back({p, object, c, lowerCase(trim(line.substr(to + 4)))});
    }

    static std::string trim(const std::string& t)
    {
        const auto b = t.find_first_not_of(" \t\r");
        return b == std::string::npos ? "" : t.substr(b, t.find_last_not_of(" \t\r") - b + 1);
    }

    static std::string upper(std::string t)
    {
        for (char& c : t)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return t;
    }

    static std::vector<std::string> list(const std::string& commaSeparated)
    {
        std::vector<std::string> items;
        std::istringstream in(commaSeparated);
        for (std::string item; std::getline(in, item, ',');)
            items.push_back(item.substr(item.find_first_not_of(' ')));
        return items;
    }

    // The role and the roles it is a member of, in the database; none for "".
    std::set<std::string> principals(const std::string& db, const std::string& role) const
    {
        std::set<std::string> all;
        if (role.empty())
            return all;
        all.insert(lowerCase(role));
        if (const auto roles = memberOf.find(db); roles != memberOf.end())
            for (auto [b, e] = roles->second.equal_range(lowerCase(role)); b != e; ++b)
                all.insert(b->second);
        return all;
    }

    // 0 allowed, 229 refused, 230 refused for this column while others are granted.
    int expected(const std::string& db, const std::string& role, const std::string& permission,
                 const std::string& object, const std::string& column = "") const
    {
        const auto who = principals(db, role);
        if (const auto denied = denies.find(db); denied != denies.end())
            for (const Grant& d : denied->second)
                if (who.count(d.grantee) && d.permission == permission && (d.object.empty() || d.object == object))
                    return 229;
        bool someColumn = false;
        auto it = grants.find(db);
        if (it == grants.end())
            return 229;
        for (const Grant& g : it->second) {
            if (!who.count(g.grantee) || g.permission != permission)
                continue;
            if (g.object.empty() || (g.object == object && (g.column.empty() || g.column == column)))
                return 0;
            if (g.object == object)
                someColumn = true;
        }
        return someColumn ? 230 : 229;
    }
};

const GrantScripts& grantScripts()
{
    static const GrantScripts scripts;
    return scripts;
}

struct LoginKind {
    const char* login;
    const char* role; // "" none, nullptr server administrator
};

// On a registry of the bare scripts.
class PermissionMatrix : public RegistryTest {
protected:
    PermissionMatrix() : RegistryTest(false) {}
    void SetUp() override
    {
        RegistryTest::SetUp();
        for (const char* login : {"norole", "staff", "boss"})
            dalport::CreateLogin(folder(), login, kPassword);
        for (const char* db : kDatabases) {
            dalport::CreateDatabaseUser(folder(), db, "norole", "");
            dalport::CreateDatabaseUser(folder(), db, "staff", "QuorinUser");
            dalport::CreateDatabaseUser(folder(), db, "boss", "QuorinAdmin");
        }
        RawRegistry raw(folder());
        for (const char* db : kDatabases) {
            const std::string schema = std::string(db) == "Quorin" ? "main" : db;
            for (const auto& row : raw.rows("SELECT name FROM " + schema + ".sqlite_schema WHERE type = 'table' AND "
                                           "name NOT LIKE 'sys!_%' ESCAPE '!' AND name NOT LIKE 'sqlite!_%' ESCAPE '!'")) {
                const std::string table = *row[0];
                const auto first = raw.rows("SELECT name FROM pragma_table_info('" + table + "', '" + schema + "')");
                m_tables[db].push_back({table, *first.front()[0]});
            }
        }
    }

    std::unique_ptr<MyADO> session(const LoginKind& who, const char* database)
    {
        return who.role ? connect(database, who.login, kPassword) : connect(database);
    }

    struct Table {
        std::string name;
        std::string firstColumn;
    };
    std::map<std::string, std::vector<Table>> m_tables;
};

TEST_F(PermissionMatrix, EveryLoginKindGetsWhatTheRolesScriptsGrantOnEveryTableAndProcedure)
{
    const LoginKind kinds[] = {{"norole", ""}, {"staff", "QuorinUser"}, {"boss", "QuorinAdmin"}, {"admin", nullptr}};
    const auto& grants = grantScripts();
    for (const char* db : {"quorin", "aud", "cid"})
        ASSERT_FALSE(grants.grants.at(db).empty()) << db;
    int checked = 0;
    for (const LoginKind& who : kinds) {
        const std::string role = who.role ? who.role : "";
        for (const char* from : kDatabases) {
            auto db = session(who, from);
            ASSERT_TRUE(db->IsConnected());
            for (const char* owner : kDatabases) {
                const std::string prefix = std::string(owner) == from ? "dbo." : std::string(owner) + ".dbo.";
                const std::string lowerOwner = lowerCase(owner);
                for (const Table& t : m_tables[owner]) {
                    const std::string name = prefix + "[" + t.name + "]";
                    const std::string column = "[" + t.firstColumn + "]";
                    const auto granted = [&](const char* permission, const std::string& onColumn = "") {
                        return grants.expected(lowerOwner, role, permission, lowerCase(t.name), lowerCase(onColumn));
                    };
                    // Copying and updating rows read them too.
                    const int select = granted("SELECT", t.firstColumn);
                    const std::pair<std::string, int> statements[] = {
                        {"SELECT COUNT(*) AS num FROM " + name, select},
                        {"DELETE FROM " + name + " WHERE 1 = 0", granted("DELETE")},
                        {"INSERT INTO " + name + " SELECT * FROM " + name + " WHERE 1 = 0", select ? select : granted("INSERT")},
                        {"UPDATE " + name + " SET " + column + " = " + column + " WHERE 1 = 0",
                         select ? select : granted("UPDATE", t.firstColumn)},
                    };
                    for (const auto& [sql, wanted] : statements) {
                        EXPECT_EQ(errorOf(*db, sql), who.role ? wanted : 0) << who.login << " in " << from << ": " << sql;
                        ++checked;
                    }
                }
            }
            // Procedures live in Quorin: called without arguments, an allowed call fails
            // only for the missing arguments (201) and a refused one with 229. The engine
            // runs them from Quorin's sessions only (their bodies name Quorin's tables).
            if (std::string(from) != "Quorin")
                continue;
            for (const ContractProcedure& proc : loadContract()) {
                const int wanted = grants.expected("quorin", role, "EXECUTE", lowerCase(proc.name));
                for (const char* prefix : {"dbo.", "Quorin.dbo."}) {
                    const long got = errorOf(*db, "EXEC " + std::string(prefix) + proc.name);
                    if (!who.role || wanted == 0)
                        EXPECT_TRUE(got == 0 || got == 201) << who.login << ": " << proc.name << " " << got;
                    else
                        EXPECT_EQ(got, 229) << who.login << ": " << proc.name;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST_F(PermissionMatrix, ColumnGrantsAndCatalogueViewsAsTheScriptsSay)
{
    const LoginKind staff{"staff", "QuorinUser"};
    auto db = session(staff, "Quorin");
    // The one column of participationhistory staff may change, the status column of Aud's
    // info (the matrix changes only each table's first column, refused with 230).
    EXPECT_EQ(errorOf(*db, "UPDATE participationhistory SET Contacted = Contacted WHERE 1 = 0"), 0);
    EXPECT_EQ(errorOf(*db, "UPDATE Aud.dbo.info SET Velmar = Velmar WHERE 1 = 0"), 0);
    // Every user of a database reads its catalogue, the grants included.
    auto norole = session({"norole", ""}, "CID");
    EXPECT_EQ(errorOf(*norole, "SELECT COUNT(*) AS num FROM sys.database_permissions"), 0);
    EXPECT_EQ(errorOf(*norole, "SELECT COUNT(*) AS num FROM Quorin.sys.database_principals"), 0);
}

TEST_F(PermissionMatrix, TheEmbeddedCatalogueHoldsExactlyTheScriptsGrants)
{
    for (const char* db : kDatabases) {
        auto admin = connect(db);
        std::multiset<std::string> stored;
        ASSERT_EQ(admin->RunTextQuery("SELECT permission_name, object_name, column_name, grantee_name FROM "
                                      "sys.database_permissions WHERE state = 'G'"),
                  1);
        for (; !admin->IsEOF(); admin->MoveNext())
            stored.insert(admin->GetStringField("permission_name") + "|" + lowerCase(admin->GetStringField("object_name"))
                          + "|" + lowerCase(admin->GetStringField("column_name")) + "|"
                          + lowerCase(admin->GetStringField("grantee_name")));
        std::multiset<std::string> scripted;
        for (const auto& g : grantScripts().grants.at(lowerCase(db)))
            scripted.insert(g.permission + "|" + (g.object.empty() && g.permission.rfind("ALTER", 0) != 0 ? "dbo" : g.object)
                            + "|" + g.column + "|" + g.grantee);
        EXPECT_EQ(stored, scripted) << db;
    }
}

TEST_F(PermissionMatrix, AProcedureRunsOnlyFromItsOwnDatabasesSessionNeverOnAnothersTables)
{
    auto aud = connect("Aud");
    EXPECT_EQ(errorOf(*aud, "EXEC Quorin.dbo.uspLoadSpeech 1"), 50000);
    EXPECT_EQ(errors().back().message,
              "The embedded engine runs the procedure uspLoadSpeech of database Quorin only from a session connected "
              "to Quorin.");
    auto cidStaff = session({"staff", "QuorinUser"}, "CID");
    EXPECT_EQ(errorOf(*cidStaff, "EXEC Quorin.dbo.uspCreateNewUser 'x', 'x', 'x', 'x', '', '', 0"), 229);
}

} // namespace

} // namespace quorin::test
