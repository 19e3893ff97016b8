#include "dalport/embedded/SqlEmitter.h"

#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/ExpressionText.h"
#include "dalport/embedded/LiteralLifter.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Tokenizer.h"

#include <array>
#include <optional>

namespace dalport::embedded {

namespace {

using K = Expr::Kind;

// T-SQL functions and what they are called in the engine.
const char* functionName(const std::string& name)
{
    struct Entry { const char* tsql; const char* engine; };
    static constexpr std::array<Entry, 22> table{{
        {"getdate", "getdate"}, {"isnull", "ifnull"}, {"len", "tsql_len"}, {"substring", "substr"},
        {"upper", "upper"}, {"lower", "lower"}, {"ltrim", "ltrim"}, {"rtrim", "rtrim"},
        {"abs", "abs"}, {"round", "round"}, {"count", "count"}, {"max", "max"}, {"min", "min"},
        {"sum", "sum"}, {"avg", "avg"}, {"coalesce", "coalesce"}, {"nullif", "nullif"},
        {"replace", "replace"}, {"year", "tsql_year"}, {"month", "tsql_month"}, {"day", "tsql_day"},
        {"user_name", "tsql_user"},
    }};
    for (const auto& e : table)
        if (name == e.tsql)
            return e.engine;
    return nullptr;
}

bool isNumeric(ValueType t) { return t == ValueType::Integer || t == ValueType::Float; }

// A text literal met by a value of type t is converted to t; Text and Unknown keep it.
bool converts(ValueType t) { return isNumeric(t) || t == ValueType::Date; }

ColumnType columnTypeOf(ValueType t)
{
    switch (t) {
    case ValueType::Integer: return ColumnType::Integer;
    case ValueType::Float: return ColumnType::Float;
    case ValueType::Date: return ColumnType::Date;
    default: return ColumnType::Text;
    }
}

// How a text literal meeting a value of type t is bound; none for a real number.
std::optional<LiteralConversion> conversionTo(ValueType t)
{
    switch (t) {
    case ValueType::Integer: return LiteralConversion::ToInteger;
    case ValueType::Date: return LiteralConversion::ToDate;
    default: return std::nullopt;
    }
}

// Literals bound by one SQLite statement at most: SQLite's preparation slows down with
// many parameters, where it folds written constants; the rest stay written.
constexpr std::size_t kMaxBoundLiterals = 128;

class Emitter {
public:
    explicit Emitter(LiteralLifting* lifting) : m_lifting(lifting) {}

    // The literals bound to ?1, ?2, ... of the text emitted so far.
    std::vector<LiteralUse> takeLiterals() { return std::move(m_uses); }

    // `storing`: the INSERT whose values this query gives, converted to its columns.
    std::string query(const Query& q, bool topLevel, const InsertStatement* storing = nullptr)
    {
        std::string out;
        const bool compound = q.cores.size() > 1;
        for (const SelectCore& core : q.cores) {
            if (!core.compound.empty())
                out += " " + core.compound + " ";
            std::string text = select(core, topLevel, storing);
            // TOP of one SELECT of a UNION limits that SELECT only.
            if (compound && core.top)
                text = "SELECT * FROM (" + text + " LIMIT " + std::to_string(*core.top) + ")";
            out += text;
        }
        if (!q.orderBy.empty()) {
            out += " ORDER BY ";
            for (std::size_t i = 0; i < q.orderBy.size(); ++i) {
                const OrderItem& item = q.orderBy[i];
                // A UNION is ordered by its result's columns, named without their tables.
                const bool plainName = compound && item.expr->kind == K::Name;
                out += (i ? ", " : "") + (plainName ? quoteName(item.expr->parts.back()) : written(*item.expr));
                if (item.descending)
                    out += " DESC";
                else if (item.ascending)
                    out += " ASC";
            }
        }
        if (!compound && q.cores.front().top)
            out += " LIMIT " + std::to_string(*q.cores.front().top);
        return out;
    }

    std::string from(const std::vector<TableRef>& refs)
    {
        std::string out;
        for (const TableRef& ref : refs) {
            switch (ref.join) {
            case TableRef::Join::First: break;
            case TableRef::Join::Comma: out += ", "; break;
            case TableRef::Join::Inner: out += " JOIN "; break;
            case TableRef::Join::Left: out += " LEFT JOIN "; break;
            case TableRef::Join::Right: out += " RIGHT JOIN "; break;
            case TableRef::Join::Full: out += " FULL JOIN "; break;
            case TableRef::Join::Cross: out += " CROSS JOIN "; break;
            }
            if (ref.derived) {
                out += '(';
                out += query(*ref.derived, false);
                out += ')';
            } else {
                out += ref.sqliteName;
            }
            if (!ref.alias.empty())
                out += " AS " + quoteName(ref.alias);
            if (ref.on)
                out += " ON " + expr(*ref.on);
        }
        return out;
    }

    std::string select(const SelectCore& core, bool topLevel, const InsertStatement* storing = nullptr)
    {
        std::string out = core.distinct ? "SELECT DISTINCT " : "SELECT ";
        for (std::size_t i = 0; i < core.items.size(); ++i) {
            const SelectItem& item = core.items[i];
            out += i ? ", " : "";
            if (storing && i < storing->targetColumns.size()) {
                // Converted in place, under the name it had: a UNION's ORDER BY still
                // finds its columns. Written as a select list is, literals and all.
                const ColumnInfo* column = storing->targetColumns[i];
                const std::string value = written(*item.expr);
                out += column && item.expr->kind != K::Null ? storedValueText(value, *column, storing->targetTitle)
                                                            : value;
                if (item.hasAlias || item.expr->kind == K::Name)
                    out += " AS " + quoteName(item.hasAlias ? item.alias : item.expr->parts.back());
                continue;
            }
            out += written(*item.expr);
            if (item.hasAlias)
                out += " AS " + quoteName(item.alias);
            else if (topLevel && item.expr->kind != K::Name && item.expr->kind != K::Star)
                out += " AS \"\""; // SQL Server gives an expression no name
        }
        if (!core.from.empty())
            out += " FROM " + from(core.from);
        if (core.where)
            out += " WHERE " + expr(*core.where);
        if (!core.groupBy.empty()) {
            out += " GROUP BY ";
            for (std::size_t i = 0; i < core.groupBy.size(); ++i)
                out += (i ? ", " : "") + written(*core.groupBy[i]);
        }
        if (core.having)
            out += " HAVING " + expr(*core.having);
        return out;
    }

    // A value meeting a value of type `other`: a text literal becomes that type.
    std::string operand(const Expr& e, ValueType other)
    {
        if (e.kind == K::String && converts(other))
            return literal(e, conversionTo(other), typedLiteral(e.text, columnTypeOf(other)));
        return expr(e);
    }

    // An expression whose literals stay written in the text: a select list names and
    // types its columns by them, ORDER BY and GROUP BY read a number as a column's place.
    std::string written(const Expr& e)
    {
        ++m_writing;
        std::string out = expr(e);
        --m_writing;
        return out;
    }

    // A literal as a parameter bound to its (converted) value, or written as `text`.
    std::string literal(const Expr& e, std::optional<LiteralConversion> conversion, std::string text)
    {
        if (!m_lifting || e.literal < 0)
            return text;
        if (m_writing > 0 || !conversion || (e.kind == K::Number && !wholeNumberLiteral(e.text))
            || m_uses.size() >= kMaxBoundLiterals) {
            m_lifting->written.push_back(e.literal);
            return text;
        }
        m_uses.push_back(LiteralUse{e.literal, *conversion});
        return "?" + std::to_string(m_uses.size());
    }

    std::string plusMinus(const Expr& e)
    {
        const Expr& a = *e.args[0];
        const Expr& b = *e.args[1];
        const bool plus = e.text == "+";
        if (a.type == ValueType::Text && b.type == ValueType::Text) {
            if (!plus)
                throw EngineError{402, 16, 1, "The data types varchar and varchar are incompatible in the subtract "
                                              "operator."};
            return "(" + expr(a) + " || " + expr(b) + ")";
        }
        // Numbers add with SQL Server's overflow rules; a text literal meeting a number is
        // converted here; whatever is unknown until run time is decided then.
        const std::string x = isNumeric(b.type) ? operand(a, b.type) : expr(a);
        const std::string y = isNumeric(a.type) ? operand(b, a.type) : expr(b);
        return std::string(plus ? "tsql_add(" : "tsql_subtract(") + x + ", " + y + ")";
    }

    std::string binary(const Expr& e)
    {
        const std::string& op = e.text;
        if (op == "+" || op == "-")
            return plusMinus(e);
        const Expr& a = *e.args[0];
        const Expr& b = *e.args[1];
        if (op == "AND" || op == "OR")
            return expr(a) + " " + op + " " + expr(b);
        // Comparisons convert a text literal to the type of what it is compared with.
        return operand(a, b.type) + " " + op + " " + operand(b, a.type);
    }

    std::string function(const Expr& e)
    {
        const std::string& f = e.text;
        auto arg = [&](std::size_t i) { return expr(*e.args[i]); };
        if (f == "left" || f == "right") {
            if (e.args.size() != 2)
                throw EngineError{174, 15, 1, "The " + f + " function requires 2 argument(s)."};
            return "tsql_" + f + "(" + arg(0) + ", " + arg(1) + ")";
        }
        const char* engine = functionName(f);
        if (!engine)
            throw EngineError{195, 15, 10, "'" + e.typeSpelled + "' is not a recognized built-in function name."};
        std::string out = std::string(engine) + "(" + (e.distinct ? "DISTINCT " : "");
        for (std::size_t i = 0; i < e.args.size(); ++i)
            out += (i ? ", " : "") + arg(i);
        return out + ")";
    }

    std::string expr(const Expr& e)
    {
        switch (e.kind) {
        case K::Name: return e.bound;
        case K::Star: return "*";
        case K::String:
            // A text compares as SQL Server's default collation does even where no column
            // lends it one: 'abc' = 'ABC ', CONVERT(char, d, 101) = '03/07/2009'.
            return literal(e, LiteralConversion::AsWritten, quoteString(e.text)) + " COLLATE TSQL";
        case K::Number: return literal(e, LiteralConversion::AsWritten, e.text);
        case K::Null: return "NULL";
        case K::Variable: return "trancount()";
        case K::Parameter: return e.text;
        case K::Unary: return "(" + e.text + expr(*e.args[0]) + ")";
        case K::Binary: return binary(e);
        case K::Not: return "NOT " + expr(*e.args[0]);
        case K::Like: {
            // A pattern is compiled once per text, and SQLite reads a written one to use an index.
            std::string out = written(*e.args[0]) + (e.negate ? " NOT LIKE " : " LIKE ") + written(*e.args[1]);
            if (e.args.size() > 2)
                out += " ESCAPE " + written(*e.args[2]);
            return out;
        }
        case K::Between: {
            const ValueType t = e.args[0]->type;
            return expr(*e.args[0]) + (e.negate ? " NOT BETWEEN " : " BETWEEN ") + operand(*e.args[1], t) + " AND "
                + operand(*e.args[2], t);
        }
        case K::InList: {
            const ValueType t = e.args[0]->type;
            std::string out = expr(*e.args[0]) + (e.negate ? " NOT IN (" : " IN (");
            for (std::size_t i = 1; i < e.args.size(); ++i)
                out += (i > 1 ? ", " : "") + operand(*e.args[i], t);
            return out + ")";
        }
        case K::InQuery:
            return expr(*e.args[0]) + (e.negate ? " NOT IN (" : " IN (") + query(*e.query, false) + ")";
        case K::Exists: return "EXISTS (" + query(*e.query, false) + ")";
        case K::IsNull: return expr(*e.args[0]) + (e.negate ? " IS NOT NULL" : " IS NULL");
        case K::Case: {
            std::string out = "CASE";
            std::size_t i = 0;
            ValueType operandType = ValueType::Unknown;
            if (e.hasOperand) {
                out += " " + expr(*e.args[0]);
                operandType = e.args[0]->type;
                i = 1;
            }
            const std::size_t pairsEnd = e.hasElse ? e.args.size() - 1 : e.args.size();
            for (; i < pairsEnd; i += 2)
                out += " WHEN " + operand(*e.args[i], operandType) + " THEN " + expr(*e.args[i + 1]);
            if (e.hasElse)
                out += " ELSE " + expr(*e.args.back());
            return out + " END";
        }
        case K::Function: return function(e);
        case K::Convert: return conversionText(e.text, e.typeSpelled, e.length, expr(*e.args[0]), e.style);
        case K::DateDiff:
            if (!isDateDiffUnit(e.text))
                throw EngineError{155, 15, 1, "'" + e.typeSpelled + "' is not a recognized datediff option."};
            return "datediff(" + quoteString(toLower(e.text)) + ", " + expr(*e.args[0]) + ", " + expr(*e.args[1]) + ")";
        case K::Collate: {
            const std::string name = toLower(e.text);
            const bool binaryCollation = name.find("_cs_") != std::string::npos || name.find("_bin") != std::string::npos;
            return expr(*e.args[0]) + (binaryCollation ? " COLLATE BINARY" : " COLLATE TSQL");
        }
        case K::Subquery: return "(" + query(*e.query, false) + ")";
        case K::Paren: return "(" + expr(*e.args[0]) + ")";
        }
        return std::string();
    }

    std::string insert(const InsertStatement& ins)
    {
        std::string out = "INSERT INTO " + ins.target.sqliteName;
        std::string columns;
        if (!ins.columns.empty()) {
            columns += " (";
            for (std::size_t i = 0; i < ins.columns.size(); ++i)
                columns += (i ? ", " : "") + quoteName(ins.columns[i]);
            columns += ")";
        }
        if (ins.query)
            return insertSelect(ins, out + columns);
        out += columns + " VALUES ";
        for (std::size_t r = 0; r < ins.rows.size(); ++r) {
            out += r ? ", (" : "(";
            const auto& row = ins.rows[r];
            for (std::size_t i = 0; i < row.size(); ++i) {
                const ColumnInfo* column = i < ins.targetColumns.size() ? ins.targetColumns[i] : nullptr;
                out += (i ? ", " : "") + stored(*row[i], column, ins.targetTitle);
            }
            out += ")";
        }
        return out;
    }

    // A value written to a column, converted and checked as it is written.
    std::string stored(const Expr& e, const ColumnInfo* column, const std::string& table)
    {
        if (!column || e.kind == K::Null)
            return expr(e);
        return storedValueText(expr(e), *column, table);
    }

    // INSERT ... SELECT: each value is converted to its column and checked against its
    // length as it is written, as VALUES are. The conversion sits in the query's own
    // select list, or in a derived table over it for `*`: reading through a named table
    // (a CTE) would hide the query's reads from the grants check.
    std::string insertSelect(const InsertStatement& ins, const std::string& head)
    {
        const Query& q = *ins.query;
        const std::size_t n = ins.targetColumns.size();
        bool converts = false;
        for (std::size_t i = 0; i < n; ++i)
            converts = converts || storedValueText("v", *ins.targetColumns[i], ins.targetTitle) != "v";
        if (converts && q.types.size() != n)
            throw q.types.size() < n
                ? EngineError{120, 15, 1, "The select list for the INSERT statement contains fewer items than the "
                                          "insert list. The number of SELECT values must match the number of "
                                          "INSERT columns."}
                : EngineError{121, 15, 1, "The select list for the INSERT statement contains more items than the "
                                          "insert list. The number of SELECT values must match the number of "
                                          "INSERT columns."};
        if (!hasStar(q)) {
            if (!converts)
                return head + " " + query(q, false);
            return head + " " + query(q, false, &ins);
        }
        // For `SELECT * FROM u` SQLite may copy u's rows into a table of the same shape
        // without reading a column, and so without the read of u being seen and checked;
        // reading them through a derived table keeps every column read.
        const std::string source = " FROM (" + query(q, false) + ")";
        if (!converts || !q.shape || !uniqueNames(*q.shape))
            return head + " SELECT *" + source;
        std::string list;
        for (std::size_t i = 0; i < n; ++i)
            list += (i ? ", " : "")
                + storedValueText(quoteName(q.shape->columns[i].name), *ins.targetColumns[i], ins.targetTitle);
        return head + " SELECT " + list + source;
    }

    static bool hasStar(const Query& q)
    {
        for (const SelectCore& core : q.cores)
            for (const SelectItem& item : core.items)
                if (item.expr->kind == K::Star || (item.expr->kind == K::Name && item.expr->parts.back() == "*"))
                    return true;
        return false;
    }

    // A derived table's columns can be named only when no two share a name.
    static bool uniqueNames(const TableInfo& shape)
    {
        for (std::size_t i = 0; i < shape.columns.size(); ++i) {
            if (shape.columns[i].name.empty())
                return false;
            for (std::size_t j = 0; j < i; ++j)
                if (equalsIgnoreCase(shape.columns[i].name, shape.columns[j].name))
                    return false;
        }
        return true;
    }

    std::string update(const UpdateStatement& up)
    {
        std::string out = "UPDATE " + up.target.sqliteName + " SET ";
        for (std::size_t i = 0; i < up.set.size(); ++i)
            out += (i ? ", " : "") + quoteName(up.set[i].column) + " = "
                + stored(*up.set[i].value, up.set[i].target, up.targetTitle);
        if (up.where)
            out += " WHERE " + expr(*up.where);
        return out;
    }

    std::string remove(const DeleteStatement& del)
    {
        std::string out = "DELETE FROM " + del.target.sqliteName;
        if (del.where)
            out += " WHERE " + expr(*del.where);
        return out;
    }

private:
    LiteralLifting* m_lifting;
    std::vector<LiteralUse> m_uses;
    int m_writing = 0; // inside an expression whose literals stay written
};

// Hands the literals bound by `emitter` to `plan`, numbering their values after those of
// the nodes emitted before it.
void bindLiterals(Plan& plan, Emitter& emitter, LiteralLifting* lifting)
{
    plan.literals = emitter.takeLiterals();
    if (!lifting)
        return;
    plan.firstValue = lifting->values;
    lifting->values += plan.literals.size();
}

} // namespace

std::shared_ptr<Plan> emitStatement(const ParsedStatement& s, LiteralLifting* lifting)
{
    if (s.kind == ParsedStatement::Kind::Control)
        return s.control;
    auto plan = std::make_shared<Plan>();
    Emitter emitter(lifting);
    switch (s.kind) {
    case ParsedStatement::Kind::Select: plan->sql = emitter.query(*s.query, true); break;
    case ParsedStatement::Kind::Insert: plan->sql = emitter.insert(*s.insert); break;
    case ParsedStatement::Kind::Update: plan->sql = emitter.update(*s.update); break;
    case ParsedStatement::Kind::Delete: plan->sql = emitter.remove(*s.del); break;
    case ParsedStatement::Kind::IfExists:
        plan->kind = Plan::Kind::IfExists;
        plan->negate = s.negate;
        plan->sql = emitter.query(*s.query, false);
        bindLiterals(*plan, emitter, lifting); // its values come before those of the statement it guards
        plan->then = emitStatement(*s.then, lifting);
        return plan;
    case ParsedStatement::Kind::Control: break;
    }
    bindLiterals(*plan, emitter, lifting);
    return plan;
}

} // namespace dalport::embedded
