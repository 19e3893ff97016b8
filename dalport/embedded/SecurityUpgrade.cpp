#include "dalport/embedded/SecurityUpgrade.h"

#include "dalport/RegistryProfile.h"
#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/Tokenizer.h"

#include <sqlite3.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace dalport::embedded {

std::string scriptDatabase(std::string_view script)
{
    std::string found;
    const std::vector<Token> t = tokenize(std::string(script));
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        if (!t[i].isWord("use") || (t[i + 1].kind != Token::Kind::Word && t[i + 1].kind != Token::Kind::Quoted))
            continue;
        const std::string& name = t[i + 1].value;
        if (equalsIgnoreCase(name, "master"))
            continue;
        if (!found.empty() && !equalsIgnoreCase(found, name))
            return {};
        found = name;
    }
    return found;
}

bool lacksTable(const fs::path& databaseFile, const std::string& table)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(databaseFile.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false; // not readable: the session's own opening reports it
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* stmt = nullptr;
    bool lacks = false;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = ?1", -1, &stmt,
                           nullptr)
            == SQLITE_OK
        && sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        lacks = sqlite3_column_int(stmt, 0) == 0;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return lacks;
}

namespace {

void addMissingParts(const fs::path& folder, const std::string& login)
{
    for (const RegistryAddition& addition : CurrentRegistryProfile().additions) {
        const auto file = findDatabaseFile(folder, addition.database);
        if (!file || !lacksTable(*file, addition.marker))
            continue;
        // Another server's database of the same name is not the registry's.
        if (std::any_of(addition.requiredTables.begin(), addition.requiredTables.end(),
                        [&](const std::string& table) { return lacksTable(*file, table); }))
            continue;
        try {
            EngineConnection connection(folder, *file, LoginContext{login, true, addition.database});
            connection.addToRegistry(addition);
        } catch (EngineError& e) {
            e.message = "database " + addition.database + ": " + e.message;
            throw;
        }
    }
}

} // namespace

std::vector<std::string> upgradeSecurity(const fs::path& folder, const std::string& login)
{
    addMissingParts(folder, login);
    std::vector<std::string> upgraded;
    for (const auto& [name, path] : databaseFiles(folder)) {
        if (!lacksTable(path, "sys_permissions"))
            continue;
        for (const std::string& script : CurrentRegistryProfile().rolesScripts) {
            if (!equalsIgnoreCase(scriptDatabase(script), name))
                continue;
            try {
                EngineConnection connection(folder, path, LoginContext{login, true, name});
                if (connection.upgradeSecurityCatalogue(script))
                    upgraded.push_back(name);
            } catch (EngineError& e) {
                e.message = "database " + name + ": " + e.message;
                throw;
            }
            break;
        }
    }
    return upgraded;
}

} // namespace dalport::embedded
