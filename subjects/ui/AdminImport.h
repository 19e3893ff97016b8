#pragma once
// Tools > Admin Import: the Medical Manager server cannot be reached from here, and the
// command says so.

#include "document/UserInterface.h"

namespace quorin {

void OnAdminImport(UserInterface& ui);

} // namespace quorin
