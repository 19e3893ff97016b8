#include "dalport/embedded/NameResolver.h"

#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Tokenizer.h"

namespace dalport::embedded {

ValueType valueTypeOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Text: return ValueType::Text;
    case ColumnType::Integer: return ValueType::Integer;
    case ColumnType::Float: return ValueType::Float;
    case ColumnType::Date: return ValueType::Date;
    }
    return ValueType::Unknown;
}

namespace {

EngineError reservedName(const std::string& word)
{
    return EngineError{156, 15, 1, "Incorrect syntax near the keyword '" + word + "'."};
}

EngineError invalidColumn(const std::string& name) { return {207, 16, 1, "Invalid column name '" + name + "'."}; }

EngineError invalidObject(const std::string& name) { return {208, 16, 1, "Invalid object name '" + name + "'."}; }

bool isDbo(const std::string& part) { return part.empty() || equalsIgnoreCase(part, "dbo"); }

std::string joined(const std::vector<std::string>& parts)
{
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : ".") + p;
    return out;
}

bool isNumeric(ValueType t) { return t == ValueType::Integer || t == ValueType::Float; }

// The type that wins when values of two types meet (CASE branches, ISNULL, ...):
// SQL Server's precedence, datetime over float over int over varchar.
ValueType dominant(ValueType a, ValueType b)
{
    auto rank = [](ValueType t) {
        switch (t) {
        case ValueType::Date: return 4;
        case ValueType::Float: return 3;
        case ValueType::Integer: return 2;
        case ValueType::Text: return 1;
        case ValueType::Unknown: return 0;
        }
        return 0;
    };
    return rank(a) >= rank(b) ? a : b;
}

// One table, view or derived table of a FROM list as its scope sees it.
struct Source {
    std::string exposed;      // alias, else the table's name
    bool aliased = false;
    const TableInfo* table = nullptr;
    const std::vector<ValueType>* derivedTypes = nullptr; // derived tables
    std::string qualifier;    // SQLite text that qualifies its columns ("" for none)
    std::string schema;       // SQLite schema of a catalogued table
    std::string tableName;    // a catalogued table's name
};

struct Scope {
    std::vector<Source> sources;
    const Scope* parent = nullptr;
    // ORDER BY: the select list whose aliases it sees first.
    const std::vector<SelectItem>* aliases = nullptr;
};

class Resolver {
public:
    explicit Resolver(const Catalog& catalog) : m_catalog(catalog) {}

    void statement(ParsedStatement& s)
    {
        switch (s.kind) {
        case ParsedStatement::Kind::Select: query(*s.query, nullptr); break;
        case ParsedStatement::Kind::IfExists:
            query(*s.query, nullptr);
            statement(*s.then);
            break;
        case ParsedStatement::Kind::Insert: insert(*s.insert); break;
        case ParsedStatement::Kind::Update: update(*s.update); break;
        case ParsedStatement::Kind::Delete: remove(*s.del); break;
        case ParsedStatement::Kind::Control: break;
        }
    }

private:
    // ----- tables ----------------------------------------------------------------

    std::string schemaOf(const std::string& database) const
    {
        const std::string schema = m_catalog.schemaFor(database);
        if (schema.empty())
            throw EngineError{911, 16, 1,
                              "Database '" + database + "' does not exist. Make sure that the name is entered correctly."};
        return schema;
    }

    // The catalogue views SQL Server has in sys, and where the engine keeps them.
    std::pair<std::string, std::string> sysView(const std::string& view, const std::string& schema) const
    {
        const std::string v = toLower(view);
        if (v == "server_principals" || v == "sql_logins")
            return {"master", "sys_server_principals"};
        if (v == "database_principals" || v == "schemas" || v == "database_permissions")
            return {schema, "sys_" + v};
        throw invalidObject("sys." + view);
    }

    // Binds a table named in FROM, INSERT, UPDATE or DELETE to the catalogue.
    void table(TableRef& ref)
    {
        if (!ref.reserved.empty())
            throw reservedName(ref.reserved);
        const auto& p = ref.parts;
        std::string schema;
        std::string name;
        if (p.size() == 1) {
            schema = "main";
            name = p[0];
        } else if (p.size() == 2 && equalsIgnoreCase(p[0], "sys")) {
            std::tie(schema, name) = sysView(p[1], "main");
        } else if (p.size() == 2 && isDbo(p[0])) {
            schema = "main";
            name = p[1];
        } else if (p.size() == 2 && !m_catalog.schemaFor(p[0]).empty()) {
            // db.table: the engine has always read it as that database's table.
            schema = m_catalog.schemaFor(p[0]);
            name = p[1];
        } else if (p.size() == 3 && equalsIgnoreCase(p[1], "sys")) {
            std::tie(schema, name) = sysView(p[2], schemaOf(p[0]));
        } else if (p.size() == 3 && isDbo(p[1])) {
            schema = schemaOf(p[0]);
            name = p[2];
        } else {
            throw invalidObject(p.back());
        }
        ref.table = m_catalog.table(schema, name);
        if (!ref.table)
            throw invalidObject(p.back());
        ref.sqliteName = (schema == "main" ? std::string() : quoteName(schema) + ".") + quoteName(ref.table->name);
    }

    Source sourceOf(TableRef& ref, const Scope* outer)
    {
        Source s;
        if (ref.derived) {
            query(*ref.derived, outer);
            ref.table = ref.derived->shape.get();
            s.table = ref.table;
            s.derivedTypes = &ref.derived->types;
        } else {
            table(ref);
            s.table = ref.table;
            s.schema = ref.table ? ref.table->schema : std::string("main");
            s.tableName = ref.table ? ref.table->name : ref.parts.back();
        }
        s.aliased = !ref.alias.empty();
        s.exposed = s.aliased ? ref.alias : s.tableName;
        if (s.aliased)
            s.qualifier = quoteName(ref.alias);
        else if (!ref.derived)
            s.qualifier = ref.sqliteName;
        return s;
    }

    // ----- statements ------------------------------------------------------------

    void insert(InsertStatement& ins)
    {
        table(ins.target);
        if (!ins.reserved.empty())
            throw reservedName(ins.reserved);
        std::vector<ValueType> targets;
        for (const std::string& c : ins.columns) {
            if (!ins.target.table) {
                targets.push_back(ValueType::Unknown);
                continue;
            }
            const ColumnInfo* column = ins.target.table->column(c);
            if (!column)
                throw invalidColumn(c);
            targets.push_back(valueTypeOf(column->type));
            ins.targetColumns.push_back(column);
        }
        if (ins.columns.empty() && ins.target.table)
            for (const ColumnInfo& c : ins.target.table->columns) {
                targets.push_back(valueTypeOf(c.type));
                ins.targetColumns.push_back(&c);
            }
        ins.targetTypes = targets;
        ins.targetTitle = title(ins.target);
        if (ins.query) {
            query(*ins.query, nullptr);
            return;
        }
        Scope empty;
        for (auto& row : ins.rows)
            for (auto& e : row)
                expr(*e, empty);
    }

    // A written table as SQL Server names it in messages: database.dbo.table.
    std::string title(const TableRef& target) const
    {
        if (!target.table)
            return target.parts.empty() ? std::string() : target.parts.back();
        const std::string& schema = target.table->schema;
        return (schema == "main" ? m_catalog.currentDatabase() : schema) + ".dbo." + target.table->name;
    }

    Scope targetScope(TableRef& target)
    {
        table(target);
        Scope scope;
        Source s;
        s.table = target.table;
        s.schema = target.table ? target.table->schema : std::string("main");
        s.tableName = target.table ? target.table->name : target.parts.back();
        s.exposed = s.tableName;
        scope.sources.push_back(s); // columns unqualified: the statement has one table
        return scope;
    }

    void update(UpdateStatement& up)
    {
        Scope scope = targetScope(up.target);
        if (!up.reserved.empty())
            throw reservedName(up.reserved);
        up.targetTitle = title(up.target);
        for (Assignment& a : up.set) {
            if (!up.target.table) {
                expr(*a.value, scope);
                continue;
            }
            const ColumnInfo* column = up.target.table->column(a.column);
            if (!column)
                throw invalidColumn(a.column);
            a.type = valueTypeOf(column->type);
            a.target = column;
            expr(*a.value, scope);
        }
        if (up.where)
            expr(*up.where, scope);
    }

    void remove(DeleteStatement& del)
    {
        Scope scope = targetScope(del.target);
        if (del.where)
            expr(*del.where, scope);
    }

    // ----- queries ---------------------------------------------------------------

    void query(Query& q, const Scope* outer)
    {
        std::vector<Scope> scopes;
        scopes.reserve(q.cores.size());
        for (SelectCore& core : q.cores) {
            scopes.emplace_back();
            Scope& scope = scopes.back();
            scope.parent = outer;
            for (TableRef& ref : core.from) {
                scope.sources.push_back(sourceOf(ref, outer));
                if (ref.on)
                    expr(*ref.on, scope);
            }
            for (SelectItem& item : core.items)
                if (item.expr->kind != Expr::Kind::Star)
                    expr(*item.expr, scope);
            if (core.where)
                expr(*core.where, scope);
            for (auto& g : core.groupBy)
                expr(*g, scope);
            if (core.having)
                expr(*core.having, scope);
        }
        shape(q, scopes.front());
        Scope order = scopes.front();
        order.aliases = &q.cores.front().items;
        for (OrderItem& item : q.orderBy)
            expr(*item.expr, order);
    }

    // The columns a query yields, named as its first SELECT names them.
    void shape(Query& q, const Scope& scope)
    {
        auto info = std::make_shared<TableInfo>();
        q.types.clear();
        auto add = [&](const std::string& name, ValueType type) {
            ColumnInfo c;
            c.name = name;
            c.isDate = type == ValueType::Date;
            info->columns.push_back(c);
            q.types.push_back(type);
        };
        auto addSource = [&](const Source& s) {
            if (!s.table)
                return;
            for (std::size_t i = 0; i < s.table->columns.size(); ++i)
                add(s.table->columns[i].name, s.derivedTypes ? (*s.derivedTypes)[i]
                                                                : valueTypeOf(s.table->columns[i].type));
        };
        for (const SelectItem& item : q.cores.front().items) {
            const Expr& e = *item.expr;
            if (e.kind == Expr::Kind::Star) {
                for (const Source& s : scope.sources)
                    addSource(s);
            } else if (e.kind == Expr::Kind::Name && e.parts.back() == "*") {
                for (const Source& s : scope.sources)
                    if (equalsIgnoreCase(s.exposed, e.parts[e.parts.size() - 2]))
                        addSource(s);
            } else if (item.hasAlias) {
                add(item.alias, e.type);
            } else if (e.kind == Expr::Kind::Name) {
                add(e.parts.back(), e.type);
            } else {
                add(std::string(), e.type);
            }
        }
        q.shape = info;
    }

    // ----- names -----------------------------------------------------------------

    struct Found {
        const Source* source = nullptr;
        std::size_t column = 0;
    };

    static bool columnOf(const Source& s, const std::string& name, std::size_t& index)
    {
        if (!s.table)
            return false;
        for (std::size_t i = 0; i < s.table->columns.size(); ++i) {
            if (!s.table->columns[i].name.empty() && equalsIgnoreCase(s.table->columns[i].name, name)) {
                index = i;
                return true;
            }
        }
        return false;
    }

    void bind(Expr& e, const Source& s, std::size_t column)
    {
        const std::string& name = s.table->columns[column].name;
        e.bound = s.qualifier.empty() ? quoteName(name) : s.qualifier + "." + quoteName(name);
        e.type = s.derivedTypes ? (*s.derivedTypes)[column] : valueTypeOf(s.table->columns[column].type);
    }

    // Whether a qualifier of `n` parts (t, schema.t, db.schema.t) names source s.
    bool names(const Source& s, const std::vector<std::string>& parts, std::size_t n) const
    {
        if (n == 1)
            return equalsIgnoreCase(s.exposed, parts[0]);
        if (s.aliased || s.tableName.empty() || !equalsIgnoreCase(s.tableName, parts[n - 1]))
            return false;
        if (!isDbo(parts[n - 2]))
            return false;
        if (n == 2)
            return s.schema == "main";
        const std::string schema = m_catalog.schemaFor(parts[0]);
        return !schema.empty() && schema == s.schema;
    }

    // A select-list alias ORDER BY may name.
    bool orderAlias(Expr& e, const Scope& scope)
    {
        if (!scope.aliases || e.parts.size() != 1)
            return false;
        const SelectItem* match = nullptr;
        for (const SelectItem& item : *scope.aliases) {
            if (!item.hasAlias || !equalsIgnoreCase(item.alias, e.parts[0]))
                continue;
            if (match)
                throw EngineError{209, 16, 1, "Ambiguous column name '" + e.parts[0] + "'."};
            match = &item;
        }
        if (!match)
            return false;
        e.bound = quoteName(match->alias);
        e.type = match->expr->type;
        return true;
    }

    void name(Expr& e, const Scope& scope)
    {
        if (!e.reserved.empty())
            throw reservedName(e.reserved);
        const auto& p = e.parts;
        if (orderAlias(e, scope))
            return;
        if (p.size() == 1) {
            for (const Scope* s = &scope; s; s = s->parent) {
                Found found;
                for (const Source& source : s->sources) {
                    std::size_t column = 0;
                    if (!columnOf(source, p[0], column))
                        continue;
                    if (found.source)
                        throw EngineError{209, 16, 1, "Ambiguous column name '" + p[0] + "'."};
                    found = {&source, column};
                }
                if (found.source) {
                    bind(e, *found.source, found.column);
                    return;
                }
            }
            throw invalidColumn(p[0]);
        }
        const std::size_t n = p.size() - 1;
        for (const Scope* s = &scope; s; s = s->parent) {
            for (const Source& source : s->sources) {
                if (!names(source, p, n))
                    continue;
                if (p.back() == "*") {
                    e.bound = (source.qualifier.empty() ? quoteName(source.exposed) : source.qualifier) + ".*";
                    return;
                }
                std::size_t column = 0;
                if (!columnOf(source, p.back(), column))
                    throw invalidColumn(p.back());
                bind(e, source, column);
                return;
            }
        }
        throw EngineError{4104, 16, 1, "The multi-part identifier \"" + joined(p) + "\" could not be bound."};
    }

    // ----- expressions -----------------------------------------------------------

    void expr(Expr& e, const Scope& scope)
    {
        for (auto& a : e.args)
            expr(*a, scope);
        if (e.query)
            query(*e.query, &scope);
        using K = Expr::Kind;
        switch (e.kind) {
        case K::Name: name(e, scope); break;
        case K::Star: break;
        case K::String: e.type = ValueType::Text; break;
        case K::Number:
            e.type = e.text.find_first_of(".eE") == std::string::npos ? ValueType::Integer : ValueType::Float;
            break;
        case K::Null:
        case K::Parameter: break;
        case K::Variable: e.type = ValueType::Integer; break;
        case K::Unary: e.type = e.text == "~" ? ValueType::Integer : e.args[0]->type; break;
        case K::Binary: e.type = binaryType(e); break;
        case K::Not:
        case K::Like:
        case K::Between:
        case K::InList:
        case K::InQuery:
        case K::Exists:
        case K::IsNull: e.type = ValueType::Integer; break;
        case K::Case: {
            ValueType t = ValueType::Unknown;
            const std::size_t first = e.hasOperand ? 1 : 0;
            for (std::size_t i = first + 1; i < e.args.size(); i += 2)
                t = dominant(t, e.args[i]->type);
            if (e.hasElse)
                t = dominant(t, e.args.back()->type);
            e.type = t;
            break;
        }
        case K::Function: e.type = functionType(e); break;
        case K::Convert: e.type = convertType(e.text); break;
        case K::DateDiff: e.type = ValueType::Integer; break;
        case K::Collate: e.type = ValueType::Text; break;
        case K::Subquery: e.type = e.query->types.empty() ? ValueType::Unknown : e.query->types.front(); break;
        case K::Paren: e.type = e.args[0]->type; break;
        }
    }

    static ValueType binaryType(const Expr& e)
    {
        const ValueType a = e.args[0]->type;
        const ValueType b = e.args[1]->type;
        const std::string& op = e.text;
        if (op == "+" || op == "-") {
            if (a == ValueType::Text && b == ValueType::Text)
                return ValueType::Text;
            if (isNumeric(a) && isNumeric(b))
                return dominant(a, b);
            // A text literal meeting a number becomes that number.
            if (isNumeric(a) && e.args[1]->kind == Expr::Kind::String)
                return a;
            if (isNumeric(b) && e.args[0]->kind == Expr::Kind::String)
                return b;
            if ((a == ValueType::Date && isNumeric(b)) || (b == ValueType::Date && isNumeric(a) && op == "+"))
                return ValueType::Date;
            return ValueType::Unknown;
        }
        if (op == "*" || op == "/" || op == "%")
            return isNumeric(a) && isNumeric(b) ? dominant(a, b) : ValueType::Unknown;
        return ValueType::Integer; // comparisons, AND, OR, & and |
    }

    static ValueType functionType(const Expr& e)
    {
        const std::string& f = e.text;
        if (f == "count" || f == "len" || f == "year" || f == "month" || f == "day")
            return ValueType::Integer;
        if (f == "getdate")
            return ValueType::Date;
        if (f == "upper" || f == "lower" || f == "ltrim" || f == "rtrim" || f == "substring" || f == "replace"
            || f == "left" || f == "right" || f == "user_name")
            return ValueType::Text;
        if (f == "avg")
            return e.args.empty() || !isNumeric(e.args[0]->type) ? ValueType::Unknown : e.args[0]->type;
        if (f == "isnull" || f == "coalesce") {
            ValueType t = ValueType::Unknown;
            for (const auto& a : e.args)
                t = dominant(t, a->type);
            return t;
        }
        // max, min, sum, abs, round, nullif: their first argument's type.
        return e.args.empty() ? ValueType::Unknown : e.args[0]->type;
    }

    static ValueType convertType(const std::string& t)
    {
        if (t == "char" || t == "nchar" || t == "varchar" || t == "nvarchar")
            return ValueType::Text;
        if (t == "int" || t == "integer" || t == "bigint" || t == "smallint" || t == "tinyint")
            return ValueType::Integer;
        if (t == "float" || t == "real" || t == "decimal" || t == "numeric" || t == "money")
            return ValueType::Float;
        if (t == "datetime" || t == "smalldatetime" || t == "datetime2" || t == "date")
            return ValueType::Date;
        return ValueType::Unknown;
    }

    const Catalog& m_catalog;
};

} // namespace

void resolveStatement(ParsedStatement& statement, const Catalog& catalog) { Resolver(catalog).statement(statement); }

} // namespace dalport::embedded
