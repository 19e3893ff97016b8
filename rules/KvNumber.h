#pragma once
// The KV Number (the subject's Unit), the one key to the clinic's databases: when a typed
// one may be sent, and what each place does when it may not.

#include <QString>
#include <optional>

namespace quorin::sql {

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

} // namespace quorin::sql
