#pragma once
// Makes the staff administration windows known to the program: Tools > Users and
// Tools > Change Password. Called once at start-up.

class CQuorinDoc;

namespace quorin {

void RegisterAdminDialogs();

// After the own password changed, the application keeps the document's new one too (a
// later File New connects with it).
void KeepApplicationPassword(const CQuorinDoc& document);

} // namespace quorin
