#pragma once
// One session of the embedded engine: a SQLite connection on one database file with the
// server's other files attached, the login it was opened with, and SQL Server's
// transaction counting.

#include "dalport/Backend.h"
#include "dalport/RegistryProfile.h"
#include "dalport/embedded/Catalog.h"
#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/Plan.h"
#include "dalport/embedded/PlanCache.h"
#include "dalport/embedded/Procedure.h"
#include "dalport/embedded/RegistryLock.h"
#include "dalport/embedded/RowsResult.h"

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace dalport::embedded {

struct LoginContext {
    std::string login;      // as stored in master
    bool serverAdmin = false;
    std::string database;   // the database's name as its file is called
};

class EngineConnection final : public Connection {
public:
    // Opens the file and attaches the rest of the server; the login has been checked.
    // Throws EngineError.
    EngineConnection(const std::filesystem::path& folder, const std::filesystem::path& databaseFile,
                     LoginContext context);
    ~EngineConnection() override;
    EngineConnection(const EngineConnection&) = delete;
    EngineConnection& operator=(const EngineConnection&) = delete;

    std::unique_ptr<Result> execute(CommandType type, const std::string& text,
                                    const std::vector<Param>& params) override;
    const std::vector<ProviderError>& errors() const override { return m_errors; }

    // True when the login has a user in this database (or is an administrator).
    bool hasDatabaseAccess();
    // Runs the security statements of a T-SQL script (the roles and grants scripts):
    // batches split at GO, statements of other kinds (tables, USE) passed over.
    void runSecurityScript(const std::string& script);
    // A database made before grants were kept: adds the grants catalogue and runs the
    // security statements of its roles script, in one transaction, when the grants table
    // is still missing. False when it was there (another program did it first).
    bool upgradeSecurityCatalogue(const std::string& script);
    // Adds a part made after the database (RegistryProfile.h) in one transaction, when
    // its marker table is still missing: its schema, the procedures the database lacks,
    // and its grants where the database keeps grants (an older one gets them from its
    // whole roles script next).
    void addToRegistry(const RegistryAddition& addition);
    // Compiles every stored procedure of the database (a server's creation checks them).
    void compileAllProcedures();
    // sys.server_principals as SQL Server shows it: every login to a holder of ALTER ANY
    // LOGIN, the own login alone to anyone else. Decided as the session opens.
    void restrictCatalogueViews();
    int tranCount() const { return m_tranCount; }
    std::string databaseUser() const { return m_context.serverAdmin ? "dbo" : m_context.login; }
    const std::string& loginName() const { return m_context.login; }

private:
    // One use of an object by a statement, as SQLite's authorizer reports it when the
    // statement is prepared; checked against the grants each time the statement runs.
    struct Access {
        std::string schema;     // SQLite schema: "main" or an attached database
        std::string object;
        std::string column;     // "" for the whole object
        std::string permission; // SELECT, INSERT, UPDATE, DELETE
        bool operator<(const Access& o) const
        {
            return std::tie(schema, object, column, permission) < std::tie(o.schema, o.object, o.column, o.permission);
        }
    };
    struct CompiledProcedure {
        ProcedureDefinition definition;
        std::vector<sqlite3_stmt*> statements;
        // Per statement and slot, the declared parameter it takes (T-SQL names ignore case).
        std::vector<std::vector<std::size_t>> slots;
        std::vector<std::vector<Access>> accesses; // per statement
        std::string schema;                        // the database it belongs to
        bool changesRoles = false;
        int writingStatements = 0; // more than one: a failure ends the caller's transaction
        std::vector<std::string> writtenSchemas; // the databases its statements write, in order
        std::vector<std::string> usedSchemas;    // the databases its statements read or write
    };
    // The databases (lower-case SQLite schemas) a statement reads or writes, and those it
    // writes.
    struct Touch {
        std::set<std::string> used;
        std::set<std::string> written;
    };
    struct Denial {
        std::string action;
        std::string object;
        std::string schema;
        bool ddl = false;
    };
    // One row of a database's sys_permissions.
    struct PermissionRow {
        std::string securable; // OBJECT_OR_COLUMN, SCHEMA, DATABASE
        std::string object;    // lower case
        std::string column;    // lower case, "" for the whole object
        std::string permission;
        bool deny = false;
        std::string grantee;   // lower case
    };
    // What the session's login is in one database: its user, the user's roles (nested
    // roles included) and the database's grants.
    struct DatabaseRights {
        long long version = -1;
        bool hasUser = false;
        std::set<std::string> principals; // lower case: the user, its roles, public
        std::vector<PermissionRow> rows;
        bool read = false; // its version was read for the statement being checked
    };
    // A text met before: its plan and, for a plan of its shape, the values it binds.
    struct TextPlan {
        std::shared_ptr<const Plan> plan;
        std::vector<Value> lifted;
        bool byShape = false;
    };
    class InternalScope;

    void reindexForCollation(const std::vector<std::string>& schemas);

    // Statements and plans. `lifted`: the values of the text's bound literals, which take
    // the place of `params` in the nodes that bind literals.
    std::unique_ptr<RowsResult> runText(const std::string& text, const std::vector<Param>& params);
    std::unique_ptr<RowsResult> runPlan(const Plan& plan, const std::vector<Param>& params,
                                        const std::vector<Value>* lifted = nullptr);
    std::unique_ptr<RowsResult> runSql(const std::string& sql, const std::vector<Param>& params, bool internal,
                                       std::span<const Value> lifted = {});
    // `checkFirst`: accesses checked once the first step has begun the read transaction.
    std::unique_ptr<RowsResult> step(sqlite3_stmt* stmt, const std::vector<Access>* checkFirst = nullptr);
    sqlite3_stmt* prepared(const std::string& sql, bool internal);
    std::shared_ptr<const Plan> planFor(const std::string& text);
    void keepText(const std::string& text, TextPlan kept);
    void execInternal(const std::string& sql);
    const Catalog& catalog();
    void schemaChanged();

    // Transactions.
    void beginTran(const std::string& name);
    void commitTran();
    void rollbackTran(const std::string& name);
    void saveTran(const std::string& name);
    void setLockTimeout(long long ms);
    const std::string& lockTable(const std::string& schema);
    void lockForWriting(const std::string& schema);
    static Touch touchOf(const std::vector<Access>& accesses);
    bool writePending() const { return m_tranCount > 0 && !m_writing; }
    std::set<std::string> writableDatabases();
    void lockBeforeReading(const Touch& touch);
    void beginWriting(const Touch& touch);
    void abandonWriting();
    void endTransactionState();
    void syncTranCount();

    // Procedures.
    std::unique_ptr<RowsResult> callProcedure(const std::string& name, const std::vector<Value>& positional,
                                              const std::vector<std::pair<std::string, Value>>& named);
    CompiledProcedure& procedure(const std::string& name);
    std::unique_ptr<RowsResult> runBody(CompiledProcedure& proc, const std::vector<Value>& values, bool outer);
    std::unique_ptr<RowsResult> runReadingStatement(CompiledProcedure& proc, const std::vector<Value>& values);
    std::vector<Value> bindArguments(const ProcedureDefinition& def, const std::vector<Value>& positional,
                                     const std::vector<std::pair<std::string, Value>>& named);

    // Security.
    void runSecurity(const SecurityStatement& s);
    void runSecurityStatements(const std::string& script);
    void runPermissionStatement(const SecurityStatement& s);
    void requireServerAdmin() const;
    bool isLoginAdmin();
    void requireLoginAdmin();
    void requireDatabasePermission(const std::string& schema, const std::string& permission, const EngineError& refusal);
    bool principalExists(const std::string& name, const char* type);
    bool loginExists(const std::string& name, std::string* hash = nullptr);
    bool loginIsServerAdmin(const std::string& name);

    // Permissions (grants of each database, checked per statement run).
    DatabaseRights& rights(const std::string& schema);
    long long fileVersion(const std::string& schema);
    void invalidateRights() { m_rights.clear(); }
    std::string databaseName(const std::string& schema) const;
    std::string schemaOfTable(const char* schema, const char* table);
    bool holdsPermission(const std::string& schema, const std::string& securable, const std::string& object,
                         const std::string& column, const std::string& permission);
    bool isRoleMember(const std::string& schema, const std::string& role);
    void checkAccess(const Access& a);
    void checkAccesses(const std::vector<Access>& accesses);
    std::vector<Access> resolvedAccesses(std::vector<Access> collected);
    void checkExecute(const std::string& schema, const std::string& procedure);
    void checkProcedureBody(const CompiledProcedure& proc);

    static int authorize(void* self, int action, const char* a, const char* b, const char* db, const char* inner);
    int authorizeAction(int action, const char* a, const char* b, const char* db, const char* inner);
    EngineError errorFromSqlite(int rc);

    RegistryLock m_registryLock; // held shared for the session's life
    sqlite3* m_db = nullptr;
    std::filesystem::path m_folder;
    LoginContext m_context;
    std::map<std::string, DatabaseRights> m_rights;       // by SQLite schema
    bool m_checkingStatement = false; // checkAccesses: one version read per database
    std::unordered_map<sqlite3_stmt*, std::vector<Access>> m_accesses; // text statements
    std::vector<Access>* m_collect = nullptr;             // while preparing
    Catalog m_catalog;
    bool m_catalogLoaded = false;
    std::unordered_map<std::string, TextPlan> m_plans; // by exact text
    PlanCache m_shapes;                                                    // by shape
    bool m_byShape = true; // QUORIN_PLAN_CACHE=off keeps plans by exact text only
    std::unordered_map<std::string, sqlite3_stmt*> m_statements[2]; // [internal]
    std::map<std::string, std::unique_ptr<CompiledProcedure>> m_procedures;
    int m_tranCount = 0;
    std::string m_tranName;               // the outermost BEGIN TRAN's name
    std::vector<std::string> m_savepoints; // SAVE TRAN names, oldest first
    bool m_writing = false;               // the open transaction has written: SQLite's is open
    std::set<std::string> m_mayWrite;     // schemas (lower case) it may write, from its first write on
    std::map<std::string, std::string> m_lockTables; // by schema: a table of it, "" for none
    std::set<std::string> m_writeLocked;  // schemas (lower case) the open transaction has locked
    int m_lockTimeoutMs = 5000;
    bool m_internal = false;
    std::optional<Denial> m_denied;
    std::vector<ProviderError> m_errors;
};

// Statements run by the engine itself (catalogue, procedures, security) bypass the
// permission checks meant for the session's own text.
class EngineConnection::InternalScope {
public:
    explicit InternalScope(EngineConnection& c) : m_c(c), m_was(c.m_internal) { c.m_internal = true; }
    ~InternalScope() { m_c.m_internal = m_was; }
    InternalScope(const InternalScope&) = delete;
    InternalScope& operator=(const InternalScope&) = delete;

private:
    EngineConnection& m_c;
    bool m_was;
};

} // namespace dalport::embedded
