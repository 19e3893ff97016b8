#include "support/RawRegistry.h"

#include "dalport/Registry.h"

#include <stdexcept>

namespace quorin::test {

RawRegistry::RawRegistry(const std::string& folder)
{
    const std::string path = dalport::DatabaseFilePath(folder, "Quorin");
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    dalport::RegisterEngineFunctions(m_db);
    for (const char* name : {"Aud", "CID"}) {
        const std::string attach = "ATTACH DATABASE '" + dalport::DatabaseFilePath(folder, name) + "' AS " + name;
        sqlite3_exec(m_db, attach.c_str(), nullptr, nullptr, nullptr);
    }
}

RawRegistry::~RawRegistry()
{
    sqlite3_close(m_db);
}

std::int64_t RawRegistry::number(const std::string& sql) const
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(m_db));
    std::int64_t value = 0;
    if (sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
}

std::vector<std::vector<std::optional<std::string>>> RawRegistry::rows(const std::string& sql) const
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(m_db));
    std::vector<std::vector<std::optional<std::string>>> out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<std::optional<std::string>> row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const unsigned char* v = sqlite3_column_text(st, c);
            row.push_back(v ? std::optional<std::string>(reinterpret_cast<const char*>(v)) : std::nullopt);
        }
        out.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    return out;
}

std::string RawRegistry::dump(const std::string& sql) const
{
    std::string text;
    for (const auto& row : rows(sql)) {
        for (const auto& v : row)
            text += v.value_or("<null>") + '|';
        text += '\n';
    }
    return text;
}

void ExecRaw(const std::string& folder, const std::string& database, const std::string& sql)
{
    sqlite3* db = nullptr;
    const std::string file = dalport::DatabaseFilePath(folder, database);
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file);
    }
    dalport::RegisterEngineFunctions(db);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("raw SQL failed: " + error + "\n" + sql);
}

} // namespace quorin::test
