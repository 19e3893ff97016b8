#pragma once
// Reads T-SQL's security statements into a plan: logins, users, roles and their members,
// schemas, and GRANT / DENY / REVOKE. Kept apart from the data statements' translator,
// which hands over every statement that begins with one of these words.

#include "dalport/embedded/Plan.h"
#include "dalport/embedded/Tokenizer.h"

#include <memory>
#include <string>
#include <vector>

namespace dalport::embedded {

// The plan of the security statement in tokens [begin, end), or null when those tokens
// are no security statement (CREATE TABLE, ...). Throws EngineError for a security
// statement written wrong.
std::shared_ptr<Plan> parseSecurityStatement(const std::vector<Token>& tokens, std::size_t begin, std::size_t end);

// EXEC sp_addrolemember / sp_droprolemember with its two text arguments.
std::shared_ptr<Plan> roleMemberStatement(bool add, const std::string& role, const std::string& member);

} // namespace dalport::embedded
