#include "dalport/embedded/EngineConnection.h"

#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/Tokenizer.h"
#include "dalport/embedded/Translator.h"

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

constexpr const char* kSource = "Quorin Embedded Engine";
constexpr std::size_t kMaxPlans = 512;
constexpr std::size_t kMaxStatements = 256;
constexpr int kBusyTimeoutMs = 30000;

std::string quoteName(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string quoteString(const std::string& s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    return out + "'";
}

void bindValue(sqlite3_stmt* stmt, int index, const Value& v)
{
    switch (v.kind) {
    case Value::Kind::Null: sqlite3_bind_null(stmt, index); break;
    case Value::Kind::Int: sqlite3_bind_int64(stmt, index, v.i); break;
    case Value::Kind::Double: sqlite3_bind_double(stmt, index, v.d); break;
    case Value::Kind::Text:
    case Value::Kind::DateTime:
        sqlite3_bind_text(stmt, index, v.s.c_str(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
        break;
    }
}

void trancountFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    auto* self = static_cast<EngineConnection*>(sqlite3_user_data(ctx));
    sqlite3_result_int(ctx, self->tranCount());
}

bool isSystemTable(const char* table)
{
    if (!table)
        return false;
    const std::string t = toLower(table);
    return t.rfind("sys_", 0) == 0 || t.rfind("sqlite_", 0) == 0;
}

// The procedure's own name from "name", "dbo.name", "[name]" or "db.dbo.name".
std::pair<std::string, std::string> splitProcedureName(const std::string& text)
{
    std::vector<std::string> parts;
    for (const Token& t : tokenize(text)) {
        if (t.kind == Token::Kind::Word || t.kind == Token::Kind::Quoted)
            parts.push_back(t.value);
        else if (t.kind == Token::Kind::End)
            break;
        else if (!t.isSymbol("."))
            return {"", text};
    }
    if (parts.empty())
        return {"", text};
    const std::string database = parts.size() >= 3 ? parts[parts.size() - 3] : "";
    return {database, parts.back()};
}

} // namespace

EngineConnection::EngineConnection(const fs::path& folder, const fs::path& databaseFile, LoginContext context)
    : m_folder(folder), m_context(std::move(context))
{
    const int rc = sqlite3_open_v2(databaseFile.string().c_str(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw errors::cannotOpenDatabase(m_context.database);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    // "name" is always a name here, as in SQL Server with quoted identifiers on.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    registerEngineFunctions(m_db);
    sqlite3_create_function(m_db, "trancount", 0, SQLITE_UTF8, this, trancountFunction, nullptr, nullptr);
    try {
        execInternal("ATTACH DATABASE " + quoteString(masterFile(folder).string()) + " AS master");
        for (const auto& [name, path] : databaseFiles(folder)) {
            std::error_code ec;
            if (fs::equivalent(path, databaseFile, ec) || ec)
                continue;
            execInternal("ATTACH DATABASE " + quoteString(path.string()) + " AS " + quoteName(name));
        }
        // Durable commits, readers never block the writer, two programs may share a server.
        sqlite3_stmt* list = nullptr;
        std::vector<std::string> schemas;
        sqlite3_prepare_v2(m_db, "SELECT name FROM pragma_database_list WHERE name <> 'temp'", -1, &list, nullptr);
        while (list && sqlite3_step(list) == SQLITE_ROW)
            schemas.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
        sqlite3_finalize(list);
        for (const std::string& s : schemas) {
            execInternal("PRAGMA " + quoteName(s) + ".journal_mode = WAL");
            execInternal("PRAGMA " + quoteName(s) + ".synchronous = FULL");
        }
        execInternal("PRAGMA foreign_keys = ON");
        sqlite3_set_authorizer(m_db, &EngineConnection::authorize, this);
        refreshRoles();
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
}

EngineConnection::~EngineConnection()
{
    for (auto& cache : m_statements)
        for (auto& [sql, stmt] : cache)
            sqlite3_finalize(stmt);
    for (auto& [name, proc] : m_procedures)
        for (sqlite3_stmt* stmt : proc->statements)
            sqlite3_finalize(stmt);
    // A session that ends with its transaction open rolls it back.
    m_internal = true;
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(m_db);
}

std::unique_ptr<Result> EngineConnection::execute(CommandType type, const std::string& text,
                                                  const std::vector<Param>& params)
{
    m_errors.clear();
    try {
        std::unique_ptr<RowsResult> result;
        if (type == CommandType::StoredProcedure) {
            std::vector<Value> positional;
            for (const Param& p : params)
                positional.push_back(p.value);
            result = callProcedure(text, positional, {});
        } else {
            result = runPlan(*planFor(text), params);
        }
        syncTranCount();
        if (!result)
            result = std::make_unique<RowsResult>();
        return result;
    } catch (const EngineError& e) {
        syncTranCount();
        m_errors.push_back(ProviderError{e.number, e.level, e.state, e.message, e.message});
        throw ComError(hr::Fail, kSource, e.message);
    } catch (const std::exception& e) {
        // Nothing but the session's own error leaves the engine.
        syncTranCount();
        const std::string message = std::string("Internal error of the embedded engine: ") + e.what();
        m_errors.push_back(ProviderError{50000, 16, 1, message, message});
        throw ComError(hr::Fail, kSource, message);
    }
}

// ----- plans and statements ------------------------------------------------------

const Catalog& EngineConnection::catalog()
{
    if (!m_catalogLoaded) {
        InternalScope internal(*this);
        m_catalog.load(m_db, m_context.database);
        m_catalogLoaded = true;
    }
    return m_catalog;
}

void EngineConnection::schemaChanged()
{
    m_catalogLoaded = false;
    m_plans.clear();
}

std::shared_ptr<const Plan> EngineConnection::planFor(const std::string& text)
{
    // Translated once per distinct text.
    if (auto it = m_plans.find(text); it != m_plans.end())
        return it->second;
    auto plan = translate(text, catalog());
    if (m_plans.size() >= kMaxPlans)
        m_plans.clear();
    m_plans.emplace(text, plan);
    return plan;
}

std::unique_ptr<RowsResult> EngineConnection::runPlan(const Plan& plan, const std::vector<Param>& params)
{
    switch (plan.kind) {
    case Plan::Kind::Sql: return runSql(plan.sql, params, false);
    case Plan::Kind::Ddl: {
        auto r = runSql(plan.sql, params, false);
        schemaChanged();
        return r;
    }
    case Plan::Kind::BeginTran: beginTran(); return nullptr;
    case Plan::Kind::CommitTran: commitTran(); return nullptr;
    case Plan::Kind::RollbackTran: rollbackTran(); return nullptr;
    case Plan::Kind::IfExists: {
        const auto rows = runSql(plan.sql, params, false);
        if ((rows->rowCount() > 0) != plan.negate)
            return runPlan(*plan.then, params);
        return nullptr;
    }
    case Plan::Kind::Security: runSecurity(plan.security); return nullptr;
    case Plan::Kind::Exec: {
        std::vector<Value> positional;
        std::vector<std::pair<std::string, Value>> named;
        for (const ExecArgument& a : plan.arguments) {
            if (a.name.empty()) {
                if (!named.empty())
                    throw EngineError{119, 15, 1,
                                      "Must pass parameter number 2 and subsequent parameters as '@name = value'. "
                                      "After the form '@name = value' has been used, all subsequent parameters must "
                                      "be passed in the form '@name = value'."};
                positional.push_back(a.value);
            } else {
                named.emplace_back(a.name, a.value);
            }
        }
        return callProcedure(plan.procedure, positional, named);
    }
    case Plan::Kind::Batch: {
        std::unique_ptr<RowsResult> first;
        for (const auto& part : plan.parts) {
            auto r = runPlan(*part, params);
            if (!first && r && r->hasColumns())
                first = std::move(r);
        }
        return first;
    }
    }
    return nullptr;
}

sqlite3_stmt* EngineConnection::prepared(const std::string& sql, bool internal)
{
    auto& cache = m_statements[internal ? 1 : 0];
    if (auto it = cache.find(sql); it != cache.end())
        return it->second;
    InternalScope scope(*this);
    m_internal = internal;
    m_denied.reset();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw errorFromSqlite(rc);
    }
    if (!stmt)
        throw errors::syntaxAtEnd();
    if (cache.size() >= kMaxStatements) {
        for (auto& [text, old] : cache)
            sqlite3_finalize(old);
        cache.clear();
    }
    cache.emplace(sql, stmt);
    return stmt;
}

std::unique_ptr<RowsResult> EngineConnection::runSql(const std::string& sql, const std::vector<Param>& params,
                                                     bool internal)
{
    sqlite3_stmt* stmt = prepared(sql, internal);
    InternalScope scope(*this);
    m_internal = internal;
    sqlite3_clear_bindings(stmt);
    const int slots = sqlite3_bind_parameter_count(stmt);
    for (int i = 0; i < slots && i < static_cast<int>(params.size()); ++i)
        bindValue(stmt, i + 1, params[static_cast<std::size_t>(i)].value);
    return step(stmt);
}

std::unique_ptr<RowsResult> EngineConnection::step(sqlite3_stmt* stmt)
{
    struct Reset {
        sqlite3_stmt* s;
        ~Reset() { sqlite3_reset(s); }
    } reset{stmt};
    m_denied.reset();
    auto result = std::make_unique<RowsResult>(stmt);
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            result->addRow(stmt);
            continue;
        }
        if (rc == SQLITE_DONE)
            return result;
        throw errorFromSqlite(rc);
    }
}

void EngineConnection::execInternal(const std::string& sql)
{
    InternalScope scope(*this);
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw fromSqliteMessage(text, rc);
    }
}

EngineError EngineConnection::errorFromSqlite(int rc)
{
    if ((rc & 0xff) == SQLITE_AUTH && m_denied) {
        const Denial d = *m_denied;
        m_denied.reset();
        if (d.ddl)
            return errors::ddlDenied(d.action, m_context.database);
        return errors::permissionDenied(d.action, d.object, m_context.database);
    }
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        return EngineError{1222, 16, 56, "Lock request time out period exceeded."};
    return fromSqlite(m_db, rc);
}

// ----- transactions --------------------------------------------------------------

// SQL Server counts nested BEGIN TRANs; only the outermost one is real, an inner COMMIT
// only decrements and a ROLLBACK undoes everything.
void EngineConnection::beginTran()
{
    if (m_tranCount == 0 && sqlite3_get_autocommit(m_db))
        execInternal("BEGIN IMMEDIATE");
    ++m_tranCount;
}

void EngineConnection::commitTran()
{
    if (m_tranCount == 0)
        throw errors::commitWithoutBegin();
    if (--m_tranCount == 0 && !sqlite3_get_autocommit(m_db))
        execInternal("COMMIT");
}

void EngineConnection::rollbackTran()
{
    if (m_tranCount == 0)
        throw errors::rollbackWithoutBegin();
    m_tranCount = 0;
    if (!sqlite3_get_autocommit(m_db))
        execInternal("ROLLBACK");
}

void EngineConnection::syncTranCount()
{
    // SQLite may have ended the transaction itself (a failed COMMIT, a fatal error).
    if (m_tranCount > 0 && sqlite3_get_autocommit(m_db))
        m_tranCount = 0;
}

// ----- procedures ----------------------------------------------------------------

EngineConnection::CompiledProcedure& EngineConnection::procedure(const std::string& text)
{
    const auto [database, name] = splitProcedureName(text);
    std::string schema = "main";
    if (!database.empty()) {
        schema = catalog().schemaFor(database);
        if (schema.empty())
            throw errors::procedureNotFound(text);
    }
    const std::string key = toLower(schema) + "." + toLower(name);
    if (auto it = m_procedures.find(key); it != m_procedures.end())
        return *it->second;

    InternalScope internal(*this);
    sqlite3_stmt* lookup = nullptr;
    const std::string sql = "SELECT definition FROM " + quoteName(schema) + ".sys_procedures WHERE name = ?1";
    std::string definitionText;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &lookup, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(lookup, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(lookup) == SQLITE_ROW)
            definitionText = reinterpret_cast<const char*>(sqlite3_column_text(lookup, 0));
    }
    sqlite3_finalize(lookup);
    if (definitionText.empty())
        throw errors::procedureNotFound(text);

    auto proc = std::make_unique<CompiledProcedure>();
    proc->definition = parseProcedure(definitionText);
    const std::string body = rewriteObjectNames(proc->definition.body, catalog());
    proc->changesRoles = toLower(body).find("sys_role_members") != std::string::npos;
    const char* tail = body.c_str();
    const char* end = tail + body.size();
    try {
        while (tail < end) {
            sqlite3_stmt* stmt = nullptr;
            const int rc = sqlite3_prepare_v2(m_db, tail, static_cast<int>(end - tail), &stmt, &tail);
            if (rc != SQLITE_OK)
                throw errorFromSqlite(rc);
            if (!stmt)
                continue; // blanks and comments after the last statement
            proc->readOnly = proc->readOnly && sqlite3_stmt_readonly(stmt);
            proc->statements.push_back(stmt);
        }
    } catch (...) {
        for (sqlite3_stmt* stmt : proc->statements)
            sqlite3_finalize(stmt);
        throw;
    }
    return *m_procedures.emplace(key, std::move(proc)).first->second;
}

std::vector<Value> EngineConnection::bindArguments(const ProcedureDefinition& def, const std::vector<Value>& positional,
                                                   const std::vector<std::pair<std::string, Value>>& named)
{
    if (positional.size() + named.size() > def.parameters.size())
        throw errors::tooManyArguments(def.name);
    std::vector<std::optional<Value>> given(def.parameters.size());
    for (std::size_t i = 0; i < positional.size(); ++i)
        given[i] = positional[i];
    for (const auto& [name, value] : named) {
        bool found = false;
        for (std::size_t i = 0; i < def.parameters.size(); ++i) {
            if (equalsIgnoreCase(def.parameters[i].name, name)) {
                given[i] = value;
                found = true;
            }
        }
        if (!found)
            throw EngineError{8145, 16, 2, name + " is not a parameter for procedure " + def.name + "."};
    }
    std::vector<Value> values;
    for (std::size_t i = 0; i < def.parameters.size(); ++i) {
        const ProcedureParameter& p = def.parameters[i];
        if (given[i])
            values.push_back(convertArgument(p, *given[i]));
        else if (p.defaultValue)
            values.push_back(convertArgument(p, *p.defaultValue));
        else
            throw errors::parameterMissing(def.name, p.name);
    }
    return values;
}

std::unique_ptr<RowsResult> EngineConnection::callProcedure(const std::string& name, const std::vector<Value>& positional,
                                                            const std::vector<std::pair<std::string, Value>>& named)
{
    CompiledProcedure& proc = procedure(name);
    const ProcedureDefinition& def = proc.definition;
    if (!hasDataAccess())
        throw errors::permissionDenied("EXECUTE", def.name, m_context.database);
    const std::vector<Value> values = bindArguments(def, positional, named);

    // All or nothing: a transaction of its own, or a savepoint inside the caller's.
    const bool outer = sqlite3_get_autocommit(m_db) != 0;
    execInternal(outer ? (proc.readOnly ? "BEGIN" : "BEGIN IMMEDIATE") : "SAVEPOINT quorin_procedure");
    std::unique_ptr<RowsResult> first;
    try {
        InternalScope internal(*this);
        for (sqlite3_stmt* stmt : proc.statements) {
            sqlite3_clear_bindings(stmt);
            for (std::size_t i = 0; i < def.parameters.size(); ++i) {
                const int index = sqlite3_bind_parameter_index(stmt, def.parameters[i].name.c_str());
                if (index > 0)
                    bindValue(stmt, index, values[i]);
            }
            auto rows = step(stmt);
            if (!first && rows->hasColumns())
                first = std::move(rows);
        }
        execInternal(outer ? "COMMIT" : "RELEASE quorin_procedure");
    } catch (...) {
        InternalScope internal(*this);
        if (!sqlite3_get_autocommit(m_db)) {
            if (outer) {
                sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            } else {
                sqlite3_exec(m_db, "ROLLBACK TO quorin_procedure", nullptr, nullptr, nullptr);
                sqlite3_exec(m_db, "RELEASE quorin_procedure", nullptr, nullptr, nullptr);
            }
        }
        throw;
    }
    if (proc.changesRoles)
        refreshRoles();
    return first;
}

void EngineConnection::compileAllProcedures()
{
    std::vector<std::string> names;
    {
        InternalScope internal(*this);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT name FROM main.sys_procedures", -1, &stmt, nullptr);
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    for (const std::string& n : names) {
        try {
            procedure(n);
        } catch (const EngineError& e) {
            throw EngineError{e.number, e.level, e.state, "procedure " + n + ": " + e.message};
        }
    }
}

// ----- permissions ---------------------------------------------------------------

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
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, "SELECT role FROM main.sys_role_members WHERE member = ?1", -1, &stmt, nullptr)
        == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, m_context.login.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            roles.insert(toLower(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
    }
    sqlite3_finalize(stmt);
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
        // SQLite's own schema table changes only under a statement already allowed.
        if (a && toLower(a).rfind("sqlite_", 0) == 0 && schema != "master" && isSecurityAdmin())
            return SQLITE_OK;
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
