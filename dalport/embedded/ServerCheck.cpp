// Checking a server: SQLite's integrity check of every file, the values of typed columns,
// then the rules its owner gives, all read at one point in time.

#include "dalport/Backup.h"

#include "dalport/embedded/RegistryLock.h"
#include "dalport/embedded/ServerFolder.h"
#include "dalport/embedded/Snapshot.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Statement.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace fs = std::filesystem;

namespace dalport {

namespace {

using namespace embedded;

constexpr int kMaxPerCheck = 20;

// What a declared type lets a column hold, as a condition on its value `v`; "" for any.
struct TypeRule {
    const char* typePart; // found in the declared type
    const char* fits;
    const char* words;
};
constexpr TypeRule kTypeRules[] = {
    {"INT", "typeof(v) IN ('integer', 'null')", "not a whole number"},
    {"BIT", "typeof(v) IN ('integer', 'null')", "not a whole number"},
    {"FLOAT", "typeof(v) IN ('integer', 'real', 'null')", "not a number"},
    {"REAL", "typeof(v) IN ('integer', 'real', 'null')", "not a number"},
    {"DATE", "v IS NULL OR (typeof(v) = 'text' AND v GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*')",
     "not a date"},
};

const TypeRule* typeRule(const std::string& declared)
{
    std::string upper = declared;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    for (const TypeRule& rule : kTypeRules)
        if (upper.find(rule.typePart) != std::string::npos)
            return &rule;
    return nullptr;
}

std::string replaceValue(const char* condition, const std::string& column)
{
    std::string out;
    for (const char* p = condition; *p; ++p) {
        const bool word = *p == 'v' && (p == condition || !std::isalnum(static_cast<unsigned char>(p[-1])))
            && !std::isalnum(static_cast<unsigned char>(p[1]));
        out += word ? column : std::string(1, *p);
    }
    return out;
}

void integrity(sqlite3* db, const std::string& schema, std::vector<std::string>& problems)
{
    Statement check(db, "PRAGMA " + quoteName(schema) + ".integrity_check(" + std::to_string(kMaxPerCheck) + ")");
    while (check.step())
        if (check.text(0) != "ok")
            problems.push_back(schema + ".db: " + check.text(0));
}

// One pass over each table counts, per typed column, the values its type does not allow.
void typedColumns(sqlite3* db, const std::string& schema, std::vector<std::string>& problems)
{
    const std::vector<std::string> tables = firstColumn(
        db, "SELECT name FROM " + quoteName(schema) + ".sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%'");
    for (const std::string& table : tables) {
        std::vector<std::pair<std::string, const TypeRule*>> columns;
        Statement info(db, "SELECT name, type FROM pragma_table_info(" + quoteString(table) + ", " + quoteString(schema)
                               + ")");
        while (info.step())
            if (const TypeRule* rule = typeRule(info.text(1)))
                columns.emplace_back(info.text(0), rule);
        if (columns.empty())
            continue;
        std::string sql = "SELECT ";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::string misfit = "NOT (" + replaceValue(columns[i].second->fits, quoteName(columns[i].first)) + ")";
            sql += (i ? ", " : "") + std::string("count(CASE WHEN ") + misfit + " THEN 1 END), min(CASE WHEN " + misfit
                + " THEN quote(" + quoteName(columns[i].first) + ") END)";
        }
        Statement counts(db, sql + " FROM " + quoteName(schema) + "." + quoteName(table));
        if (!counts.step())
            continue;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (const long long n = counts.integer(static_cast<int>(2 * i)); n > 0)
                problems.push_back(schema + "." + table + "." + columns[i].first + ": " + std::to_string(n)
                                   + (n == 1 ? " value is " : " values are ") + columns[i].second->words
                                   + " (such as " + counts.text(static_cast<int>(2 * i + 1)) + ")");
    }
}

void rule(sqlite3* db, const ServerRule& r, std::vector<std::string>& problems)
{
    Statement rows(db, r.sql);
    int found = 0;
    while (rows.step())
        if (++found <= kMaxPerCheck)
            problems.push_back(r.description + ": " + rows.text(0));
    if (found > kMaxPerCheck)
        problems.push_back(r.description + ": " + std::to_string(found - kMaxPerCheck) + " more");
}

} // namespace

CheckReport CheckServer(const std::string& server, const std::vector<ServerRule>& rules)
{
    const fs::path folder = serverFolder(server);
    if (!fs::is_regular_file(masterFile(folder)))
        throw std::runtime_error("there is no registry in " + folder.string());
    RegistryLock lock(folder, RegistryLock::Kind::Shared);
    if (!lock.owns())
        throw std::runtime_error("the registry in " + folder.string() + " is being restored; check it afterwards");
    const auto files = serverFiles(folder);
    CheckReport report;
    try {
        const Snapshot snapshot(files);
        for (const auto& [name, path] : files)
            integrity(snapshot.handle(), name, report.problems);
        for (const auto& [name, path] : files)
            typedColumns(snapshot.handle(), name, report.problems);
        for (const ServerRule& r : rules)
            rule(snapshot.handle(), r, report.problems);
    } catch (const EngineError& e) {
        throw std::runtime_error("cannot check the registry in " + folder.string() + ": " + e.message);
    }
    return report;
}

} // namespace dalport
