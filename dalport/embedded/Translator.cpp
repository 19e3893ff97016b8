#include "dalport/embedded/Translator.h"

#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/ExpressionText.h"
#include "dalport/embedded/ReservedWords.h"
#include "dalport/embedded/SecurityParser.h"
#include "dalport/embedded/SqlQuoting.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

namespace dalport::embedded {

namespace {

using Kind = Token::Kind;

// Words that stay keywords in the SQLite text; every other word is a name and is quoted,
// so a column called "release" or "date" cannot be taken for SQLite's keyword.
bool isKeyword(const Token& t)
{
    static const std::set<std::string> keywords{
        "select", "from", "where", "and", "or", "not", "in", "is", "null", "like", "between", "join",
        "inner", "left", "right", "outer", "full", "cross", "on", "as", "group", "by", "order", "having",
        "asc", "desc", "distinct", "all", "union", "except", "intersect", "insert", "into", "values",
        "update", "set", "delete", "case", "when", "then", "else", "end", "exists", "escape", "default"};
    return t.kind == Kind::Word && keywords.count(toLower(t.value)) > 0;
}

// T-SQL functions and what they are called in the engine.
const char* functionName(std::string_view name)
{
    struct Entry { const char* tsql; const char* engine; };
    static constexpr std::array<Entry, 21> table{{
        {"getdate", "getdate"}, {"isnull", "ifnull"}, {"len", "tsql_len"}, {"substring", "substr"},
        {"upper", "upper"}, {"lower", "lower"}, {"ltrim", "ltrim"}, {"rtrim", "rtrim"},
        {"abs", "abs"}, {"round", "round"}, {"count", "count"}, {"max", "max"}, {"min", "min"},
        {"sum", "sum"}, {"avg", "avg"}, {"coalesce", "coalesce"}, {"nullif", "nullif"},
        {"replace", "replace"}, {"year", "tsql_year"}, {"month", "tsql_month"}, {"day", "tsql_day"},
    }};
    const std::string lower = toLower(name);
    for (const auto& e : table)
        if (lower == e.tsql)
            return e.engine;
    return nullptr;
}



std::string tokenText(const Token& t)
{
    switch (t.kind) {
    case Kind::String: return "'" + t.value + "'";
    case Kind::Quoted: return t.value;
    case Kind::End: return "";
    default: return t.value;
    }
}

bool isName(const Token& t) { return t.kind == Kind::Quoted || (t.kind == Kind::Word && !isKeyword(t)); }

bool isComparison(const Token& t)
{
    if (t.kind != Kind::Symbol)
        return false;
    static const std::set<std::string> ops{"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};
    return ops.count(t.value) > 0;
}

// A dotted name as written: its parts (an empty part for "db..t") and where it ends.
struct NameChain {
    std::vector<std::string> parts;
    std::size_t end = 0;
};

class StatementTranslator {
public:
    StatementTranslator(const std::vector<Token>& tokens, std::size_t begin, std::size_t end, const Catalog& catalog)
        : m_t(tokens), m_begin(begin), m_end(end), m_catalog(catalog)
    {
        collectTables();
    }

    std::shared_ptr<const Plan> run() { return statement(m_begin); }

private:
    const Token& tok(std::size_t i) const { return i < m_end ? m_t[i] : m_t.back(); }

    [[noreturn]] void syntaxError(std::size_t i) const
    {
        if (i >= m_end)
            throw errors::syntaxAtEnd();
        throw errors::syntaxNear(tokenText(m_t[i]));
    }

    void expectWord(std::size_t& i, std::string_view w) const
    {
        if (!tok(i).isWord(w))
            syntaxError(i);
        ++i;
    }

    void expectSymbol(std::size_t& i, std::string_view s) const
    {
        if (!tok(i).isSymbol(s))
            syntaxError(i);
        ++i;
    }

    void expectEnd(std::size_t i) const
    {
        if (i < m_end)
            syntaxError(i);
    }

    std::size_t matchParen(std::size_t open, std::size_t limit) const
    {
        int depth = 0;
        for (std::size_t i = open; i < limit; ++i) {
            if (m_t[i].isSymbol("("))
                ++depth;
            else if (m_t[i].isSymbol(")") && --depth == 0)
                return i;
        }
        throw errors::syntaxAtEnd();
    }

    // Top-level commas split a parenthesised list into ranges.
    std::vector<std::pair<std::size_t, std::size_t>> splitArgs(std::size_t b, std::size_t e) const
    {
        std::vector<std::pair<std::size_t, std::size_t>> out;
        int depth = 0;
        std::size_t start = b;
        for (std::size_t i = b; i < e; ++i) {
            if (m_t[i].isSymbol("("))
                ++depth;
            else if (m_t[i].isSymbol(")"))
                --depth;
            else if (depth == 0 && m_t[i].isSymbol(",")) {
                out.emplace_back(start, i);
                start = i + 1;
            }
        }
        out.emplace_back(start, e);
        return out;
    }

    std::string identifierAt(std::size_t& i) const
    {
        const Token& t = tok(i);
        if (t.kind != Kind::Word && t.kind != Kind::Quoted)
            syntaxError(i);
        ++i;
        return t.value;
    }

    // ----- statements ------------------------------------------------------------

    std::shared_ptr<const Plan> statement(std::size_t i)
    {
        auto plan = std::make_shared<Plan>();
        const Token& first = tok(i);
        if (first.isWord("select") || first.isWord("update") || first.isWord("delete")) {
            plan->kind = Plan::Kind::Sql;
            plan->sql = first.isWord("delete") ? deleteStatement(i) : rewrite(i, m_end);
        } else if (first.isWord("insert")) {
            plan->kind = Plan::Kind::Sql;
            plan->sql = insertStatement(i);
        } else if (first.isWord("begin")) {
            ++i;
            if (!tok(i).isWord("tran") && !tok(i).isWord("transaction"))
                syntaxError(i);
            ++i;
            if (i < m_end)
                plan->name = identifierAt(i);
            expectEnd(i);
            plan->kind = Plan::Kind::BeginTran;
        } else if (first.isWord("commit") || first.isWord("rollback")) {
            plan->kind = first.isWord("commit") ? Plan::Kind::CommitTran : Plan::Kind::RollbackTran;
            ++i;
            if (tok(i).isWord("tran") || tok(i).isWord("transaction") || tok(i).isWord("work"))
                ++i;
            if (i < m_end)
                plan->name = identifierAt(i);
            expectEnd(i);
        } else if (first.isWord("save")) {
            ++i;
            if (!tok(i).isWord("tran") && !tok(i).isWord("transaction"))
                syntaxError(i);
            ++i;
            plan->name = identifierAt(i);
            expectEnd(i);
            plan->kind = Plan::Kind::SaveTran;
        } else if (first.isWord("set")) {
            ++i;
            if (tok(i).isWord("lock_timeout")) {
                ++i;
                long long ms = 0;
                if (tok(i).isSymbol("-") && tok(i + 1).kind == Kind::Number) {
                    ms = -integerValue(tok(i + 1));
                    i += 2;
                } else if (tok(i).kind == Kind::Number && tok(i).value.find_first_of(".eE") == std::string::npos) {
                    ms = integerValue(tok(i++));
                } else {
                    syntaxError(i);
                }
                expectEnd(i);
                plan->kind = Plan::Kind::SetLockTimeout;
                plan->number = ms;
            } else if (tok(i).isWord("nocount") || tok(i).isWord("xact_abort")) {
                ++i;
                if (!tok(i).isWord("on") && !tok(i).isWord("off"))
                    syntaxError(i);
                ++i;
                expectEnd(i);
                plan->kind = Plan::Kind::Batch; // accepted, changes nothing here
            } else {
                syntaxError(i);
            }
        } else if (first.isWord("if")) {
            return ifExists(i);
        } else if (first.isWord("exec") || first.isWord("execute")) {
            return exec(i + 1);
        } else if (first.isWord("grant") || first.isWord("deny") || first.isWord("revoke")) {
            return parseSecurityStatement(m_t, i, m_end);
        } else if (first.isWord("create") || first.isWord("alter") || first.isWord("drop")) {
            return definition(i);
        } else {
            syntaxError(i);
        }
        return plan;
    }

    std::shared_ptr<const Plan> ifExists(std::size_t i)
    {
        auto plan = std::make_shared<Plan>();
        plan->kind = Plan::Kind::IfExists;
        ++i;
        if (tok(i).isWord("not")) {
            plan->negate = true;
            ++i;
        }
        expectWord(i, "exists");
        if (!tok(i).isSymbol("("))
            syntaxError(i);
        const std::size_t close = matchParen(i, m_end);
        if (!tok(i + 1).isWord("select"))
            syntaxError(i + 1);
        plan->sql = rewrite(i + 1, close);
        if (close + 1 >= m_end)
            throw errors::syntaxAtEnd();
        plan->then = statement(close + 1);
        return plan;
    }

    Value literalValue(std::size_t& i) const
    {
        const Token& t = tok(i);
        bool negative = false;
        std::size_t j = i;
        if (t.isSymbol("-") && tok(i + 1).kind == Kind::Number) {
            negative = true;
            ++j;
        }
        const Token& v = tok(j);
        i = j + 1;
        switch (v.kind) {
        case Kind::String: return Value::text(v.value);
        case Kind::Number:
            if (v.value.find_first_of(".eE") == std::string::npos)
                return Value::integer((negative ? -1 : 1) * integerValue(v));
            return Value::real((negative ? -1 : 1) * realValue(v));
        case Kind::Word:
            if (v.isWord("null"))
                return Value::null();
            return Value::text(v.value); // T-SQL takes a bare word as a text argument
        case Kind::Quoted: return Value::text(v.value);
        default: syntaxError(j);
        }
    }

    std::shared_ptr<const Plan> exec(std::size_t i)
    {
        NameChain chain = nameChain(i);
        if (chain.parts.empty())
            syntaxError(i);
        i = chain.end;
        const std::string name = chain.parts.back();
        std::vector<ExecArgument> args;
        while (i < m_end) {
            ExecArgument arg;
            if (tok(i).kind == Kind::Variable && tok(i + 1).isSymbol("=")) {
                arg.name = tok(i).value;
                i += 2;
            }
            arg.value = literalValue(i);
            args.push_back(std::move(arg));
            if (i < m_end)
                expectSymbol(i, ",");
        }
        auto plan = std::make_shared<Plan>();
        const std::string lower = toLower(name);
        if (lower == "sp_addrolemember" || lower == "sp_droprolemember") {
            if (args.size() != 2 || args[0].value.kind != Value::Kind::Text || args[1].value.kind != Value::Kind::Text)
                throw errors::parameterMissing(name, args.size() < 1 ? "@rolename" : "@membername");
            return roleMemberStatement(lower == "sp_addrolemember", args[0].value.s, args[1].value.s);
        }
        plan->kind = Plan::Kind::Exec;
        // db.dbo.name keeps its database: the procedure is that database's.
        plan->procedure = chain.parts.size() >= 3 ? quoteName(chain.parts[chain.parts.size() - 3]) + ".dbo." + quoteName(name)
                                                  : name;
        plan->arguments = std::move(args);
        return plan;
    }

    std::shared_ptr<const Plan> definition(std::size_t i)
    {
        if (auto security = parseSecurityStatement(m_t, i, m_end))
            return security;
        const bool alter = tok(i).isWord("alter");
        const std::size_t j = i + 1;
        // Tables, indexes and views: SQLite's own grammar, names rewritten.
        static const std::array<const char*, 5> objects{"table", "index", "view", "unique", "trigger"};
        for (const char* o : objects) {
            if (tok(j).isWord(o) && !alter) {
                auto plan = std::make_shared<Plan>();
                plan->kind = Plan::Kind::Ddl;
                plan->sql = rewriteObjectNames(
                    std::string_view(m_source).substr(m_t[i].begin, tok(m_end - 1).end - m_t[i].begin), m_catalog);
                return plan;
            }
        }
        syntaxError(j);
    }

    std::string deleteStatement(std::size_t i)
    {
        ++i; // DELETE
        if (tok(i).isWord("from"))
            ++i;
        return "DELETE FROM " + rewrite(i, m_end);
    }

    std::string insertStatement(std::size_t i)
    {
        ++i; // INSERT
        if (tok(i).isWord("into"))
            ++i;
        NameChain chain = nameChain(i);
        if (chain.parts.empty())
            syntaxError(i);
        checkNotReserved(i, chain.end);
        const TableInfo* table = tableOf(chain.parts, chain.parts.size());
        std::string out = "INSERT INTO " + emitTableName(chain.parts);
        i = chain.end;
        std::vector<const ColumnInfo*> targets;
        if (tok(i).isSymbol("(") && !tok(i + 1).isWord("select")) {
            const std::size_t close = matchParen(i, m_end);
            std::string cols;
            for (auto [b, e] : splitArgs(i + 1, close)) {
                if (e != b + 1 || !isName(m_t[b]))
                    syntaxError(b);
                checkNotReserved(b, e);
                targets.push_back(table ? table->column(m_t[b].value) : nullptr);
                cols += (cols.empty() ? "" : ", ") + quoteName(m_t[b].value);
            }
            out += " (" + cols + ")";
            i = close + 1;
        } else if (table) {
            for (const ColumnInfo& c : table->columns)
                targets.push_back(&c);
        }
        if (tok(i).isWord("select")) {
            // For `SELECT * FROM u` SQLite may copy u's rows into a table of the same
            // shape without reading a column, and so without the read of u being seen
            // and checked; reading them through a derived table keeps every column read.
            const std::size_t list = tok(i + 1).isWord("all") ? i + 2 : i + 1;
            if (tok(list).isSymbol("*"))
                return out + " SELECT * FROM (" + rewrite(i, m_end) + ")";
        }
        if (!tok(i).isWord("values"))
            return out + " " + rewrite(i, m_end);
        out += " VALUES";
        ++i;
        bool firstRow = true;
        while (i < m_end) {
            if (!firstRow)
                expectSymbol(i, ",");
            if (!tok(i).isSymbol("("))
                syntaxError(i);
            const std::size_t close = matchParen(i, m_end);
            std::string row;
            std::size_t n = 0;
            for (auto [b, e] : splitArgs(i + 1, close)) {
                const ColumnType type = n < targets.size() && targets[n] ? targets[n]->type : ColumnType::Text;
                std::string value = type != ColumnType::Text && e == b + 1 && m_t[b].kind == Kind::String
                    ? typedLiteral(m_t[b].value, type)
                    : rewrite(b, e);
                row += (n ? ", " : "") + value;
                ++n;
            }
            out += std::string(firstRow ? " " : ", ") + "(" + row + ")";
            firstRow = false;
            i = close + 1;
        }
        return out;
    }

    // ----- names -----------------------------------------------------------------

    NameChain nameChain(std::size_t i) const
    {
        NameChain chain;
        if (tok(i).kind != Kind::Word && tok(i).kind != Kind::Quoted)
            return chain;
        chain.parts.push_back(tok(i).value);
        ++i;
        while (tok(i).isSymbol(".")) {
            ++i;
            if (tok(i).isSymbol(".")) { // db..table
                chain.parts.emplace_back();
                continue;
            }
            if (tok(i).kind == Kind::Word || tok(i).kind == Kind::Quoted)
                chain.parts.push_back(tok(i++).value);
            else if (tok(i).isSymbol("*")) {
                chain.parts.push_back("*");
                ++i;
                break;
            } else
                syntaxError(i);
        }
        chain.end = i;
        return chain;
    }

    static bool isDbo(const std::string& part) { return part.empty() || equalsIgnoreCase(part, "dbo"); }

    // The SQLite schema a database name stands for; refuses an unknown database.
    std::string schemaOf(const std::string& database) const
    {
        const std::string schema = m_catalog.schemaFor(database);
        if (schema.empty())
            throw EngineError{911, 16, 1,
                              "Database '" + database + "' does not exist. Make sure that the name is entered correctly."};
        return schema;
    }

    // The catalogue views SQL Server has in sys.
    std::string sysView(const std::string& view, const std::string& schema) const
    {
        const std::string v = toLower(view);
        if (v == "server_principals" || v == "sql_logins")
            return "\"master\".\"sys_server_principals\"";
        if (v == "database_principals")
            return quoteName(schema) + ".\"sys_database_principals\"";
        if (v == "schemas")
            return quoteName(schema) + ".\"sys_schemas\"";
        if (v == "database_permissions")
            return quoteName(schema) + ".\"sys_database_permissions\"";
        throw EngineError{208, 16, 1, "Invalid object name 'sys." + view + "'."};
    }

    // A table named by parts[0..n) (1: table, 2: dbo.table, 3: db.dbo.table).
    const TableInfo* tableOf(const std::vector<std::string>& parts, std::size_t n) const
    {
        if (n == 1)
            return m_catalog.currentTable(parts[0]);
        if (n == 2 && isDbo(parts[0]))
            return m_catalog.currentTable(parts[1]);
        if (n == 3 && isDbo(parts[1]))
            return m_catalog.table(m_catalog.schemaFor(parts[0]), parts[2]);
        return nullptr;
    }

    std::string emitTableName(const std::vector<std::string>& parts) const
    {
        if (parts.size() == 1)
            return quoteName(parts[0]);
        if (parts.size() == 2 && equalsIgnoreCase(parts[0], "sys"))
            return sysView(parts[1], "main");
        if (parts.size() == 2 && isDbo(parts[0]))
            return quoteName(parts[1]);
        if (parts.size() == 3 && equalsIgnoreCase(parts[1], "sys"))
            return sysView(parts[2], schemaOf(parts[0]));
        if (parts.size() == 3 && isDbo(parts[1]))
            return quoteName(schemaOf(parts[0])) + "." + quoteName(parts[2]);
        throw EngineError{208, 16, 1, "Invalid object name '" + parts.back() + "'."};
    }

    // Emits a dotted name used in an expression or a FROM clause, telling the type of
    // the column it names (Text when it is no known column).
    std::string emitName(const NameChain& chain, ColumnType& type) const
    {
        const auto& p = chain.parts;
        type = ColumnType::Text;
        switch (p.size()) {
        case 1:
            type = columnType(nullptr, p[0]);
            return quoteName(p[0]);
        case 2:
            if (equalsIgnoreCase(p[0], "sys") || isDbo(p[0]))
                return emitTableName(p);
            if (p[1] == "*")
                return quoteName(p[0]) + ".*";
            type = columnType(qualifierTable(p[0]), p[1]);
            return quoteName(p[0]) + "." + quoteName(p[1]);
        case 3:
            if (isDbo(p[1]) || equalsIgnoreCase(p[1], "sys"))
                return emitTableName(p);
            if (isDbo(p[0])) { // dbo.table.column
                type = columnType(tableOf(p, 2), p[2]);
                return quoteName(p[1]) + "." + (p[2] == "*" ? "*" : quoteName(p[2]));
            }
            break;
        case 4:
            if (isDbo(p[1])) { // db.dbo.table.column
                type = columnType(tableOf(p, 3), p[3]);
                return quoteName(schemaOf(p[0])) + "." + quoteName(p[2]) + "." + (p[3] == "*" ? "*" : quoteName(p[3]));
            }
            break;
        default: break;
        }
        throw EngineError{4104, 16, 1, "The multi-part identifier could not be bound."};
    }

    // The table a qualifier names: an alias of the statement, or a table of the current
    // database.
    const TableInfo* qualifierTable(const std::string& qualifier) const
    {
        if (auto it = m_aliases.find(toLower(qualifier)); it != m_aliases.end())
            return it->second;
        return m_catalog.currentTable(qualifier);
    }

    // A column's type; an unqualified name takes it from the statement's table that has
    // the column (Text when none has it or they disagree).
    ColumnType columnType(const TableInfo* table, const std::string& column) const
    {
        if (table) {
            const ColumnInfo* c = table->column(column);
            return c ? c->type : ColumnType::Text;
        }
        std::optional<ColumnType> found;
        for (const TableInfo* t : m_tables) {
            const ColumnInfo* c = t->column(column);
            if (!c)
                continue;
            if (found && *found != c->type)
                return c->type == ColumnType::Date || *found == ColumnType::Date ? ColumnType::Date : ColumnType::Text;
            found = c->type;
        }
        return found.value_or(ColumnType::Text);
    }

    // The tables a statement names (and their aliases), for typing its columns.
    void collectTables()
    {
        for (std::size_t i = m_begin; i < m_end; ++i) {
            if (m_t[i].kind != Kind::Word && m_t[i].kind != Kind::Quoted)
                continue;
            if (i > m_begin && m_t[i - 1].isSymbol("."))
                continue;
            NameChain chain = nameChain(i);
            const TableInfo* t = nullptr;
            for (std::size_t n = chain.parts.size(); n > 0 && !t; --n) {
                try {
                    t = tableOf(chain.parts, n);
                } catch (const EngineError&) {
                }
            }
            if (!t)
                continue;
            m_tables.insert(t);
            std::size_t a = chain.end;
            if (tok(a).isWord("as"))
                ++a;
            if (a < m_end && (tok(a).kind == Kind::Quoted || (tok(a).kind == Kind::Word && !isKeyword(tok(a))
                                                                && !isReservedWord(tok(a).value))))
                m_aliases[toLower(tok(a).value)] = t;
        }
    }

    // ----- expressions -----------------------------------------------------------

    // After a typed column: "op 'text'", "[NOT] BETWEEN 'a' AND 'b'", "[NOT] IN ('a', ...)"
    // with the texts converted to the column's type. Returns where it stopped (i when
    // nothing matched).
    std::size_t typedOperand(std::size_t i, std::size_t e, ColumnType type, std::vector<Piece>& out) const
    {
        if (i + 1 < e && isComparison(m_t[i]) && m_t[i + 1].kind == Kind::String) {
            out.push_back({symbolText(m_t[i]), Piece::Role::Other});
            out.push_back({typedLiteral(m_t[i + 1].value, type), Piece::Role::Operand});
            return i + 2;
        }
        std::size_t j = i;
        std::string prefix;
        if (j < e && m_t[j].isWord("not")) {
            prefix = "NOT ";
            ++j;
        }
        if (j + 3 < e && m_t[j].isWord("between") && m_t[j + 1].kind == Kind::String && m_t[j + 2].isWord("and")
            && m_t[j + 3].kind == Kind::String) {
            out.push_back({prefix + "BETWEEN " + typedLiteral(m_t[j + 1].value, type) + " AND "
                               + typedLiteral(m_t[j + 3].value, type),
                           Piece::Role::Other});
            return j + 4;
        }
        if (j + 1 < e && m_t[j].isWord("in") && m_t[j + 1].isSymbol("(")) {
            const std::size_t close = matchParen(j + 1, e);
            std::string list;
            for (auto [b, en] : splitArgs(j + 2, close)) {
                if (en != b + 1 || m_t[b].kind != Kind::String)
                    return i;
                list += (list.empty() ? "" : ", ") + typedLiteral(m_t[b].value, type);
            }
            out.push_back({prefix + "IN (" + list + ")", Piece::Role::Other});
            return close + 1;
        }
        return i;
    }

    static std::string symbolText(const Token& t)
    {
        if (t.value == "!<")
            return ">=";
        if (t.value == "!>")
            return "<=";
        return t.value;
    }

    // A name written without brackets must not be one of SQL Server's reserved words.
    void checkNotReserved(std::size_t b, std::size_t e) const
    {
        for (std::size_t k = b; k < e; ++k)
            if (m_t[k].kind == Kind::Word && isReservedWord(m_t[k].value))
                throw EngineError{156, 15, 1, "Incorrect syntax near the keyword '" + m_t[k].value + "'."};
    }

    // The range b..e as SQLite text.
    std::string rewrite(std::size_t b, std::size_t e)
    {
        std::vector<Piece> out;
        std::string limit;
        auto emit = [&](const std::string& piece) { out.push_back({piece, Piece::Role::Other}); };
        auto operand = [&](const std::string& piece) { out.push_back({piece, Piece::Role::Operand}); };
        std::size_t i = b;
        while (i < e) {
            const Token& t = m_t[i];
            if (t.isSymbol("(")) {
                const std::size_t close = matchParen(i, e);
                operand("(" + rewrite(i + 1, close) + ")");
                i = close + 1;
                continue;
            }
            if (t.isSymbol(")"))
                syntaxError(i);
            if (t.isWord("select")) {
                emit("SELECT");
                ++i;
                if (i < e && (m_t[i].isWord("distinct") || m_t[i].isWord("all")))
                    emit(toLower(m_t[i++].value) == "distinct" ? "DISTINCT" : "ALL");
                if (i < e && m_t[i].isWord("top")) {
                    ++i;
                    bool paren = false;
                    if (i < e && m_t[i].isSymbol("(")) {
                        paren = true;
                        ++i;
                    }
                    if (i >= e || m_t[i].kind != Kind::Number || m_t[i].value.find_first_of(".eE") != std::string::npos)
                        syntaxError(i);
                    try {
                        limit = std::to_string(integerValue(m_t[i++]));
                    } catch (const EngineError&) {
                        throw EngineError{8115, 16, 2, "Arithmetic overflow error converting expression to data type "
                                                       "bigint."};
                    }
                    if (paren)
                        expectSymbol(i, ")");
                    if (i < e && (m_t[i].isWord("percent") || m_t[i].isWord("with")))
                        syntaxError(i);
                }
                continue;
            }
            if (t.kind == Kind::Word && i + 1 < e && m_t[i + 1].isSymbol("(") && !isKeyword(t)) {
                i = function(i, e, operand);
                continue;
            }
            if (t.isWord("current_timestamp")) {
                operand("getdate()");
                ++i;
                continue;
            }
            if (t.isWord("collate")) {
                if (i + 1 >= e || m_t[i + 1].kind != Kind::Word)
                    syntaxError(i + 1);
                const std::string name = toLower(m_t[i + 1].value);
                emit(name.find("_cs_") != std::string::npos || name.find("_bin") != std::string::npos
                         ? "COLLATE BINARY"
                         : "COLLATE TSQL");
                i += 2;
                continue;
            }
            if (t.isWord("null")) {
                operand("NULL");
                ++i;
                continue;
            }
            if (isKeyword(t)) {
                emit(toLower(t.value));
                ++i;
                continue;
            }
            if (t.kind == Kind::Word || t.kind == Kind::Quoted) {
                NameChain chain = nameChain(i);
                if (chain.end > e)
                    syntaxError(e);
                checkNotReserved(i, chain.end);
                ColumnType type = ColumnType::Text;
                operand(emitName(chain, type));
                i = chain.end;
                if (type != ColumnType::Text)
                    i = typedOperand(i, e, type, out);
                continue;
            }
            if (t.kind == Kind::String) {
                // 'text' op typed-column: the text is converted to the column's type.
                if (i + 2 < e && isComparison(m_t[i + 1])) {
                    NameChain chain = nameChain(i + 2);
                    if (!chain.parts.empty() && chain.end <= e) {
                        checkNotReserved(i + 2, chain.end);
                        ColumnType type = ColumnType::Text;
                        const std::string name = emitName(chain, type);
                        if (type != ColumnType::Text) {
                            operand(typedLiteral(t.value, type));
                            emit(symbolText(m_t[i + 1]));
                            operand(name);
                            i = chain.end;
                            continue;
                        }
                    }
                }
                // A text compares as SQL Server's default collation does even where no
                // column lends it one: 'abc' = 'ABC ', CONVERT(char, d, 101) = '03/07/2009'.
                operand(quoteString(t.value) + " COLLATE TSQL");
                ++i;
                continue;
            }
            if (t.kind == Kind::Variable) {
                if (equalsIgnoreCase(t.value, "@@trancount")) {
                    operand("trancount()");
                    ++i;
                    continue;
                }
                throw EngineError{137, 15, 2, "Must declare the scalar variable \"" + t.value + "\"."};
            }
            if (t.kind == Kind::Number || t.kind == Kind::Parameter) {
                operand(t.value);
                ++i;
                continue;
            }
            if (t.kind == Kind::Symbol) {
                if (t.value == ";" || t.value == "==" || t.value == "||" || t.value == "^" || t.value == "<<"
                    || t.value == ">>" || t.value == "`")
                    syntaxError(i);
                if (t.value == "+" || t.value == "-")
                    out.push_back({t.value, Piece::Role::Additive});
                else if (t.value == "*" || t.value == "/" || t.value == "%")
                    out.push_back({t.value, Piece::Role::Multiplicative});
                else
                    emit(symbolText(t));
                ++i;
                continue;
            }
            syntaxError(i);
        }
        if (!limit.empty())
            emit("LIMIT " + limit);
        return joinPieces(out);
    }

    template <typename Emit>
    std::size_t function(std::size_t i, std::size_t e, Emit& emit)
    {
        const std::string name = toLower(m_t[i].value);
        const std::size_t open = i + 1;
        const std::size_t close = matchParen(open, e);
        auto args = splitArgs(open + 1, close);
        const bool empty = close == open + 1;
        if (name == "datediff") {
            if (args.size() != 3)
                throw EngineError{174, 15, 1, "The datediff function requires 3 argument(s)."};
            const auto [ub, ue] = args[0];
            if (ue != ub + 1 || (m_t[ub].kind != Kind::Word && m_t[ub].kind != Kind::Quoted)
                || !isDateDiffUnit(m_t[ub].value))
                throw EngineError{155, 15, 1, "'" + tokenText(m_t[ub]) + "' is not a recognized datediff option."};
            emit("datediff(" + quoteString(toLower(m_t[ub].value)) + ", " + rewrite(args[1].first, args[1].second)
                 + ", " + rewrite(args[2].first, args[2].second) + ")");
            return close + 1;
        }
        if (name == "convert") {
            if (args.size() < 2 || args.size() > 3)
                throw EngineError{174, 15, 1, "The convert function requires 2 to 3 arguments."};
            std::optional<int> style;
            if (args.size() == 3) {
                const auto [sb, se] = args[2];
                if (se != sb + 1 || m_t[sb].kind != Kind::Number)
                    syntaxError(sb);
                style = smallIntegerValue(m_t[sb]);
            }
            emit(conversion(args[0].first, args[0].second, rewrite(args[1].first, args[1].second), style));
            return close + 1;
        }
        if (name == "cast") {
            // CAST(expr AS type): AS at the top level of the parentheses.
            int depth = 0;
            for (std::size_t j = open + 1; j < close; ++j) {
                if (m_t[j].isSymbol("("))
                    ++depth;
                else if (m_t[j].isSymbol(")"))
                    --depth;
                else if (depth == 0 && m_t[j].isWord("as")) {
                    emit(conversion(j + 1, close, rewrite(open + 1, j), std::nullopt));
                    return close + 1;
                }
            }
            syntaxError(close);
        }
        const char* engineName = functionName(name);
        if (!engineName)
            throw EngineError{195, 15, 10, "'" + m_t[i].value + "' is not a recognized built-in function name."};
        std::string call = std::string(engineName) + "(";
        if (!empty) {
            bool first = true;
            for (auto [b, en] : args) {
                call += (first ? "" : ", ") + rewrite(b, en);
                first = false;
            }
        }
        emit(call + ")");
        return close + 1;
    }

    // CONVERT(type, expr[, style]) and CAST(expr AS type), the type at [tb, te).
    std::string conversion(std::size_t tb, std::size_t te, const std::string& expr, std::optional<int> style) const
    {
        if (tb >= te || m_t[tb].kind != Kind::Word)
            syntaxError(tb);
        const std::string type = toLower(m_t[tb].value);
        int length = -1;
        if (tb + 1 < te) {
            if (!m_t[tb + 1].isSymbol("("))
                syntaxError(tb + 1);
            if (m_t[tb + 2].isWord("max"))
                length = 0;
            else if (m_t[tb + 2].kind == Kind::Number)
                length = smallIntegerValue(m_t[tb + 2]);
            else
                syntaxError(tb + 2);
        }
        return conversionText(type, m_t[tb].value, length, expr, style);
    }

public:
    std::string m_source;

private:
    const std::vector<Token>& m_t;
    std::size_t m_begin;
    std::size_t m_end;
    const Catalog& m_catalog;
    std::set<const TableInfo*> m_tables;
    std::map<std::string, const TableInfo*> m_aliases; // lower-case alias -> table
};

} // namespace

std::shared_ptr<const Plan> translate(std::string_view text, const Catalog& catalog)
{
    const std::vector<Token> tokens = tokenize(text);
    std::vector<std::pair<std::size_t, std::size_t>> statements;
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].isSymbol("("))
            ++depth;
        else if (tokens[i].isSymbol(")"))
            --depth;
        else if (depth == 0 && tokens[i].isSymbol(";")) {
            if (i > start)
                statements.emplace_back(start, i);
            start = i + 1;
        }
    }
    if (tokens.size() - 1 > start)
        statements.emplace_back(start, tokens.size() - 1);
    if (statements.empty())
        throw errors::syntaxAtEnd();
    auto one = [&](std::pair<std::size_t, std::size_t> range) {
        StatementTranslator st(tokens, range.first, range.second, catalog);
        st.m_source = std::string(text);
        return st.run();
    };
    if (statements.size() == 1)
        return one(statements.front());
    auto batch = std::make_shared<Plan>();
    batch->kind = Plan::Kind::Batch;
    for (const auto& range : statements)
        batch->parts.push_back(one(range));
    return batch;
}

std::string rewriteObjectNames(std::string_view sqliteText, const Catalog& catalog)
{
    const std::vector<Token> t = tokenize(sqliteText);
    std::string out;
    std::size_t copied = 0;
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i].kind != Kind::Word && t[i].kind != Kind::Quoted)
            continue;
        if (i > 0 && t[i - 1].isSymbol("."))
            continue;
        // db.dbo.name or db..name
        if (i + 3 < t.size() && t[i + 1].isSymbol(".") && (t[i + 2].isWord("dbo") && t[i + 3].isSymbol("."))) {
            const std::string schema = catalog.schemaFor(t[i].value);
            if (!schema.empty()) {
                out.append(sqliteText.substr(copied, t[i].begin - copied));
                out += quoteName(schema);
                copied = t[i + 2].end; // keeps the '.' that follows dbo
                i += 2;
                continue;
            }
        }
        if (i + 2 < t.size() && t[i + 1].isSymbol(".") && t[i + 2].isSymbol(".")) {
            const std::string schema = catalog.schemaFor(t[i].value);
            if (!schema.empty()) {
                out.append(sqliteText.substr(copied, t[i].begin - copied));
                out += quoteName(schema);
                copied = t[i + 1].end; // keeps the second '.'
                i += 1;
                continue;
            }
        }
        if (t[i].isWord("dbo") && i + 1 < t.size() && t[i + 1].isSymbol(".")) {
            out.append(sqliteText.substr(copied, t[i].begin - copied));
            copied = t[i + 1].end;
            ++i;
        }
    }
    out.append(sqliteText.substr(copied));
    return out;
}

} // namespace dalport::embedded
