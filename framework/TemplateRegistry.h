#pragma once
// The dialog templates of the program, by resource id. resources/ registers its own at
// start-up; a subsystem may add the templates of its forms the same way.

#include "framework/DialogTemplate.h"

#include <vector>

namespace framework {

// Replaces a template registered earlier under the same id.
void RegisterDialogTemplate(DialogTemplate dialogTemplate);

// Null when no template has the id.
const DialogTemplate* FindDialogTemplate(int id);

// The ids of every registered template, ascending.
std::vector<int> DialogTemplateIds();

} // namespace framework
