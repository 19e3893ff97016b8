#pragma once
// The statement tree the parser builds from T-SQL tokens. The resolver then binds its
// names and gives every expression a type; the emitter writes it as SQLite text.

#include "dalport/embedded/Catalog.h"
#include "dalport/embedded/Plan.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dalport::embedded {

// What an expression yields, as far as the statement tells; Unknown leaves the choice
// (of + between adding and joining texts) to run time.
enum class ValueType { Unknown, Text, Integer, Float, Date };

struct Query;
struct TableInfo;

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    enum class Kind {
        Name,      // parts: [db, schema, table,] column; "*" as the last part for t.*
        Star,      // * alone (select list, COUNT(*))
        String,    // text
        Number,    // text as written
        Null,
        Variable,  // text: @@TRANCOUNT
        Parameter, // ?
        Unary,     // text: "-", "+", "~"; args[0]
        Binary,    // text: + - * / % & | = <> < > <= >= AND OR; args[0], args[1]
        Not,       // args[0]
        Like,      // args: value, pattern[, escape]; negate
        Between,   // args: value, low, high; negate
        InList,    // args: value, items...; negate
        InQuery,   // args[0] IN (query); negate
        Exists,    // query
        IsNull,    // args[0] IS [NOT] NULL; negate
        Case,      // hasOperand: args[0] the operand; then WHEN/THEN pairs; hasElse: last
        Function,  // text: lower-case name; args; distinct
        Convert,   // text: lower-case type, typeSpelled; length; args[0]; style
        DateDiff,  // text: unit; args: from, to
        Collate,   // text: collation name; args[0]
        Subquery,  // query
        Paren      // args[0]
    };
    Kind kind = Kind::Null;
    std::string text;
    std::vector<std::string> parts;
    std::vector<ExprPtr> args;
    std::shared_ptr<Query> query;
    bool negate = false;
    bool distinct = false;
    bool hasOperand = false;
    bool hasElse = false;
    std::string typeSpelled;
    int length = -1;
    std::optional<int> style;
    int literal = -1; // String, Number: the token's place among the text's literals

    // Filled by the resolver.
    ValueType type = ValueType::Unknown;
    std::string bound;    // Name: the SQLite text of the column it is bound to
    std::string reserved; // Name: an unbracketed reserved word among its parts
};

// A table, view, catalogue view or derived table named in FROM.
struct TableRef {
    std::vector<std::string> parts; // as written; empty for a derived table
    std::shared_ptr<Query> derived;
    std::string alias;
    // Joined to the previous source of the FROM list.
    enum class Join { First, Comma, Inner, Left, Right, Full, Cross } join = Join::First;
    ExprPtr on;
    std::string reserved; // an unbracketed reserved word among its parts

    // Filled by the resolver.
    std::string sqliteName;           // schema-qualified table name
    const TableInfo* table = nullptr; // its columns (derived tables: the resolver's own)
};

struct SelectItem {
    ExprPtr expr;
    std::string alias;
    bool hasAlias = false;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
    bool ascending = false;
};

// One SELECT of a query (several for UNION / EXCEPT / INTERSECT).
struct SelectCore {
    bool distinct = false;
    std::optional<long long> top;
    std::vector<SelectItem> items;
    std::vector<TableRef> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::string compound; // how it joins the previous core: "UNION", "UNION ALL", ...
};

struct Query {
    std::vector<SelectCore> cores;
    std::vector<OrderItem> orderBy;

    // Filled by the resolver: the columns it yields (name, type), for derived tables.
    std::shared_ptr<TableInfo> shape;
    std::vector<ValueType> types;
};

struct InsertStatement {
    TableRef target;
    std::vector<std::string> columns;
    std::vector<std::vector<ExprPtr>> rows;
    std::shared_ptr<Query> query; // INSERT ... SELECT
    bool selectStar = false;      // INSERT ... SELECT * FROM ...
    std::string reserved;         // an unbracketed reserved word as a column name
    std::vector<ValueType> targetTypes; // resolver: the type of each column written
    std::vector<const ColumnInfo*> targetColumns; // resolver: each column written
    std::string targetTitle;                      // resolver: "db.dbo.table", for messages
};

struct Assignment {
    std::string column;
    ExprPtr value;
    ValueType type = ValueType::Unknown; // resolver: the column's type
    const ColumnInfo* target = nullptr;  // resolver: the column written
};

struct UpdateStatement {
    TableRef target;
    std::vector<Assignment> set;
    ExprPtr where;
    std::string reserved; // an unbracketed reserved word as a column name
    std::string targetTitle; // resolver: "db.dbo.table", for messages
};

struct DeleteStatement {
    TableRef target;
    ExprPtr where;
};

struct ParsedStatement {
    enum class Kind { Select, Insert, Update, Delete, IfExists, Control } kind = Kind::Control;
    std::shared_ptr<Query> query;          // Select; IfExists: the EXISTS query
    std::unique_ptr<InsertStatement> insert;
    std::unique_ptr<UpdateStatement> update;
    std::unique_ptr<DeleteStatement> del;
    bool negate = false;                   // IF NOT EXISTS
    std::unique_ptr<ParsedStatement> then;       // IfExists
    std::shared_ptr<Plan> control;         // transactions, SET, EXEC, DDL, security
};

} // namespace dalport::embedded
