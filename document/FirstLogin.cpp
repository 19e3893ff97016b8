#include "document/FirstLogin.h"

#include "rules/DbString.h"
#include "dalport/PasswordChangeSession.h"

#include <algorithm>
#include <vector>

namespace quorin {

namespace {

constexpr long kPasswordMustChange = 18488;

// What the server said when a connection was refused (nothing is shown then).
struct Probe : PasswordChangeSession {
    std::vector<dalport::ReportedError> Errors()
    {
        std::vector<dalport::ReportedError> errors;
        for (const dalport::ReportedError& e : GetConnectionErrors())
            if (e.kind == dalport::ReportedError::Kind::Provider)
                errors.push_back(e);
        return errors;
    }
};

bool Has(const std::vector<dalport::ReportedError>& errors, long number)
{
    return std::any_of(errors.begin(), errors.end(), [number](const auto& e) { return e.number == number; });
}

// The numbers SQL Server gives the like of a full disk, a read-only or unopenable file
// and a damaged one; the embedded engine names the file in their message.
bool IsStorageProblem(const dalport::ReportedError& e)
{
    return e.number == 824 || e.number == 1105 || e.number == 3906 || e.number == 5120;
}

// SQL Server's 18463 to 18468: the new password was refused (too short, too long, not
// complex enough, in the history, ...).
bool IsNewPasswordRefused(const dalport::ReportedError& e) { return e.number >= 18463 && e.number <= 18468; }

QString FirstMessage(const std::vector<dalport::ReportedError>& errors)
{
    return errors.empty() ? QStringLiteral("The password could not be changed.")
                          : FromDb(errors.front().message);
}

} // namespace

FirstLoginResult CheckFirstLogin(const QString& server, const QString& login, QString& password,
                                 const FirstRunPrompts& prompts)
{
    Probe probe;
    if (probe.SetDataSource(ToDb(server).c_str(), ToDb(login).c_str(), ToDb(password).c_str(), "Quorin"))
        return FirstLoginResult::Connected;
    const auto errors = probe.Errors();
    const auto storage = std::find_if(errors.begin(), errors.end(), IsStorageProblem);
    if (storage != errors.end()) {
        prompts.tell(FromDb(storage->message));
        return FirstLoginResult::StorageProblem;
    }
    if (!Has(errors, kPasswordMustChange))
        return FirstLoginResult::Refused;
    for (;;) {
        const auto first = prompts.askPassword(
            QStringLiteral("The password of %1 must be changed before the first login.\nNew password:").arg(login));
        if (!first)
            return FirstLoginResult::Cancelled;
        const auto second = prompts.askPassword(QStringLiteral("Type the new password again:"));
        if (!second)
            return FirstLoginResult::Cancelled;
        if (*first != *second) {
            prompts.tell(QStringLiteral("The two passwords differ."));
            continue;
        }
        Probe change;
        if (change.SetDataSourceWithNewPassword(ToDb(server).c_str(), ToDb(login).c_str(), ToDb(password).c_str(),
                                                ToDb(*first).c_str(), "Quorin")) {
            password = *first;
            return FirstLoginResult::Connected;
        }
        const auto refused = change.Errors();
        prompts.tell(FirstMessage(refused));
        // A password the policy refuses may be chosen again; anything else ends here.
        if (std::none_of(refused.begin(), refused.end(), IsNewPasswordRefused))
            return FirstLoginResult::Refused;
    }
}

} // namespace quorin
