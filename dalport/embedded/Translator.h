#pragma once
// Translates T-SQL text into what the engine runs: SQLite statements with SQL Server's
// meaning, transaction control, security statements and procedure calls. Whatever it
// cannot translate is refused with SQL Server's syntax error, never run otherwise.

#include "dalport/embedded/Catalog.h"
#include "dalport/embedded/Plan.h"
#include "dalport/embedded/Tokenizer.h"

#include <memory>
#include <string_view>
#include <vector>

namespace dalport::embedded {

// Throws EngineError for text it refuses.
std::shared_ptr<const Plan> translate(std::string_view text, const Catalog& catalog);

// The plan of a text that binds its literals where their values mean nothing else (see
// LiteralLifter.h), and the literals it keeps written: their places among the text's
// literals. Refuses what translate refuses, with the same errors.
struct LiftedTranslation {
    std::shared_ptr<const Plan> plan;
    std::vector<int> written;
};
LiftedTranslation translateLifted(std::string_view text, const Catalog& catalog);

// Rewrites names in SQLite text (procedure bodies, schema statements): "db.dbo.t" becomes
// the attached schema's "db.t" (main for the current database) and "dbo.t" becomes "t".
// Everything else is kept exactly as written.
std::string rewriteObjectNames(std::string_view sqliteText, const Catalog& catalog);

} // namespace dalport::embedded
