#pragma once
// The modal dialogs that document operations and menu commands open, by kind. Each
// subsystem registers the dialogs it builds; a kind nobody registered is not available
// (its menu command shows disabled, and running it returns Cancel).

#include "document/UserInterface.h"

#include <functional>

class CQuorinDoc;
class CTemplateDialog;
class QWidget;

namespace quorin {

using DialogRunner = std::function<int(QWidget* parent, CQuorinDoc& document)>;

void RegisterDialog(UserInterface::Dialog dialog, DialogRunner runner);
bool IsDialogAvailable(UserInterface::Dialog dialog);
// The dialog's result (1 OK, 2 Cancel); 2 when the dialog is not available.
int RunRegisteredDialog(UserInterface::Dialog dialog, QWidget* parent, CQuorinDoc& document);

enum class WindowShown { Modal, Modeless };

// A modeless window of the kind: one at a time, a child of the parent (the main frame),
// living until the user closes it or the parent goes. Running the kind again brings the
// open one to the front and calls its OnReopen; otherwise create makes a new one. 1.
int ShowModelessWindow(UserInterface::Dialog dialog, const std::function<CTemplateDialog*()>& create);
// The open modeless window of the kind, or null.
CTemplateDialog* OpenModelessWindow(UserInterface::Dialog dialog);

// Registers a window class, constructed as Window(document, parent): modal windows run
// with DoModal for the command's length, modeless ones as ShowModelessWindow says.
template <class Window>
void RegisterDialogWindow(UserInterface::Dialog dialog, WindowShown shown)
{
    RegisterDialog(dialog, [dialog, shown](QWidget* parent, CQuorinDoc& document) -> int {
        if (shown == WindowShown::Modal) {
            Window window(document, parent);
            return window.DoModal();
        }
        return ShowModelessWindow(dialog, [&]() -> CTemplateDialog* { return new Window(document, parent); });
    });
}

} // namespace quorin
