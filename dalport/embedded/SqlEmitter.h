#pragma once
// Writes a resolved statement tree as the plan the engine runs: SQLite text with T-SQL's
// meaning (quoted names, attached schemas, the TSQL collation on texts, LIMIT for TOP,
// text literals converted to the type they meet, + as addition or concatenation by its
// operands' types).

#include "dalport/embedded/Plan.h"
#include "dalport/embedded/SyntaxTree.h"

#include <memory>

namespace dalport::embedded {

// Throws EngineError for what resolves but has no meaning (a text literal that is no
// number meeting a number, an unknown function or conversion).
std::shared_ptr<Plan> emitStatement(const ParsedStatement& statement);

} // namespace dalport::embedded
