#pragma once
// A small server of the embedded engine in a temporary folder, with a test schema in
// three databases and logins for each kind of staff member.

#include "dalport/ErrorReporter.h"
#include "dalport/MyADO.h"
#include "dalport/Registry.h"

#include <filesystem>
#include <string>
#include <vector>

namespace testing_embedded {

inline constexpr const char* kAdmin = "sa";
inline constexpr const char* kAdminPassword = "Adm1n-Secret";
inline constexpr const char* kStaffPassword = "Staff-Pass1";

// Logins created with kStaffPassword: "jdoe" (QuorinUser), "boss" (QuorinAdmin),
// "norole" (a user in no role), "nouser" (a login without a user in Quorin).
class TestServer {
public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    const std::string& folder() const { return m_folder; }
    static std::vector<dalport::DatabaseScript> scripts();

private:
    std::string m_folder;
};

// Records every box a session shows while it lives.
class Boxes {
public:
    Boxes();
    ~Boxes();
    Boxes(const Boxes&) = delete;
    Boxes& operator=(const Boxes&) = delete;

    std::vector<dalport::ReportedError> all;
    // The provider errors only (number, level, message).
    std::vector<dalport::ReportedError> provider() const;
    void clear() { all.clear(); }

private:
    dalport::ErrorReporter m_previous;
};

// Connects a session or fails the test.
void connect(MyADO& db, const TestServer& server, const char* login, const char* password,
             const char* database = "Quorin");

// Runs a text query and returns the column `column` of every row as text.
std::vector<std::string> column(MyADO& db, const std::string& sql, const char* column);
// The first row's column as text; "<none>" when there is no row, "<failed>" on failure.
std::string scalar(MyADO& db, const std::string& sql, const char* column = "v");

std::string uniqueTempFolder(const std::string& stem);

} // namespace testing_embedded
