// Linked into every test binary: the engine learns the registry's names (its default
// folder, its login administrators, its roles scripts) before any test opens a
// connection, as the program and the tools tell it at start-up.

#include "database/RegistryScripts.h"

namespace {

const bool kProfiled = (quorin::UseRegistryProfile(), true);

} // namespace
