#pragma once
// One session of the embedded engine: a SQLite connection on one database file with the
// server's other files attached, the login it was opened with, and SQL Server's
// transaction counting.

#include "dalport/Backend.h"
#include "dalport/embedded/Catalog.h"
#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/Plan.h"
#include "dalport/embedded/Procedure.h"
#include "dalport/embedded/RowsResult.h"

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
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
    // Compiles every stored procedure of the database (a server's creation checks them).
    void compileAllProcedures();
    int tranCount() const { return m_tranCount; }

private:
    struct CompiledProcedure {
        ProcedureDefinition definition;
        std::vector<sqlite3_stmt*> statements;
        // Per statement and slot, the declared parameter it takes (T-SQL names ignore case).
        std::vector<std::vector<std::size_t>> slots;
        bool changesRoles = false;
        int writingStatements = 0; // more than one: a failure ends the caller's transaction
    };
    struct Denial {
        std::string action;
        std::string object;
        bool ddl = false;
    };
    class InternalScope;

    void reindexForCollation(const std::vector<std::string>& schemas);

    // Statements and plans.
    std::unique_ptr<RowsResult> runPlan(const Plan& plan, const std::vector<Param>& params);
    std::unique_ptr<RowsResult> runSql(const std::string& sql, const std::vector<Param>& params, bool internal);
    std::unique_ptr<RowsResult> step(sqlite3_stmt* stmt);
    sqlite3_stmt* prepared(const std::string& sql, bool internal);
    std::shared_ptr<const Plan> planFor(const std::string& text);
    void execInternal(const std::string& sql);
    const Catalog& catalog();
    void schemaChanged();

    // Transactions.
    void beginTran(const std::string& name);
    void commitTran();
    void rollbackTran(const std::string& name);
    void saveTran(const std::string& name);
    void setLockTimeout(long long ms);
    void findLockTable();
    void takeWriteLock();
    void endTransactionState();
    void syncTranCount();

    // Procedures.
    std::unique_ptr<RowsResult> callProcedure(const std::string& name, const std::vector<Value>& positional,
                                              const std::vector<std::pair<std::string, Value>>& named);
    CompiledProcedure& procedure(const std::string& name);
    std::unique_ptr<RowsResult> runBody(CompiledProcedure& proc, const std::vector<Value>& values, bool outer);
    std::vector<Value> bindArguments(const ProcedureDefinition& def, const std::vector<Value>& positional,
                                     const std::vector<std::pair<std::string, Value>>& named);

    // Security.
    void runSecurity(const SecurityStatement& s);
    void requireSecurityAdmin() const;
    void refreshRoles();
    bool hasDataAccess() const;
    bool isSecurityAdmin() const;
    bool principalExists(const std::string& name, const char* type);
    bool loginExists(const std::string& name, std::string* hash = nullptr);
    bool loginIsServerAdmin(const std::string& name);

    static int authorize(void* self, int action, const char* a, const char* b, const char* db, const char* inner);
    int authorizeAction(int action, const char* a, const char* b, const char* db, const char* inner);
    EngineError errorFromSqlite(int rc);

    sqlite3* m_db = nullptr;
    std::filesystem::path m_folder;
    LoginContext m_context;
    std::set<std::string> m_roles; // lower case
    Catalog m_catalog;
    bool m_catalogLoaded = false;
    std::unordered_map<std::string, std::shared_ptr<const Plan>> m_plans;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements[2]; // [internal]
    std::map<std::string, std::unique_ptr<CompiledProcedure>> m_procedures;
    int m_tranCount = 0;
    std::string m_tranName;               // the outermost BEGIN TRAN's name
    std::vector<std::string> m_savepoints; // SAVE TRAN names, oldest first
    bool m_writeLockPending = false;      // BEGIN TRAN could not take the write lock yet
    std::optional<std::string> m_lockTable; // a table of the current database, for the lock
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
