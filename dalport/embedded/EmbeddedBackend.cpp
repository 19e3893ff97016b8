#include "dalport/embedded/EmbeddedBackend.h"
#include "dalport/embedded/Statement.h"

#include "dalport/embedded/EngineConnection.h"
#include "dalport/embedded/FilePrivacy.h"
#include "dalport/embedded/PasswordHash.h"
#include "dalport/embedded/SecurityUpgrade.h"
#include "dalport/embedded/ServerFolder.h"

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
};

// Reads the login from master.db; empty when there is none.
std::optional<LoginRow> readLogin(const fs::path& master, const std::string& uid)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(master.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        refuse(errors::serverNotFound());
    }
    sqlite3_busy_timeout(db, 30000);
    std::optional<LoginRow> row;
    bool failed = false;
    try {
        Statement login(db, "SELECT name, password_hash, is_admin FROM logins WHERE name = ?1", {uid});
        if (login.step())
            row = LoginRow{login.text(0), login.text(1), login.integer(2) != 0};
    } catch (const EngineError&) {
        failed = true; // not a server's master file, or unreadable
    }
    sqlite3_close(db);
    if (failed)
        refuse(errors::serverNotFound());
    return row;
}

} // namespace

namespace {

std::unique_ptr<Connection> openChecked(const std::string& server, const std::string& uid, const std::string& pwd,
                                        const std::string& database)
{
    const fs::path folder = serverFolder(server);
    const fs::path master = masterFile(folder);
    std::error_code ec;
    if (!fs::is_regular_file(master, ec))
        refuse(errors::serverNotFound());

    // The login first, as SQL Server does: a wrong password says nothing of databases.
    const auto login = readLogin(master, uid);
    if (!login || !verifyPassword(login->hash, pwd))
        refuse(errors::loginFailed(uid));

    warnIfExposed(folder);
    const auto file = findDatabaseFile(folder, database);
    if (!file)
        refuse(errors::cannotOpenDatabase(database));
    try {
        upgradeSecurity(folder, login->name);
    } catch (const EngineError& e) {
        // The registry's own administrator still gets in, to see to it; nobody else is
        // let into a registry whose permissions could not be set.
        const EngineError failure{50000, 16, 1,
                                  "The embedded engine cannot add the roles and permissions to a registry made "
                                  "before they were kept: " + e.message};
        if (!login->admin)
            refuse(failure);
        std::fprintf(stderr, "%s\n", failure.message.c_str());
        std::fflush(stderr);
    }
    LoginContext context{login->name, login->admin, file->stem().string()};
    try {
        auto connection = std::make_unique<EngineConnection>(folder, *file, context);
        if (!connection->hasDatabaseAccess())
            refuse(errors::cannotOpenDatabase(database));
        return connection;
    } catch (const EngineError& e) {
        refuse(e);
    } catch (const std::exception& e) {
        refuse(EngineError{50000, 16, 1, std::string("The embedded engine cannot open the database: ") + e.what()});
    }
}

} // namespace

std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid, const std::string& pwd,
                                           const std::string& database)
{
    try {
        return openChecked(server, uid, pwd, database);
    } catch (const std::exception& e) {
        refuse(EngineError{50000, 16, 1, std::string("The embedded engine cannot open the server: ") + e.what()});
    }
}

} // namespace dalport::embedded
