#pragma once
// The modal dialogs that document operations and menu commands open, by kind. Each
// subsystem registers the dialogs it builds; a kind nobody registered is not available
// (its menu command shows disabled, and running it returns Cancel).

#include "app/UserInterface.h"

#include <functional>

class CQuorinDoc;
class QWidget;

namespace quorin {

using DialogRunner = std::function<int(QWidget* parent, CQuorinDoc& document)>;

void RegisterDialog(UserInterface::Dialog dialog, DialogRunner runner);
bool IsDialogAvailable(UserInterface::Dialog dialog);
// The dialog's result (1 OK, 2 Cancel); 2 when the dialog is not available.
int RunRegisteredDialog(UserInterface::Dialog dialog, QWidget* parent, CQuorinDoc& document);

} // namespace quorin
