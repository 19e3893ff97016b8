#pragma once
// The three objects a session holds, shared between copies of a MyADO as counted
// references are: the connection with its error list, the one command with its
// parameters, and the result of the last statement.

#include "dalport/Backend.h"
#include "dalport/ColumnPositions.h"

#include <memory>
#include <optional>
#include <vector>

namespace dalport {

class AdoConnection {
public:
    std::unique_ptr<Connection> backend;  // null until opened
    std::vector<ProviderError> errors;    // the errors of the last failing operation
};

class AdoCommand {
public:
    std::shared_ptr<AdoConnection> activeConnection;
    std::vector<Param> parameters;
};

class AdoRecordset {
public:
    std::unique_ptr<Result> result; // null: closed (no statement has run)
    // The current result set's column positions, found at its first read by name and
    // kept while the walk stays on that result set.
    std::optional<ColumnPositions> positions;
};

} // namespace dalport
