#pragma once
// The first start on a machine without a registry: with an empty server field and no
// default registry, offer to create an empty one with the typed login as administrator.
// An administrator is never created without a password.

#include "document/FirstLogin.h"

#include <QString>

#include <functional>
#include <optional>

namespace quorin {

enum class FirstRunResult { NotNeeded, Created, Declined, Failed };

// `password` is the one typed at login; when it was empty the new one is asked for
// twice and, once the registry exists, replaces it so the login can go ahead.
FirstRunResult OfferEmptyRegistry(const QString& server, const QString& login, QString& password,
                                  const FirstRunPrompts& prompts);

// The prompts as message boxes and password fields.
FirstRunPrompts QtFirstRunPrompts();

} // namespace quorin
