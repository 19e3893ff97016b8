// What a session may do. SQLite's authorizer reports, while a statement is prepared,
// every table and column it will read or write; the engine keeps that list with the
// statement and checks it against the grants of the database owning each object every
// time the statement runs, so a grant or a role taken away counts from the next
// statement on. Server administrators pass everything.

#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Statement.h"

#include "dalport/embedded/Tokenizer.h"

namespace dalport::embedded {

namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// The engine's catalogue tables: sys_database_principals, sys_permissions, ...
bool isCatalogueTable(const std::string& lowerTable)
{
    return startsWith(lowerTable, "sys_") || startsWith(lowerTable, "sqlite_");
}

// What changing a catalogue table amounts to, as a database permission.
const char* permissionToChange(const std::string& lowerTable)
{
    if (lowerTable == "sys_role_members")
        return "ALTER ANY ROLE";
    if (lowerTable == "sys_database_principals")
        return "ALTER ANY USER";
    if (lowerTable == "sys_schemas")
        return "ALTER ANY SCHEMA";
    return nullptr;
}

EngineError cannotAccessDatabase(const std::string& login, const std::string& database)
{
    return EngineError{916, 14, 1, "The server principal \"" + login + "\" is not able to access the database \""
                                        + database + "\" under the current security context."};
}

EngineError columnDenied(const std::string& action, const std::string& column, const std::string& object,
                         const std::string& database)
{
    return EngineError{230, 14, 1, "The " + action + " permission was denied on the column '" + column
                                        + "' of the object '" + object + "', database '" + database
                                        + "', schema 'dbo'."};
}

} // namespace

bool EngineConnection::hasDatabaseAccess()
{
    return m_context.serverAdmin || principalExists(m_context.login, "S");
}

std::string EngineConnection::databaseName(const std::string& schema) const
{
    return equalsIgnoreCase(schema, "main") ? m_context.database : schema;
}

// SQLite leaves the schema out for some reads (count(*) of an unqualified table): the
// table is then the current database's, or the first attached one that has it.
std::string EngineConnection::schemaOfTable(const char* schema, const char* table)
{
    if (schema && *schema)
        return schema;
    InternalScope internal(*this);
    const Catalog& c = catalog();
    if (!table || c.currentTable(table))
        return "main";
    for (const std::string& s : firstColumn(m_db, "SELECT name FROM pragma_database_list"))
        if (c.table(s, table))
            return s;
    return "main";
}

// Any commit to the database's file, this session's or another's (a grant, a role taken
// away), changes the version SQLite's pager keeps. The pager learns of other sessions'
// commits when a read transaction begins: inside one (a read whose first step has run) it
// is that transaction's version, read without touching the file; outside, a short read
// transaction brings it up to date first.
long long EngineConnection::fileVersion(const std::string& schema)
{
    if (sqlite3_txn_state(m_db, schema.c_str()) < SQLITE_TXN_READ)
        runSql("PRAGMA " + quoteName(schema) + ".data_version", {}, true);
    unsigned int version = 0;
    if (sqlite3_file_control(m_db, schema.c_str(), SQLITE_FCNTL_DATA_VERSION, &version) != SQLITE_OK)
        return -2; // unknown: read the grants again
    return version;
}

EngineConnection::DatabaseRights& EngineConnection::rights(const std::string& schema)
{
    InternalScope internal(*this);
    const std::string key = toLower(schema);
    DatabaseRights& r = m_rights[key];
    if (m_checkingStatement && r.read)
        return r;
    const long long now = fileVersion(schema);
    if (now >= 0 && r.version == now) {
        r.read = m_checkingStatement;
        return r;
    }
    r = DatabaseRights{};
    r.version = now;
    r.read = m_checkingStatement;
    const std::string db = quoteName(schema);
    {
        Statement user(m_db, "SELECT 1 FROM " + db + ".sys_database_principals WHERE name = ?1 AND type = 'S'",
                       {m_context.login});
        r.hasUser = user.step();
    }
    if (!r.hasUser)
        return r;
    r.principals = {toLower(m_context.login), "public"};
    // Roles of roles: QuorinAdmin is a member of QuorinUser.
    for (std::size_t before = 0; before != r.principals.size();) {
        before = r.principals.size();
        Statement members(m_db, "SELECT role, member FROM " + db + ".sys_role_members");
        while (members.step())
            if (r.principals.count(toLower(members.text(1))))
                r.principals.insert(toLower(members.text(0)));
    }
    // A database made before grants were kept has none: only administrators use it.
    Statement kept(m_db, "SELECT 1 FROM " + db + ".sqlite_schema WHERE name = 'sys_permissions'");
    if (!kept.step())
        return r;
    Statement rows(m_db, "SELECT class_desc, major_name, minor_name, permission_name, state, grantee FROM " + db
                             + ".sys_permissions");
    while (rows.step()) {
        PermissionRow row{rows.text(0), toLower(rows.text(1)), toLower(rows.text(2)), rows.text(3),
                          rows.text(4) == "D", toLower(rows.text(5))};
        if (r.principals.count(row.grantee))
            r.rows.push_back(std::move(row));
    }
    return r;
}

bool EngineConnection::isRoleMember(const std::string& schema, const std::string& role)
{
    const DatabaseRights& r = rights(schema);
    return r.hasUser && r.principals.count(toLower(role)) > 0;
}

// SQL Server's order: a DENY anywhere above the object (its schema, the object, the
// column) wins; otherwise a GRANT on any of them allows.
bool EngineConnection::holdsPermission(const std::string& schema, const std::string& securable,
                                       const std::string& object, const std::string& column,
                                       const std::string& permission)
{
    if (m_context.serverAdmin)
        return true;
    const DatabaseRights& r = rights(schema);
    if (!r.hasUser)
        return false;
    const std::string obj = toLower(object);
    const std::string col = toLower(column);
    bool granted = false;
    for (const PermissionRow& row : r.rows) {
        if (row.permission != permission)
            continue;
        bool covers = false;
        if (securable == "DATABASE")
            covers = row.securable == "DATABASE";
        else if (row.securable == "SCHEMA")
            covers = row.object == "dbo";
        else if (row.securable == "OBJECT_OR_COLUMN")
            covers = row.object == obj && (row.column.empty() || row.column == col);
        if (!covers)
            continue;
        if (row.deny)
            return false;
        granted = true;
    }
    return granted;
}

void EngineConnection::checkAccess(const Access& a)
{
    if (m_context.serverAdmin)
        return;
    const std::string database = databaseName(a.schema);
    if (!rights(a.schema).hasUser)
        throw cannotAccessDatabase(m_context.login, database);
    const std::string table = toLower(a.object);
    if (isCatalogueTable(table)) {
        // Every user of a database reads its catalogue; only security statements change it.
        // A procedure's source needs VIEW DEFINITION on SQL Server, which staff lack.
        if (a.permission == "SELECT" && table == "sys_procedures")
            throw errors::permissionDenied("SELECT", a.object, database);
        if (a.permission == "SELECT")
            return;
        const char* needed = permissionToChange(table);
        if (needed && holdsPermission(a.schema, "DATABASE", "", "", needed))
            return;
        throw errors::noSecurityPermission();
    }
    if (holdsPermission(a.schema, "OBJECT_OR_COLUMN", a.object, a.column, a.permission))
        return;
    if (!a.column.empty()) {
        // Grants on some columns only: SQL Server names the column refused.
        for (const PermissionRow& row : rights(a.schema).rows)
            if (row.securable == "OBJECT_OR_COLUMN" && row.object == table && !row.column.empty()
                && row.permission == a.permission)
                throw columnDenied(a.permission, a.column, a.object, database);
    }
    throw errors::permissionDenied(a.permission, a.object, database);
}

std::vector<EngineConnection::Access> EngineConnection::resolvedAccesses(std::vector<Access> collected)
{
    std::set<Access> unique;
    for (Access& a : collected) {
        if (a.schema.empty())
            a.schema = schemaOfTable(nullptr, a.object.c_str());
        unique.insert(std::move(a));
    }
    return {unique.begin(), unique.end()};
}

void EngineConnection::checkAccesses(const std::vector<Access>& accesses)
{
    // A statement's accesses are checked against one reading of each database's grants:
    // reading the version again for every column was a third of a short query's time.
    struct Checking {
        EngineConnection& c;
        explicit Checking(EngineConnection& connection) : c(connection) { c.m_checkingStatement = true; }
        ~Checking()
        {
            c.m_checkingStatement = false;
            for (auto& [schema, rights] : c.m_rights)
                rights.read = false;
        }
    } checking(*this);
    for (const Access& a : accesses)
        checkAccess(a);
}

void EngineConnection::checkExecute(const std::string& schema, const std::string& procedure)
{
    if (m_context.serverAdmin)
        return;
    if (!rights(schema).hasUser)
        throw cannotAccessDatabase(m_context.login, databaseName(schema));
    if (!holdsPermission(schema, "OBJECT_OR_COLUMN", procedure, "", "EXECUTE"))
        throw errors::permissionDenied("EXECUTE", procedure, databaseName(schema));
}

// Ownership chaining: the body's statements on objects of the procedure's own database
// run with its owner's rights. Objects of other databases are checked against the caller
// (cross-database chaining is off, as on a SQL Server by default), and so is every
// change of users and roles: a security statement in a procedure needs the caller's
// permission.
void EngineConnection::checkProcedureBody(const CompiledProcedure& proc)
{
    if (m_context.serverAdmin)
        return;
    for (const auto& statement : proc.accesses) {
        for (const Access& a : statement) {
            const bool own = equalsIgnoreCase(a.schema, proc.schema);
            const bool securityChange = a.permission != "SELECT" && isCatalogueTable(toLower(a.object));
            if (!own || securityChange)
                checkAccess(a);
        }
    }
}

int EngineConnection::authorize(void* self, int action, const char* a, const char* b, const char* db,
                                const char* inner)
{
    return static_cast<EngineConnection*>(self)->authorizeAction(action, a, b, db, inner);
}

// At prepare time: refuses what no grant can allow (master's tables, the password
// hashes, schema changes by anyone but a server administrator, a text query writing the
// catalogue) and records the rest for the check at run time.
int EngineConnection::authorizeAction(int action, const char* a, const char* b, const char* db, const char* inner)
{
    if (m_internal && !m_collect)
        return SQLITE_OK;
    const std::string schema = db ? db : "";
    auto deny = [&](const char* what, const char* object, bool ddl = false) {
        m_denied = Denial{what, object ? object : "", schema.empty() ? "main" : schema, ddl};
        return SQLITE_DENY;
    };
    auto record = [&](const char* permission, const char* column) {
        // Triggers and views run with their owner's rights, as chained objects do. No
        // statement may run in here: a missing schema is filled in after the prepare.
        if (m_collect && a && !inner)
            m_collect->push_back(Access{schema, a, column ? column : "", permission});
        return SQLITE_OK;
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
            return m_internal ? SQLITE_OK : deny("SELECT", a);
        }
        return record("SELECT", b);
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE: {
        const char* what = action == SQLITE_INSERT ? "INSERT" : action == SQLITE_UPDATE ? "UPDATE" : "DELETE";
        const std::string table = a ? toLower(a) : "";
        // SQLite's own schema table changes only under a statement already allowed; its
        // INSERT comes before the CREATE it belongs to, so a refusal says CREATE.
        if (startsWith(table, "sqlite_") && schema != "master")
            return m_context.serverAdmin || m_internal ? SQLITE_OK : deny("CREATE TABLE", a, true);
        if (m_internal)
            return record(what, action == SQLITE_UPDATE ? b : nullptr);
        if (schema == "master" || startsWith(table, "sys_"))
            return deny(what, a);
        return record(what, action == SQLITE_UPDATE ? b : nullptr);
    }
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_VIEW:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_VIEW:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_ALTER_TABLE:
    case SQLITE_REINDEX: { // CREATE INDEX fills its index as a REINDEX does
        if (m_internal)
            return SQLITE_OK;
        const bool create = action == SQLITE_CREATE_TABLE || action == SQLITE_CREATE_INDEX
            || action == SQLITE_CREATE_VIEW || action == SQLITE_CREATE_TRIGGER;
        if (schema == "master" || (a && startsWith(toLower(a), "sys_")) || !m_context.serverAdmin)
            return deny(create ? "CREATE TABLE" : "ALTER", a, true);
        return SQLITE_OK;
    }
    default:
        return m_internal ? SQLITE_OK : deny("EXECUTE", a);
    }
}

} // namespace dalport::embedded
