// What a session may do: the roles of its login and the authorizer that checks every
// statement the session's own text prepares.

#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/Statement.h"

#include "dalport/embedded/Tokenizer.h"

namespace dalport::embedded {

namespace {

bool isSystemTable(const char* table)
{
    if (!table)
        return false;
    const std::string t = toLower(table);
    return t.rfind("sys_", 0) == 0 || t.rfind("sqlite_", 0) == 0;
}

} // namespace

bool EngineConnection::hasDataAccess() const
{
    return m_context.serverAdmin || m_roles.count("quorinuser") || m_roles.count("quorinadmin");
}

bool EngineConnection::isSecurityAdmin() const { return m_context.serverAdmin || m_roles.count("quorinadmin"); }

bool EngineConnection::hasDatabaseAccess()
{
    return m_context.serverAdmin || principalExists(m_context.login, "S");
}

void EngineConnection::refreshRoles()
{
    InternalScope internal(*this);
    std::set<std::string> roles;
    Statement members(m_db, "SELECT role FROM main.sys_role_members WHERE member = ?1", {m_context.login});
    while (members.step())
        roles.insert(toLower(members.text(0)));
    if (roles != m_roles) {
        // Statements were authorised for the old roles.
        for (auto& [sql, old] : m_statements[0])
            sqlite3_finalize(old);
        m_statements[0].clear();
        m_roles = std::move(roles);
    }
}

int EngineConnection::authorize(void* self, int action, const char* a, const char* b, const char* db,
                                const char* inner)
{
    return static_cast<EngineConnection*>(self)->authorizeAction(action, a, b, db, inner);
}

// What a text query may touch: its own database's tables when the user is in a role,
// the catalogue tables for reading, nothing of master but the logins' names.
int EngineConnection::authorizeAction(int action, const char* a, const char* b, const char* db, const char* inner)
{
    if (m_internal)
        return SQLITE_OK;
    const std::string schema = db ? db : "";
    auto deny = [&](const char* what, const char* object, bool ddl = false) {
        m_denied = Denial{what, object ? object : "", ddl};
        return SQLITE_DENY;
    };
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_READ:
        if (schema == "master") {
            const bool throughView = inner && std::string(inner) == "sys_server_principals";
            if (throughView && b && std::string(b) != "password_hash")
                return SQLITE_OK;
            if (a && std::string(a) == "sys_server_principals")
                return SQLITE_OK;
            return deny("SELECT", a);
        }
        if (isSystemTable(a) || hasDataAccess())
            return SQLITE_OK;
        return deny("SELECT", a);
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE: {
        const char* what = action == SQLITE_INSERT ? "INSERT" : action == SQLITE_UPDATE ? "UPDATE" : "DELETE";
        // SQLite's own schema table changes only under a statement already allowed; its
        // INSERT comes before the CREATE it belongs to, so a refusal says CREATE.
        if (a && toLower(a).rfind("sqlite_", 0) == 0 && schema != "master")
            return isSecurityAdmin() ? SQLITE_OK : deny("CREATE TABLE", a, true);
        if (schema == "master" || isSystemTable(a) || !hasDataAccess())
            return deny(what, a);
        return SQLITE_OK;
    }
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_VIEW:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_VIEW:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_ALTER_TABLE: {
        const bool create = action == SQLITE_CREATE_TABLE || action == SQLITE_CREATE_INDEX
            || action == SQLITE_CREATE_VIEW || action == SQLITE_CREATE_TRIGGER;
        if (schema == "master" || isSystemTable(a) || !isSecurityAdmin())
            return deny(create ? "CREATE TABLE" : "ALTER", a, true);
        return SQLITE_OK;
    }
    default:
        return deny("EXECUTE", a);
    }
}

} // namespace dalport::embedded
