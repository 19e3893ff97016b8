#include "database/demo/DemoRegistry.h"

#include "dalport/Registry.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoContext.h"
#include "database/demo/SqliteInserter.h"

#include <sqlite3.h>

#include <stdexcept>

namespace quorin::demo {

namespace {

constexpr const char* kDatabases[] = {"Quorin", "Aud", "CID"};

// Quorin.db with the stand-in databases attached, as an engine connection sees them.
class DemoConnection {
public:
    explicit DemoConnection(const std::string& folder)
    {
        const std::string path = dalport::DatabaseFilePath(folder, "Quorin");
        if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
            sqlite3_close(m_db);
            throw std::runtime_error("cannot open the registry " + path + ": " + message);
        }
        dalport::RegisterEngineFunctions(m_db);
        sqlite3_busy_timeout(m_db, 10000);
        for (const char* name : {"Aud", "CID"}) {
            sqlite3_stmt* attach = nullptr;
            sqlite3_prepare_v2(m_db, "ATTACH DATABASE ? AS ?", -1, &attach, nullptr);
            const std::string file = dalport::DatabaseFilePath(folder, name);
            sqlite3_bind_text(attach, 1, file.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(attach, 2, name, -1, SQLITE_STATIC);
            const int rc = sqlite3_step(attach);
            sqlite3_finalize(attach);
            if (rc != SQLITE_DONE)
                throw std::runtime_error(std::string("cannot attach the demo database ") + name + ": " + sqlite3_errmsg(m_db));
        }
    }
    ~DemoConnection() { sqlite3_close(m_db); }
    DemoConnection(const DemoConnection&) = delete;
    DemoConnection& operator=(const DemoConnection&) = delete;

    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// Logins for the ordinary demo users, with a user in every database; the administrator
// came with the server.
void CreateStaffLogins(const std::string& folder)
{
    for (const auto& staff : demoStaffLogins()) {
        if (staff.status == 3)
            continue;
        dalport::CreateLogin(folder, staff.login, staff.password);
        for (const char* db : kDatabases)
            dalport::CreateDatabaseUser(folder, db, staff.login, "QuorinUser");
    }
}

} // namespace

DemoSummary FillDemoRegistry(const std::string& serverFolder, int subjects, std::uint32_t seed,
                             const ProgressCallback& progress)
{
    if (subjects < 1)
        throw std::invalid_argument("a demo registry needs at least one subject");
    {
        DemoConnection probe(serverFolder);
        if (queryNumber(probe.handle(), "SELECT count(*) FROM subjects") != 0)
            throw std::runtime_error("the registry in " + serverFolder + " already holds subjects");
    }
    CreateStaffLogins(serverFolder);

    DemoConnection connection(serverFolder);
    sqlite3* db = connection.handle();
    DemoContext ctx(db, seed);
    execute(db, "BEGIN IMMEDIATE");
    try {
        WriteStaffRows(ctx);
        WriteLookupTables(ctx);
        WriteSubjects(ctx, subjects, progress);
        WriteAudiograms(ctx);
        WriteAudiogramManager(ctx);
        WriteImplants(ctx);
        WriteSpeechTests(ctx);
        WriteStudies(ctx);
        execute(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return ctx.summary;
}

DemoSummary CreateDemoRegistry(const std::string& serverFolder, int subjects, std::uint32_t seed,
                               const ProgressCallback& progress)
{
    const auto& admin = demoStaffLogins().front();
    dalport::CreateServer(serverFolder, admin.login, admin.password, registryScripts());
    return FillDemoRegistry(serverFolder, subjects, seed, progress);
}

} // namespace quorin::demo
