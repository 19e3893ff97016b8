#pragma once
// The SQLite text of T-SQL literals converted to the type of the value they meet, and of
// CONVERT/CAST.

#include "dalport/embedded/Catalog.h"

#include <optional>
#include <string>

namespace dalport::embedded {

// A text literal as a date literal in the engine's stored form; throws 241/242.
std::string dateLiteral(const std::string& text);

// A text literal met by a column of `type`, converted as SQL Server converts it: '' is 0
// (and 1900-01-01); a text that is no number is 245 (int) or 8114 (float). A Text column
// keeps the literal, compared by the collation.
std::string typedLiteral(const std::string& text, ColumnType type);

// A value written to `column` of `table` ("db.dbo.t"): converted to the column's type and
// checked against its length when the statement runs, whatever the value comes from.
std::string storedValueText(const std::string& value, const ColumnInfo& column, const std::string& table);

// CONVERT(type[(length)], expr[, style]) and CAST(expr AS type): `type` in lower case,
// `spelled` as written (for the message of an unknown type); length -1 when none was
// given, 0 for max. Throws 243 for an unknown type, 281 for an unknown style.
std::string conversionText(const std::string& type, const std::string& spelled, int length, const std::string& expr,
                           std::optional<int> style);

} // namespace dalport::embedded
