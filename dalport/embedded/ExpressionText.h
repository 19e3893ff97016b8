#pragma once
// The SQLite text of T-SQL expressions: literals converted to the type of the column they
// meet, + and - chosen by their operands' types at run time, and CONVERT/CAST.

#include "dalport/embedded/Catalog.h"

#include <optional>
#include <string>
#include <vector>

namespace dalport::embedded {

// A text literal as a date literal in the engine's stored form; throws 241/242.
std::string dateLiteral(const std::string& text);

// A text literal met by a column of `type`, converted as SQL Server converts it: '' is 0
// (and 1900-01-01); a text that is no number is 245 (int) or 8114 (float). A Text column
// keeps the literal, compared by the collation.
std::string typedLiteral(const std::string& text, ColumnType type);

// One piece of emitted SQLite text, with what it is to T-SQL's + and - operators.
struct Piece {
    enum class Role { Operand, Additive, Multiplicative, Other };
    std::string text;
    Role role = Role::Other;
};

// Joins pieces into text. Binary + and - become tsql_add/tsql_subtract, which decide by
// their operands' types whether + adds or concatenates (and convert a text meeting a
// number, or fail as SQL Server does). * / % bind tighter, so they stay in a term.
std::string joinPieces(const std::vector<Piece>& pieces);

// CONVERT(type[(length)], expr[, style]) and CAST(expr AS type): `type` in lower case,
// `spelled` as written (for the message of an unknown type); length -1 when none was
// given, 0 for max. Throws 243 for an unknown type, 281 for an unknown style.
std::string conversionText(const std::string& type, const std::string& spelled, int length, const std::string& expr,
                           std::optional<int> style);

} // namespace dalport::embedded
