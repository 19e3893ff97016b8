#pragma once
// The login's first connection, before the document makes its own: a login whose
// password must be changed (a temporary one from the Users window) is asked for a new one
// and changes it as it connects; a registry whose storage is at fault is named with what
// is wrong, instead of "Login Failed!".

#include <QString>

#include <functional>
#include <optional>

namespace quorin {

// How the first start and the first login ask and tell the user.
struct FirstRunPrompts {
    std::function<bool(const QString& question)> askYesNo;
    // nullopt when the user cancels.
    std::function<std::optional<QString>(const QString& prompt)> askPassword;
    std::function<void(const QString& message)> tell; // stop icon
};

enum class FirstLoginResult {
    Connected,      // the login works (with `password`, changed or not)
    Refused,        // any other refusal: the document's connection says "Login Failed!"
    Cancelled,      // the new password was not given
    StorageProblem  // the registry's storage is at fault; its message has been told
};

// Tries the login on the database "Quorin". Refused with 18488, asks for a new password
// twice (askPassword) and connects with the old and the new one; on success `password`
// holds the new one. A new password the server refuses is told and asked again.
FirstLoginResult CheckFirstLogin(const QString& server, const QString& login, QString& password,
                                 const FirstRunPrompts& prompts);

} // namespace quorin
