// Calling stored procedures: finding and compiling the body, binding the arguments by
// position, and running the body all or nothing.

#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/Statement.h"

#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Tokenizer.h"
#include "dalport/embedded/Translator.h"

#include <algorithm>
#include <set>

namespace dalport::embedded {

namespace {

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

// The declared parameter each slot of a body statement takes. A variable the header
// does not declare is SQL Server's error 137, never a silent NULL.
std::vector<std::size_t> parameterSlots(sqlite3_stmt* stmt, const ProcedureDefinition& def)
{
    std::vector<std::size_t> slots;
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int k = 1; k <= count; ++k) {
        const char* name = sqlite3_bind_parameter_name(stmt, k);
        const std::string text = name ? name : "?";
        std::size_t found = def.parameters.size();
        for (std::size_t i = 0; i < def.parameters.size() && found == def.parameters.size(); ++i)
            if (equalsIgnoreCase(def.parameters[i].name, text))
                found = i;
        if (found == def.parameters.size())
            throw EngineError{137, 15, 2, "Must declare the scalar variable \"" + text + "\"."};
        slots.push_back(found);
    }
    return slots;
}

} // namespace

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
    // A failing lookup reports its own error; only a missing row is 2812.
    Statement lookup(m_db, "SELECT definition FROM " + quoteName(schema) + ".sys_procedures WHERE name = ?1", {name});
    const std::string definitionText = lookup.step() ? lookup.text(0) : std::string();
    if (definitionText.empty())
        throw errors::procedureNotFound(text);

    if (schema != "main") {
        // A body names its tables unqualified, meaning its own database's; SQLite would
        // read them as the session's database, so such a call is refused rather than run
        // on the wrong tables.
        checkExecute(schema, name);
        throw EngineError{50000, 16, 1, "The embedded engine runs the procedure " + name + " of database " + schema
                                            + " only from a session connected to " + schema + "."};
    }
    auto proc = std::make_unique<CompiledProcedure>();
    proc->schema = schema;
    proc->definition = parseProcedure(definitionText);
    const std::string body = rewriteObjectNames(proc->definition.body, catalog());
    proc->changesRoles = toLower(body).find("sys_role_members") != std::string::npos
        || toLower(body).find("sys_database_principals") != std::string::npos;
    const char* tail = body.c_str();
    const char* end = tail + body.size();
    try {
        while (tail < end) {
            sqlite3_stmt* stmt = nullptr;
            std::vector<Access> collected;
            m_collect = &collected;
            const int rc = sqlite3_prepare_v2(m_db, tail, static_cast<int>(end - tail), &stmt, &tail);
            m_collect = nullptr;
            if (rc != SQLITE_OK)
                throw errorFromSqlite(rc);
            if (!stmt)
                continue; // blanks and comments after the last statement
            proc->statements.push_back(stmt);
            proc->accesses.push_back(resolvedAccesses(std::move(collected)));
            proc->slots.push_back(parameterSlots(stmt, proc->definition));
            if (!sqlite3_stmt_readonly(stmt))
                ++proc->writingStatements;
        }
        // Locked in one order by every session, so two calls never hold one each.
        std::set<std::string> written;
        std::set<std::string> used;
        for (const auto& statement : proc->accesses) {
            for (const Access& a : statement) {
                if (used.insert(toLower(a.schema)).second)
                    proc->usedSchemas.push_back(toLower(a.schema));
                if (a.permission != "SELECT" && written.insert(toLower(a.schema)).second)
                    proc->writtenSchemas.push_back(a.schema);
            }
        }
        std::sort(proc->writtenSchemas.begin(), proc->writtenSchemas.end(), [this](const std::string& x, const std::string& y) {
            return toLower(databaseName(x)) < toLower(databaseName(y));
        });
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

namespace {

// Binds the call's arguments to one statement of the body, in the statement's order.
void bindArgumentsTo(sqlite3_stmt* stmt, const std::vector<std::size_t>& slots, const std::vector<Value>& values)
{
    for (std::size_t k = 0; k < slots.size(); ++k)
        bindValue(stmt, static_cast<int>(k) + 1, values[slots[k]]);
}

} // namespace

std::unique_ptr<RowsResult> EngineConnection::runReadingStatement(CompiledProcedure& proc, const std::vector<Value>& values)
{
    // One statement that only reads is atomic by itself, as SQLite runs it: a
    // transaction around it would only cost two more statements on every call.
    InternalScope internal(*this);
    m_writeLocked.clear();
    sqlite3_stmt* stmt = proc.statements.front();
    bindArgumentsTo(stmt, proc.slots.front(), values);
    auto rows = step(stmt);
    return rows->hasColumns() ? std::move(rows) : nullptr;
}

std::unique_ptr<RowsResult> EngineConnection::runBody(CompiledProcedure& proc, const std::vector<Value>& values,
                                                      bool outer)
{
    // Only the files the body writes are locked, as SQL Server locks only what a
    // statement touches; they are locked before the body reads anything, so that a
    // body that reads, then writes, waits for another program's transaction instead of
    // failing at its first write.
    if (outer && proc.statements.size() == 1 && proc.writingStatements == 0)
        return runReadingStatement(proc, values);
    execInternal(outer ? "BEGIN" : "SAVEPOINT quorin_procedure");
    std::unique_ptr<RowsResult> first;
    bool started = false; // a statement of the body has run
    try {
        InternalScope internal(*this);
        for (const std::string& schema : proc.writtenSchemas)
            if (outer || !m_writeLocked.count(toLower(schema)))
                lockForWriting(schema);
        for (std::size_t s = 0; s < proc.statements.size(); ++s) {
            sqlite3_stmt* stmt = proc.statements[s];
            bindArgumentsTo(stmt, proc.slots[s], values);
            started = true;
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
            } else if (started && proc.writingStatements > 1) {
                // Part of its writes may have happened: the caller's transaction cannot
                // go on as if the call had not been made, so it ends (SQL Server's
                // XACT_ABORT); the caller's later ROLLBACK is then 3903.
                sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
                m_tranCount = 0;
                endTransactionState();
            } else {
                sqlite3_exec(m_db, "ROLLBACK TO quorin_procedure", nullptr, nullptr, nullptr);
                sqlite3_exec(m_db, "RELEASE quorin_procedure", nullptr, nullptr, nullptr);
            }
        }
        if (outer)
            m_writeLocked.clear();
        throw;
    }
    if (outer)
        m_writeLocked.clear();
    return first;
}

std::unique_ptr<RowsResult> EngineConnection::callProcedure(const std::string& name, const std::vector<Value>& positional,
                                                            const std::vector<std::pair<std::string, Value>>& named)
{
    // In a transaction that has written, the databases the call uses are locked before
    // anything of it reads them: the body lives in the session's own database, the
    // others are known once it is compiled.
    if (m_writing)
        lockBeforeReading(Touch{{"main"}, {}});
    CompiledProcedure& proc = procedure(name);
    Touch touch{{proc.usedSchemas.begin(), proc.usedSchemas.end()}, {}};
    for (const std::string& schema : proc.writtenSchemas)
        touch.written.insert(toLower(schema));
    if (m_writing)
        lockBeforeReading(touch);
    const ProcedureDefinition& def = proc.definition;
    checkExecute(proc.schema, def.name);
    checkProcedureBody(proc);
    const std::vector<Value> values = bindArguments(def, positional, named);

    // The transaction's first write, once the call is allowed: a body that only reads
    // runs on its own, reading committed data like any statement before the first write.
    const bool first = writePending() && !proc.writtenSchemas.empty();
    if (first)
        beginWriting(touch);
    // All or nothing: a transaction of its own, or a savepoint inside the caller's.
    const bool outer = sqlite3_get_autocommit(m_db) != 0;
    if (outer)
        for (const std::string& schema : proc.writtenSchemas)
            lockTable(schema); // looked up before BEGIN: a read inside would pin an old snapshot
    std::unique_ptr<RowsResult> result;
    try {
        result = runBody(proc, values, outer);
    } catch (...) {
        if (first)
            abandonWriting();
        throw;
    }
    if (proc.changesRoles)
        invalidateRights();
    return result;
}

void EngineConnection::compileAllProcedures()
{
    std::vector<std::string> names;
    {
        InternalScope internal(*this);
        names = firstColumn(m_db, "SELECT name FROM main.sys_procedures");
    }
    for (const std::string& n : names) {
        try {
            procedure(n);
        } catch (const EngineError& e) {
            throw EngineError{e.number, e.level, e.state, "procedure " + n + ": " + e.message};
        }
    }
}

} // namespace dalport::embedded
