#pragma once
// Registries made before the engine kept grants have databases whose catalogue lacks the
// grants table (sys_permissions): only a server administrator could use them. Opening
// such a registry brings each of its databases up to date once, with the security
// statements of the same roles script a new registry is made with (the registry
// profile's, each naming its database in its USE statement).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dalport::embedded {

// The database a roles script sets up: the one its USE statements name (master aside);
// empty when it names none or more than one.
std::string scriptDatabase(std::string_view script);

// Brings every database of the server folder that lacks the grants table and has a
// roles script up to date, each in one transaction: the catalogue's tables, then the
// script's roles, grants and role memberships. Existing users and role members stay.
// `login` is the server administrator's or the opening login's name; the statements run
// with a server administrator's rights, as the registry's creation runs them.
// Returns the databases it brought up to date.
// Adds the registry profile's additions that the server's databases lack (each in one
// transaction), then brings their grants up to date as above.
std::vector<std::string> upgradeSecurity(const std::filesystem::path& folder, const std::string& login);

} // namespace dalport::embedded
