#pragma once
// What the translator needs to know of the schemas a connection sees: which databases
// are attached under which names, their tables, and which columns hold dates.

#include <sqlite3.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace dalport::embedded {

// What a column holds, as its declared type says; decides how a text literal compared
// with it is converted.
enum class ColumnType { Text, Integer, Float, Date };

struct ColumnInfo {
    std::string name;
    bool isDate = false;
    ColumnType type = ColumnType::Text;
    std::string declared; // the type as the schema declares it: "varchar(50)", "int", ...
};

struct TableInfo {
    std::string schema; // the SQLite schema name: "main", "master", or the database's name
    std::string name;
    std::vector<ColumnInfo> columns;

    const ColumnInfo* column(std::string_view name) const;
};

class Catalog {
public:
    // Reads every attached schema of `db`; `currentDatabase` is the name of "main".
    void load(sqlite3* db, const std::string& currentDatabase);

    const std::string& currentDatabase() const { return m_current; }
    // The SQLite schema for a database name ("main" for the current one); empty when
    // no such database is attached.
    std::string schemaFor(std::string_view database) const;
    // A table of a schema ("main" when schema is empty), or null.
    const TableInfo* table(std::string_view schema, std::string_view name) const;
    // All tables of the current database by name, for unqualified references.
    const TableInfo* currentTable(std::string_view name) const { return table("main", name); }

private:
    std::string m_current;
    std::map<std::string, std::string> m_schemas;     // lower-case database name -> schema
    std::map<std::string, TableInfo> m_tables;        // "schema.table" in lower case
};

} // namespace dalport::embedded
