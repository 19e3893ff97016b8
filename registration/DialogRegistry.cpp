#include "registration/DialogRegistry.h"

#include "framework/TemplateDialog.h"

#include <QPointer>

#include <map>

namespace quorin {
namespace {
std::map<UserInterface::Dialog, DialogRunner>& Runners()
{
    static std::map<UserInterface::Dialog, DialogRunner> runners;
    return runners;
}
std::map<UserInterface::Dialog, QPointer<CTemplateDialog>>& OpenWindows()
{
    static std::map<UserInterface::Dialog, QPointer<CTemplateDialog>> windows;
    return windows;
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

int ShowModelessWindow(UserInterface::Dialog dialog, const std::function<CTemplateDialog*()>& create)
{
    QPointer<CTemplateDialog>& open = OpenWindows()[dialog];
    // A window closed a moment ago may still wait for its deletion: it counts as gone.
    if (open && open->isVisible()) {
        if (open->isMinimized())
            open->showNormal();
        open->raise();
        open->activateWindow();
        open->OnReopen();
        return 1;
    }
    open = create();
    open->ShowModeless();
    return 1;
}

CTemplateDialog* OpenModelessWindow(UserInterface::Dialog dialog)
{
    const auto found = OpenWindows().find(dialog);
    return found == OpenWindows().end() ? nullptr : found->second.data();
}

} // namespace quorin
