#pragma once
// Login passwords are kept only as argon2id hashes (libsodium, interactive limits).

#include <string>

namespace dalport::embedded {

std::string hashPassword(const std::string& password); // throws std::runtime_error
bool verifyPassword(const std::string& hash, const std::string& password);

} // namespace dalport::embedded
