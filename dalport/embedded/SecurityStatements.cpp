// The security statements of T-SQL on the engine's catalogue: logins in master, users,
// roles and schemas in each database.

#include "dalport/embedded/EngineConnection.h"

#include "dalport/embedded/PasswordHash.h"
#include "dalport/embedded/Statement.h"
#include "dalport/embedded/Tokenizer.h"

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

void EngineConnection::requireSecurityAdmin() const
{
    if (!isSecurityAdmin())
        throw errors::noSecurityPermission();
}

void EngineConnection::runSecurity(const SecurityStatement& s)
{
    using K = SecurityStatement::Kind;
    InternalScope internal(*this);
    switch (s.kind) {
    case K::CreateLogin: {
        requireSecurityAdmin();
        if (loginExists(s.name))
            throw errors::principalExists(s.name);
        const bool policy = s.checkPolicy.value_or(true);
        if (policy && s.password->empty())
            throw errors::emptyPassword();
        run(m_db, "INSERT INTO master.logins(name, password_hash, check_policy, is_admin) VALUES (?1, ?2, ?3, 0)",
            {s.name, hashPassword(*s.password), policy ? "1" : "0"});
        break;
    }
    case K::AlterLogin: {
        std::string hash;
        const bool exists = loginExists(s.name, &hash);
        const bool own = equalsIgnoreCase(s.name, m_context.login);
        // Anyone may change the own password by giving the old one.
        const bool ownPasswordChange = own && s.password && s.oldPassword && !s.checkPolicy;
        if (!isSecurityAdmin() && !ownPasswordChange)
            throw errors::noSecurityPermission();
        // A database's administrators manage staff logins, never the server's
        // administrator: that would hand them the whole server.
        if (!exists || (!ownPasswordChange && !m_context.serverAdmin && loginIsServerAdmin(s.name)))
            throw errors::cannotAlterLogin(s.name);
        if (s.oldPassword && !verifyPassword(hash, *s.oldPassword))
            throw errors::cannotAlterLogin(s.name);
        if (s.password) {
            if (s.password->empty() && s.checkPolicy.value_or(true))
                throw errors::emptyPassword();
            run(m_db, "UPDATE master.logins SET password_hash = ?2 WHERE name = ?1", {s.name, hashPassword(*s.password)});
        }
        if (s.checkPolicy)
            run(m_db, "UPDATE master.logins SET check_policy = ?2 WHERE name = ?1", {s.name, *s.checkPolicy ? "1" : "0"});
        break;
    }
    case K::DropLogin:
        requireSecurityAdmin();
        if (!loginExists(s.name) || (!m_context.serverAdmin && loginIsServerAdmin(s.name)))
            throw errors::cannotDrop("login", s.name);
        if (equalsIgnoreCase(s.name, m_context.login))
            throw EngineError{15434, 16, 1, "Could not drop login '" + s.name + "' as the user is currently logged in."};
        run(m_db, "DELETE FROM master.logins WHERE name = ?1", {s.name});
        break;
    case K::CreateUser:
        requireSecurityAdmin();
        if (!loginExists(s.name))
            throw errors::notAValidLogin(s.name);
        if (principalExists(s.name, nullptr))
            throw errors::userExists(s.name);
        run(m_db, "INSERT INTO main.sys_database_principals(name, type) VALUES (?1, 'S')", {s.name});
        break;
    case K::DropUser:
        requireSecurityAdmin();
        if (!principalExists(s.name, "S"))
            throw errors::cannotDrop("user", s.name);
        run(m_db, "DELETE FROM main.sys_role_members WHERE member = ?1", {s.name});
        run(m_db, "DELETE FROM main.sys_database_principals WHERE name = ?1", {s.name});
        break;
    case K::DropSchema: {
        requireSecurityAdmin();
        bool found = false;
        run(m_db, "SELECT 1 FROM main.sys_schemas WHERE name = ?1", {s.name}, nullptr, &found);
        if (!found)
            throw errors::cannotDrop("schema", s.name);
        run(m_db, "DELETE FROM main.sys_schemas WHERE name = ?1", {s.name});
        break;
    }
    case K::AddRoleMember:
    case K::DropRoleMember:
        requireSecurityAdmin();
        if (!principalExists(s.role, "R"))
            throw errors::roleNotFound(s.role);
        if (!principalExists(s.name, nullptr))
            throw errors::roleNotFound(s.name);
        if (s.kind == K::AddRoleMember)
            run(m_db, "INSERT OR IGNORE INTO main.sys_role_members(role, member) VALUES (?1, ?2)", {s.role, s.name});
        else
            run(m_db, "DELETE FROM main.sys_role_members WHERE role = ?1 AND member = ?2", {s.role, s.name});
        break;
    }
    refreshRoles();
}

} // namespace dalport::embedded
