#pragma once
// Makes the staff administration windows known to the program: Tools > Users and
// Tools > Change Password. Called once at start-up.

#include <functional>

class CQuorinDoc;

namespace quorin {

// `keepPassword`: how the application keeps a document's new password after its own
// password changed (a later File New connects with it); the application passes it in.
void RegisterAdminDialogs(std::function<void(const CQuorinDoc&)> keepPassword = {});

// Hands the document's new password to the application's keeper, if one was given.
void KeepApplicationPassword(const CQuorinDoc& document);

} // namespace quorin
