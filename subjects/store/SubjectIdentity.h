#pragma once
// A subject needs a KV Number, or a last name, first name and birth date, before its
// audiogram or participation means anything. Pages that depend on it check here.

class CQuorinDoc;

namespace quorin {

// True when the subject passes. Otherwise brings the Subject tab forward, says what is
// missing and returns false.
bool CheckSubjectIdentity(CQuorinDoc& doc);

} // namespace quorin
