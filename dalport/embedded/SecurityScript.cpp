// Running the security statements of a T-SQL script on a new database: the same roles
// and grants scripts a SQL Server's administrator runs, so both engines hold the same
// permissions. The scripts' other statements (USE, the stand-in databases' tables,
// which the engine's own schema creates) are passed over; anything else is refused, so
// that a statement the engine does not understand cannot drop a grant unnoticed.

#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/Procedure.h"

#include "dalport/embedded/SecurityParser.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/Statement.h"
#include "dalport/embedded/Tokenizer.h"

namespace dalport::embedded {

namespace {

// The batches of a script: the text between lines that hold only GO.
std::vector<std::string> batches(const std::string& script)
{
    std::vector<std::string> out(1);
    std::size_t start = 0;
    while (start <= script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string::npos)
            end = script.size();
        const std::string line = script.substr(start, end - start);
        const auto first = line.find_first_not_of(" \t\r");
        const auto last = line.find_last_not_of(" \t\r");
        if (first != std::string::npos && equalsIgnoreCase(line.substr(first, last - first + 1), "go"))
            out.emplace_back();
        else
            out.back() += line + "\n";
        start = end + 1;
    }
    return out;
}

// Statements that belong to a real server's set-up and mean nothing here.
bool passedOver(const std::vector<Token>& t, std::size_t b)
{
    if (t[b].isWord("use") || t[b].isWord("set") || t[b].isWord("print"))
        return true;
    if (t[b].isWord("create") || t[b].isWord("alter") || t[b].isWord("drop")) {
        for (const char* kind : {"table", "index", "unique", "clustered", "nonclustered", "database", "view",
                                 "procedure", "proc", "function", "trigger"})
            if (t[b + 1].isWord(kind))
                return true;
    }
    return false;
}

} // namespace

void EngineConnection::runSecurityScript(const std::string& script)
{
    execInternal("BEGIN IMMEDIATE");
    try {
        runSecurityStatements(script);
        execInternal("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// The check for the grants table is made again under the write lock: of two programs
// opening an old registry at once, the second finds it done and changes nothing.
bool EngineConnection::upgradeSecurityCatalogue(const std::string& script)
{
    execInternal("BEGIN IMMEDIATE");
    try {
        bool lacking = false;
        {
            InternalScope internal(*this);
            Statement kept(m_db, "SELECT 1 FROM main.sqlite_schema WHERE type = 'table' AND name = 'sys_permissions'");
            lacking = !kept.step();
        }
        if (lacking) {
            execInternal(kDatabaseCatalogue);
            runSecurityStatements(script);
        }
        execInternal("COMMIT");
        return lacking;
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void EngineConnection::addToRegistry(const RegistryAddition& addition)
{
    const auto has = [this](const char* sql, const std::string& name) {
        InternalScope internal(*this);
        Statement found(m_db, sql, {name});
        return found.step();
    };
    execInternal("BEGIN IMMEDIATE");
    try {
        if (!has("SELECT 1 FROM main.sqlite_schema WHERE type = 'table' AND name = ?1", addition.marker)) {
            execInternal(addition.schema);
            for (const std::string& text : addition.procedures) {
                InternalScope internal(*this);
                Statement add(m_db, "INSERT OR REPLACE INTO main.sys_procedures(name, definition) VALUES (?1, ?2)",
                              {parseProcedure(text).name, text});
                add.step();
            }
            if (has("SELECT 1 FROM main.sqlite_schema WHERE type = 'table' AND name = ?1", "sys_permissions"))
                runSecurityStatements(addition.security);
        }
        execInternal("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void EngineConnection::runSecurityStatements(const std::string& script)
{
    for (const std::string& batch : batches(script)) {
        const std::vector<Token> t = tokenize(batch);
        std::size_t b = 0;
        int depth = 0;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const bool end = t[i].kind == Token::Kind::End;
            if (t[i].isSymbol("("))
                ++depth;
            else if (t[i].isSymbol(")"))
                --depth;
            if (!end && !(depth == 0 && t[i].isSymbol(";")))
                continue;
            std::size_t s = b;
            const std::size_t e = i;
            b = i + 1;
            if (s >= e)
                continue;
            // IF DATABASE_PRINCIPAL_ID('name') IS NULL <statement>: only when missing.
            if (t[s].isWord("if") && t[s + 1].isWord("database_principal_id") && t[s + 2].isSymbol("(")
                && t[s + 3].kind == Token::Kind::String && t[s + 4].isSymbol(")") && t[s + 5].isWord("is")
                && t[s + 6].isWord("null")) {
                if (principalExists(t[s + 3].value, nullptr))
                    continue;
                s += 7;
            } else if (t[s].isWord("if")) {
                continue; // IF DB_ID(...) IS NULL CREATE DATABASE ...
            }
            if (passedOver(t, s))
                continue;
            if ((t[s].isWord("exec") || t[s].isWord("execute"))
                && (t[s + 1].isWord("sp_addrolemember") || t[s + 1].isWord("sp_droprolemember"))
                && e == s + 5 && t[s + 2].kind == Token::Kind::String && t[s + 3].isSymbol(",")
                && t[s + 4].kind == Token::Kind::String) {
                runSecurity(roleMemberStatement(t[s + 1].isWord("sp_addrolemember"), t[s + 2].value,
                                                t[s + 4].value)->security);
                continue;
            }
            const auto plan = parseSecurityStatement(t, s, e);
            if (!plan)
                throw errors::syntaxNear(t[s].value);
            runSecurity(plan->security);
        }
    }
}

} // namespace dalport::embedded
