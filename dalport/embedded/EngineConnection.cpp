#include "dalport/embedded/EngineConnection.h"

#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/LiteralLifter.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Statement.h"
#include "dalport/embedded/Tokenizer.h"
#include "dalport/embedded/Translator.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

constexpr const char* kSource = "Quorin Embedded Engine";
constexpr std::size_t kMaxPlans = 512;
constexpr std::size_t kMaxStatements = 256;
constexpr int kDefaultLockTimeoutMs = 5000;




void trancountFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    auto* self = static_cast<EngineConnection*>(sqlite3_user_data(ctx));
    sqlite3_result_int(ctx, self->tranCount());
}

// USER: a server administrator is dbo in every database; anyone else is the user the
// login is mapped to, which the engine names after the login.
void userFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    const auto* self = static_cast<const EngineConnection*>(sqlite3_user_data(ctx));
    const std::string name = self->databaseUser();
    sqlite3_result_text(ctx, name.c_str(), int(name.size()), SQLITE_TRANSIENT);
}



// ORIGINAL_LOGIN(): the login the session logged in with, whatever it runs as; the change
// log's triggers record it.
void originalLoginFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    const auto* self = static_cast<const EngineConnection*>(sqlite3_user_data(ctx));
    const std::string& name = self->loginName();
    sqlite3_result_text(ctx, name.c_str(), int(name.size()), SQLITE_TRANSIENT);
}

} // namespace

EngineConnection::EngineConnection(const fs::path& folder, const fs::path& databaseFile, LoginContext context)
    : m_registryLock(folder, RegistryLock::Kind::Shared), m_folder(folder), m_context(std::move(context))
{
    if (!m_registryLock.owns())
        throw errors::inTheMiddleOfARestore(m_context.database);
    const char* planCache = std::getenv("QUORIN_PLAN_CACHE");
    m_byShape = !(planCache && equalsIgnoreCase(planCache, "off"));
    const int rc = sqlite3_open_v2(databaseFile.string().c_str(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw errors::cannotOpenDatabase(m_context.database);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kDefaultLockTimeoutMs);
    // "name" is always a name here, as in SQL Server with quoted identifiers on.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    registerEngineFunctions(m_db);
    sqlite3_create_function(m_db, "trancount", 0, SQLITE_UTF8, this, trancountFunction, nullptr, nullptr);
    sqlite3_create_function(m_db, "tsql_user", 0, SQLITE_UTF8, this, userFunction, nullptr, nullptr);
    sqlite3_create_function(m_db, "original_login", 0, SQLITE_UTF8, this, originalLoginFunction, nullptr, nullptr);
    try {
        execInternal("ATTACH DATABASE " + quoteString(masterFile(folder).string()) + " AS master");
        for (const auto& [name, path] : databaseFiles(folder)) {
            std::error_code ec;
            if (fs::equivalent(path, databaseFile, ec) || ec)
                continue;
            execInternal("ATTACH DATABASE " + quoteString(path.string()) + " AS " + quoteName(name));
        }
        // Durable commits, readers never block the writer, two programs may share a server.
        const std::vector<std::string> schemas =
            firstColumn(m_db, "SELECT name FROM pragma_database_list WHERE name <> 'temp'");
        for (const std::string& s : schemas) {
            execInternal("PRAGMA " + quoteName(s) + ".journal_mode = WAL");
            execInternal("PRAGMA " + quoteName(s) + ".synchronous = FULL");
        }
        execInternal("PRAGMA foreign_keys = ON");
        // INSERT OR REPLACE then fires the delete triggers of the row it replaces, so the
        // change history keeps that row's old values.
        execInternal("PRAGMA recursive_triggers = ON");
        reindexForCollation(schemas);
        // Looked up once: a transaction must not read a database before locking it.
        for (const std::string& s : schemas)
            lockTable(s);
        sqlite3_set_authorizer(m_db, &EngineConnection::authorize, this);
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
}

// Indexes on text columns are ordered by the collation. A file whose indexes were built
// under another version of it (the engine records the version in the file's
// application id) has them rebuilt once, before anything reads them in the wrong order.
void EngineConnection::reindexForCollation(const std::vector<std::string>& schemas)
{
    auto current = [&](const std::string& schema) {
        Statement id(m_db, "PRAGMA " + quoteName(schema) + ".application_id");
        return id.step() && id.integer(0) == kCollationVersion;
    };
    bool stale = false;
    for (const std::string& s : schemas)
        stale = stale || !current(s);
    if (!stale)
        return;
    execInternal("BEGIN IMMEDIATE");
    try {
        execInternal("REINDEX TSQL");
        for (const std::string& s : schemas)
            execInternal("PRAGMA " + quoteName(s) + ".application_id = " + std::to_string(kCollationVersion));
        execInternal("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
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
            result = runText(text, params);
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
        (void)e;
        const std::string message = "The embedded engine met an internal failure while running this statement. Run "
                                    "it again; if it fails again, report the statement to the registry's "
                                    "administrator.";
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
    m_shapes.clear();
    m_lockTables.clear();
}

// A text of a shape met before runs that shape's plan with the text's own values; one
// whose values cannot be bound as they are written is translated as it stands. A text
// met before as it is skips reading its shape.
std::unique_ptr<RowsResult> EngineConnection::runText(const std::string& text, const std::vector<Param>& params)
{
    if (!m_byShape)
        return runPlan(*planFor(text), params);
    if (auto it = m_plans.find(text); it != m_plans.end()) {
        const TextPlan kept = it->second; // a schema change while it runs clears the map
        return runPlan(*kept.plan, params, kept.byShape ? &kept.lifted : nullptr);
    }
    const std::optional<LiftedText> lifted = liftLiterals(text);
    if (!lifted)
        return runPlan(*planFor(text), params);
    std::vector<Value> values;
    std::shared_ptr<const Plan> plan = m_shapes.find(*lifted);
    if (!plan) {
        const LiftedTranslation translation = translateLifted(text, catalog());
        if (!boundValues(*translation.plan, lifted->literals, values))
            return runPlan(*planFor(text), params);
        m_shapes.insert(*lifted, translation.written, translation.plan);
        plan = translation.plan;
    } else if (!boundValues(*plan, lifted->literals, values)) {
        return runPlan(*planFor(text), params);
    }
    keepText(text, TextPlan{plan, values, true});
    return runPlan(*plan, params, &values);
}

std::shared_ptr<const Plan> EngineConnection::planFor(const std::string& text)
{
    // Translated once per distinct text.
    if (auto it = m_plans.find(text); it != m_plans.end())
        return it->second.plan;
    auto plan = translate(text, catalog());
    keepText(text, TextPlan{plan, {}, false});
    return plan;
}

void EngineConnection::keepText(const std::string& text, TextPlan kept)
{
    if (m_plans.size() >= kMaxPlans)
        m_plans.clear();
    m_plans.insert_or_assign(text, std::move(kept));
}

std::unique_ptr<RowsResult> EngineConnection::runPlan(const Plan& plan, const std::vector<Param>& params,
                                                      const std::vector<Value>* lifted)
{
    std::span<const Value> bound;
    if (lifted && !plan.literals.empty() && plan.firstValue + plan.literals.size() <= lifted->size())
        bound = std::span<const Value>(*lifted).subspan(plan.firstValue, plan.literals.size());
    switch (plan.kind) {
    case Plan::Kind::Sql: return runSql(plan.sql, params, false, bound);
    case Plan::Kind::Ddl: {
        auto r = runSql(plan.sql, params, false, bound);
        schemaChanged();
        return r;
    }
    case Plan::Kind::BeginTran: beginTran(plan.name); return nullptr;
    case Plan::Kind::CommitTran: commitTran(); return nullptr;
    case Plan::Kind::RollbackTran: rollbackTran(plan.name); return nullptr;
    case Plan::Kind::SaveTran: saveTran(plan.name); return nullptr;
    case Plan::Kind::SetLockTimeout: setLockTimeout(plan.number); return nullptr;
    case Plan::Kind::IfExists: {
        const auto rows = runSql(plan.sql, params, false, bound);
        if ((rows->rowCount() > 0) != plan.negate)
            return runPlan(*plan.then, params, lifted);
        return nullptr;
    }
    case Plan::Kind::Security: {
        // Its checks are part of it: a first write that fails leaves nothing locked.
        using K = SecurityStatement::Kind;
        const bool logins = plan.security.kind == K::CreateLogin || plan.security.kind == K::AlterLogin
            || plan.security.kind == K::DropLogin;
        const Touch touch{{"main", "master"}, {logins ? "master" : "main"}};
        const bool first = writePending();
        if (first)
            beginWriting(touch);
        else if (m_writing)
            lockBeforeReading(touch);
        try {
            runSecurity(plan.security);
        } catch (...) {
            if (first)
                abandonWriting();
            throw;
        }
        return nullptr;
    }
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
        std::unique_ptr<RowsResult> all;
        for (const auto& part : plan.parts) {
            auto r = runPlan(*part, params, lifted);
            if (!r || r->isEmpty())
                continue;
            if (!all)
                all = std::move(r);
            else
                all->append(std::move(*r));
        }
        return all;
    }
    }
    return nullptr;
}

sqlite3_stmt* EngineConnection::prepared(const std::string& sql, bool internal)
{
    auto& cache = m_statements[internal ? 1 : 0];
    if (auto it = cache.find(sql); it != cache.end())
        return it->second;
    std::vector<Access> collected;
    sqlite3_stmt* stmt = nullptr;
    {
        InternalScope scope(*this);
        m_internal = internal;
        m_collect = internal ? nullptr : &collected;
        m_denied.reset();
        const int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
        m_collect = nullptr;
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            throw errorFromSqlite(rc);
        }
    }
    if (!stmt)
        throw errors::syntaxAtEnd();
    if (cache.size() >= kMaxStatements) {
        for (auto& [text, old] : cache) {
            m_accesses.erase(old);
            sqlite3_finalize(old);
        }
        cache.clear();
    }
    if (!internal) {
        try {
            m_accesses[stmt] = resolvedAccesses(std::move(collected));
        } catch (...) {
            sqlite3_finalize(stmt);
            throw;
        }
    }
    cache.emplace(sql, stmt);
    return stmt;
}

std::unique_ptr<RowsResult> EngineConnection::runSql(const std::string& sql, const std::vector<Param>& params,
                                                     bool internal, std::span<const Value> lifted)
{
    sqlite3_stmt* stmt = prepared(sql, internal);
    bool first = false; // the first write of the session's transaction
    // A read is checked inside its own read transaction, once its first step has begun it:
    // the grants are then read as of the data it reads, without a transaction of their
    // own. Nothing it read leaves the engine before the check. A write is checked before
    // it runs.
    const std::vector<Access>* checkFirst = nullptr;
    if (!internal) {
        const std::vector<Access>& accesses = m_accesses[stmt];
        // In a transaction that has written, before the check reads the databases.
        if (m_writing)
            lockBeforeReading(touchOf(accesses));
        if (sqlite3_stmt_readonly(stmt) && !m_context.serverAdmin)
            checkFirst = &accesses;
        else
            checkAccesses(accesses);
        first = writePending() && !sqlite3_stmt_readonly(stmt);
        if (first)
            beginWriting(touchOf(accesses));
    }
    try {
        InternalScope scope(*this);
        m_internal = internal;
        sqlite3_clear_bindings(stmt);
        const int slots = sqlite3_bind_parameter_count(stmt);
        if (!lifted.empty()) {
            for (int i = 0; i < slots && i < static_cast<int>(lifted.size()); ++i)
                bindValue(stmt, i + 1, lifted[static_cast<std::size_t>(i)]);
        } else {
            for (int i = 0; i < slots && i < static_cast<int>(params.size()); ++i)
                bindValue(stmt, i + 1, params[static_cast<std::size_t>(i)].value);
        }
        return step(stmt, checkFirst);
    } catch (...) {
        if (first)
            abandonWriting();
        throw;
    }
}

std::unique_ptr<RowsResult> EngineConnection::step(sqlite3_stmt* stmt, const std::vector<Access>* checkFirst)
{
    struct Reset {
        sqlite3_stmt* s;
        ~Reset() { sqlite3_reset(s); }
    } reset{stmt};
    m_denied.reset();
    // The columns are read after the first step: a statement SQLite prepares again there,
    // for a schema another connection changed, has its new columns only then.
    int rc = sqlite3_step(stmt);
    if (checkFirst) {
        // The step's own failure is read before the check runs statements of its own; a
        // refused read is refused whatever else went wrong.
        std::optional<EngineError> failed;
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            failed = errorFromSqlite(rc);
        checkAccesses(*checkFirst);
        if (failed)
            throw *failed;
    }
    auto result = std::make_unique<RowsResult>(stmt);
    for (;; rc = sqlite3_step(stmt)) {
        if (rc == SQLITE_ROW) {
            result->addRow(stmt);
            continue;
        }
        if (rc == SQLITE_DONE) {
            if (!result->hasColumns() && !sqlite3_stmt_readonly(stmt) && !m_internal)
                result->setRowsAffected(sqlite3_changes(m_db));
            return result;
        }
        throw errorFromSqlite(rc);
    }
}

void EngineConnection::execInternal(const std::string& sql)
{
    InternalScope scope(*this);
    // The statements around every procedure call are prepared once, not parsed anew on
    // each call; they fail with the same message as below.
    if (sql == "BEGIN" || sql == "COMMIT" || sql == "SAVEPOINT quorin_procedure" || sql == "RELEASE quorin_procedure") {
        sqlite3_stmt* stmt = prepared(sql, true);
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) {
            sqlite3_reset(stmt);
            return;
        }
        EngineError failure = fromSqlite(m_db, rc);
        sqlite3_reset(stmt);
        throw failure;
    }
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
            return errors::ddlDenied(d.action, databaseName(d.schema));
        return errors::permissionDenied(d.action, d.object, databaseName(d.schema));
    }
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        return EngineError{1222, 16, 56, "Lock request time out period exceeded."};
    return fromSqlite(m_db, rc);
}

// ----- transactions --------------------------------------------------------------

// SQL Server counts nested BEGIN TRANs; only the outermost one is real, an inner COMMIT
// only decrements and a ROLLBACK undoes everything.
//
// A transaction reads committed data statement by statement (READ COMMITTED) until it
// first writes: BEGIN TRAN opens nothing in SQLite, and each statement before the first
// write reads the latest committed state and holds nothing afterwards, so a reader (a
// login without write rights, a long report in a transaction) never blocks a writer.
// The first writing statement, after its permission check, opens SQLite's transaction
// and takes the write lock of each database it uses that the login may write, waiting
// for another program's transaction up to the lock time-out (then 1222, the transaction
// still open for the caller's ROLLBACK, as SQL Server leaves it). Later statements lock
// such a database before they first read it. In WAL mode a database read under an older
// snapshot cannot be written any more (SQLite fails the write at once); locking before
// reading means a transaction that reads, then writes, waits instead. Databases the
// transaction never uses stay free: a program writes the Audiogram Manager's status
// through its other session while its registry transaction is open. Readers outside
// transactions never wait (WAL).
void EngineConnection::beginTran(const std::string& name)
{
    if (m_tranCount == 0) {
        endTransactionState();
        m_tranName = name;
    }
    ++m_tranCount;
}

// A table of the database, for taking its write lock; "" when it has none.
const std::string& EngineConnection::lockTable(const std::string& schema)
{
    const std::string key = toLower(schema);
    if (auto it = m_lockTables.find(key); it != m_lockTables.end())
        return it->second;
    InternalScope internal(*this);
    const auto rows = runSql("SELECT name FROM " + quoteName(schema)
                                 + ".sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%' AND sql NOT LIKE "
                                   "'%WITHOUT ROWID%' ORDER BY name LIMIT 1",
                             {}, true);
    return m_lockTables[key] = rows->atEnd() ? std::string() : rows->field("name").s;
}

// The write lock of one database, through a statement that writes nothing: its table is
// opened for writing, which SQLite does only under the lock. Taken before the
// transaction reads that database, SQLite waits for another program's lock up to the
// lock time-out (once a transaction has read, SQLite fails its first write at once
// instead, to avoid a deadlock). Fails with 1222 after the time-out, leaving the
// transaction open.
void EngineConnection::lockForWriting(const std::string& schema)
{
    const std::string& table = lockTable(schema);
    if (!table.empty())
        runSql("DELETE FROM " + quoteName(schema) + "." + quoteName(table) + " WHERE rowid = NULL", {}, true);
    m_writeLocked.insert(toLower(schema));
}

EngineConnection::Touch EngineConnection::touchOf(const std::vector<Access>& accesses)
{
    Touch t;
    for (const Access& a : accesses) {
        t.used.insert(toLower(a.schema));
        if (a.permission != "SELECT")
            t.written.insert(toLower(a.schema));
    }
    return t;
}

// The databases the login may write: where it holds any permission beyond SELECT (a
// procedure it may run writes with its owner's rights). Read before SQLite's transaction
// opens, since reading a database's grants inside it would pin that database's snapshot.
std::set<std::string> EngineConnection::writableDatabases()
{
    std::set<std::string> out;
    std::vector<std::string> schemas;
    {
        InternalScope internal(*this);
        schemas = firstColumn(m_db, "SELECT name FROM pragma_database_list WHERE name NOT IN ('temp', 'master')");
    }
    for (const std::string& s : schemas) {
        bool writes = m_context.serverAdmin;
        try {
            const DatabaseRights& r = rights(s);
            for (const PermissionRow& row : r.rows)
                writes = writes || (r.hasUser && !row.deny && row.permission != "SELECT");
        } catch (const EngineError&) {
            // No catalogue to read: only what a statement writes is locked there.
        }
        if (writes)
            out.insert(toLower(s));
    }
    return out;
}

// Locks, in one order for every session, the databases of `touch` that the open
// transaction may write and has not locked yet, before the statement reads them.
void EngineConnection::lockBeforeReading(const Touch& touch)
{
    std::vector<std::string> wanted;
    for (const std::string& s : touch.used)
        if (!m_writeLocked.count(s) && (m_mayWrite.count(s) || touch.written.count(s)))
            wanted.push_back(s);
    std::sort(wanted.begin(), wanted.end(), [this](const std::string& a, const std::string& b) {
        return toLower(databaseName(a)) < toLower(databaseName(b));
    });
    InternalScope internal(*this);
    for (const std::string& s : wanted)
        lockForWriting(s);
}

// The transaction's first write: SQLite's transaction opens, the statement's databases
// are locked, and the SAVE TRANs made so far are set (nothing was written before them).
void EngineConnection::beginWriting(const Touch& touch)
{
    m_mayWrite = writableDatabases();
    for (const std::string& s : touch.used)
        lockTable(s); // looked up before BEGIN: a read inside would pin an old snapshot
    for (const std::string& s : m_mayWrite)
        lockTable(s);
    execInternal("BEGIN");
    m_writing = true;
    try {
        lockBeforeReading(touch);
        for (const std::string& name : m_savepoints)
            execInternal("SAVEPOINT " + quoteName("tsql_save_" + name));
    } catch (...) {
        abandonWriting();
        throw;
    }
}

// The first write failed (its lock timed out, its checks refused it, it broke a
// constraint): nothing of the transaction was written, so SQLite's transaction ends and
// with it every lock; the session's transaction stays open, reading committed data.
void EngineConnection::abandonWriting()
{
    if (m_tranCount == 0 || !m_writing)
        return;
    if (!sqlite3_get_autocommit(m_db)) {
        InternalScope internal(*this);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    m_writing = false;
    m_mayWrite.clear();
    m_writeLocked.clear();
}

void EngineConnection::commitTran()
{
    if (m_tranCount == 0)
        throw errors::commitWithoutBegin();
    if (--m_tranCount == 0) {
        endTransactionState();
        if (!sqlite3_get_autocommit(m_db))
            execInternal("COMMIT");
    }
}

void EngineConnection::rollbackTran(const std::string& name)
{
    if (m_tranCount == 0)
        throw errors::rollbackWithoutBegin();
    if (!name.empty() && name != m_tranName) {
        // To a savepoint (names are case-sensitive, as on SQL Server); the count stays.
        // Before the first write there is nothing to undo.
        for (std::size_t k = m_savepoints.size(); k-- > 0;) {
            if (m_savepoints[k] == name) {
                if (m_writing)
                    execInternal("ROLLBACK TO " + quoteName("tsql_save_" + name));
                m_savepoints.resize(k + 1);
                return;
            }
        }
        throw EngineError{6401, 16, 1, "Cannot roll back " + name + ". No transaction or savepoint of that name was "
                                                                    "found."};
    }
    m_tranCount = 0;
    endTransactionState();
    if (!sqlite3_get_autocommit(m_db))
        execInternal("ROLLBACK");
}

// Before the first write a savepoint is only remembered: it is set when SQLite's
// transaction opens.
void EngineConnection::saveTran(const std::string& name)
{
    if (m_tranCount == 0)
        throw EngineError{628, 16, 0, "Cannot issue SAVE TRANSACTION when there is no active transaction."};
    if (m_writing)
        execInternal("SAVEPOINT " + quoteName("tsql_save_" + name));
    m_savepoints.push_back(name);
}

void EngineConnection::setLockTimeout(long long ms)
{
    if (ms < -1)
        throw EngineError{50000, 16, 1, "SET LOCK_TIMEOUT takes -1 (wait without end), 0 (never wait) or a number "
                                        "of milliseconds."};
    m_lockTimeoutMs = ms < 0 ? INT_MAX : static_cast<int>(std::min<long long>(ms, INT_MAX));
    sqlite3_busy_timeout(m_db, m_lockTimeoutMs);
}

void EngineConnection::endTransactionState()
{
    if (m_tranCount == 0) {
        m_tranName.clear();
        m_savepoints.clear();
    }
    m_writing = false;
    m_mayWrite.clear();
    m_writeLocked.clear();
}

void EngineConnection::syncTranCount()
{
    // SQLite may have ended the transaction itself (a failed COMMIT, a fatal error), or
    // a failed procedure ended it.
    if (m_tranCount > 0 && m_writing && sqlite3_get_autocommit(m_db)) {
        m_tranCount = 0;
        endTransactionState();
    }
}

} // namespace dalport::embedded
