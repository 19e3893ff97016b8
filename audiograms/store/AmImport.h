#pragma once
// Taking a clinic test of the Audiogram Manager into the open subject's current test.
// An import is whole or does not happen: it is read into a scratch record and replaces
// the current test only when every read ran and the test's information row exists.
// Nothing here asks the user anything, so bulk runs can use it as it is.

#include <QDate>
#include <QString>

#include <optional>

class CQuorinDoc;

namespace quorin::am {

// The tests a composite draws on at most.
inline constexpr int kMaxCompositeTests = 10;

// A date text that names a real day: digits and the separators "/", "-" or "\" only,
// month, day and year as SplitDate reads them. Anything else (a quote, a 30th of
// February) is no day, so only a date the program writes itself goes into a query.
std::optional<QDate> ReadRealDay(const QString& text);

// The first day counted as newer than a registry test of `date`: the next day as
// MM/DD/YYYY. An empty date is the server's empty date, 01/01/1900; a text that is no
// real day gives nothing.
std::optional<QString> NewerFromDay(const QString& date);

// The statement that lists a patient's clinic tests, newest first (a same-day pair
// by the later patientindex); `unit` must be a checked KV Number.
QString NewestTestsQuery(const QString& unit);

// What the clinic says about a newer test of a KV Number: none, one, or nothing at all
// because its read failed (the server has said why).
enum class NewerTest { None, Newer, ReadFailed };
// A whole-number KV Number (anything else: None) against a registry test of `date`, on
// the document's Aud session, connected here when needed (failing that: ReadFailed).
NewerTest CheckNewerTest(CQuorinDoc& doc, const QString& unit, const QString& date);

// The patientindex of the newest clinic test of a checked KV Number, on the document's
// (connected) Aud session; nothing without a test or when the query failed (`ran`
// tells which, when given).
std::optional<int> NewestTest(CQuorinDoc& doc, const QString& unit, bool* ran = nullptr);

// Reads clinic test `patientIndex` with its composite into a scratch record started
// from the current test (whose symbols stay grey) and makes it the current test.
// Returns false, the document unchanged, when a read failed, the test has no
// information row, or a text is longer than the registry column it would be saved into
// (then named in `tooLong` as "table.column", when given).
bool ImportAmTest(CQuorinDoc& doc, int patientIndex, QString* tooLong = nullptr);

} // namespace quorin::am
