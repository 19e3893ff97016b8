#include "database/QueryPlans.h"

#include "dalport/Registry.h"

#include <filesystem>
#include <set>
#include <stdexcept>
#include <utility>

namespace quorin::test {

namespace {

// What the trace writes into while a recorder lives.
struct Recording {
    std::vector<RecordedStatement> statements;
    std::set<std::pair<std::string, std::string>> seen;
};
Recording* g_recording = nullptr;

int onTrace(unsigned type, void*, void* p, void*)
{
    if (type != SQLITE_TRACE_STMT || !g_recording)
        return 0;
    auto* statement = static_cast<sqlite3_stmt*>(p);
    const char* sql = sqlite3_sql(statement);
    const char* file = sqlite3_db_filename(sqlite3_db_handle(statement), "main");
    if (!sql || !file)
        return 0;
    if (g_recording->seen.emplace(file, sql).second)
        g_recording->statements.push_back({file, sql});
    return 0;
}

int traceEveryConnection(sqlite3* db, const char**, const sqlite3_api_routines*)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, onTrace, nullptr);
    return SQLITE_OK;
}

// The engine's own session function; plans never call it.
void trancount(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_int(ctx, 0); }

} // namespace

bool growsWithRegistry(const std::string& table)
{
    static const std::set<std::string> growing = {
        // Quorin
        "subjects", "aud", "audpoints", "release", "requesthistory", "participationhistory", "calllog", "speech",
        "cidata", "cidevice", "cispeech",
        // Aud
        "info", "other", "immit", "impress", "special", "newpoints",
        // CID
        "patient", "external", "internal"};
    return growing.count(table) != 0;
}

StatementRecorder::StatementRecorder()
{
    InstallTrace();
    g_recording = new Recording;
}

StatementRecorder::~StatementRecorder()
{
    delete g_recording;
    g_recording = nullptr;
}

void StatementRecorder::InstallTrace()
{
    // Installing the same entry point again does nothing.
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&traceEveryConnection));
}

std::vector<RecordedStatement> StatementRecorder::take()
{
    std::vector<RecordedStatement> out = std::move(g_recording->statements);
    g_recording->statements.clear();
    g_recording->seen.clear();
    return out;
}

PlanInspector::PlanInspector(const std::string& serverFolder) : m_folder(serverFolder) {}

PlanInspector::~PlanInspector()
{
    for (auto& [file, db] : m_connections)
        sqlite3_close(db);
}

sqlite3* PlanInspector::connectionFor(const std::string& file)
{
    if (auto found = m_connections.find(file); found != m_connections.end())
        return found->second;
    namespace fs = std::filesystem;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file);
    }
    m_connections[file] = db;
    dalport::RegisterEngineFunctions(db);
    sqlite3_create_function(db, "trancount", 0, SQLITE_UTF8, nullptr, trancount, nullptr, nullptr);
    // The other databases of the server under the names the engine attaches them by.
    for (const auto& entry : fs::directory_iterator(m_folder)) {
        if (entry.path().extension() != ".db")
            continue;
        std::error_code ec;
        if (fs::equivalent(entry.path(), file, ec))
            continue;
        sqlite3_stmt* attach = nullptr;
        sqlite3_prepare_v2(db, "ATTACH DATABASE ? AS ?", -1, &attach, nullptr);
        const std::string path = entry.path().string();
        const std::string name = entry.path().stem().string();
        sqlite3_bind_text(attach, 1, path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(attach, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        const int rc = sqlite3_step(attach);
        sqlite3_finalize(attach);
        if (rc != SQLITE_DONE)
            throw std::runtime_error("cannot attach " + path + ": " + sqlite3_errmsg(db));
    }
    return db;
}

// The statement's program, as EXPLAIN lists it: a table is read whole where a loop starts
// at its first or last row (Rewind, Last) or counts its rows (Count). Each cursor's
// table comes from the root page it was opened on, so aliases, subqueries and the
// automatic indexes SQLite builds (which read their table whole) need no parsing.
std::vector<FullScan> PlanInspector::fullScans(const RecordedStatement& statement)
{
    sqlite3* db = connectionFor(statement.file);
    std::map<std::pair<int, int>, std::string> tableOfRoot; // (database, root page)
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA database_list", -1, &list, nullptr);
    std::vector<std::pair<int, std::string>> databases;
    while (sqlite3_step(list) == SQLITE_ROW)
        databases.emplace_back(sqlite3_column_int(list, 0), reinterpret_cast<const char*>(sqlite3_column_text(list, 1)));
    sqlite3_finalize(list);
    for (const auto& [index, name] : databases) {
        const std::string sql = "SELECT rootpage, lower(tbl_name) FROM \"" + name + "\".sqlite_schema WHERE rootpage > 0";
        sqlite3_prepare_v2(db, sql.c_str(), -1, &list, nullptr);
        while (list && sqlite3_step(list) == SQLITE_ROW)
            tableOfRoot[{index, sqlite3_column_int(list, 0)}] = reinterpret_cast<const char*>(sqlite3_column_text(list, 1));
        sqlite3_finalize(list);
    }
    sqlite3_stmt* explain = nullptr;
    const std::string text = "EXPLAIN " + statement.sql;
    if (sqlite3_prepare_v2(db, text.c_str(), -1, &explain, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_finalize(explain);
        throw std::runtime_error("cannot explain (" + message + "): " + statement.sql);
    }
    std::map<int, std::string> tableOfCursor;
    std::vector<FullScan> scans;
    while (sqlite3_step(explain) == SQLITE_ROW) {
        const std::string opcode = reinterpret_cast<const char*>(sqlite3_column_text(explain, 1));
        const int p1 = sqlite3_column_int(explain, 2);
        if (opcode == "OpenRead" || opcode == "OpenWrite") {
            const auto found = tableOfRoot.find({sqlite3_column_int(explain, 4), sqlite3_column_int(explain, 3)});
            if (found != tableOfRoot.end())
                tableOfCursor[p1] = found->second;
        } else if (opcode == "Rewind" || opcode == "Last" || opcode == "Count") {
            const auto found = tableOfCursor.find(p1);
            if (found != tableOfCursor.end() && growsWithRegistry(found->second))
                scans.push_back({found->second, opcode + " on " + found->second});
        }
    }
    sqlite3_finalize(explain);
    return scans;
}

} // namespace quorin::test
