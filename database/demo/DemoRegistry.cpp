#include "database/demo/DemoRegistry.h"

#include "dalport/Registry.h"
#include "database/RegistryScripts.h"
#include "database/demo/DemoContext.h"
#include "database/demo/SqliteInserter.h"

#include <sqlite3.h>

#include <cstdio>
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

// Rows of (value, count) of a grouping query, most frequent first.
std::vector<std::pair<std::string, int>> counts(sqlite3* db, const std::string& sql)
{
    std::vector<std::pair<std::string, int>> out;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw std::runtime_error(std::string("cannot count the demo data: ") + sqlite3_errmsg(db));
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* value = sqlite3_column_text(statement, 0);
        std::string text = value ? reinterpret_cast<const char*>(value) : "";
        out.emplace_back(text.empty() ? "(empty)" : text, sqlite3_column_int(statement, 1));
    }
    sqlite3_finalize(statement);
    return out;
}

std::vector<DemoDistribution> ReadDistributions(sqlite3* db)
{
    return {
        {"Status", counts(db, "SELECT CASE Status WHEN 0 THEN 'Active' WHEN 1 THEN 'Withdrawn' WHEN 2 THEN 'Inactive' "
                              "WHEN 3 THEN 'Not Available' ELSE Status END, count(*) AS n "
                              "FROM subjects GROUP BY Status ORDER BY n DESC, Status")},
        {"Race", counts(db, "SELECT Race, count(*) AS n FROM subjects GROUP BY Race ORDER BY n DESC, Race")},
        {"Ethnicity",
         counts(db, "SELECT Ethnicity, count(*) AS n FROM subjects GROUP BY Ethnicity ORDER BY n DESC, Ethnicity")},
        {"Phone types",
         counts(db, "SELECT t, count(*) AS n FROM (SELECT Phone1Type AS t FROM subjects UNION ALL "
                    "SELECT Phone2Type FROM subjects WHERE Phone2Type <> '') GROUP BY t ORDER BY n DESC, t")},
        {"Last consent after the initial one",
         counts(db, "SELECT CASE WHEN d = 0 THEN 'same day' WHEN d < 365 THEN 'within a year' "
                    "WHEN d < 730 THEN '1-2 years' WHEN d < 1826 THEN '2-5 years' ELSE '5 years or more' END, "
                    "count(*) AS n FROM (SELECT CAST(julianday(substr(LastDateofConsent, 1, 10)) - "
                    "julianday(substr(InitialDateofConsent, 1, 10)) AS INTEGER) AS d FROM subjects) "
                    "GROUP BY 1 ORDER BY min(d)")},
        {"Last consent year",
         counts(db, "SELECT substr(LastDateofConsent, 1, 4) AS y, count(*) FROM subjects GROUP BY y ORDER BY y")},
    };
}

} // namespace

std::string DescribeDistribution(const DemoDistribution& distribution)
{
    long total = 0;
    for (const auto& [value, n] : distribution.counts)
        total += n;
    std::string line = distribution.name + ":";
    const char* separator = " ";
    for (const auto& [value, n] : distribution.counts) {
        char share[32];
        std::snprintf(share, sizeof share, " (%.1f%%)", total ? 100.0 * n / static_cast<double>(total) : 0.0);
        line += separator + value + " " + std::to_string(n) + share;
        separator = ", ";
    }
    return line;
}

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
        ctx.summary.distributions = ReadDistributions(db);
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

DemoSummary CreateDemoRegistryWhole(const std::string& folder, int subjects, std::uint32_t seed,
                                    const ProgressCallback& progress)
{
    DemoSummary summary;
    dalport::BuildFolderWhole(folder, [&](const std::string& temporary) {
        if (progress)
            progress(0, subjects);
        summary = CreateDemoRegistry(temporary, subjects, seed, progress);
        if (progress)
            progress(subjects, subjects);
    });
    return summary;
}

} // namespace quorin::demo
