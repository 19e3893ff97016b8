#include "dalport/embedded/SecurityUpgrade.h"

#include "dalport/RegistryProfile.h"
#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/Tokenizer.h"

#include <sqlite3.h>

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

bool lacksGrantsCatalogue(const fs::path& databaseFile)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(databaseFile.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false; // not readable: the session's own opening reports it
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* stmt = nullptr;
    bool lacks = false;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = 'sys_permissions'",
                           -1, &stmt, nullptr)
            == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        lacks = sqlite3_column_int(stmt, 0) == 0;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return lacks;
}

std::vector<std::string> upgradeSecurity(const fs::path& folder, const std::string& login)
{
    std::vector<std::string> upgraded;
    for (const auto& [name, path] : databaseFiles(folder)) {
        if (!lacksGrantsCatalogue(path))
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
