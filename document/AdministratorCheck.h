#pragma once
// Whether the document's login is an administrator of the registry (pers.Status 3): the
// commands only administrators are offered ask it in their update handlers.

class CQuorinDoc;

namespace quorin {

// False before the login and for every other status. Read once per registry and login
// (the update handlers ask often), on a session of its own: the handlers run on a timer,
// also while the document's session stands in the middle of a result.
bool IsAdministrator(const CQuorinDoc& document);

} // namespace quorin
