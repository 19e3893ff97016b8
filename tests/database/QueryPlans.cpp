#include "database/QueryPlans.h"

#include "dalport/Registry.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <utility>

namespace quorin::test {

namespace {

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

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

// Names a statement gives to what it reads: table aliases, common table expressions
// and subqueries. Good enough for the statements the engine emits: a name after FROM,
// JOIN or a comma of a FROM list, an optional AS and an alias; "name AS (" for a CTE;
// ") AS name" or ") name" for a subquery.
struct StatementNames {
    std::map<std::string, std::string> aliases; // alias -> table
    std::set<std::string> derived;              // CTEs and subqueries
};

std::vector<std::string> tokens(const std::string& sql)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '\'') {
            std::size_t j = i + 1;
            while (j < sql.size() && !(sql[j] == '\'' && (j + 1 >= sql.size() || sql[j + 1] != '\'')))
                j += sql[j] == '\'' ? 2 : 1;
            out.push_back("'");
            i = j + 1;
        } else if (c == '"' || c == '[' || c == '`') {
            const char close = c == '[' ? ']' : c;
            const std::size_t j = sql.find(close, i + 1);
            out.push_back(lower(sql.substr(i + 1, (j == std::string::npos ? sql.size() : j) - i - 1)));
            i = j == std::string::npos ? sql.size() : j + 1;
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '$' || c == ':') {
            std::size_t j = i;
            while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_' || sql[j] == '@'
                                      || sql[j] == '$' || sql[j] == ':'))
                ++j;
            out.push_back(lower(sql.substr(i, j - i)));
            i = j;
        } else {
            out.emplace_back(1, c);
            ++i;
        }
    }
    return out;
}

bool isKeyword(const std::string& word)
{
    static const std::set<std::string> keywords = {
        "where", "on", "using", "inner", "left", "right", "full", "outer", "cross", "natural", "join", "group",
        "order", "limit", "having", "union", "except", "intersect", "set", "values", "select", "indexed", "not",
        "window", "returning", "as", "from", "and", "or", "offset"};
    return keywords.count(word) != 0;
}

bool isName(const std::string& token)
{
    return !token.empty() && (std::isalnum(static_cast<unsigned char>(token[0])) || token[0] == '_');
}

StatementNames namesOf(const std::string& sql)
{
    StatementNames names;
    const std::vector<std::string> t = tokens(sql);
    auto at = [&](std::size_t i) { return i < t.size() ? t[i] : std::string(); };
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == "as" && at(i + 1) == "(" && i > 0 && isName(t[i - 1]))
            names.derived.insert(t[i - 1]); // WITH name AS (
        if (t[i] == ")" && isName(at(i + 1)) && !isKeyword(at(i + 1)))
            names.derived.insert(at(i + 1));
        if (t[i] == ")" && at(i + 1) == "as" && isName(at(i + 2)))
            names.derived.insert(at(i + 2));
        const bool opensList = t[i] == "from" || t[i] == "join" || t[i] == "update" || t[i] == "into";
        if (!opensList)
            continue;
        // One or more table references separated by commas.
        std::size_t j = i + 1;
        while (isName(at(j)) && !isKeyword(at(j))) {
            std::string table = at(j);
            while (at(j + 1) == "." && isName(at(j + 2))) {
                table = at(j + 2);
                j += 2;
            }
            ++j;
            if (at(j) == "as")
                ++j;
            if (isName(at(j)) && !isKeyword(at(j))) {
                names.aliases[at(j)] = table;
                ++j;
            }
            if (at(j) != ",")
                break;
            ++j;
        }
    }
    return names;
}

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

std::vector<std::string> PlanInspector::plan(const RecordedStatement& statement)
{
    sqlite3* db = connectionFor(statement.file);
    sqlite3_stmt* explain = nullptr;
    const std::string text = "EXPLAIN QUERY PLAN " + statement.sql;
    if (sqlite3_prepare_v2(db, text.c_str(), -1, &explain, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_finalize(explain);
        throw std::runtime_error("cannot explain (" + message + "): " + statement.sql);
    }
    std::vector<std::string> lines;
    while (explain && sqlite3_step(explain) == SQLITE_ROW)
        lines.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(explain, 3)));
    sqlite3_finalize(explain);
    return lines;
}

std::vector<FullScan> PlanInspector::fullScans(const RecordedStatement& statement)
{
    sqlite3* db = connectionFor(statement.file);
    std::set<std::string> tables;
    for (const char* schema : {"main", "Quorin", "Aud", "CID", "master"}) {
        const std::string sql = std::string("SELECT lower(name) FROM \"") + schema
                                + "\".sqlite_schema WHERE type IN ('table', 'view')";
        sqlite3_stmt* list = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &list, nullptr) == SQLITE_OK)
            while (sqlite3_step(list) == SQLITE_ROW)
                tables.insert(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
        sqlite3_finalize(list);
    }
    const StatementNames names = namesOf(statement.sql);
    std::vector<FullScan> scans;
    for (const std::string& line : plan(statement)) {
        const bool scan = line.rfind("SCAN ", 0) == 0;
        const bool automatic = line.rfind("SEARCH ", 0) == 0 && line.find("AUTOMATIC") != std::string::npos;
        if (!scan && !automatic)
            continue;
        const std::size_t start = line.find(' ') + 1;
        std::string name = lower(line.substr(start, line.find(' ', start) - start));
        if (name == "constant" || name.rfind("(subquery", 0) == 0)
            continue;
        if (const auto dot = name.rfind('.'); dot != std::string::npos)
            name = name.substr(dot + 1);
        std::string table;
        if (auto alias = names.aliases.find(name); alias != names.aliases.end())
            table = alias->second;
        else if (names.derived.count(name))
            continue;
        else if (tables.count(name))
            table = name;
        else
            throw std::runtime_error("cannot tell what \"" + name + "\" is in: " + line + "\n" + statement.sql);
        if (growsWithRegistry(table))
            scans.push_back({table, line});
    }
    return scans;
}

} // namespace quorin::test
