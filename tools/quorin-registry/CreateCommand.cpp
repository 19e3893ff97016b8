#include "tools/quorin-registry/Commands.h"

#include "dalport/Registry.h"
#include "tools/common/PasswordPrompt.h"

#ifdef QUORIN_WITH_REGISTRY_SCRIPTS
#include "database/RegistryScripts.h"
#endif

#include <iostream>
#include <stdexcept>

namespace quorin::tools {

namespace {

// The password from the file, or typed twice on the terminal.
std::string adminPassword(const ParsedCommandLine& cmd)
{
    if (auto file = cmd.value("--password-file"))
        return readPasswordFile(*file);
    const auto first = promptPassword("Administrator's password: ");
    const auto second = first ? promptPassword("Once more: ") : std::nullopt;
    if (!first || !second)
        throw std::runtime_error("no password given");
    if (*first != *second)
        throw std::runtime_error("the two passwords differ");
    return *first;
}

std::vector<dalport::DatabaseScript> registryDatabases()
{
#ifdef QUORIN_WITH_REGISTRY_SCRIPTS
    return quorin::registryScripts();
#else
    throw std::runtime_error("this build does not carry the registry's database scripts");
#endif
}

int runCreate(const ParsedCommandLine& cmd)
{
    if (cmd.positional.size() != 1 || !cmd.has("--admin"))
        throw std::runtime_error("usage: quorin-registry create <folder> --admin <name> [--password-file F]");
    const std::string folder = cmd.positional[0];
    const std::string admin = *cmd.value("--admin");
    const std::string password = adminPassword(cmd);
    if (password.empty())
        throw std::runtime_error("the administrator's password must not be empty");
    dalport::CreateServer(folder, admin, password, registryDatabases());
    std::cout << "Created the registry in " << folder << " with the administrator " << admin << ".\n";
    return 0;
}

} // namespace

Command createCommand()
{
    return Command{"create",
                   "<folder>",
                   "create a registry server (master.db, Quorin.db, Aud.db, CID.db) in a new folder",
                   {
                       {"--admin", true, "the administrator's login"},
                       {"--password-file", true, "read the password from the first line of this file"},
                   },
                   &runCreate};
}

} // namespace quorin::tools
