// Creating a server of the embedded engine and adding logins and users to it.

#include "dalport/Registry.h"

#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/FilePrivacy.h"
#include "dalport/embedded/PasswordHash.h"
#include "dalport/embedded/PasswordPolicy.h"
#include "dalport/embedded/Procedure.h"
#include "dalport/embedded/Collation.h"
#include "dalport/embedded/SecurityUpgrade.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/SqliteFile.h"
#include "dalport/embedded/Tokenizer.h"

#include <sqlite3.h>

#include <stdexcept>

namespace fs = std::filesystem;

namespace dalport {

namespace {

using embedded::EngineError;

using File = embedded::SqliteFile;
constexpr auto kCreate = embedded::SqliteFile::Mode::Create;
constexpr auto kExisting = embedded::SqliteFile::Mode::Existing;

void checkLoginName(const std::string& name)
{
    if (name.empty() || name.size() > 128)
        throw std::runtime_error("a login name must have 1 to 128 characters");
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '-'))
            throw std::runtime_error("a login name may hold letters, digits, '_', '.' and '-' only: '" + name + "'");
}

void createMaster(const fs::path& folder, const std::string& login, const std::string& password)
{
    embedded::createPrivateFile(embedded::masterFile(folder));
    File master(embedded::masterFile(folder), kCreate);
    master.exec("PRAGMA journal_mode = WAL", "master.db");
    master.exec("PRAGMA application_id = " + std::to_string(embedded::kCollationVersion), "master.db");
    master.exec(std::string("BEGIN;") + embedded::kMasterCatalogue + "COMMIT;", "master.db");
    master.run("INSERT INTO logins(name, password_hash, check_policy, is_admin) VALUES (?1, ?2, 1, 1)",
               {login, embedded::hashPassword(password)});
}

void createDatabase(const fs::path& folder, const DatabaseScript& script)
{
    if (!embedded::isPlainDatabaseName(script.name) || embedded::equalsIgnoreCase(script.name, "master"))
        throw std::runtime_error("not a database name: '" + script.name + "'");
    const fs::path path = folder / (script.name + ".db");
    if (fs::exists(path))
        throw std::runtime_error("database " + script.name + " is given twice");
    embedded::createPrivateFile(path);
    File db(path, kCreate);
    db.exec("PRAGMA journal_mode = WAL", script.name);
    // Its indexes are built under the current text order from the start.
    db.exec("PRAGMA application_id = " + std::to_string(embedded::kCollationVersion), script.name);
    db.exec(std::string("BEGIN;") + embedded::kDatabaseCatalogue + "COMMIT;", script.name);
    db.exec("BEGIN;" + script.schema + "\n;COMMIT;", "schema of " + script.name);
    db.exec("BEGIN", script.name);
    for (std::size_t i = 0; i < script.procedures.size(); ++i) {
        try {
            const auto def = embedded::parseProcedure(script.procedures[i]);
            if (db.run("SELECT 1 FROM sys_procedures WHERE name = ?1", {def.name}))
                throw std::runtime_error("procedure " + def.name + " is defined twice");
            db.run("INSERT INTO sys_procedures(name, definition) VALUES (?1, ?2)", {def.name, script.procedures[i]});
        } catch (const EngineError& e) {
            throw std::runtime_error("procedure file " + std::to_string(i + 1) + " of " + script.name + ": "
                                     + e.message);
        }
    }
    db.exec("COMMIT", script.name);
}

// The roles and grants of each database, then every procedure body compiled once with
// all databases attached, so a mistake shows now and not when the program first calls it.
void secureAndCompile(const fs::path& folder, const std::string& login, const std::vector<DatabaseScript>& databases)
{
    for (const DatabaseScript& script : databases) {
        try {
            embedded::EngineConnection connection(folder, folder / (script.name + ".db"),
                                                  embedded::LoginContext{login, true, script.name});
            if (!script.security.empty())
                connection.runSecurityScript(script.security);
            connection.compileAllProcedures();
        } catch (const EngineError& e) {
            throw std::runtime_error(script.name + ": " + e.message);
        }
    }
}

} // namespace

void CreateServer(const std::string& folderName, const std::string& adminLogin, const std::string& adminPassword,
                  const std::vector<DatabaseScript>& databases)
{
    if (adminPassword.empty())
        throw std::runtime_error("the administrator's password must not be empty");
    checkLoginName(adminLogin);
    if (fs::exists(embedded::masterFile(folderName)))
        throw std::runtime_error("a server exists already in " + folderName);
    BuildFolderWhole(folderName, [&](const std::string& temporary) {
        const fs::path folder(temporary);
        createMaster(folder, adminLogin, adminPassword);
        for (const DatabaseScript& script : databases)
            createDatabase(folder, script);
        secureAndCompile(folder, adminLogin, databases);
    });
}

std::optional<std::string> PasswordPolicyRefusal(const std::string& login, const std::string& password)
{
    try {
        embedded::checkPasswordPolicy(login, password, true);
    } catch (const EngineError& refusal) {
        return refusal.message;
    }
    return std::nullopt;
}

void CreateLogin(const std::string& folder, const std::string& login, const std::string& password)
{
    checkLoginName(login);
    if (password.empty())
        throw std::runtime_error("a login's password must not be empty");
    const fs::path master = embedded::masterFile(folder);
    if (!fs::exists(master))
        throw std::runtime_error("no server in " + folder);
    File db(master, kExisting);
    if (db.run("SELECT 1 FROM logins WHERE name = ?1", {login}))
        throw std::runtime_error("the login " + login + " exists already");
    db.run("INSERT INTO logins(name, password_hash, check_policy, is_admin) VALUES (?1, ?2, 1, 0)",
           {login, embedded::hashPassword(password)});
}

void CreateDatabaseUser(const std::string& folder, const std::string& database, const std::string& user,
                        const std::string& role)
{
    const auto file = embedded::findDatabaseFile(folder, database);
    if (!file)
        throw std::runtime_error("no database " + database + " in " + folder);
    {
        File master(embedded::masterFile(folder), kExisting);
        if (!master.run("SELECT 1 FROM logins WHERE name = ?1", {user}))
            throw std::runtime_error("no login " + user + " on the server in " + folder);
    }
    File db(*file, kExisting);
    if (!role.empty() && !db.run("SELECT 1 FROM sys_database_principals WHERE name = ?1 AND type = 'R'", {role}))
        throw std::runtime_error("no role " + role + " in " + database);
    db.exec("BEGIN IMMEDIATE", database);
    try {
        if (db.run("SELECT 1 FROM sys_database_principals WHERE name = ?1", {user}))
            throw std::runtime_error("the user " + user + " exists already in " + database);
        db.run("INSERT INTO sys_database_principals(name, type) VALUES (?1, 'S')", {user});
        if (!role.empty())
            db.run("INSERT INTO sys_role_members(role, member) VALUES (?1, ?2)", {role, user});
        db.exec("COMMIT", database);
    } catch (...) {
        db.exec("ROLLBACK", database);
        throw;
    }
}

} // namespace dalport
