// Feeds arbitrary text to the T-SQL translator (and the date reader, the LIKE matcher
// and the collation), against a catalogue with date, number and text columns in two
// databases. Whatever comes in must end in a plan or in an EngineError, and a plan's
// SQLite text must prepare or fail cleanly, and run (with a step budget) without a crash.
// Each text is also run through a plan kept by its shape (the plan of an earlier text of
// that shape when there is one, with this text's values bound) and must answer exactly
// as its own translation does: the same rows or the same error.

#include "dalport/Clock.h"
#include "dalport/embedded/Catalog.h"
#include "dalport/embedded/DateTime.h"
#include "dalport/embedded/EngineError.h"
#include "dalport/embedded/EngineFunctions.h"
#include "dalport/embedded/LikePattern.h"
#include "dalport/embedded/LiteralLifter.h"
#include "dalport/embedded/PlanCache.h"
#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Translator.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

using namespace dalport::embedded;

namespace {

int budgetUsed = 0;
bool budgetSpent = false;

struct Fixture {
    Fixture()
    {
        dalport::SetFixedClock("2009-03-07 14:05:09");
        sqlite3_open(":memory:", &db);
        registerEngineFunctions(db);
        // Long-running texts are cut short: the budget counts virtual machine steps.
        sqlite3_progress_handler(
            db, 1000,
            [](void*) {
                if (++budgetUsed <= 20)
                    return 0;
                budgetSpent = true;
                return 1;
            },
            nullptr);
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
    PlanCache shapes;
};

// What a read-only statement gave: its rows as text, or SQLite's error.
void prepareAndRun(sqlite3* db, const std::string& sql, std::span<const dalport::Value> values, std::string& out)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK || !stmt) {
        out += std::string("unprepared ") + sqlite3_errmsg(db) + ";";
        sqlite3_finalize(stmt);
        return;
    }
    if (!sqlite3_stmt_readonly(stmt)) {
        sqlite3_finalize(stmt);
        return;
    }
    for (std::size_t i = 0; i < values.size(); ++i)
        bindValue(stmt, static_cast<int>(i + 1), values[i]);
    budgetUsed = 0;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const unsigned char* t = sqlite3_column_text(stmt, c);
            out += std::to_string(sqlite3_column_type(stmt, c)) + ":" + (t ? reinterpret_cast<const char*>(t) : "") + "|";
        }
        out += ";";
    }
    if (rc != SQLITE_DONE)
        out += std::string("error ") + sqlite3_errmsg(db) + ";";
    sqlite3_finalize(stmt);
}

void check(sqlite3* db, const Plan& plan, const std::vector<dalport::Value>& values, std::string& out)
{
    if (plan.kind == Plan::Kind::Sql || plan.kind == Plan::Kind::IfExists) {
        std::span<const dalport::Value> bound;
        if (!plan.literals.empty() && plan.firstValue + plan.literals.size() <= values.size())
            bound = std::span<const dalport::Value>(values).subspan(plan.firstValue, plan.literals.size());
        prepareAndRun(db, plan.sql, bound, out);
    }
    if (plan.then)
        check(db, *plan.then, values, out);
    for (const auto& part : plan.parts)
        check(db, *part, values, out);
}

std::string errorText(const EngineError& e) { return "refused " + std::to_string(e.number) + " " + e.message; }

// The text translated as it stands.
std::string byText(Fixture& f, const std::string& text)
{
    std::string out;
    try {
        const auto plan = translate(text, f.catalog);
        check(f.db, *plan, {}, out);
    } catch (const EngineError& e) {
        out += errorText(e);
    }
    return out;
}

// The text through the plan of its shape.
std::string byShape(Fixture& f, const std::string& text)
{
    const auto lifted = liftLiterals(text);
    if (!lifted)
        return byText(f, text);
    std::string out;
    try {
        std::shared_ptr<const Plan> plan = f.shapes.find(*lifted);
        if (!plan) {
            LiftedTranslation t = translateLifted(text, f.catalog);
            f.shapes.insert(*lifted, t.written, t.plan);
            plan = t.plan;
        }
        std::vector<dalport::Value> values;
        if (!boundValues(*plan, lifted->literals, values))
            return byText(f, text);
        check(f.db, *plan, values, out);
    } catch (const EngineError& e) {
        out += errorText(e);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    const std::string text(reinterpret_cast<const char*>(data), size);
    DateTime t;
    (void)readDate(text, t);
    budgetSpent = false;
    const std::string exact = byText(fixture, text);
    const std::string shaped = byShape(fixture, text);
    if (!budgetSpent && exact != shaped)
        __builtin_trap(); // a plan kept by shape answered otherwise than the text's own
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
