#include "database/ChangeLog.h"

#include "dalport/Registry.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

#include <pwd.h>
#include <unistd.h>

namespace quorin {

namespace {

struct SchemaColumn {
    std::string name;
    std::string type; // as declared: INT, VARCHAR(50), DATETIME, ...
};

// One logged table: its key columns (joined with ':' into the row's key), and where its
// subject is: a column of the row, or found through another table by a column of the row.
struct LoggedTable {
    const char* name;
    std::vector<const char*> key;
    const char* subject;   // a column of the row, or "" for none
    const char* via = "";  // the table holding the subject, looked up by `subject`
};

const std::vector<LoggedTable>& loggedTables()
{
    static const std::vector<LoggedTable> tables = {
        {"subjects", {"SubjectId"}, "SubjectId"},
        {"aud", {"TestId"}, "SubjectId"},
        {"audpoints", {"TestId", "symbol", "xy"}, "TestId", "aud"},
        {"speech", {"TestId"}, "SubjectId"},
        {"cidata", {"SubjectId"}, "SubjectId"},
        {"CiDevice", {"SubjectId", "Ear", "Device"}, "SubjectId"},
        {"cispeech", {"SubjectId", "DataType", "TestType", "TestName"}, "SubjectId"},
        {"participationhistory", {"ParticId"}, "SubjectId"},
        {"release", {"ReleaseId"}, "SubjectId"},
        {"requesthistory", {"RequestId"}, "SubjectId"},
        {"dataset", {"Dataset", "Irb"}, ""},
        {"calllog", {"CallId"}, "SubjectId"},
        {"pers", {"PersId"}, ""},
    };
    return tables;
}

constexpr const char* kColumns = "ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, "
                                 "ChangeKind";

std::string trim(const std::string& text)
{
    const auto b = text.find_first_not_of(" \t\r");
    return b == std::string::npos ? "" : text.substr(b, text.find_last_not_of(" \t\r,") - b + 1);
}

bool isDate(const SchemaColumn& c) { return c.type.rfind("DATETIME", 0) == 0; }

// What one engine writes differently: the value as text, joining texts, the time and
// login, the old and new rows' names.
struct Dialect {
    bool sqlServer;

    std::string text(const std::string& row, const SchemaColumn& c) const
    {
        const std::string v = row + "." + c.name;
        if (sqlServer)
            return isDate(c) ? "REPLACE(CONVERT(varchar(23), " + v + ", 121), ' ', 'T')"
                             : "CONVERT(nvarchar(max), " + v + ")";
        return isDate(c) ? "strftime('%Y-%m-%dT%H:%M:%f', " + v + ")" : "CAST(" + v + " AS TEXT)";
    }
    std::string key(const std::string& row, const LoggedTable& t) const
    {
        std::string out;
        for (const char* column : t.key) {
            const std::string part = text(row, SchemaColumn{column, ""});
            out += out.empty() ? part : (sqlServer ? " + ':' + " : " || ':' || ") + part;
        }
        return out;
    }
    std::string subject(const std::string& row, const LoggedTable& t) const
    {
        if (!*t.subject)
            return "NULL";
        if (!*t.via)
            return row + "." + t.subject;
        return std::string("(SELECT s.SubjectId FROM ") + (sqlServer ? "dbo." : "") + t.via + " AS s WHERE s." + t.subject
            + " = " + row + "." + t.subject + ")";
    }
    std::string who() const { return sqlServer ? "ORIGINAL_LOGIN()" : "original_login()"; }
    std::string when() const { return sqlServer ? "SYSDATETIME()" : "strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')"; }
};

// "SELECT when, who, 'table', key, subject, " for the row `row`.
std::string head(const Dialect& d, const LoggedTable& t, const std::string& row)
{
    return "SELECT " + d.when() + ", " + d.who() + ", '" + t.name + "', " + d.key(row, t) + ", " + d.subject(row, t);
}

// The (column, old, new) rows of every column, as a derived table.
std::string columnValues(const Dialect& d, const std::vector<SchemaColumn>& columns, const char* oldRow,
                         const char* newRow)
{
    std::string out;
    for (const SchemaColumn& c : columns) {
        const std::string o = oldRow ? d.text(oldRow, c) : "NULL";
        const std::string n = newRow ? d.text(newRow, c) : "NULL";
        if (d.sqlServer)
            out += (out.empty() ? "(VALUES " : ",\n        ") + ("('" + c.name + "', " + o + ", " + n + ")");
        else
            out += (out.empty() ? "(" : "\n        UNION ALL ") + ("SELECT '" + c.name + "' AS c, " + o + " AS o, " + n + " AS n");
    }
    return out + (d.sqlServer ? ") AS v(c, o, n)" : ") AS v");
}

std::string sqliteTriggers(const Dialect& d, const LoggedTable& t, const std::vector<SchemaColumn>& columns)
{
    const std::string insertInto = "    INSERT INTO changelog(" + std::string(kColumns) + ")\n    ";
    const std::string on = std::string(" ON \"") + t.name + "\" WHEN original_login() IS NOT NULL\nBEGIN\n";
    std::ostringstream out;
    out << "CREATE TRIGGER changelog_" << t.name << "_insert AFTER INSERT" << on << insertInto << head(d, t, "new")
        << ", NULL, NULL, NULL, 'insert';\nEND;\n";
    out << "CREATE TRIGGER changelog_" << t.name << "_update AFTER UPDATE" << on << insertInto << head(d, t, "new")
        << ", v.c, v.o, v.n, 'update'\n    FROM " << columnValues(d, columns, "old", "new")
        << "\n    WHERE v.o IS NOT v.n;\nEND;\n";
    out << "CREATE TRIGGER changelog_" << t.name << "_delete AFTER DELETE" << on << insertInto << head(d, t, "old")
        << ", v.c, v.o, NULL, 'delete'\n    FROM " << columnValues(d, columns, "old", nullptr)
        << "\n    WHERE v.o IS NOT NULL;\nEND;\n";
    return out.str();
}

std::string sqlServerTrigger(const Dialect& d, const LoggedTable& t, const std::vector<SchemaColumn>& columns)
{
    std::string match;
    for (const char* column : t.key)
        match += (match.empty() ? "" : " AND ") + std::string("d.") + column + " = i." + column;
    const std::string insertInto = "    INSERT INTO dbo.changelog(" + std::string(kColumns) + ")\n    ";
    std::ostringstream out;
    out << "IF OBJECT_ID('dbo.changelog_" << t.name << "', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_" << t.name
        << ";\nGO\nCREATE TRIGGER dbo.changelog_" << t.name << " ON dbo." << t.name
        << " AFTER INSERT, UPDATE, DELETE AS\nBEGIN\n    SET NOCOUNT ON;\n";
    out << insertInto << head(d, t, "i") << ", NULL, NULL, NULL, 'insert'\n    FROM inserted AS i"
        << " WHERE NOT EXISTS (SELECT 1 FROM deleted);\n";
    out << insertInto << head(d, t, "i") << ", v.c, v.o, v.n, 'update'\n    FROM inserted AS i JOIN deleted AS d ON "
        << match << "\n    CROSS APPLY " << columnValues(d, columns, "d", "i")
        << "\n    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);\n";
    out << insertInto << head(d, t, "d") << ", v.c, v.o, NULL, 'delete'\n    FROM deleted AS d\n    CROSS APPLY "
        << columnValues(d, columns, "d", nullptr)
        << "\n    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;\nEND;\nGO\n\n";
    return out.str();
}

} // namespace

std::vector<std::string> changeLogTables()
{
    std::vector<std::string> names;
    for (const LoggedTable& t : loggedTables())
        names.emplace_back(t.name);
    return names;
}

namespace {

// The columns of `table` as the embedded Quorin schema declares them.
std::vector<SchemaColumn> schemaColumns(const std::string& schema, const std::string& table)
{
    const std::string start = "CREATE TABLE " + table + " (";
    const auto at = schema.find(start);
    if (at == std::string::npos)
        throw std::logic_error("the Quorin schema has no table " + table);
    std::istringstream lines(schema.substr(at + start.size()));
    std::vector<SchemaColumn> columns;
    for (std::string line; std::getline(lines, line) && trim(line).rfind(")", 0) != 0;) {
        std::istringstream words(trim(line.substr(0, line.find("--"))));
        SchemaColumn c;
        words >> c.name >> c.type;
        std::string upper = c.name;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char ch) { return std::toupper(ch); });
        if (!c.name.empty() && upper != "PRIMARY" && upper != "UNIQUE" && upper != "FOREIGN" && upper != "CONSTRAINT")
            columns.push_back(c);
    }
    return columns;
}

} // namespace

std::string embeddedChangeLogTriggers(const std::string& schema)
{
    const Dialect sqlite{false};
    std::string out = "\n-- The change history's triggers, one set per logged table.\n";
    for (const LoggedTable& t : loggedTables())
        out += sqliteTriggers(sqlite, t, schemaColumns(schema, t.name));
    return out;
}

std::string sqlServerChangeLogScript(const std::string& schema)
{
    const Dialect sqlServer{true};
    std::string out = "-- Generated from the registry's table of logged tables (database/ChangeLog.cpp); a test\n"
                      "-- keeps this file equal to what it gives. Run after 02 and 03, as a sysadmin.\n"
                      "USE Quorin;\nGO\n\n"
                      "-- Nobody rewrites the history; a server administrator's deletion is itself logged.\n"
                      "IF OBJECT_ID('dbo.changelog_kept', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_kept;\nGO\n"
                      "CREATE TRIGGER dbo.changelog_kept ON dbo.changelog INSTEAD OF UPDATE AS\n"
                      "    RAISERROR('The change history cannot be changed.', 16, 1);\nGO\n"
                      "IF OBJECT_ID('dbo.changelog_deleted', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_deleted;\nGO\n"
                      "CREATE TRIGGER dbo.changelog_deleted ON dbo.changelog AFTER DELETE AS\nBEGIN\n"
                      "    SET NOCOUNT ON;\n"
                      "    INSERT INTO dbo.changelog(" + std::string(kColumns) + ")\n"
                      "    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'changelog', CONVERT(nvarchar(max), d.ChangeId), d.SubjectId,\n"
                      "        NULL, CONVERT(varchar(23), d.ChangedAt, 121) + ' ' + d.ChangedBy + ' ' + d.ChangeKind + ' '\n"
                      "            + d.TableName + ' ' + d.RowKey + COALESCE(' ' + d.ColumnName, ''), NULL, 'delete'\n"
                      "    FROM deleted AS d;\nEND;\nGO\n\n";
    for (const LoggedTable& t : loggedTables())
        out += sqlServerTrigger(sqlServer, t, schemaColumns(schema, t.name));
    return out;
}

namespace {

std::string operatingSystemUser()
{
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return entry->pw_name;
    return "uid " + std::to_string(geteuid());
}

} // namespace

void logRestore(const std::string& folder, const std::string& backupFile)
{
    sqlite3* db = nullptr;
    const std::string file = dalport::DatabaseFilePath(folder, "Quorin");
    const bool opened = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    bool done = false;
    if (opened && sqlite3_exec(db, "SELECT 1 FROM changelog LIMIT 0", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db); // a registry made before the history was kept: nothing to note it in
        return;
    }
    if (opened) {
        dalport::RegisterEngineFunctions(db);
        sqlite3_busy_timeout(db, 5000);
        const std::string sql = std::string("INSERT INTO changelog(") + kColumns + ") VALUES (" + Dialect{false}.when()
            + ", ?1, 'registry', ?2, NULL, NULL, NULL, ?2, 'restore')";
        done = sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr) == SQLITE_OK;
        sqlite3_bind_text(insert, 1, operatingSystemUser().c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, backupFile.c_str(), -1, SQLITE_TRANSIENT);
        done = done && sqlite3_step(insert) == SQLITE_DONE;
    }
    const std::string why = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_finalize(insert);
    sqlite3_close(db);
    if (!done)
        throw std::runtime_error("cannot note the restore in the change history: " + why);
}

} // namespace quorin
