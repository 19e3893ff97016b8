#include "database/RegistryScripts.h"

#include "database/ChangeLog.h"
#include "database/EmbeddedScriptFiles.h"

#include <array>
#include <sstream>
#include <stdexcept>
#include <string>

namespace quorin {

namespace {

struct DatabaseFolder {
    const char* name;   // the database name the program connects to
    const char* folder; // its folder below database
    const char* roles;  // its SQL Server roles script below database
};

constexpr std::array<DatabaseFolder, 3> kDatabases{{
    {"Quorin", "embedded/quorin/", "mssql/04-quorin-roles.sql"},
    {"Aud", "embedded/aud/", "mssql/05-aud-standin.sql"},
    {"CID", "embedded/cid/", "mssql/06-cid-standin.sql"},
}};

std::string embeddedText(std::string_view path)
{
    for (const auto& file : schema::embeddedScriptFiles())
        if (file.path == path)
            return std::string(file.text);
    return std::string();
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The change history's table and triggers, for a Quorin schema.
std::string changeLogSchema(const std::string& quorinSchema)
{
    // Appended step by step: GCC 12 at -O3 warns falsely (-Wrestrict) on "literal" + string.
    std::string schema = "\n";
    schema += embeddedText("embedded/quorin/changelog.sql");
    schema += embeddedChangeLogTriggers(quorinSchema);
    return schema;
}

// The change history for registries made before it: its table, triggers and procedures
// (the history's reader and the single-point writers that keep a point save minimal),
// and the lines of Quorin's roles script that name them. uspWriteCiData came with the
// history too: the older one replaced the whole row, which the triggers would log as
// every column deleted and inserted again on each save.
dalport::RegistryAddition changeLogAddition()
{
    const std::string schema = embeddedText("embedded/quorin/schema.sql");
    dalport::RegistryAddition addition{"Quorin", changeLogTables(), "changelog", changeLogSchema(schema),
                                       {}, ""};
    const char* const added[] = {"uspLoadChangeHistory", "uspDeleteAudPoint", "uspUpdateAudPoint"};
    for (const char* name : {"uspLoadChangeHistory", "uspDeleteAudPoint", "uspUpdateAudPoint", "uspWriteCiData"})
        addition.procedures.push_back(embeddedText(std::string("embedded/quorin/procedures/") + name + ".sql"));
    std::istringstream roles(embeddedText(kDatabases[0].roles));
    for (std::string line; std::getline(roles, line);) {
        bool names = line.find("changelog") != std::string::npos;
        for (const char* name : added)
            names = names || line.find(name) != std::string::npos;
        if (names && !startsWith(line, "--"))
            addition.security += line + "\n";
    }
    return addition;
}

dalport::DatabaseScript scriptOf(const DatabaseFolder& db)
{
    dalport::DatabaseScript script;
    script.name = db.name;
    const std::string schemaPath = std::string(db.folder) + "schema.sql";
    const std::string procedureFolder = std::string(db.folder) + "procedures/";
    for (const auto& file : schema::embeddedScriptFiles()) {
        if (file.path == schemaPath)
            script.schema = std::string(file.text);
        else if (startsWith(file.path, procedureFolder))
            script.procedures.emplace_back(file.text);
    }
    if (script.name == "Quorin")
        script.schema += changeLogSchema(script.schema);
    // Its roles and grants: the SQL Server roles script of the database, the same text
    // the engine brings old registries up to date with.
    script.security = embeddedText(db.roles);
    if (script.schema.empty() || script.security.empty())
        throw std::logic_error("the build embedded no schema or no roles script for database " + script.name);
    return script;
}

} // namespace

std::vector<dalport::DatabaseScript> registryScripts()
{
    std::vector<dalport::DatabaseScript> scripts;
    for (const auto& db : kDatabases)
        scripts.push_back(scriptOf(db));
    return scripts;
}

dalport::RegistryProfile registryProfile()
{
    dalport::RegistryProfile profile;
    profile.folderVariable = "QUORIN_REGISTRY";
    profile.dataFolder = "Quorin/registry";
    profile.loginAdminRole = "QuorinAdmin";
    profile.loginAdminDatabase = "Quorin";
    for (const auto& db : kDatabases)
        profile.rolesScripts.push_back(embeddedText(db.roles));
    profile.additions.push_back(changeLogAddition());
    return profile;
}

void UseRegistryProfile()
{
    dalport::SetRegistryProfile(registryProfile());
}

} // namespace quorin
