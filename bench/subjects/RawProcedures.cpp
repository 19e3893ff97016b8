#include "RawProcedures.h"

#include "database/RegistryScripts.h"

#include "dalport/Registry.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace quorin::bench {

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

} // namespace

std::string StoredDate(const std::string& usDate)
{
    int m = 0, d = 0, y = 0;
    if (std::sscanf(usDate.c_str(), "%d/%d/%d", &m, &d, &y) != 3)
        return "1900-01-01 00:00:00.000";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d 00:00:00.000", y, m, d);
    return buffer;
}

RawProcedures::RawProcedures(const std::string& serverFolder, const std::string& database)
{
    const std::string file = dalport::DatabaseFilePath(serverFolder, database);
    if (sqlite3_open(file.c_str(), &m_db) != SQLITE_OK)
        throw std::runtime_error("cannot open " + file);
    dalport::RegisterEngineFunctions(m_db);
    for (const dalport::DatabaseScript& script : quorin::registryScripts()) {
        if (script.name != database)
            continue;
        for (const std::string& text : script.procedures) {
            std::istringstream lines(text);
            std::string line, name, body;
            Procedure p;
            bool inBody = false;
            while (std::getline(lines, line)) {
                const std::string t = Trim(line);
                if (inBody) {
                    body += line + "\n";
                } else if (Lower(t).rfind("create procedure", 0) == 0) {
                    name = Trim(t.substr(16));
                } else if (Lower(t) == "as") {
                    inBody = true;
                } else if (!t.empty() && t[0] == '@') {
                    const auto space = t.find_first_of(" \t");
                    p.parameters.push_back({t.substr(0, space), Lower(t).find("datetime") != std::string::npos});
                }
            }
            p.body = body;
            m_procedures[name] = std::move(p);
        }
    }
}

RawProcedures::~RawProcedures()
{
    for (auto& [name, p] : m_procedures)
        for (sqlite3_stmt* s : p.statements)
            sqlite3_finalize(s);
    for (auto& [sql, s] : m_statements)
        sqlite3_finalize(s);
    sqlite3_close(m_db);
}

const std::vector<RawParameter>& RawProcedures::Parameters(const std::string& name) const
{
    return m_procedures.at(name).parameters;
}

int RawProcedures::StepAll(sqlite3_stmt* statement)
{
    int rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        if (rows == 0 && sqlite3_column_count(statement) > 0) {
            const unsigned char* first = sqlite3_column_text(statement, 0);
            m_first = first ? reinterpret_cast<const char*>(first) : "";
        }
        ++rows;
        for (int c = 0, n = sqlite3_column_count(statement); c < n; ++c)
            sqlite3_column_text(statement, c);
    }
    sqlite3_reset(statement);
    return rows;
}

sqlite3_stmt* RawProcedures::Prepared(const std::string& sql)
{
    sqlite3_stmt*& statement = m_statements[sql];
    if (!statement && sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(m_db));
    return statement;
}

namespace {

void BindValue(sqlite3_stmt* s, int index, const std::string& v, bool isDate)
{
    char* end = nullptr;
    const long long n = std::strtoll(v.c_str(), &end, 10);
    if (!isDate && !v.empty() && end && *end == '\0')
        sqlite3_bind_int64(s, index, n);
    else
        sqlite3_bind_text(s, index, v.c_str(), -1, SQLITE_TRANSIENT);
}

} // namespace

int RawProcedures::Call(const std::string& name, const std::vector<std::string>& values)
{
    Procedure& p = m_procedures.at(name);
    // Prepared on first use: only the procedures a benchmark calls need their tables.
    for (const char* tail = p.body.c_str(); p.statements.empty() && tail && *tail;) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, tail, -1, &statement, &tail) != SQLITE_OK)
            throw std::runtime_error(name + ": " + sqlite3_errmsg(m_db));
        if (statement)
            p.statements.push_back(statement);
    }
    m_first = "-1";
    // A body of several statements is atomic, as the engine runs it; one statement is
    // atomic by itself.
    const bool several = p.statements.size() > 1;
    if (several)
        StepAll(Prepared("SAVEPOINT raw"));
    int rows = 0;
    for (sqlite3_stmt* s : p.statements) {
        for (size_t i = 0; i < p.parameters.size() && i < values.size(); ++i) {
            const int index = sqlite3_bind_parameter_index(s, p.parameters[i].name.c_str());
            if (index > 0)
                BindValue(s, index, values[i], p.parameters[i].isDate);
        }
        rows += StepAll(s);
        sqlite3_clear_bindings(s);
    }
    if (several)
        StepAll(Prepared("RELEASE raw"));
    return rows;
}

int RawProcedures::Run(const std::string& sql, const std::vector<std::string>& values)
{
    sqlite3_stmt* statement = Prepared(sql);
    for (size_t i = 0; i < values.size(); ++i)
        BindValue(statement, static_cast<int>(i) + 1, values[i], false);
    m_first = "-1";
    const int rows = StepAll(statement);
    sqlite3_clear_bindings(statement);
    return rows;
}

} // namespace quorin::bench
