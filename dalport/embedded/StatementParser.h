#pragma once
// Reads T-SQL tokens into the statement tree: SELECT, INSERT, UPDATE, DELETE with their
// expressions, IF [NOT] EXISTS, and the statements that need no names resolved
// (transactions, SET, EXEC, schema and security statements) straight into their plan.
// Text it cannot read is refused with SQL Server's syntax errors.

#include "dalport/embedded/SyntaxTree.h"
#include "dalport/embedded/Tokenizer.h"

#include <string_view>
#include <vector>

namespace dalport::embedded {

// Where the statements of a batch begin and end (split at top-level ';'); throws
// EngineError for a text with no statement.
std::vector<std::pair<std::size_t, std::size_t>> splitBatch(const std::vector<Token>& tokens);

// The statement in tokens [begin, end); throws EngineError.
ParsedStatement parseStatement(const std::vector<Token>& tokens, std::size_t begin, std::size_t end, std::string_view source);

// The text of a token as SQL Server's syntax error quotes it.
std::string tokenText(const Token& t);

} // namespace dalport::embedded
