#include "dalport/embedded/EmbeddedBackend.h"
#include "dalport/embedded/Statement.h"

#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/FilePrivacy.h"
#include "dalport/embedded/FileSystemType.h"
#include "dalport/embedded/PasswordHash.h"
#include "dalport/embedded/PasswordPolicy.h"
#include "dalport/embedded/SecurityUpgrade.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/StorageCheck.h"

#include <sqlite3.h>

#include <cstdio>

namespace fs = std::filesystem;

namespace dalport::embedded {

namespace {

constexpr const char* kSource = "Quorin Embedded Engine";

[[noreturn]] void refuse(const EngineError& e)
{
    ProviderError p{e.number, e.level, e.state, e.message, e.message};
    throw ConnectError{ComError(hr::Fail, kSource, e.message), {p}};
}

struct LoginRow {
    std::string name;
    std::string hash;
    bool admin = false;
    bool policy = true;
    bool mustChange = false;
};

// Storage at fault names the file and what is wrong; otherwise `otherwise`.
[[noreturn]] void refuseFromStorage(const fs::path& folder, const EngineError& otherwise)
{
    if (auto problem = storageProblem(folder))
        refuse(*problem);
    refuse(otherwise);
}

// An open handle on master.db, closed on every path.
class Master {
public:
    explicit Master(const fs::path& folder) : m_folder(folder)
    {
        if (sqlite3_open_v2(masterFile(folder).string().c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
            refuseFromStorage(folder, errors::serverNotFound());
        }
        sqlite3_busy_timeout(m_db, 30000);
    }
    ~Master() { sqlite3_close(m_db); }
    Master(const Master&) = delete;
    Master& operator=(const Master&) = delete;

    // Reads the login; empty when there is none.
    std::optional<LoginRow> login(const std::string& uid)
    {
        upgrade();
        std::optional<LoginRow> row;
        try {
            Statement login(m_db, "SELECT name, password_hash, is_admin, check_policy, must_change FROM logins "
                                  "WHERE name = ?1",
                            {uid});
            if (login.step())
                row = LoginRow{login.text(0), login.text(1), login.integer(2) != 0, login.integer(3) != 0,
                               login.integer(4) != 0};
        } catch (const EngineError&) {
            refuseFromStorage(m_folder, errors::serverNotFound()); // not a server's master file
        }
        return row;
    }

    // The new password of a login that changes it as it logs in; the duty to change ends.
    void setPassword(const std::string& name, const std::string& password)
    {
        try {
            Statement update(m_db, "UPDATE logins SET password_hash = ?2, must_change = 0 WHERE name = ?1",
                             {name, hashPassword(password)});
            update.step();
        } catch (const EngineError& e) {
            refuseFromStorage(m_folder, e);
        }
    }

private:
    // Registries made before logins could be told to change their password lack the
    // columns, and their catalogue view shows every login to everyone; a folder that
    // cannot be written keeps them as they are and is read as before.
    void upgrade()
    {
        bool current = false;
        try {
            Statement check(m_db, "SELECT (SELECT count(*) FROM pragma_table_info('logins') WHERE name = 'must_change') "
                                  "+ (SELECT count(*) FROM sqlite_schema WHERE name = 'sys_server_principals' "
                                  "AND sql LIKE '%tsql_login_visible%')");
            current = check.step() && check.integer(0) == 2;
        } catch (const EngineError&) {
            refuseFromStorage(m_folder, errors::serverNotFound());
        }
        if (current)
            return;
        std::string steps = "BEGIN IMMEDIATE;";
        if (!hasColumn("must_change"))
            steps += "ALTER TABLE logins ADD COLUMN check_expiration INTEGER NOT NULL DEFAULT 0;"
                     "ALTER TABLE logins ADD COLUMN must_change INTEGER NOT NULL DEFAULT 0;";
        steps += std::string("DROP VIEW IF EXISTS sys_server_principals;") + kMasterCatalogue + "COMMIT;";
        if (sqlite3_exec(m_db, steps.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        if (!hasColumn("must_change"))
            refuseFromStorage(m_folder, errors::serverNotFound());
    }

    bool hasColumn(const char* name)
    {
        Statement column(m_db, "SELECT 1 FROM pragma_table_info('logins') WHERE name = ?1", {name});
        return column.step();
    }

    fs::path m_folder;
    sqlite3* m_db = nullptr;
};

EngineError passwordMustChange(const std::string& login)
{
    return EngineError{18488, 14, 1,
                       "Login failed for user '" + login + "'. Reason: The password of the account must be changed."};
}

EngineError passwordChangeFailed(const std::string& login)
{
    return EngineError{18466, 14, 1,
                       "Login failed for user '" + login + "'. Reason: Password change failed. The password does not "
                       "meet the operating system policy requirements because it is not complex enough."};
}

// The login as SQL Server checks it: the password, then a duty to change it. Given the
// old password as well, the new one replaces it in the same step (what a driver's
// old-password attribute asks of SQL Server).
LoginRow authenticate(const fs::path& folder, const std::string& uid, const std::string& pwd,
                      const std::optional<std::string>& oldPassword)
{
    Master master(folder);
    auto login = master.login(uid);
    const std::string& current = oldPassword ? *oldPassword : pwd;
    if (!login || !verifyPassword(login->hash, current))
        refuse(errors::loginFailed(uid));
    if (oldPassword) {
        try {
            checkPasswordPolicy(login->name, pwd, login->policy);
        } catch (const EngineError&) {
            refuse(passwordChangeFailed(uid));
        }
        master.setPassword(login->name, pwd);
        login->mustChange = false;
    }
    if (login->mustChange)
        refuse(passwordMustChange(uid));
    return *login;
}

std::unique_ptr<Connection> openChecked(const std::string& server, const std::string& uid, const std::string& pwd,
                                        const std::string& database, const std::optional<std::string>& oldPassword)
{
    const fs::path folder = serverFolder(server);
    const fs::path master = masterFile(folder);
    std::error_code ec;
    if (!fs::is_regular_file(master, ec))
        refuse(errors::serverNotFound());
    if (auto problem = headerProblem(folder))
        refuse(*problem);

    // The login first, as SQL Server does: a wrong password says nothing of databases.
    const LoginRow login = authenticate(folder, uid, pwd, oldPassword);

    warnIfExposed(folder);
    warnIfOnNetwork(folder);
    const auto file = findDatabaseFile(folder, database);
    if (!file)
        refuse(errors::cannotOpenDatabase(database));
    try {
        upgradeSecurity(folder, login.name);
    } catch (const EngineError& e) {
        if (auto problem = storageProblem(folder))
            refuse(*problem);
        // The registry's own administrator still gets in, to see to it; nobody else is
        // let into a registry whose permissions could not be set.
        const EngineError failure{50000, 16, 1,
                                  "The embedded engine cannot add the roles and permissions to a registry made "
                                  "before they were kept: " + e.message};
        if (!login.admin)
            refuse(failure);
        std::fprintf(stderr, "%s\n", failure.message.c_str());
        std::fflush(stderr);
    }
    LoginContext context{login.name, login.admin, file->stem().string()};
    try {
        auto connection = std::make_unique<EngineConnection>(folder, *file, context);
        if (!connection->hasDatabaseAccess())
            refuse(errors::cannotOpenDatabase(database));
        connection->restrictCatalogueViews();
        return connection;
    } catch (const EngineError& e) {
        refuseFromStorage(folder, e);
    } catch (const std::exception& e) {
        refuseFromStorage(folder, EngineError{50000, 16, 1,
                                              std::string("The embedded engine cannot open the database: ") + e.what()});
    }
}

} // namespace

std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid, const std::string& pwd,
                                           const std::string& database, const std::optional<std::string>& oldPassword)
{
    try {
        return openChecked(server, uid, pwd, database, oldPassword);
    } catch (const std::exception& e) {
        refuseFromStorage(serverFolder(server),
                          EngineError{50000, 16, 1, std::string("The embedded engine cannot open the server: ") + e.what()});
    }
}

} // namespace dalport::embedded
