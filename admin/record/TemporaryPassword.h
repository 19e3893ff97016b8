#pragma once
// The password a login gets when the Users window creates or resets it: drawn from the
// system's secure random source, so that nobody knows it but the administrator who is
// shown it once, and good for SQL Server's password policy.

#include <QString>

namespace quorin {

// 16 characters of upper- and lower-case letters, digits and symbols (each kind at least
// once; no look-alikes, nothing a statement or a connection string quotes), never
// holding the login's name.
QString TemporaryPassword(const QString& login);

} // namespace quorin
