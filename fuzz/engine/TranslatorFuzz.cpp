// Feeds arbitrary text to the T-SQL translator (and the date reader), against a catalogue
// with date and text columns in two databases. Whatever comes in must end in a plan or
// in an EngineError, and a plan's SQLite text must never crash SQLite's parser.

#include "dalport/embedded/Catalog.h"
#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/Translator.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace dalport::embedded;

namespace {

struct Fixture {
    Fixture()
    {
        sqlite3_open(":memory:", &db);
        registerEngineFunctions(db);
        sqlite3_exec(db,
                     "CREATE TABLE subjects(subjectid INTEGER PRIMARY KEY, lastname TEXT COLLATE TSQL, "
                     "birthdate DATETIME, status INTEGER);"
                     "ATTACH ':memory:' AS Aud;"
                     "CREATE TABLE Aud.info(PatientIndex INTEGER, [Date] DATETIME, Velmar TEXT);"
                     "ATTACH ':memory:' AS master;"
                     "CREATE TABLE master.logins(name TEXT);"
                     "CREATE VIEW master.sys_server_principals AS SELECT name FROM logins;"
                     "CREATE TABLE sys_database_principals(name TEXT, type TEXT);"
                     "CREATE TABLE sys_schemas(name TEXT);",
                     nullptr, nullptr, nullptr);
        catalog.load(db, "Quorin");
    }
    sqlite3* db = nullptr;
    Catalog catalog;
};

void prepareOnly(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    sqlite3_finalize(stmt);
}

void check(sqlite3* db, const Plan& plan)
{
    if (plan.kind == Plan::Kind::Sql || plan.kind == Plan::Kind::IfExists)
        prepareOnly(db, plan.sql);
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
    return 0;
}
