#pragma once
// The registry's procedure bodies and the program's text queries run straight on SQLite
// at their best: every statement prepared once and reused, the schema's indexes in
// place. The yardstick the document's loads and saves are measured against.

#include <sqlite3.h>

#include <map>
#include <string>
#include <vector>

namespace quorin::bench {

struct RawParameter {
    std::string name; // with its "@"
    bool isDate = false;
};

class RawProcedures {
public:
    // Opens the database file of a server with the engine's functions and prepares
    // every procedure of that database.
    RawProcedures(const std::string& serverFolder, const std::string& database);
    ~RawProcedures();
    RawProcedures(const RawProcedures&) = delete;
    RawProcedures& operator=(const RawProcedures&) = delete;

    // Binds the values by position (dates already in the stored form), runs every
    // statement of the body and reads every column of every row. Returns the rows.
    int Call(const std::string& name, const std::vector<std::string>& values);
    // A statement with "?" for its values (prepared on first use, then reused), values
    // bound by position as Call binds them; every column of every row read.
    int Run(const std::string& sql, const std::vector<std::string>& values = {});

    const std::vector<RawParameter>& Parameters(const std::string& name) const;
    // The first column of the first row of the last call ("-1" without a row).
    const std::string& First() const { return m_first; }

private:
    struct Procedure {
        std::vector<RawParameter> parameters;
        std::string body;
        std::vector<sqlite3_stmt*> statements;
    };
    int StepAll(sqlite3_stmt* statement);
    sqlite3_stmt* Prepared(const std::string& sql);

    sqlite3* m_db = nullptr;
    std::string m_first;
    std::map<std::string, Procedure> m_procedures;
    std::map<std::string, sqlite3_stmt*> m_statements;
};

// "MM/DD/YYYY" (or "M/D/YYYY") as the engine stores it; "" as SQL Server's empty date.
std::string StoredDate(const std::string& usDate);

} // namespace quorin::bench
