#include "dalport/embedded/StatementParser.h"

#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/ReservedWords.h"
#include "dalport/embedded/SecurityParser.h"
#include "dalport/embedded/SqlQuoting.h"

#include <array>
#include <set>

namespace dalport::embedded {

namespace {

using Kind = Token::Kind;

// Words that are the grammar's own and never a name unless bracketed.
bool isKeyword(const Token& t)
{
    static const std::set<std::string> keywords{
        "select", "from", "where", "and", "or", "not", "in", "is", "null", "like", "between", "join",
        "inner", "left", "right", "outer", "full", "cross", "on", "as", "group", "by", "order", "having",
        "asc", "desc", "distinct", "all", "union", "except", "intersect", "insert", "into", "values",
        "update", "set", "delete", "case", "when", "then", "else", "end", "exists", "escape", "default",
        "top", "collate"};
    return t.kind == Kind::Word && keywords.count(toLower(t.value)) > 0;
}

bool isComparison(const Token& t)
{
    static const std::set<std::string> ops{"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};
    return t.kind == Kind::Symbol && ops.count(t.value) > 0;
}

std::string comparisonText(const std::string& op)
{
    if (op == "!<")
        return ">=";
    if (op == "!>")
        return "<=";
    if (op == "!=")
        return "<>";
    return op;
}

ExprPtr make(Expr::Kind kind, std::string text = {})
{
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->text = std::move(text);
    return e;
}

ExprPtr binary(std::string op, ExprPtr a, ExprPtr b)
{
    auto e = make(Expr::Kind::Binary, std::move(op));
    e->args.push_back(std::move(a));
    e->args.push_back(std::move(b));
    return e;
}

// Bounds the parser's recursion, so that a text of nothing but parentheses cannot
// exhaust the stack.
constexpr int kMaxDepth = 200;

class StatementParser {
public:
    StatementParser(const std::vector<Token>& tokens, std::size_t begin, std::size_t end, std::string_view source)
        : m_t(tokens), m_i(begin), m_end(end), m_source(source)
    {
    }

    ParsedStatement statement()
    {
        ParsedStatement s = oneStatement();
        expectEnd();
        return s;
    }

private:
    const Token& tok(std::size_t k = 0) const { return m_i + k < m_end ? m_t[m_i + k] : m_t.back(); }
    bool atEnd() const { return m_i >= m_end; }
    bool word(std::string_view w, std::size_t k = 0) const { return tok(k).isWord(w); }
    bool symbol(std::string_view s, std::size_t k = 0) const { return tok(k).isSymbol(s); }

    [[noreturn]] void syntaxError(std::size_t at) const
    {
        if (at >= m_end)
            throw errors::syntaxAtEnd();
        throw errors::syntaxNear(tokenText(m_t[at]));
    }
    [[noreturn]] void syntaxError() const { syntaxError(m_i); }

    bool accept(std::string_view w)
    {
        if (!word(w))
            return false;
        ++m_i;
        return true;
    }
    bool acceptSymbol(std::string_view s)
    {
        if (!symbol(s))
            return false;
        ++m_i;
        return true;
    }
    void expect(std::string_view w)
    {
        if (!accept(w))
            syntaxError();
    }
    void expectSymbol(std::string_view s)
    {
        if (!acceptSymbol(s))
            syntaxError();
    }
    void expectEnd() const
    {
        if (!atEnd())
            syntaxError();
    }

    std::string identifier()
    {
        if (tok().kind != Kind::Word && tok().kind != Kind::Quoted)
            syntaxError();
        return m_t[m_i++].value;
    }

    bool isNameToken(std::size_t k = 0) const
    {
        return tok(k).kind == Kind::Quoted || (tok(k).kind == Kind::Word && !isKeyword(tok(k)));
    }

    // A dotted name as written ("" for the empty part of db..t); `star` allows t.*.
    // `reserved` receives the first unbracketed reserved word among its parts.
    std::vector<std::string> dottedName(std::string& reserved, bool star)
    {
        std::vector<std::string> parts;
        auto part = [&] {
            const Token& t = tok();
            if (t.kind == Kind::Word && reserved.empty() && isReservedWord(t.value))
                reserved = t.value;
            parts.push_back(t.value);
            ++m_i;
        };
        part();
        while (symbol(".")) {
            ++m_i;
            if (symbol(".")) {
                parts.emplace_back();
                continue;
            }
            if (tok().kind == Kind::Word || tok().kind == Kind::Quoted)
                part();
            else if (star && symbol("*")) {
                parts.push_back("*");
                ++m_i;
                break;
            } else
                syntaxError();
        }
        return parts;
    }

    // ----- statements ------------------------------------------------------------

    ParsedStatement control(std::shared_ptr<Plan> plan)
    {
        ParsedStatement s;
        s.kind = ParsedStatement::Kind::Control;
        s.control = std::move(plan);
        return s;
    }

    ParsedStatement oneStatement()
    {
        if (word("select")) {
            ParsedStatement s;
            s.kind = ParsedStatement::Kind::Select;
            s.query = query();
            return s;
        }
        if (word("insert"))
            return insertStatement();
        if (word("update"))
            return updateStatement();
        if (word("delete"))
            return deleteStatement();
        if (word("begin") || word("save")) {
            const bool save = word("save");
            ++m_i;
            if (!accept("tran") && !accept("transaction"))
                syntaxError();
            auto plan = std::make_shared<Plan>();
            plan->kind = save ? Plan::Kind::SaveTran : Plan::Kind::BeginTran;
            if (save || !atEnd())
                plan->name = identifier();
            return control(plan);
        }
        if (word("commit") || word("rollback")) {
            auto plan = std::make_shared<Plan>();
            plan->kind = word("commit") ? Plan::Kind::CommitTran : Plan::Kind::RollbackTran;
            ++m_i;
            if (!accept("tran") && !accept("transaction"))
                accept("work");
            if (!atEnd())
                plan->name = identifier();
            return control(plan);
        }
        if (word("set"))
            return setStatement();
        if (word("if"))
            return ifExists();
        if (word("exec") || word("execute")) {
            ++m_i;
            return exec();
        }
        if (word("grant") || word("deny") || word("revoke")) {
            auto plan = parseSecurityStatement(m_t, m_i, m_end);
            m_i = m_end;
            return control(plan);
        }
        if (word("create") || word("alter") || word("drop"))
            return definition();
        syntaxError();
    }

    ParsedStatement setStatement()
    {
        ++m_i;
        auto plan = std::make_shared<Plan>();
        if (accept("lock_timeout")) {
            long long ms = 0;
            if (symbol("-") && tok(1).kind == Kind::Number) {
                ms = -integerValue(tok(1));
                m_i += 2;
            } else if (tok().kind == Kind::Number && tok().value.find_first_of(".eE") == std::string::npos) {
                ms = integerValue(m_t[m_i++]);
            } else {
                syntaxError();
            }
            plan->kind = Plan::Kind::SetLockTimeout;
            plan->number = ms;
            return control(plan);
        }
        if (accept("nocount") || accept("xact_abort")) {
            if (!accept("on") && !accept("off"))
                syntaxError();
            plan->kind = Plan::Kind::Batch; // accepted, changes nothing here
            return control(plan);
        }
        syntaxError();
    }

    ParsedStatement ifExists()
    {
        ++m_i;
        ParsedStatement s;
        s.kind = ParsedStatement::Kind::IfExists;
        s.negate = accept("not");
        expect("exists");
        if (!symbol("("))
            syntaxError();
        ++m_i;
        if (!word("select"))
            syntaxError();
        s.query = query();
        expectSymbol(")");
        if (atEnd())
            throw errors::syntaxAtEnd();
        s.then = std::make_unique<ParsedStatement>(oneStatement());
        return s;
    }

    Value literalValue()
    {
        bool negative = false;
        if (symbol("-") && tok(1).kind == Kind::Number) {
            negative = true;
            ++m_i;
        }
        const Token& v = tok();
        const std::size_t at = m_i++;
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
        default: syntaxError(at);
        }
    }

    ParsedStatement exec()
    {
        if (tok().kind != Kind::Word && tok().kind != Kind::Quoted)
            syntaxError();
        std::string reserved;
        const std::vector<std::string> parts = dottedName(reserved, false);
        const std::string name = parts.back();
        std::vector<ExecArgument> args;
        while (!atEnd()) {
            ExecArgument arg;
            if (tok().kind == Kind::Variable && symbol("=", 1)) {
                arg.name = tok().value;
                m_i += 2;
            }
            arg.value = literalValue();
            args.push_back(std::move(arg));
            if (!atEnd())
                expectSymbol(",");
        }
        const std::string lower = toLower(name);
        if (lower == "sp_addrolemember" || lower == "sp_droprolemember") {
            if (args.size() != 2 || args[0].value.kind != Value::Kind::Text || args[1].value.kind != Value::Kind::Text)
                throw errors::parameterMissing(name, args.size() < 1 ? "@rolename" : "@membername");
            return control(roleMemberStatement(lower == "sp_addrolemember", args[0].value.s, args[1].value.s));
        }
        auto plan = std::make_shared<Plan>();
        plan->kind = Plan::Kind::Exec;
        // db.dbo.name keeps its database: the procedure is that database's.
        plan->procedure = parts.size() >= 3 ? quoteName(parts[parts.size() - 3]) + ".dbo." + quoteName(name) : name;
        plan->arguments = std::move(args);
        return control(plan);
    }

    ParsedStatement definition()
    {
        if (auto security = parseSecurityStatement(m_t, m_i, m_end)) {
            m_i = m_end;
            return control(security);
        }
        const bool alter = word("alter");
        // Tables, indexes and views: SQLite's own grammar, names rewritten later.
        static const std::array<const char*, 5> objects{"table", "index", "view", "unique", "trigger"};
        for (const char* o : objects) {
            if (word(o, 1) && !alter) {
                auto plan = std::make_shared<Plan>();
                plan->kind = Plan::Kind::Ddl;
                plan->sql = std::string(m_source.substr(tok().begin, m_t[m_end - 1].end - tok().begin));
                m_i = m_end;
                return control(plan);
            }
        }
        syntaxError(m_i + 1);
    }

    TableRef targetTable()
    {
        if (tok().kind != Kind::Word && tok().kind != Kind::Quoted)
            syntaxError();
        TableRef ref;
        ref.parts = dottedName(ref.reserved, false);
        return ref;
    }

    ParsedStatement insertStatement()
    {
        ++m_i;
        accept("into");
        auto ins = std::make_unique<InsertStatement>();
        ins->target = targetTable();
        if (symbol("(") && !word("select", 1)) {
            ++m_i;
            while (true) {
                if (!isNameToken())
                    syntaxError();
                if (tok().kind == Kind::Word && ins->reserved.empty() && isReservedWord(tok().value))
                    ins->reserved = tok().value;
                ins->columns.push_back(m_t[m_i++].value);
                if (acceptSymbol(")"))
                    break;
                expectSymbol(",");
            }
        }
        if (word("select")) {
            const bool all = word("all", 1);
            ins->selectStar = symbol("*", all ? 2 : 1);
            ins->query = query();
        } else if (accept("values")) {
            do {
                if (!symbol("("))
                    syntaxError();
                ++m_i;
                std::vector<ExprPtr> row;
                do
                    row.push_back(expression());
                while (acceptSymbol(","));
                expectSymbol(")");
                ins->rows.push_back(std::move(row));
            } while (acceptSymbol(","));
        } else {
            syntaxError();
        }
        ParsedStatement s;
        s.kind = ParsedStatement::Kind::Insert;
        s.insert = std::move(ins);
        return s;
    }

    ParsedStatement updateStatement()
    {
        ++m_i;
        auto up = std::make_unique<UpdateStatement>();
        up->target = targetTable();
        expect("set");
        do {
            if (!isNameToken())
                syntaxError();
            std::string reserved;
            std::vector<std::string> parts = dottedName(reserved, false);
            if (!reserved.empty() && up->reserved.empty())
                up->reserved = reserved;
            if (!isComparison(tok()) || tok().value != "=")
                syntaxError();
            ++m_i;
            up->set.push_back({parts.back(), expression()});
        } while (acceptSymbol(","));
        if (accept("where"))
            up->where = expression();
        ParsedStatement s;
        s.kind = ParsedStatement::Kind::Update;
        s.update = std::move(up);
        return s;
    }

    ParsedStatement deleteStatement()
    {
        ++m_i;
        accept("from");
        auto del = std::make_unique<DeleteStatement>();
        del->target = targetTable();
        if (accept("where"))
            del->where = expression();
        ParsedStatement s;
        s.kind = ParsedStatement::Kind::Delete;
        s.del = std::move(del);
        return s;
    }

    // ----- queries ---------------------------------------------------------------

    std::shared_ptr<Query> query()
    {
        Nesting nesting(m_depth);
        auto q = std::make_shared<Query>();
        q->cores.push_back(selectCore());
        while (word("union") || word("except") || word("intersect")) {
            std::string op = toLower(m_t[m_i++].value);
            if (op == "union" && accept("all"))
                op += " all";
            for (char& c : op)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (!word("select"))
                syntaxError();
            q->cores.push_back(selectCore());
            q->cores.back().compound = op;
        }
        if (accept("order")) {
            expect("by");
            do {
                OrderItem item;
                item.expr = expression();
                if (accept("desc"))
                    item.descending = true;
                else if (accept("asc"))
                    item.ascending = true;
                q->orderBy.push_back(std::move(item));
            } while (acceptSymbol(","));
        }
        return q;
    }

    SelectCore selectCore()
    {
        expect("select");
        SelectCore core;
        if (accept("distinct"))
            core.distinct = true;
        else
            accept("all");
        if (accept("top")) {
            const bool paren = acceptSymbol("(");
            if (tok().kind != Kind::Number || tok().value.find_first_of(".eE") != std::string::npos)
                syntaxError();
            try {
                core.top = integerValue(tok());
            } catch (const EngineError&) {
                throw EngineError{8115, 16, 2, "Arithmetic overflow error converting expression to data type bigint."};
            }
            ++m_i;
            if (paren)
                expectSymbol(")");
            if (word("percent") || word("with"))
                syntaxError();
        }
        do
            core.items.push_back(selectItem());
        while (acceptSymbol(","));
        if (accept("from"))
            core.from = fromList();
        if (accept("where"))
            core.where = expression();
        if (accept("group")) {
            expect("by");
            do
                core.groupBy.push_back(expression());
            while (acceptSymbol(","));
        }
        if (accept("having"))
            core.having = expression();
        return core;
    }

    SelectItem selectItem()
    {
        SelectItem item;
        if (symbol("*")) {
            ++m_i;
            item.expr = make(Expr::Kind::Star);
            return item;
        }
        item.expr = expression();
        if (accept("as")) {
            if (tok().kind != Kind::Word && tok().kind != Kind::Quoted && tok().kind != Kind::String)
                syntaxError();
            item.alias = m_t[m_i++].value;
            item.hasAlias = true;
        } else if (tok().kind == Kind::Quoted || tok().kind == Kind::String
                   || (tok().kind == Kind::Word && !isKeyword(tok()) && !isReservedWord(tok().value))) {
            item.alias = m_t[m_i++].value;
            item.hasAlias = true;
        }
        return item;
    }

    std::vector<TableRef> fromList()
    {
        std::vector<TableRef> from;
        from.push_back(tableSource());
        while (true) {
            TableRef::Join join = TableRef::Join::First;
            if (acceptSymbol(",")) {
                join = TableRef::Join::Comma;
            } else if (accept("join")) {
                join = TableRef::Join::Inner;
            } else if (accept("inner")) {
                expect("join");
                join = TableRef::Join::Inner;
            } else if (word("left") || word("right") || word("full")) {
                join = word("left") ? TableRef::Join::Left : word("right") ? TableRef::Join::Right : TableRef::Join::Full;
                ++m_i;
                accept("outer");
                expect("join");
            } else if (accept("cross")) {
                expect("join");
                join = TableRef::Join::Cross;
            } else {
                break;
            }
            TableRef ref = tableSource();
            ref.join = join;
            if (join == TableRef::Join::Inner || join == TableRef::Join::Left || join == TableRef::Join::Right
                || join == TableRef::Join::Full) {
                expect("on");
                ref.on = expression();
            }
            from.push_back(std::move(ref));
        }
        return from;
    }

    TableRef tableSource()
    {
        TableRef ref;
        if (symbol("(")) {
            ++m_i;
            if (!word("select"))
                syntaxError();
            ref.derived = query();
            expectSymbol(")");
        } else {
            if (!isNameToken())
                syntaxError();
            ref.parts = dottedName(ref.reserved, false);
        }
        if (accept("as")) {
            if (tok().kind != Kind::Word && tok().kind != Kind::Quoted)
                syntaxError();
            ref.alias = m_t[m_i++].value;
        } else if (tok().kind == Kind::Quoted
                   || (tok().kind == Kind::Word && !isKeyword(tok()) && !isReservedWord(tok().value))) {
            ref.alias = m_t[m_i++].value;
        }
        return ref;
    }

    // ----- expressions -----------------------------------------------------------
    // From loosest to tightest: OR, AND, NOT, predicates (comparisons, LIKE, BETWEEN,
    // IN, IS NULL), + - & |, * / %, unary signs, COLLATE, primaries.

    ExprPtr expression()
    {
        Nesting nesting(m_depth);
        std::vector<ExprPtr> terms;
        terms.push_back(conjunction());
        while (accept("or"))
            terms.push_back(conjunction());
        return grouped("OR", terms, 0, terms.size());
    }

    ExprPtr conjunction()
    {
        std::vector<ExprPtr> terms;
        terms.push_back(negation());
        while (accept("and"))
            terms.push_back(negation());
        return grouped("AND", terms, 0, terms.size());
    }

    // A chain of ORs (or ANDs) as a balanced tree, each half in parentheses, so that
    // however many terms it has, it is only as deep as their count's logarithm for the
    // steps after the parser and for SQLite (which refuses an expression deeper than
    // 1000). Both operators are associative, also with NULLs, so the meaning is the
    // same; the order in which SQL Server evaluates the terms is not defined either.
    static ExprPtr grouped(const char* op, std::vector<ExprPtr>& terms, std::size_t begin, std::size_t end)
    {
        if (end - begin == 1)
            return std::move(terms[begin]);
        const std::size_t middle = begin + (end - begin) / 2;
        auto half = [&](std::size_t b, std::size_t e) {
            ExprPtr part = grouped(op, terms, b, e);
            if (e - b == 1)
                return part;
            auto paren = make(Expr::Kind::Paren);
            paren->args.push_back(std::move(part));
            return paren;
        };
        ExprPtr left = half(begin, middle);
        return binary(op, std::move(left), half(middle, end));
    }

    ExprPtr negation()
    {
        Nesting nesting(m_depth);
        if (accept("not")) {
            auto e = make(Expr::Kind::Not);
            e->args.push_back(negation());
            return e;
        }
        return predicate();
    }

    ExprPtr predicate()
    {
        if (word("exists")) {
            ++m_i;
            expectSymbol("(");
            if (!word("select"))
                syntaxError();
            auto e = make(Expr::Kind::Exists);
            e->query = query();
            expectSymbol(")");
            return e;
        }
        ExprPtr left = additive();
        if (isComparison(tok())) {
            const std::string op = comparisonText(m_t[m_i++].value);
            return binary(op, std::move(left), additive());
        }
        if (accept("is")) {
            auto e = make(Expr::Kind::IsNull);
            e->negate = accept("not");
            expect("null");
            e->args.push_back(std::move(left));
            return e;
        }
        const bool negate = word("not") && (word("like", 1) || word("between", 1) || word("in", 1));
        if (negate)
            ++m_i;
        if (accept("like")) {
            auto e = make(Expr::Kind::Like);
            e->negate = negate;
            e->args.push_back(std::move(left));
            e->args.push_back(additive());
            if (accept("escape"))
                e->args.push_back(additive());
            return e;
        }
        if (accept("between")) {
            auto e = make(Expr::Kind::Between);
            e->negate = negate;
            e->args.push_back(std::move(left));
            e->args.push_back(additive());
            expect("and");
            e->args.push_back(additive());
            return e;
        }
        if (accept("in")) {
            expectSymbol("(");
            ExprPtr e;
            if (word("select")) {
                e = make(Expr::Kind::InQuery);
                e->args.push_back(std::move(left));
                e->query = query();
            } else {
                e = make(Expr::Kind::InList);
                e->args.push_back(std::move(left));
                do
                    e->args.push_back(expression());
                while (acceptSymbol(","));
            }
            expectSymbol(")");
            e->negate = negate;
            return e;
        }
        return left;
    }

    // Arithmetic chains are evaluated left to right (each step's type and overflow depend
    // on the one before), so their tree is as deep as they are long: every link counts
    // as a level of nesting.
    ExprPtr additive()
    {
        ExprPtr left = multiplicative();
        Chain chain(m_depth);
        while (symbol("+") || symbol("-") || symbol("&") || symbol("|")) {
            chain.link();
            const std::string op = m_t[m_i++].value;
            left = binary(op, std::move(left), multiplicative());
        }
        return left;
    }

    ExprPtr multiplicative()
    {
        ExprPtr left = unary();
        Chain chain(m_depth);
        while (symbol("*") || symbol("/") || symbol("%")) {
            chain.link();
            const std::string op = m_t[m_i++].value;
            left = binary(op, std::move(left), unary());
        }
        return left;
    }

    ExprPtr unary()
    {
        Nesting nesting(m_depth);
        if (symbol("-") || symbol("+") || symbol("~")) {
            auto e = make(Expr::Kind::Unary, m_t[m_i++].value);
            e->args.push_back(unary());
            return e;
        }
        ExprPtr e = primary();
        while (accept("collate")) {
            if (tok().kind != Kind::Word)
                syntaxError();
            auto c = make(Expr::Kind::Collate, m_t[m_i++].value);
            c->args.push_back(std::move(e));
            e = std::move(c);
        }
        return e;
    }

    ExprPtr primary()
    {
        const Token& t = tok();
        if (atEnd())
            syntaxError();
        switch (t.kind) {
        case Kind::String:
        case Kind::Number: {
            ++m_i;
            auto e = make(t.kind == Kind::String ? Expr::Kind::String : Expr::Kind::Number, t.value);
            e->literal = t.literal;
            return e;
        }
        case Kind::Parameter: ++m_i; return make(Expr::Kind::Parameter, t.value);
        case Kind::Variable:
            if (equalsIgnoreCase(t.value, "@@trancount")) {
                ++m_i;
                return make(Expr::Kind::Variable, "@@TRANCOUNT");
            }
            throw EngineError{137, 15, 2, "Must declare the scalar variable \"" + t.value + "\"."};
        case Kind::Symbol:
            if (t.isSymbol("(")) {
                ++m_i;
                ExprPtr e;
                if (word("select")) {
                    e = make(Expr::Kind::Subquery);
                    e->query = query();
                } else {
                    e = make(Expr::Kind::Paren);
                    e->args.push_back(expression());
                }
                expectSymbol(")");
                return e;
            }
            syntaxError();
        case Kind::Word:
            if (t.isWord("null")) {
                ++m_i;
                return make(Expr::Kind::Null);
            }
            if (t.isWord("case"))
                return caseExpression();
            if (t.isWord("current_timestamp")) {
                ++m_i;
                return make(Expr::Kind::Function, "getdate");
            }
            // The session's user in the current database, as USER_NAME() gives it.
            if (t.isWord("user") || t.isWord("current_user") || t.isWord("session_user")) {
                ++m_i;
                return make(Expr::Kind::Function, "user_name");
            }
            if (symbol("(", 1) && (!isKeyword(t) || t.isWord("left") || t.isWord("right")))
                return functionCall();
            if (isKeyword(t))
                syntaxError();
            [[fallthrough]];
        case Kind::Quoted: {
            auto e = make(Expr::Kind::Name);
            e->parts = dottedName(e->reserved, true);
            return e;
        }
        case Kind::End: break;
        }
        syntaxError();
    }

    ExprPtr caseExpression()
    {
        ++m_i;
        auto e = make(Expr::Kind::Case);
        if (!word("when")) {
            e->hasOperand = true;
            e->args.push_back(expression());
        }
        if (!word("when"))
            syntaxError();
        while (accept("when")) {
            e->args.push_back(expression());
            expect("then");
            e->args.push_back(expression());
        }
        if (accept("else")) {
            e->hasElse = true;
            e->args.push_back(expression());
        }
        expect("end");
        return e;
    }

    // The type of CONVERT(type, ...) and CAST(... AS type).
    void typeName(Expr& e)
    {
        if (tok().kind != Kind::Word)
            syntaxError();
        e.typeSpelled = tok().value;
        e.text = toLower(tok().value);
        ++m_i;
        if (acceptSymbol("(")) {
            if (accept("max"))
                e.length = 0;
            else if (tok().kind == Kind::Number)
                e.length = smallIntegerValue(m_t[m_i++]);
            else
                syntaxError();
            expectSymbol(")");
        }
    }

    ExprPtr functionCall()
    {
        const std::string spelled = tok().value;
        const std::string name = toLower(spelled);
        m_i += 2; // name (
        if (name == "convert") {
            auto e = make(Expr::Kind::Convert);
            typeName(*e);
            if (!symbol(","))
                throw EngineError{174, 15, 1, "The convert function requires 2 to 3 arguments."};
            ++m_i;
            e->args.push_back(expression());
            if (acceptSymbol(",")) {
                if (tok().kind != Kind::Number)
                    syntaxError();
                e->style = smallIntegerValue(m_t[m_i++]);
            }
            if (symbol(","))
                throw EngineError{174, 15, 1, "The convert function requires 2 to 3 arguments."};
            expectSymbol(")");
            return e;
        }
        if (name == "cast") {
            auto e = make(Expr::Kind::Convert);
            e->args.push_back(expression());
            expect("as");
            typeName(*e);
            expectSymbol(")");
            return e;
        }
        if (name == "datediff") {
            auto e = make(Expr::Kind::DateDiff);
            const Token& unit = tok();
            ++m_i;
            e->text = unit.value;
            e->typeSpelled = tokenText(unit);
            std::size_t count = 1;
            while (acceptSymbol(",")) {
                e->args.push_back(expression());
                ++count;
            }
            if (count != 3 || (unit.kind != Kind::Word && unit.kind != Kind::Quoted))
                throw EngineError{174, 15, 1, "The datediff function requires 3 argument(s)."};
            expectSymbol(")");
            return e;
        }
        auto e = make(Expr::Kind::Function, name);
        e->typeSpelled = spelled;
        if (acceptSymbol(")"))
            return e;
        if (accept("distinct"))
            e->distinct = true;
        else
            accept("all");
        if (symbol("*") && symbol(")", 1)) {
            ++m_i;
            e->args.push_back(make(Expr::Kind::Star));
        } else {
            do
                e->args.push_back(expression());
            while (acceptSymbol(","));
        }
        expectSymbol(")");
        return e;
    }

    struct Nesting {
        explicit Nesting(int& depth) : m_depth(depth)
        {
            if (++m_depth > kMaxDepth)
                throw errors::nestedTooDeeply();
        }
        ~Nesting() { --m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        int& m_depth;
    };

    // The links of one arithmetic chain, counted as nesting while the chain is read.
    struct Chain {
        explicit Chain(int& depth) : m_depth(depth) {}
        ~Chain() { m_depth -= m_links; }
        void link()
        {
            ++m_links;
            if (++m_depth > kMaxDepth)
                throw errors::nestedTooDeeply();
        }
        Chain(const Chain&) = delete;
        Chain& operator=(const Chain&) = delete;
        int& m_depth;
        int m_links = 0;
    };

    int m_depth = 0;
    const std::vector<Token>& m_t;
    std::size_t m_i;
    std::size_t m_end;
    std::string_view m_source;
};

} // namespace

std::string tokenText(const Token& t)
{
    switch (t.kind) {
    case Kind::String: return "'" + t.value + "'";
    case Kind::Quoted: return t.value;
    case Kind::End: return "";
    default: return t.value;
    }
}

namespace {

// Where BEGIN, COMMIT or ROLLBACK TRAN at `i` ends when no ';' follows it: after its
// name, or before the word after TRAN when that is reserved (BEGIN TRAN on one line,
// UPDATE on the next, are two statements, as on SQL Server). 0 when `i` starts none.
std::size_t transactionStatementEnd(const std::vector<Token>& tokens, std::size_t i)
{
    const Token& verb = tokens[i];
    if (!verb.isWord("begin") && !verb.isWord("commit") && !verb.isWord("rollback"))
        return 0;
    if (i + 1 >= tokens.size() || (!tokens[i + 1].isWord("tran") && !tokens[i + 1].isWord("transaction")))
        return 0;
    const std::size_t name = i + 2;
    if (name >= tokens.size())
        return 0;
    const Token& t = tokens[name];
    if (t.kind == Kind::Word && isReservedWord(t.value))
        return name;
    if (t.kind == Kind::Word || t.kind == Kind::Quoted)
        return name + 1;
    return 0;
}

} // namespace

std::vector<std::pair<std::size_t, std::size_t>> splitBatch(const std::vector<Token>& tokens)
{
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (i == start && depth == 0) {
            const std::size_t end = transactionStatementEnd(tokens, i);
            if (end > i && end + 1 < tokens.size() && !tokens[end].isSymbol(";")) {
                ranges.emplace_back(start, end);
                start = end;
                i = end - 1;
                continue;
            }
        }
        if (tokens[i].isSymbol("("))
            ++depth;
        else if (tokens[i].isSymbol(")"))
            --depth;
        else if (depth == 0 && tokens[i].isSymbol(";")) {
            if (i > start)
                ranges.emplace_back(start, i);
            start = i + 1;
        }
    }
    if (tokens.size() - 1 > start)
        ranges.emplace_back(start, tokens.size() - 1);
    if (ranges.empty())
        throw errors::syntaxAtEnd();
    return ranges;
}

ParsedStatement parseStatement(const std::vector<Token>& tokens, std::size_t begin, std::size_t end, std::string_view source)
{
    return StatementParser(tokens, begin, end, source).statement();
}

} // namespace dalport::embedded
