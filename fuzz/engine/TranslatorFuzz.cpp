// Feeds arbitrary text to the T-SQL translator (and the date reader, the LIKE matcher
// and the collation), against a catalogue with date, number and text columns in two
// databases. Whatever comes in must end in a plan or in an EngineError, and a plan's
// SQLite text must prepare or fail cleanly, and run (with a step budget) without a crash.

#include "dalport/embedded/Catalog.h"
#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/LikePattern.h"
#include "dalport/embedded/Translator.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace dalport::embedded;

namespace {

int budgetUsed = 0;

struct Fixture {
    Fixture()
    {
        sqlite3_open(":memory:", &db);
        registerEngineFunctions(db);
        // Long-running texts are cut short: the budget counts virtual machine steps.
        sqlite3_progress_handler(db, 1000, [](void*) { return ++budgetUsed > 20 ? 1 : 0; }, nullptr);
        sqlite3_exec(db,
                     "CREATE TABLE subjects(subjectid INTEGER PRIMARY KEY, lastname TEXT COLLATE TSQL, "
                     "birthdate DATETIME, status INTEGER);"
                     "ATTACH ':memory:' AS Aud;"
                     "CREATE TABLE Aud.info(PatientIndex INTEGER, [Date] DATETIME, Velmar TEXT);"
                     "ATTACH ':memory:' AS master;"
                     "CREATE TABLE master.logins(name TEXT);"
                     "CREATE VIEW master.sys_server_principals AS SELECT name FROM logins;"
                     "CREATE TABLE sys_database_principals(name TEXT, type TEXT);"
                     "CREATE TABLE sys_schemas(name TEXT);"
                     "INSERT INTO subjects VALUES (1, 'Müller', '2009-03-07 00:00:00.000', 0),"
                     " (2, 'O''Brien', '1990-12-31 00:00:00.000', 1), (3, NULL, NULL, NULL), (4, '50% [x]', '', 2);",
                     nullptr, nullptr, nullptr);
        catalog.load(db, "Quorin");
    }
    sqlite3* db = nullptr;
    Catalog catalog;
};

void prepareAndRun(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) == SQLITE_OK && stmt
        && sqlite3_stmt_readonly(stmt)) {
        budgetUsed = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
        }
    }
    sqlite3_finalize(stmt);
}

void check(sqlite3* db, const Plan& plan)
{
    if (plan.kind == Plan::Kind::Sql || plan.kind == Plan::Kind::IfExists)
        prepareAndRun(db, plan.sql);
    if (plan.then)
        check(db, *plan.then);
    for (const auto& part : plan.parts)
        check(db, *part);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    const std::string text(reinterpret_cast<const char*>(data), size);
    DateTime t;
    (void)readDate(text, t);
    try {
        const auto plan = translate(text, fixture.catalog);
        check(fixture.db, *plan);
    } catch (const EngineError&) {
    }
    try {
        (void)rewriteObjectNames(text, fixture.catalog);
    } catch (const EngineError&) {
    }
    // The text up to the first newline as a LIKE pattern (its first byte the escape)
    // over the rest, and the two halves through the collation.
    const auto newline = text.find('\n');
    const std::string pattern = text.substr(0, newline);
    const std::string rest = newline == std::string::npos ? std::string() : text.substr(newline + 1);
    (void)LikePattern(pattern).matches(rest);
    if (!pattern.empty())
        (void)LikePattern(pattern.substr(1), static_cast<unsigned char>(pattern[0])).matches(rest);
    const int ab = compareTsql(pattern, rest);
    const int ba = compareTsql(rest, pattern);
    if ((ab < 0) != (ba > 0) || (ab == 0) != (ba == 0))
        __builtin_trap(); // the order must be antisymmetric
    (void)upperText(text);
    (void)lowerText(text);
    return 0;
}
