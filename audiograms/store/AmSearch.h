#pragma once
// The search of the Audiogram Manager for a subject being entered: the statement the
// search dialog lists its matches with.

#include <QString>

namespace quorin::am {

// Matches by KV Number when `unit` is a whole number other than 0; else by last name,
// first name and birth date when the birth date is a real day (sent as MM/DD/YYYY);
// else by the two names. Names match as typed, wildcards and apostrophes included, at
// the start of the clinic's names.
QString SearchQuery(const QString& unit, const QString& last, const QString& first, const QString& birth);

} // namespace quorin::am
