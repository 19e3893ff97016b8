#pragma once
// Creating and administering servers of the embedded engine.
//
// A server is a folder:
//   master.db      the logins (argon2id password hashes, never a clear password)
//   <name>.db      one file per database ("Quorin.db", "Aud.db", "CID.db"), holding the
//                  database's tables, its stored procedures (table sys_procedures), its
//                  users and roles (sys_database_principals, sys_role_members) and
//                  sys_schemas.
// Every engine connection attaches the server's other database files under their names,
// so procedure bodies and text queries may name "CID.dbo.patient".
//
// After CreateServer a database file may be filled in bulk with plain SQLite (the demo
// generator, benchmarks): open "<folder>/<name>.db" with sqlite3_open and call
// RegisterEngineFunctions on the handle first, so the TSQL collation and the engine's
// functions (getdate, convert101, datediff, todate) that the schema uses are known.
// Dates are written as "YYYY-MM-DD HH:MM:SS.fff"; do not run while a program holds a
// transaction open on the same file (SQLite's locking applies as usual).

#include "dalport/DalportExport.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dalport {

// One database of a new server. `schema` is SQLite DDL (it may declare text columns
// COLLATE TSQL and date columns DATETIME). Each entry of `procedures` is one procedure
// file:
//     -- optional comment lines
//     CREATE PROCEDURE uspName
//         @first int,
//         @second varchar(50) = '',
//         @third datetime
//     AS
//     <SQLite statements separated by ';', using @first ... by name>
// Parameter types: int, float, real, varchar(n), nvarchar(n), char(n), text, datetime.
//
// `security` is T-SQL as a SQL Server's administrator runs it to set up roles and
// permissions: CREATE ROLE (also under IF DATABASE_PRINCIPAL_ID('r') IS NULL),
// GRANT / DENY / REVOKE of SELECT, INSERT, UPDATE (also on a column list), DELETE and
// EXECUTE on an object or SCHEMA::dbo, and ALTER ANY USER / ROLE / SCHEMA on the
// database, EXEC sp_addrolemember and ALTER ROLE ... ADD MEMBER; batches separated by
// GO lines. Its USE, CREATE DATABASE, CREATE TABLE and CREATE INDEX statements are
// passed over (the schema above makes the tables). Without it a database has no roles
// and only server administrators use it.
struct DatabaseScript {
    std::string name;
    std::string schema;
    std::vector<std::string> procedures;
    std::string security;
};

// Builds a new folder whole or not at all: `build` fills a private temporary folder
// beside `folder` (on the same file system), which becomes `folder` by one rename once
// `build` returns. When `build` throws, the temporary folder goes and nothing is left;
// a registry is never found half made. Missing parents are made 0700. Refuses a `folder`
// that exists and is not empty. Throws std::runtime_error (or what `build` throws).
DALPORT_EXPORT void BuildFolderWhole(const std::string& folder,
                                     const std::function<void(const std::string& temporary)>& build);

// Creates the server folder (and its parents) with the administrator login and the
// databases, through BuildFolderWhole. Refuses a folder that already holds anything and
// an empty password. Throws std::runtime_error with a readable message.
DALPORT_EXPORT void CreateServer(const std::string& folder, const std::string& adminLogin,
                                 const std::string& adminPassword,
                                 const std::vector<DatabaseScript>& databases);

// Why the engine's password policy (CHECK_POLICY = ON, as every login of a new server
// has it) refuses `password` for `login`, in the engine's own words; nullopt when it
// passes. CreateServer does not check it, so a program asks this first.
DALPORT_EXPORT std::optional<std::string> PasswordPolicyRefusal(const std::string& login,
                                                                const std::string& password);

// Adds a login (not administrator). Throws std::runtime_error when it exists already,
// when the password is empty or the server does not exist.
DALPORT_EXPORT void CreateLogin(const std::string& folder, const std::string& login,
                                const std::string& password);

// Adds the database user `user` (for the login of the same name) to a database, as a
// member of `role` (a role the database's security script created, or "" for no role).
DALPORT_EXPORT void CreateDatabaseUser(const std::string& folder, const std::string& database,
                                       const std::string& user, const std::string& role);

// True when a server name means the embedded engine: empty (the default registry) or a
// path; any other name is a SQL Server reached through ODBC.
DALPORT_EXPORT bool IsEmbeddedServerName(const std::string& server);

// True when a server name means an embedded registry whose folder holds none (no
// master.db): a folder since removed or moved. False for a SQL Server's name.
DALPORT_EXPORT bool NamesMissingRegistry(const std::string& server);

// "<folder>/<database>.db" (or "<folder>/master.db" for "master").
DALPORT_EXPORT std::string DatabaseFilePath(const std::string& folder, const std::string& database);

// The folder an empty server name means (RegistryProfile.h): the profile's environment
// variable when set, else its folder in the user's data folder.
DALPORT_EXPORT std::string DefaultRegistryFolder();

// Registers on a raw sqlite3* handle the collation TSQL and the functions getdate(),
// convert101(x), datediff(unit, a, b) and todate(text) exactly as engine connections
// have them.
DALPORT_EXPORT void RegisterEngineFunctions(void* sqlite3db);

} // namespace dalport
