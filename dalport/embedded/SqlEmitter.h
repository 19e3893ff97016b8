#pragma once
// Writes a resolved statement tree as the plan the engine runs: SQLite text with T-SQL's
// meaning (quoted names, attached schemas, the TSQL collation on texts, LIMIT for TOP,
// text literals converted to the type they meet, + as addition or concatenation by its
// operands' types).

#include "dalport/embedded/Plan.h"
#include "dalport/embedded/SyntaxTree.h"

#include <memory>
#include <vector>

namespace dalport::embedded {

// Literals bound as parameters rather than written into the text, over every node of one
// statement: each node's literals, and the literals whose values the text depends on
// (written where a value names or types a column, orders, groups or is a LIKE pattern).
struct LiteralLifting {
    std::vector<int> written; // by their place among the text's literals
    std::size_t values = 0;   // values bound by the nodes emitted so far
};

// Throws EngineError for what resolves but has no meaning (a text literal that is no
// number meeting a number, an unknown function or conversion). With `lifting`, literals
// are bound where their values change nothing but the values the statement works on; the
// checks and conversions they meet are the same, made as the translation runs and again
// on each value bound later.
std::shared_ptr<Plan> emitStatement(const ParsedStatement& statement, LiteralLifting* lifting = nullptr);

} // namespace dalport::embedded
