#pragma once
// Every value placed into a text query goes through here, so that a name like O'Brien
// works and nothing typed can change a statement.

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

// The KV Number (Unit) as it may go into Audiogram Manager or CID text: a Number that
// is not zero. "" and "0" mean no number, anything else is never sent.
std::optional<QString> KvNumber(const QString& unit);

// What a typed KV Number is, for the places that send it to the Audiogram Manager:
// none ("" or zero), a whole number (canonical form in `number`), or not a whole number.
// The one message for the last case is KvNumberMessage() (error icon). Reactions:
// - audiogram history: the message, nothing is sent, the registry's tests are paged;
// - the newer-test check: not a whole number means no newer test, silently;
// - the Audiogram Manager search: the message;
// - bulk runs: no box, the subject is skipped with the reason "KV Number not a whole
//   number";
// - the status written back to the Audiogram Manager: skipped.
struct KvReading {
    enum class Kind { None, Number, NotWhole };
    Kind kind = Kind::None;
    QString number;
};
KvReading ReadKvNumber(const QString& unit);
QString KvNumberMessage();

// A login name bracket-quoted for a security statement, when it matches the strict
// pattern of login names (a letter or underscore, then letters, digits, "_", ".",
// "-" or "@", at most 128 characters); otherwise nothing.
std::optional<QString> LoginName(const QString& name);

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
