#pragma once
// What SQLite plans for the statements the embedded engine really runs. A trace on every
// SQLite connection the process opens records each statement a session starts; a
// connection of our own that sees the registry's files as the engine does (the same
// attached names and functions) then reads the program SQLite made of each of them.

#include <sqlite3.h>

#include <map>
#include <string>
#include <vector>

namespace quorin::test {

struct RecordedStatement {
    std::string file; // the connection's main database file
    std::string sql;  // as prepared, parameters unbound
};

// Installs the trace (once per process; it must come before the connections to record
// are opened) and records, while the object lives, each distinct statement started.
class StatementRecorder {
public:
    StatementRecorder();
    ~StatementRecorder();
    StatementRecorder(const StatementRecorder&) = delete;
    StatementRecorder& operator=(const StatementRecorder&) = delete;

    static void InstallTrace();
    // What was recorded since the last take, in the order first started.
    std::vector<RecordedStatement> take();
};

// A table read from its first row to its last: a scan, a count, or the automatic index
// SQLite builds by reading the whole table.
struct FullScan {
    std::string table;  // lower case, without its database
    std::string detail; // the instruction that read it
};

class PlanInspector {
public:
    explicit PlanInspector(const std::string& serverFolder);
    ~PlanInspector();
    PlanInspector(const PlanInspector&) = delete;
    PlanInspector& operator=(const PlanInspector&) = delete;

    // Full scans of tables that grow with the registry; throws std::runtime_error when
    // SQLite cannot prepare the statement.
    std::vector<FullScan> fullScans(const RecordedStatement& statement);

private:
    sqlite3* connectionFor(const std::string& file);

    std::string m_folder;
    std::map<std::string, sqlite3*> m_connections;
};

// True for the tables that hold rows per subject, test or patient.
bool growsWithRegistry(const std::string& lowerCaseTable);

} // namespace quorin::test
