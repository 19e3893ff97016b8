#pragma once
// A small server of the embedded engine in a temporary folder, with a test schema in
// three databases and logins for each kind of staff member.

#include "dalport/MyADO.h"
#include "dalport/Registry.h"
#include "support/ErrorRecorder.h"
#include "support/RawRegistry.h"
#include "support/WholeResultReader.h"

#include <string>
#include <vector>

namespace testing_embedded {

inline constexpr const char* kAdmin = "sa";
inline constexpr const char* kAdminPassword = "Adm1n-Secret";
inline constexpr const char* kStaffPassword = "Staff-Pass1";

// Logins created with kStaffPassword: "jdoe" (QuorinUser), "boss" (QuorinAdmin),
// "norole" (a user in no role), "nouser" (a login without a user in Quorin).
struct TestServer {
    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    static std::vector<dalport::DatabaseScript> scripts();

    const std::string folder;
};

using Boxes = ErrorRecorder;

void connect(MyADO& db, const TestServer& server, const char* login, const char* password,
             const char* database = "Quorin");

// The last of the server's own errors the boxes show (number 0 when there is none).
dalport::ReportedError lastError(const Boxes& boxes);

// What a text gives: "error <number>" when it fails, "done" when it gives no row, else
// every row's column v, joined by "; ".
std::string answer(MyADO& db, Boxes& boxes, const std::string& sql);

// T-SQL texts and what each must give, run in order; "error <number>: <text>" checks the message too.
struct Answer { std::string sql, expected; };
void expectAnswers(MyADO& db, Boxes& boxes, const std::vector<Answer>& table);

// The first row's column as text; "<none>" when there is no row, "<failed>" on failure.
std::string scalar(MyADO& db, const std::string& sql, const char* column = "v");

std::string uniqueTempFolder(const std::string& stem);

// SQL run on a database's file with plain SQLite (knowing the engine's collation), as by another program.
using quorin::test::ExecRaw;

// Connects the administrator with plans kept by exact text only, the reference for plans by shape.
void connectByExactText(MyADO& session, const std::string& folder);

// Everything a text's run showed (success, each result's columns, count and typed rows, the
// boxes), so that two runs compare as a whole.
std::vector<std::string> outcomeOf(WholeResultReader& session, Boxes& boxes, const std::string& text);

} // namespace testing_embedded
