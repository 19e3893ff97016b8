#include "admin/record/TemporaryPassword.h"

#include <sodium.h>

#include <array>
#include <stdexcept>
#include <string_view>

namespace quorin {

namespace {

constexpr std::array<std::string_view, 4> kKinds{
    "ABCDEFGHJKLMNPQRSTUVWXYZ", "abcdefghijkmnopqrstuvwxyz", "23456789", "-_.+!#%*=?"};
constexpr int kLength = 16;

char Draw(std::string_view from)
{
    return from[randombytes_uniform(static_cast<std::uint32_t>(from.size()))];
}

bool HasEveryKind(const QString& password)
{
    for (const std::string_view kind : kKinds) {
        bool found = false;
        for (const QChar c : password)
            found = found || kind.find(c.toLatin1()) != std::string_view::npos;
        if (!found)
            return false;
    }
    return true;
}

} // namespace

QString TemporaryPassword(const QString& login)
{
    if (sodium_init() < 0)
        throw std::runtime_error("the system's random source cannot be used");
    std::string all;
    for (const std::string_view kind : kKinds)
        all += kind;
    for (;;) {
        QString password;
        for (int i = 0; i < kLength; ++i)
            password += QLatin1Char(Draw(all));
        if (HasEveryKind(password) && (login.size() < 3 || !password.contains(login, Qt::CaseInsensitive)))
            return password;
    }
}

} // namespace quorin
