#pragma once
// The registry's own rules beyond what SQLite and the column types hold, for the engine's
// check (dalport::CheckServer, `quorin-registry check`): rows that refer to a subject, an
// audiogram or a dataset that is not there, and staff members whose login lacks the user
// or the role their status gives in Quorin, Aud and CID.
//
// Each rule is a SELECT over the server's databases, attached under their names ("Quorin",
// "Aud", "CID", "master"); each row it returns is one problem, told by its only column.

#include "dalport/Backup.h"

#include <vector>

namespace quorin {

std::vector<dalport::ServerRule> registryRules();

} // namespace quorin
