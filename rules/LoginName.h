#pragma once
// The one check of a login name before it goes into a security statement.

#include <QString>
#include <optional>

namespace quorin::sql {

// A login name bracket-quoted for a security statement, when it matches the strict
// pattern of login names (a letter or underscore, then letters, digits, "_", ".",
// "-" or "@", at most 128 characters); otherwise nothing.
std::optional<QString> LoginName(const QString& name);

} // namespace quorin::sql
