#include "dalport/embedded/ServerFolder.h"

#include "dalport/Registry.h"
#include "dalport/RegistryProfile.h"
#include "dalport/embedded/EmbeddedBackend.h"
#include "dalport/embedded/Tokenizer.h"

#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

namespace dalport::embedded {

const char* const kDatabaseCatalogue = R"(
CREATE TABLE IF NOT EXISTS sys_database_principals(name TEXT PRIMARY KEY COLLATE NOCASE, type TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS sys_role_members(role TEXT COLLATE NOCASE, member TEXT COLLATE NOCASE,
                                            PRIMARY KEY(role, member));
CREATE TABLE IF NOT EXISTS sys_schemas(name TEXT PRIMARY KEY COLLATE NOCASE);
CREATE TABLE IF NOT EXISTS sys_procedures(name TEXT PRIMARY KEY COLLATE NOCASE, definition TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS sys_permissions(class_desc TEXT NOT NULL, major_name TEXT NOT NULL COLLATE NOCASE,
                                           minor_name TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
                                           permission_name TEXT NOT NULL, state TEXT NOT NULL,
                                           grantee TEXT NOT NULL COLLATE NOCASE,
                                           PRIMARY KEY(class_desc, major_name, minor_name, permission_name, grantee));
CREATE VIEW IF NOT EXISTS sys_database_permissions AS
    SELECT CASE class_desc WHEN 'DATABASE' THEN 0 WHEN 'SCHEMA' THEN 3 ELSE 1 END AS class, class_desc,
           permission_name, state, CASE state WHEN 'D' THEN 'DENY' ELSE 'GRANT' END AS state_desc,
           (SELECT p.rowid FROM sys_database_principals p WHERE p.name = grantee) AS grantee_principal_id,
           grantee AS grantee_name, major_name AS object_name, minor_name AS column_name
    FROM sys_permissions;
INSERT OR IGNORE INTO sys_schemas(name) VALUES ('dbo'), ('guest'), ('sys'), ('INFORMATION_SCHEMA');
)";

const char* const kMasterCatalogue = R"(
CREATE TABLE IF NOT EXISTS logins(name TEXT PRIMARY KEY COLLATE NOCASE, password_hash TEXT NOT NULL,
                                  check_policy INTEGER NOT NULL DEFAULT 1, is_admin INTEGER NOT NULL DEFAULT 0,
                                  check_expiration INTEGER NOT NULL DEFAULT 0,
                                  must_change INTEGER NOT NULL DEFAULT 0);
CREATE VIEW IF NOT EXISTS sys_server_principals AS
    SELECT rowid AS principal_id, name, 'S' AS type, 'SQL_LOGIN' AS type_desc, 0 AS is_disabled FROM logins
    WHERE tsql_login_visible(name);
)";

namespace {

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"))
        return home;
    if (const char* profile = std::getenv("USERPROFILE"))
        return profile;
    return ".";
}

} // namespace

std::string defaultRegistryFolder()
{
    const RegistryProfile& profile = CurrentRegistryProfile();
    if (profile.dataFolder.empty())
        throw std::runtime_error("the program has not said where its default registry is");
    if (const char* env = profile.folderVariable.empty() ? nullptr : std::getenv(profile.folderVariable.c_str());
        env && *env)
        return env;
#if defined(_WIN32)
    const char* appData = std::getenv("APPDATA");
    fs::path base = appData ? fs::path(appData) : fs::path(homeFolder());
#elif defined(__APPLE__)
    fs::path base = fs::path(homeFolder()) / "Library" / "Application Support";
#else
    const char* xdg = std::getenv("XDG_DATA_HOME");
    fs::path base = xdg && *xdg ? fs::path(xdg) : fs::path(homeFolder()) / ".local" / "share";
#endif
    return (base / profile.dataFolder).string();
}

fs::path serverFolder(const std::string& server)
{
    std::string name = server;
    if (name.empty())
        return defaultRegistryFolder();
    if (name.rfind("file://", 0) == 0)
        name = name.substr(7);
    else if (name.rfind("file:", 0) == 0)
        name = name.substr(5);
    if (name.rfind("~/", 0) == 0 || name == "~")
        return fs::path(homeFolder()) / (name.size() > 2 ? name.substr(2) : "");
    return name;
}

fs::path masterFile(const fs::path& folder) { return folder / "master.db"; }

bool isPlainDatabaseName(const std::string& name)
{
    if (name.empty() || name.size() > 128)
        return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-'))
            return false;
    return true;
}

std::optional<fs::path> findDatabaseFile(const fs::path& folder, const std::string& database)
{
    if (!isPlainDatabaseName(database) || equalsIgnoreCase(database, "master"))
        return std::nullopt;
    const fs::path exact = folder / (database + ".db");
    std::error_code ec;
    if (fs::is_regular_file(exact, ec))
        return exact;
    for (const auto& [stem, path] : databaseFiles(folder))
        if (equalsIgnoreCase(stem, database))
            return path;
    return std::nullopt;
}

std::vector<std::pair<std::string, fs::path>> databaseFiles(const fs::path& folder)
{
    std::vector<std::pair<std::string, fs::path>> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const fs::path& p = entry.path();
        if (p.extension() != ".db" || !entry.is_regular_file(ec))
            continue;
        const std::string stem = p.stem().string();
        if (!equalsIgnoreCase(stem, "master") && isPlainDatabaseName(stem))
            out.emplace_back(stem, p);
    }
    return out;
}

std::vector<std::pair<std::string, fs::path>> serverFiles(const fs::path& folder)
{
    std::vector<std::pair<std::string, fs::path>> files{{"master", masterFile(folder)}};
    for (auto& file : databaseFiles(folder))
        files.push_back(std::move(file));
    return files;
}

} // namespace dalport::embedded

std::string dalport::DefaultRegistryFolder() { return embedded::defaultRegistryFolder(); }

bool dalport::NamesMissingRegistry(const std::string& server)
{
    std::error_code ec;
    return IsEmbeddedServerName(server) && !fs::exists(embedded::masterFile(embedded::serverFolder(server)), ec);
}

std::string dalport::DatabaseFilePath(const std::string& folder, const std::string& database)
{
    return (fs::path(folder) / (database + ".db")).string();
}
