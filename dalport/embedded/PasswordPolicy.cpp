#include "dalport/embedded/PasswordPolicy.h"

#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/Tokenizer.h"

#include <cctype>

namespace dalport::embedded {

namespace {

constexpr std::size_t kMinimumLength = 8;
constexpr int kKindsNeeded = 3;
constexpr std::size_t kShortestNameChecked = 3; // Windows skips names shorter than this

EngineError notComplexEnough()
{
    return EngineError{15118, 16, 1, "Password validation failed. The password does not meet the operating system "
                                     "policy requirements because it is not complex enough."};
}

} // namespace

void checkPasswordPolicy(const std::string& login, const std::string& password, bool policyOn)
{
    if (!policyOn) {
        if (password.empty())
            throw errors::emptyPassword();
        return;
    }
    bool upper = false, lower = false, digit = false, symbol = false;
    for (unsigned char c : password) {
        if (std::isupper(c))
            upper = true;
        else if (std::islower(c))
            lower = true;
        else if (std::isdigit(c))
            digit = true;
        else
            symbol = true; // punctuation, blanks and letters beyond ASCII
    }
    const int kinds = int(upper) + int(lower) + int(digit) + int(symbol);
    if (password.size() < kMinimumLength || kinds < kKindsNeeded)
        throw notComplexEnough();
    if (login.size() >= kShortestNameChecked && toLower(password).find(toLower(login)) != std::string::npos)
        throw notComplexEnough();
}

} // namespace dalport::embedded
