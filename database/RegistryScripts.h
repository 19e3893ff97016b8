#pragma once
// The databases a registry server holds: "Quorin" (the registry itself) and the
// stand-ins for the Audiogram Manager ("Aud") and the cochlear-implant database ("CID"),
// ready for dalport::CreateServer.

#include "dalport/Registry.h"

#include <vector>

namespace quorin {

std::vector<dalport::DatabaseScript> registryScripts();

} // namespace quorin
