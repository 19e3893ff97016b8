#pragma once
// What one T-SQL text means, once translated: the engine keeps it in its cache and runs
// it as often as the same text, or a text of the same shape, comes again.

#include "dalport/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dalport::embedded {

struct SecurityStatement {
    enum class Kind {
        CreateLogin, AlterLogin, DropLogin, CreateUser, DropUser, DropSchema, AddRoleMember, DropRoleMember,
        CreateRole, DropRole, Grant, Deny, Revoke
    };
    // What a GRANT, DENY or REVOKE names: an object (with an optional column list), the
    // schema dbo, or the database itself (ALTER ANY USER, ...).
    enum class Securable { Object, Schema, Database };
    Kind kind = Kind::CreateLogin;
    std::string name;                       // login, user, schema, member or role; the object
    std::optional<std::string> password;
    std::optional<std::string> oldPassword;
    std::optional<bool> checkPolicy;
    std::optional<bool> checkExpiration;
    bool mustChange = false;                // PASSWORD = '...' MUST_CHANGE
    std::string role;                       // role statements
    Securable securable = Securable::Object;
    std::vector<std::string> permissions;   // upper case: "SELECT", "ALTER ANY USER", ...
    std::vector<std::string> columns;       // GRANT ... ON t (c1, c2)
    std::vector<std::string> principals;    // TO / FROM
};

// One argument of EXEC proc ...: positional when name is empty.
struct ExecArgument {
    std::string name;
    Value value;
};

// A literal of the text that a plan binds to one of its parameters instead of writing it
// into its SQLite text, and how its place converts it: as written (a text or a whole
// number), or a text met by a whole number or a date, converted as the translation of the
// text with the literal written in converts it. Real numbers stay written: SQLite reads
// them with its own rounding.
enum class LiteralConversion { AsWritten, ToInteger, ToDate };

struct LiteralUse {
    int literal = 0; // its place among the text's literals
    LiteralConversion conversion = LiteralConversion::AsWritten;
};

struct Plan {
    enum class Kind {
        Sql,            // one SQLite statement
        Ddl,            // a schema change, passed through (administrators only)
        BeginTran,
        CommitTran,
        RollbackTran,   // name: the transaction's or a savepoint's
        SaveTran,       // SAVE TRAN name
        SetLockTimeout, // number: milliseconds, -1 waits for ever
        IfExists,       // IF [NOT] EXISTS (select) then
        Security,
        Exec,
        Batch           // several statements separated by ';'
    };
    Kind kind = Kind::Sql;
    std::string sql;                          // Sql, Ddl; IfExists: the EXISTS query
    std::string name;                         // BeginTran, CommitTran, RollbackTran, SaveTran
    long long number = 0;                     // SetLockTimeout
    bool negate = false;                      // IfExists: IF NOT EXISTS
    std::shared_ptr<const Plan> then;         // IfExists
    SecurityStatement security;               // Security
    std::string procedure;                    // Exec
    std::vector<ExecArgument> arguments;      // Exec
    std::vector<std::shared_ptr<const Plan>> parts; // Batch
    // Sql, Ddl, IfExists: the literals bound to ?1, ?2, ... of sql, and where their values
    // start among the values of the whole statement (every node's, in translation order).
    std::vector<LiteralUse> literals;
    std::size_t firstValue = 0;
};

} // namespace dalport::embedded
