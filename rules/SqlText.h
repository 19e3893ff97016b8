#pragma once
// Every value placed into a text query goes through here, so that a name like O'Brien
// works and nothing typed can change a statement. The KV Number rule is KvNumber.h,
// the login-name check LoginName.h.

#include <QString>
#include <optional>

namespace quorin::sql {

// The text with every apostrophe doubled, for use between single quotes.
QString Text(const QString& value);

// The text as part of a LIKE pattern that matches it literally, for use between single
// quotes: the wildcards "%" and "_" and the bracket "[" are each put in brackets, and
// apostrophes are doubled. The caller adds its own "%" around it: a dataset named
// "A[1]" or "50%_done" finds itself and nothing else.
QString LikeText(const QString& value);

// A whole number after trimming blanks, in canonical form (no sign for zero, no
// leading zeros, "-" for negatives), when it fits a 32-bit int; otherwise nothing.
std::optional<QString> Number(const QString& value);

// A period of typed dates over a stored date column, as every report means it: the
// whole of both days, From at 00:00 up to the end of the To day, whether the column
// holds dates alone or dates with a time of day (feedback stored with GETDATE()).
// "column >= 'From' and column < 'the day after To'": any time on the To day is in, the
// next midnight is out, and the column's index serves both bounds. From goes in as typed
// (apostrophes doubled) and the server reads it, as it read "between"; a To that is no
// real day goes in as typed too, for the server to refuse. The column is the caller's
// own name, never typed text.
QString WholeDays(const QString& column, const QString& from, const QString& to);

} // namespace quorin::sql
