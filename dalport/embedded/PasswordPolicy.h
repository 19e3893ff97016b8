#pragma once
// The password rule a login with CHECK_POLICY = ON must meet, as a Windows server's
// default policy has it: at least 8 characters of three of the four kinds (upper case,
// lower case, digits, symbols), and not the login's name inside it.

#include <string>

namespace dalport::embedded {

// Throws EngineError 15118 when `password` fails the rule for `login`; with the policy
// off only an empty password is refused (15116).
void checkPasswordPolicy(const std::string& login, const std::string& password, bool policyOn);

} // namespace dalport::embedded
