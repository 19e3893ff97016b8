#include "app/DialogRegistry.h"

#include <map>

namespace quorin {
namespace {
std::map<UserInterface::Dialog, DialogRunner>& Runners()
{
    static std::map<UserInterface::Dialog, DialogRunner> runners;
    return runners;
}
} // namespace

void RegisterDialog(UserInterface::Dialog dialog, DialogRunner runner)
{
    Runners()[dialog] = std::move(runner);
}

bool IsDialogAvailable(UserInterface::Dialog dialog)
{
    return Runners().count(dialog) != 0;
}

int RunRegisteredDialog(UserInterface::Dialog dialog, QWidget* parent, CQuorinDoc& document)
{
    const auto found = Runners().find(dialog);
    return found == Runners().end() ? 2 : found->second(parent, document);
}

} // namespace quorin
