#include "dalport/embedded/Catalog.h"

#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Tokenizer.h"

namespace dalport::embedded {

namespace {

std::vector<std::string> column0(sqlite3* db, const std::string& sql)
{
    std::vector<std::string> out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* t = sqlite3_column_text(stmt, 0);
            out.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
        }
    }
    sqlite3_finalize(stmt);
    return out;
}


bool declaresDate(const std::string& type)
{
    const std::string t = toLower(type);
    return t.find("date") != std::string::npos || t.find("time") != std::string::npos;
}

ColumnType declaredType(const std::string& type)
{
    const std::string t = toLower(type);
    if (declaresDate(t))
        return ColumnType::Date;
    if (t.find("int") != std::string::npos || t == "bit")
        return ColumnType::Integer;
    for (const char* f : {"real", "floa", "doub", "dec", "numeric", "money"})
        if (t.find(f) != std::string::npos)
            return ColumnType::Float;
    return ColumnType::Text;
}

} // namespace

const ColumnInfo* TableInfo::column(std::string_view name) const
{
    for (const ColumnInfo& c : columns)
        if (equalsIgnoreCase(c.name, name))
            return &c;
    return nullptr;
}

void Catalog::load(sqlite3* db, const std::string& currentDatabase)
{
    m_current = currentDatabase;
    m_schemas.clear();
    m_tables.clear();
    for (const std::string& schema : column0(db, "SELECT name FROM pragma_database_list")) {
        if (schema == "temp")
            continue;
        m_schemas[toLower(schema == "main" ? currentDatabase : schema)] = schema;
        const auto tables = column0(db, "SELECT name FROM " + quoteName(schema)
                                            + ".sqlite_schema WHERE type IN ('table','view')");
        for (const std::string& name : tables) {
            TableInfo info{schema, name, {}};
            sqlite3_stmt* stmt = nullptr;
            const std::string sql = "SELECT name, type FROM pragma_table_info(?1, ?2)";
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
                sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(stmt, 2, schema.c_str(), -1, SQLITE_TRANSIENT);
                while (sqlite3_step(stmt) == SQLITE_ROW) {
                    const auto* c = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
                    const std::string declared = t ? t : "";
                    info.columns.push_back({c ? c : "", declaresDate(declared), declaredType(declared)});
                }
            }
            sqlite3_finalize(stmt);
            m_tables[toLower(schema) + "." + toLower(name)] = std::move(info);
        }
    }
}

std::string Catalog::schemaFor(std::string_view database) const
{
    const auto it = m_schemas.find(toLower(database));
    return it == m_schemas.end() ? std::string() : it->second;
}

const TableInfo* Catalog::table(std::string_view schema, std::string_view name) const
{
    const auto it = m_tables.find(toLower(schema.empty() ? "main" : schema) + "." + toLower(name));
    return it == m_tables.end() ? nullptr : &it->second;
}

} // namespace dalport::embedded
