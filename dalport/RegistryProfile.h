#pragma once
// What a host program tells the embedded engine about the registries it keeps. Dalport
// itself knows no registry: the names below come from the host's own code, set once at
// start-up before any connection is opened.

#include "dalport/DalportExport.h"

#include <string>
#include <vector>

namespace dalport {

// A part of a registry added after registries were first made, brought into an older
// one when it is opened: in `database`, when it has every table of `requiredTables` and no
// table `marker`, `schema` (SQLite DDL) runs, the `procedures` are written (an older
// definition of the same name replaced), and `security` (GRANT/DENY lines, as in a roles
// script) is applied, all in one transaction.
struct RegistryAddition {
    std::string database;
    std::vector<std::string> requiredTables;
    std::string marker;
    std::string schema;
    std::vector<std::string> procedures;
    std::string security;
};

struct RegistryProfile {
    // The folder an empty server name means: the value of the environment variable
    // `folderVariable` when it is set, else `dataFolder` under the user's data folder.
    std::string folderVariable;
    std::string dataFolder;
    // Members of this role in this database hold ALTER ANY LOGIN on the server, as a SQL
    // Server's administrator grants it to a registry's administrators. Empty: nobody
    // but a server administrator.
    std::string loginAdminRole;
    std::string loginAdminDatabase;
    // The roles scripts (T-SQL, each naming its database in USE) that bring a registry
    // made before the engine kept grants up to date when it is opened.
    std::vector<std::string> rolesScripts;
    // What older registries lack, added when they are opened (before their grants are
    // brought up to date, whose scripts may name it).
    std::vector<RegistryAddition> additions;
};

// Sets the profile every later connection and registry call uses.
DALPORT_EXPORT void SetRegistryProfile(RegistryProfile profile);

// The profile set last; an empty one before any was set.
DALPORT_EXPORT const RegistryProfile& CurrentRegistryProfile();

} // namespace dalport
