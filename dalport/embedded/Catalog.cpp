#include "dalport/embedded/Catalog.h"

#include "dalport/embedded/SqlQuoting.h"
#include "dalport/embedded/Statement.h"
#include "dalport/embedded/Tokenizer.h"

namespace dalport::embedded {

namespace {

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
    for (const std::string& schema : firstColumn(db, "SELECT name FROM pragma_database_list")) {
        if (schema == "temp")
            continue;
        m_schemas[toLower(schema == "main" ? currentDatabase : schema)] = schema;
        const auto tables = firstColumn(db, "SELECT name FROM " + quoteName(schema)
                                            + ".sqlite_schema WHERE type IN ('table','view')");
        for (const std::string& name : tables) {
            TableInfo info{schema, name, {}};
            Statement columns(db, "SELECT name, type FROM pragma_table_info(?1, ?2)", {name, schema});
            while (columns.step()) {
                const std::string declared = columns.text(1);
                info.columns.push_back({columns.text(0), declaresDate(declared), declaredType(declared), declared});
            }
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
