#include "dalport/embedded/SecurityUpgrade.h"

#include "dalport/RegistryProfile.h"
#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/Tokenizer.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

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

namespace {

// The tables of each database file, read once for the whole check that opens a session
// (one read-only open per file): unknown when the file cannot be read, which the
// session's own opening then reports.
class TableNames {
public:
    // True when the file holds no table of that name (false when it cannot be read).
    bool lacks(const fs::path& file, const std::string& table)
    {
        auto [entry, added] = m_files.try_emplace(file.string());
        if (added)
            entry->second = read(file);
        return entry->second && entry->second->count(table) == 0;
    }
    // After the file's tables changed.
    void forget(const fs::path& file) { m_files.erase(file.string()); }

private:
    static std::optional<std::set<std::string>> read(const fs::path& file)
    {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return std::nullopt;
        }
        sqlite3_busy_timeout(db, 5000);
        sqlite3_stmt* stmt = nullptr;
        std::optional<std::set<std::string>> names;
        if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_schema WHERE type = 'table'", -1, &stmt, nullptr)
            == SQLITE_OK) {
            names.emplace();
            int rc = SQLITE_ROW;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                names->insert(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            if (rc != SQLITE_DONE)
                names.reset();
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return names;
    }

    std::map<std::string, std::optional<std::set<std::string>>> m_files;
};

void addMissingParts(const fs::path& folder, const std::string& login, TableNames& tables)
{
    for (const RegistryAddition& addition : CurrentRegistryProfile().additions) {
        const auto file = findDatabaseFile(folder, addition.database);
        if (!file || !tables.lacks(*file, addition.marker))
            continue;
        // Another server's database of the same name is not the registry's.
        if (std::any_of(addition.requiredTables.begin(), addition.requiredTables.end(),
                        [&](const std::string& table) { return tables.lacks(*file, table); }))
            continue;
        try {
            EngineConnection connection(folder, *file, LoginContext{login, true, addition.database});
            connection.addToRegistry(addition);
        } catch (EngineError& e) {
            e.message = "database " + addition.database + ": " + e.message;
            throw;
        }
        tables.forget(*file);
    }
}

} // namespace

std::vector<std::string> upgradeSecurity(const fs::path& folder, const std::string& login)
{
    TableNames tables;
    addMissingParts(folder, login, tables);
    std::vector<std::string> upgraded;
    for (const auto& [name, path] : databaseFiles(folder)) {
        if (!tables.lacks(path, "sys_permissions"))
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
