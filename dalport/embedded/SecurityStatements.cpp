// The security statements of T-SQL on the engine's catalogue: logins in master, users,
// roles, schemas and grants in each database, each with the permission SQL Server asks
// for it.
//
// ALTER ANY LOGIN is a server permission that no database role carries. On this server
// the members of the host's login-administrator role in its registry database (the
// registry profile) hold it for every login that is not a server administrator (the same
// role in another database does not), as a SQL Server's administrator grants it to each
// of the registry's administrators; nobody else but a server administrator holds it.

#include "dalport/embedded/EngineConnection.h"

#include "dalport/RegistryProfile.h"
#include "dalport/embedded/PasswordHash.h"
#include "dalport/embedded/PasswordPolicy.h"
#include "dalport/embedded/Statement.h"
#include "dalport/embedded/Tokenizer.h"

#include <algorithm>

namespace dalport::embedded {

namespace {


// Runs one internal statement with text parameters.
void run(sqlite3* db, const char* sql, std::initializer_list<std::string> args, std::string* firstColumn = nullptr,
         bool* hadRow = nullptr)
{
    Statement s(db, sql, args);
    const bool row = s.step();
    if (hadRow)
        *hadRow = row;
    if (row && firstColumn)
        *firstColumn = s.text(0);
}

EngineError cannotAlterRole(const std::string& role)
{
    return EngineError{15151, 16, 1,
                       "Cannot alter the role '" + role + "', because it does not exist or you do not have permission."};
}

EngineError cannotFind(const std::string& what, const std::string& name)
{
    return EngineError{15151, 16, 1, "Cannot find the " + what + " '" + name
                                          + "', because it does not exist or you do not have permission."};
}

// SQL Server's rule: a login that must change its password is under the password policy
// and its expiration, so that the new password is checked too.
void requireMustChangeOptions(bool mustChange, bool policy, bool expiration)
{
    if (mustChange && (!policy || !expiration))
        throw EngineError{15128, 16, 1,
                          "The CHECK_POLICY and CHECK_EXPIRATION options cannot be turned OFF when MUST_CHANGE is ON."};
}

bool isObjectPermission(const std::string& p)
{
    return p == "SELECT" || p == "INSERT" || p == "UPDATE" || p == "DELETE" || p == "EXECUTE";
}

bool isDatabasePermission(const std::string& p)
{
    return p == "ALTER ANY USER" || p == "ALTER ANY ROLE" || p == "ALTER ANY SCHEMA";
}

} // namespace

bool EngineConnection::principalExists(const std::string& name, const char* type)
{
    InternalScope internal(*this);
    bool found = false;
    if (type)
        run(m_db, "SELECT 1 FROM main.sys_database_principals WHERE name = ?1 AND type = ?2", {name, type}, nullptr,
            &found);
    else
        run(m_db, "SELECT 1 FROM main.sys_database_principals WHERE name = ?1", {name}, nullptr, &found);
    return found;
}

bool EngineConnection::loginExists(const std::string& name, std::string* hash)
{
    InternalScope internal(*this);
    bool found = false;
    std::string h;
    run(m_db, "SELECT password_hash FROM master.logins WHERE name = ?1", {name}, &h, &found);
    if (hash)
        *hash = h;
    return found;
}

bool EngineConnection::loginIsServerAdmin(const std::string& name)
{
    InternalScope internal(*this);
    bool found = false;
    run(m_db, "SELECT 1 FROM master.logins WHERE name = ?1 AND is_admin <> 0", {name}, nullptr, &found);
    return found;
}

void EngineConnection::requireServerAdmin() const
{
    if (!m_context.serverAdmin)
        throw errors::noSecurityPermission();
}

bool EngineConnection::isLoginAdmin()
{
    if (m_context.serverAdmin)
        return true;
    const RegistryProfile& profile = CurrentRegistryProfile();
    if (profile.loginAdminRole.empty() || profile.loginAdminDatabase.empty())
        return false;
    const std::string schema = catalog().schemaFor(profile.loginAdminDatabase);
    return !schema.empty() && isRoleMember(schema, profile.loginAdminRole);
}

void EngineConnection::requireLoginAdmin()
{
    if (!isLoginAdmin())
        throw errors::noSecurityPermission();
}

void EngineConnection::requireDatabasePermission(const std::string& schema, const std::string& permission,
                                                 const EngineError& refusal)
{
    if (!holdsPermission(schema, "DATABASE", "", "", permission))
        throw refusal;
}

namespace {

struct VisibleLogins {
    std::string login;
    bool all = false;
};

void loginVisibleFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const auto* visible = static_cast<const VisibleLogins*>(sqlite3_user_data(ctx));
    const unsigned char* name = sqlite3_value_text(argv[0]);
    sqlite3_result_int(ctx, visible->all
                                || (name && equalsIgnoreCase(reinterpret_cast<const char*>(name), visible->login)));
}

} // namespace

void EngineConnection::restrictCatalogueViews()
{
    InternalScope internal(*this);
    auto* visible = new VisibleLogins{m_context.login, isLoginAdmin()};
    sqlite3_create_function_v2(m_db, "tsql_login_visible", 1, SQLITE_UTF8, visible, loginVisibleFunction, nullptr,
                               nullptr, [](void* p) { delete static_cast<VisibleLogins*>(p); });
}

void EngineConnection::runSecurity(const SecurityStatement& s)
{
    using K = SecurityStatement::Kind;
    InternalScope internal(*this);
    const bool loginAdmin = isLoginAdmin();
    switch (s.kind) {
    case K::CreateLogin: {
        requireLoginAdmin();
        if (loginExists(s.name))
            throw errors::principalExists(s.name);
        const bool policy = s.checkPolicy.value_or(true);
        const bool expiration = s.checkExpiration.value_or(false);
        requireMustChangeOptions(s.mustChange, policy, expiration);
        checkPasswordPolicy(s.name, *s.password, policy);
        run(m_db, "INSERT INTO master.logins(name, password_hash, check_policy, is_admin, check_expiration, "
                  "must_change) VALUES (?1, ?2, ?3, 0, ?4, ?5)",
            {s.name, hashPassword(*s.password), policy ? "1" : "0", expiration ? "1" : "0", s.mustChange ? "1" : "0"});
        break;
    }
    case K::AlterLogin: {
        std::string hash;
        const bool exists = loginExists(s.name, &hash);
        const bool own = equalsIgnoreCase(s.name, m_context.login);
        // Anyone may change the own password by giving the old one; nothing else.
        const bool ownPasswordChange =
            own && s.password && s.oldPassword && !s.checkPolicy && !s.checkExpiration && !s.mustChange;
        // A database's administrators manage staff logins, never a server administrator:
        // that would hand them the whole server.
        const bool mayAlter = m_context.serverAdmin || (loginAdmin && exists && !loginIsServerAdmin(s.name));
        if (!exists || (!mayAlter && !ownPasswordChange))
            throw errors::cannotAlterLogin(s.name);
        if (s.oldPassword && !verifyPassword(hash, *s.oldPassword))
            throw errors::cannotAlterLogin(s.name);
        const auto flag = [&](const char* column) {
            std::string stored;
            run(m_db, (std::string("SELECT ") + column + " FROM master.logins WHERE name = ?1").c_str(), {s.name},
                &stored);
            return stored != "0";
        };
        const bool policy = s.checkPolicy.value_or(flag("check_policy"));
        const bool expiration = s.checkExpiration.value_or(flag("check_expiration"));
        // A new password ends the duty to change it, unless the statement sets it again.
        const bool mustChange = s.password ? s.mustChange : flag("must_change");
        requireMustChangeOptions(mustChange, policy, expiration);
        if (s.password) {
            checkPasswordPolicy(s.name, *s.password, policy);
            run(m_db, "UPDATE master.logins SET password_hash = ?2, must_change = ?3 WHERE name = ?1",
                {s.name, hashPassword(*s.password), mustChange ? "1" : "0"});
        }
        run(m_db, "UPDATE master.logins SET check_policy = ?2, check_expiration = ?3 WHERE name = ?1",
            {s.name, policy ? "1" : "0", expiration ? "1" : "0"});
        break;
    }
    case K::DropLogin:
        if (!loginExists(s.name) || !loginAdmin || (!m_context.serverAdmin && loginIsServerAdmin(s.name)))
            throw errors::cannotDrop("login", s.name);
        if (equalsIgnoreCase(s.name, m_context.login))
            throw EngineError{15434, 16, 1, "Could not drop login '" + s.name + "' as the user is currently logged in."};
        run(m_db, "DELETE FROM master.logins WHERE name = ?1", {s.name});
        break;
    case K::CreateUser:
        requireDatabasePermission("main", "ALTER ANY USER", errors::noSecurityPermission());
        if (!loginExists(s.name))
            throw errors::notAValidLogin(s.name);
        if (principalExists(s.name, nullptr))
            throw errors::userExists(s.name);
        run(m_db, "INSERT INTO main.sys_database_principals(name, type) VALUES (?1, 'S')", {s.name});
        break;
    case K::DropUser:
        requireDatabasePermission("main", "ALTER ANY USER", errors::cannotDrop("user", s.name));
        if (!principalExists(s.name, "S"))
            throw errors::cannotDrop("user", s.name);
        run(m_db, "DELETE FROM main.sys_role_members WHERE member = ?1", {s.name});
        run(m_db, "DELETE FROM main.sys_permissions WHERE grantee = ?1", {s.name});
        run(m_db, "DELETE FROM main.sys_database_principals WHERE name = ?1", {s.name});
        break;
    case K::DropSchema: {
        requireDatabasePermission("main", "ALTER ANY SCHEMA", errors::cannotDrop("schema", s.name));
        bool found = false;
        run(m_db, "SELECT 1 FROM main.sys_schemas WHERE name = ?1", {s.name}, nullptr, &found);
        if (!found || equalsIgnoreCase(s.name, "dbo") || equalsIgnoreCase(s.name, "sys"))
            throw errors::cannotDrop("schema", s.name);
        run(m_db, "DELETE FROM main.sys_schemas WHERE name = ?1", {s.name});
        break;
    }
    case K::AddRoleMember:
    case K::DropRoleMember:
        requireDatabasePermission("main", "ALTER ANY ROLE", cannotAlterRole(s.role));
        if (!principalExists(s.role, "R"))
            throw errors::roleNotFound(s.role);
        if (!principalExists(s.name, nullptr))
            throw errors::roleNotFound(s.name);
        if (equalsIgnoreCase(s.role, s.name))
            throw cannotAlterRole(s.role); // a role is never its own member
        if (s.kind == K::AddRoleMember)
            run(m_db, "INSERT OR IGNORE INTO main.sys_role_members(role, member) VALUES (?1, ?2)", {s.role, s.name});
        else
            run(m_db, "DELETE FROM main.sys_role_members WHERE role = ?1 AND member = ?2", {s.role, s.name});
        break;
    case K::CreateRole:
        requireServerAdmin();
        if (principalExists(s.role, nullptr))
            throw errors::userExists(s.role);
        run(m_db, "INSERT INTO main.sys_database_principals(name, type) VALUES (?1, 'R')", {s.role});
        break;
    case K::DropRole:
        requireServerAdmin();
        if (!principalExists(s.role, "R"))
            throw errors::cannotDrop("role", s.role);
        run(m_db, "DELETE FROM main.sys_role_members WHERE role = ?1 OR member = ?1", {s.role});
        run(m_db, "DELETE FROM main.sys_permissions WHERE grantee = ?1", {s.role});
        run(m_db, "DELETE FROM main.sys_database_principals WHERE name = ?1", {s.role});
        break;
    case K::Grant:
    case K::Deny:
    case K::Revoke:
        runPermissionStatement(s);
        break;
    }
    invalidateRights();
}

// GRANT, DENY and REVOKE, by server administrators (the scripts' sysadmin) only. A
// GRANT replaces a DENY of the same permission to the same principal and the other way
// round; REVOKE removes either.
void EngineConnection::runPermissionStatement(const SecurityStatement& s)
{
    using Sec = SecurityStatement::Securable;
    for (const std::string& p : s.permissions) {
        const bool known = s.securable == Sec::Database ? isDatabasePermission(p) : isObjectPermission(p);
        if (!known)
            throw errors::syntaxNear(p);
    }
    std::string securable = "DATABASE";
    std::string object;
    if (s.securable == Sec::Schema) {
        if (!equalsIgnoreCase(s.name, "dbo"))
            throw cannotFind("schema", s.name);
        securable = "SCHEMA";
        object = "dbo";
    } else if (s.securable == Sec::Object) {
        securable = "OBJECT_OR_COLUMN";
        const TableInfo* table = catalog().currentTable(s.name);
        bool procedure = false;
        run(m_db, "SELECT 1 FROM main.sys_procedures WHERE name = ?1", {s.name}, nullptr, &procedure);
        if (!table && !procedure)
            throw cannotFind("object", s.name);
        object = table ? table->name : s.name;
        for (const std::string& c : s.columns)
            if (!table || !table->column(c))
                throw EngineError{207, 16, 1, "Invalid column name '" + c + "'."};
        for (const std::string& p : s.permissions) {
            const bool fits = procedure ? p == "EXECUTE" : (isObjectPermission(p) && p != "EXECUTE");
            if (!fits || (!s.columns.empty() && p != "SELECT" && p != "UPDATE"))
                throw EngineError{4606, 16, 1, "Granted or revoked privilege " + p + " is not compatible with object."};
        }
    }
    requireServerAdmin();
    for (const std::string& grantee : s.principals)
        if (!principalExists(grantee, nullptr))
            throw cannotFind("user", grantee);

    std::vector<std::string> columns = s.columns;
    if (columns.empty())
        columns.emplace_back();
    for (const std::string& grantee : s.principals) {
        for (const std::string& p : s.permissions) {
            for (const std::string& c : columns) {
                if (s.kind == SecurityStatement::Kind::Revoke)
                    run(m_db, "DELETE FROM main.sys_permissions WHERE class_desc = ?1 AND major_name = ?2 AND "
                              "minor_name = ?3 AND permission_name = ?4 AND grantee = ?5",
                        {securable, object, c, p, grantee});
                else
                    run(m_db, "INSERT OR REPLACE INTO main.sys_permissions(class_desc, major_name, minor_name, "
                              "permission_name, state, grantee) VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
                        {securable, object, c, p, s.kind == SecurityStatement::Kind::Deny ? "D" : "G", grantee});
            }
        }
    }
}

} // namespace dalport::embedded
