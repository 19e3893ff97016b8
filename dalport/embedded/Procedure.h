#pragma once
// A stored procedure as written in its file: the header that names it and its
// parameters in order, then SQLite statements that use the parameters by name.

#include "dalport/Value.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dalport::embedded {

struct ProcedureParameter {
    enum class Type { Int, Float, Text, DateTime };
    std::string name; // with its '@'
    Type type = Type::Int;
    int length = -1;  // text: the declared length; -1 for none (text, varchar(max))
    bool padded = false; // char(n)
    std::optional<Value> defaultValue;
};

struct ProcedureDefinition {
    std::string name;
    std::vector<ProcedureParameter> parameters;
    std::string body;
};

// Throws EngineError (102 and friends) for a header it cannot read.
ProcedureDefinition parseProcedure(std::string_view text);

// A bound value converted to the parameter's declared type with SQL Server's rules.
// Throws EngineError 245, 8114, 241 or 242.
Value convertArgument(const ProcedureParameter& p, const Value& v);

} // namespace dalport::embedded
