#pragma once
// The program's own dialog templates as data.

#include "framework/DialogTemplate.h"

namespace res {

framework::DialogTemplate LoginDialogTemplate();
framework::DialogTemplate AboutDialogTemplate();

// Registers every template above with the framework.
void RegisterDialogTemplates();

} // namespace res
