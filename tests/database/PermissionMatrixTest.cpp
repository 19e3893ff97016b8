// What each kind of login may do in the three databases, against what the SQL Server
// roles scripts grant: the expectations are read from database/mssql/04 to 06 (the
// same statements the embedded engine ran to make the registry), not written here.
// Every procedure of the contract and SELECT / INSERT / UPDATE / DELETE on every table,
// through the session's own database and through three-part names from the others.

#include "database/ContractTable.h"
#include "database/RegistryFixture.h"
#include "support/RawRegistry.h"

#include "dalport/Registry.h"

#include <cctype>
#include <map>
#include <set>
#include <sstream>

namespace quorin::test {

namespace {

constexpr const char* kPassword = "Matrix-Pass1";
const char* const kDatabases[] = {"Quorin", "Aud", "CID"};

// The grants of the three scripts, per database (lower case names throughout).
struct GrantScripts {
    struct Grant {
        std::string permission; // SELECT, UPDATE, ..., ALTER ANY USER
        std::string object;     // "" for SCHEMA::dbo and for the database
        std::string column;     // "" for the whole object
        std::string grantee;
    };
    std::map<std::string, std::vector<Grant>> grants;
    std::map<std::string, std::multimap<std::string, std::string>> memberOf; // db -> member -> role

    GrantScripts()
    {
        for (const char* file : {"mssql/04-quorin-roles.sql", "mssql/05-aud-standin.sql", "mssql/06-cid-standin.sql"})
            read(readSourceFile(file));
    }

    // The statements of a script without comments, GO lines and extra blanks.
    static std::vector<std::string> statements(const std::string& script)
    {
        std::vector<std::string> out(1);
        std::istringstream lines(script);
        for (std::string line; std::getline(lines, line);) {
            line = trim(line.substr(0, line.find("--")));
            if (upper(line) == "GO") {
                out.emplace_back();
                continue;
            }
            for (char c : line + " ") {
                if (c == ';')
                    out.emplace_back();
                else if (!std::isspace(static_cast<unsigned char>(c)))
                    out.back() += c;
                else if (!out.back().empty() && out.back().back() != ' ')
                    out.back() += ' ';
            }
        }
        for (std::string& st : out)
            st = trim(st);
        return out;
    }

    static std::string trim(const std::string& t)
    {
        const auto b = t.find_first_not_of(" \t\r\n");
        return b == std::string::npos ? "" : t.substr(b, t.find_last_not_of(" \t\r\n") - b + 1);
    }
    static std::string upper(std::string t)
    {
        for (char& c : t)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return t;
    }
    static std::string unquote(std::string t)
    {
        t = trim(t);
        if (t.size() >= 2 && t.front() == '\'' && t.back() == '\'')
            t = t.substr(1, t.size() - 2);
        return lowerCase(t);
    }

    void read(const std::string& script)
    {
        std::string db;
        for (const std::string& st : statements(script)) {
            const std::string up = upper(st);
            if (up.rfind("USE ", 0) == 0) {
                db = lowerCase(trim(st.substr(4)));
            } else if (up.rfind("EXEC SP_ADDROLEMEMBER ", 0) == 0) {
                const std::string args = st.substr(22);
                const auto comma = args.find(',');
                memberOf[db].emplace(unquote(args.substr(comma + 1)), unquote(args.substr(0, comma)));
            } else if (up.rfind("GRANT ", 0) == 0) {
                const auto to = up.rfind(" TO ");
                const std::string grantee = lowerCase(trim(st.substr(to + 4)));
                const auto on = up.find(" ON ");
                if (on == std::string::npos || on > to) {
                    for (const std::string& p : split(st.substr(6, to - 6)))
                        grants[db].push_back({p, "", "", grantee});
                    continue;
                }
                std::string target = trim(st.substr(on + 4, to - on - 4));
                std::vector<std::string> columns{""};
                if (const auto open = target.find('('); open != std::string::npos) {
                    columns = split(target.substr(open + 1, target.find(')') - open - 1));
                    for (std::string& c : columns)
                        c = lowerCase(c);
                    target = trim(target.substr(0, open));
                }
                std::string object;
                if (upper(target) != "SCHEMA::DBO") {
                    EXPECT_EQ(upper(target).rfind("DBO.", 0), 0u) << st;
                    object = lowerCase(target.substr(4));
                }
                for (const std::string& p : split(st.substr(6, on - 6)))
                    for (const std::string& c : columns)
                        grants[db].push_back({p, object, c, grantee});
            }
        }
    }

    static std::vector<std::string> split(const std::string& list)
    {
        std::vector<std::string> out;
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t end = list.find(',', start);
            if (end == std::string::npos)
                end = list.size();
            const std::string item = trim(list.substr(start, end - start));
            if (!item.empty())
                out.push_back(upper(item));
            start = end + 1;
        }
        return out;
    }

    std::set<std::string> principals(const std::string& db, const std::string& role) const
    {
        std::set<std::string> all;
        if (role.empty())
            return all;
        std::vector<std::string> todo{lowerCase(role)};
        while (!todo.empty()) {
            const std::string p = todo.back();
            todo.pop_back();
            if (!all.insert(p).second)
                continue;
            if (auto it = memberOf.find(db); it != memberOf.end())
                for (auto [b, e] = it->second.equal_range(p); b != e; ++b)
                    todo.push_back(b->second);
        }
        return all;
    }

    // 0 allowed, 229 refused, 230 refused for this column while others are granted.
    int expected(const std::string& db, const std::string& role, const std::string& permission,
                 const std::string& object, const std::string& column = "") const
    {
        const auto who = principals(db, role);
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

class PermissionMatrix : public BareRegistryTest {
protected:
    void SetUp() override
    {
        BareRegistryTest::SetUp();
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
    ASSERT_FALSE(grants.grants.at("quorin").empty());
    ASSERT_FALSE(grants.grants.at("aud").empty());
    ASSERT_FALSE(grants.grants.at("cid").empty());
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
                    const std::string table = lowerCase(t.name);
                    const std::string column = "[" + t.firstColumn + "]";
                    auto expect = [&](const std::string& sql, int wanted) {
                        const long got = errorOf(*db, sql);
                        const long want = who.role ? wanted : 0;
                        EXPECT_EQ(got, want) << who.login << " in " << from << ": " << sql;
                        ++checked;
                    };
                    auto worst = [](int a, int b) { return a ? a : b; };
                    const int select = grants.expected(lowerOwner, role, "SELECT", table, lowerCase(t.firstColumn));
                    expect("SELECT COUNT(*) AS num FROM " + name, select);
                    expect("DELETE FROM " + name + " WHERE 1 = 0", grants.expected(lowerOwner, role, "DELETE", table));
                    expect("INSERT INTO " + name + " SELECT * FROM " + name + " WHERE 1 = 0",
                           worst(select, grants.expected(lowerOwner, role, "INSERT", table)));
                    expect("UPDATE " + name + " SET " + column + " = " + column + " WHERE 1 = 0",
                           worst(select, grants.expected(lowerOwner, role, "UPDATE", table, lowerCase(t.firstColumn))));
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
    // The one column of participationhistory staff may change, the status column of Aud's info.
    EXPECT_EQ(grantScripts().expected("quorin", "QuorinUser", "UPDATE", "participationhistory", "contacted"), 0);
    EXPECT_EQ(errorOf(*db, "UPDATE participationhistory SET Contacted = Contacted WHERE 1 = 0"), 0);
    EXPECT_EQ(grantScripts().expected("aud", "QuorinUser", "UPDATE", "info", "velmar"), 0);
    EXPECT_EQ(errorOf(*db, "UPDATE Aud.dbo.info SET Velmar = Velmar WHERE 1 = 0"), 0);
    EXPECT_EQ(errorOf(*db, "UPDATE Aud.dbo.info SET LastName = LastName WHERE 1 = 0"), 230);
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

TEST_F(PermissionMatrix, ALoginWithAUserInQuorinOnlyIsKeptOutOfAudAndCid)
{
    dalport::CreateLogin(folder(), "onlyquorin", kPassword);
    dalport::CreateDatabaseUser(folder(), "Quorin", "onlyquorin", "QuorinUser");
    MyADO db;
    ASSERT_EQ(db.SetDataSource(folder().c_str(), "onlyquorin", kPassword, "Quorin"), 1);
    EXPECT_EQ(errorOf(db, "SELECT COUNT(*) AS num FROM CID.dbo.patient"), 916);
    EXPECT_EQ(errors().back().message, "The server principal \"onlyquorin\" is not able to access the database \"CID\" "
                                       "under the current security context.");
    EXPECT_EQ(errorOf(db, "UPDATE Aud.dbo.Info SET Velmar = 'x'"), 916);
    MyADO cid;
    EXPECT_EQ(cid.SetDataSource(folder().c_str(), "onlyquorin", kPassword, "CID"), 0);
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
