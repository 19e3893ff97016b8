#pragma once
// SQL Server's conversions of a value to a type, one rule for every value whatever it
// comes from: a literal, a bound parameter, a procedure argument or a value computed
// while the statement runs (a column, a subquery, a function).

#include "dalport/embedded/EngineError.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace dalport::embedded {

// What a column stores, as its declared type says; decides how a value written to it
// is converted and checked.
enum class StoredType { Text, Int, SmallInt, TinyInt, BigInt, Bit, Float, Date };

// The stored type of a declared column type ("varchar(50)", "INT", "datetime", ...).
StoredType storedTypeOf(std::string_view declared);
// The declared length of a character column ("varchar(50)" is 50); -1 when none.
int declaredLength(std::string_view declared);

// Text as a whole number ('' and blanks are 0, surrounding blanks ignored); 245 for a text
// that is no whole number or lies outside int.
long long intFromText(std::string_view text);
// Text as a float ('' is 0); 8114 for a text that is no number.
double floatFromText(std::string_view text);
// A whole number checked against the range of `type`: 8115 outside it.
long long checkedInteger(long long v, StoredType type);

// Characters of UTF-8 text, never bytes.
std::size_t characterCount(std::string_view utf8);
// The first `n` characters of UTF-8 text (all of it when shorter); never cuts a character.
std::string_view leadingCharacters(std::string_view utf8, std::size_t n);

// Text written to a character column of `length` characters (-1 for no limit): kept when
// it fits, cut when only blanks are beyond the length (as SQL Server does), otherwise
// 2628 naming the table, the column and the value as it would have been cut.
std::string_view fittedText(std::string_view text, int length, std::string_view table, std::string_view column);

// 2628, SQL Server's truncation error.
EngineError truncation(std::string_view table, std::string_view column, std::string_view value);

} // namespace dalport::embedded
