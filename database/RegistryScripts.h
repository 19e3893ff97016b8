#pragma once
// The databases a registry server holds: "Quorin" (the registry itself) and the
// stand-ins for the Audiogram Manager ("Aud") and the cochlear-implant database ("CID"),
// ready for dalport::CreateServer.

#include "dalport/Registry.h"
#include "dalport/RegistryProfile.h"

#include <vector>

namespace quorin {

std::vector<dalport::DatabaseScript> registryScripts();

// What the engine must know of the registry: its default folder ($QUORIN_REGISTRY, else
// "Quorin/registry" in the user's data folder), QuorinAdmin of "Quorin" as the staff
// administrators who manage logins, and the roles scripts that bring old registries up
// to date.
dalport::RegistryProfile registryProfile();

// Hands registryProfile() to the engine. Every program that opens a registry calls it
// once at start-up.
void UseRegistryProfile();

} // namespace quorin
