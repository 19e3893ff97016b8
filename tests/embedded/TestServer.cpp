#include "TestServer.h"
#include "support/RegistryTemplate.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace testing_embedded {

namespace {

const char* kQuorinSchema = R"(
CREATE TABLE subjects(subjectid INTEGER PRIMARY KEY, lastname TEXT COLLATE TSQL, firstname TEXT COLLATE TSQL,
                      birthdate DATETIME, status INTEGER DEFAULT 0, sex TEXT COLLATE TSQL DEFAULT '',
                      race TEXT COLLATE TSQL DEFAULT '', sent DATETIME, returned DATETIME, unit INTEGER,
                      patimpression TEXT COLLATE TSQL DEFAULT '');
CREATE TABLE release(title TEXT COLLATE TSQL, irb TEXT COLLATE TSQL, releasedate DATETIME);
CREATE TABLE CiDevice(SubjectId INTEGER, Ear TEXT COLLATE TSQL, SurgDate DATETIME, AgeAtImplant INTEGER);
CREATE TABLE pers(persid INTEGER PRIMARY KEY, username TEXT COLLATE TSQL, status INTEGER);
)";

const char* kAudSchema = R"(
CREATE TABLE info(PatientIndex INTEGER PRIMARY KEY, PatientNum INTEGER, [Date] DATETIME, Velmar TEXT COLLATE TSQL,
                  Birthdate DATETIME, Lastname TEXT COLLATE TSQL, Firstname TEXT COLLATE TSQL);
)";

const char* kCidSchema = R"(
CREATE TABLE patient(PatientId INTEGER PRIMARY KEY, Lastname TEXT COLLATE TSQL, Firstname TEXT COLLATE TSQL,
                     Dob DATETIME, Unit TEXT COLLATE TSQL);
CREATE TABLE [Internal](PatientId INTEGER, Device TEXT, SurgeryDate DATETIME);
)";

const std::vector<std::string> kQuorinProcedures = {
    R"(-- Adds a subject and returns its id.
CREATE PROCEDURE uspAddSubject @last varchar(50), @first varchar(50), @birth datetime, @status int = 0 AS
INSERT INTO subjects(lastname, firstname, birthdate, status) VALUES (@last, @first, @birth, @status);
SELECT last_insert_rowid() AS subjectid;
)",
    R"(CREATE PROCEDURE uspLoadSubjectbyId @id int AS
SELECT subjectid, lastname, firstname, convert101(birthdate) AS birth, status FROM subjects WHERE subjectid = @id;
)",
    R"(CREATE PROCEDURE uspFailHalfway @last varchar(50) AS
INSERT INTO subjects(lastname) VALUES (@last);
INSERT INTO subjects(subjectid, lastname) VALUES (1, 'duplicate key');
)",
    R"(CREATE PROCEDURE uspAddWithId @id int AS
INSERT INTO subjects(subjectid, lastname) VALUES (@id, 'by id');
)",
    R"(CREATE PROCEDURE uspCountPatients AS
SELECT count(*) AS num FROM CID.dbo.patient;
)",
    R"(CREATE PROCEDURE uspUpdateAccount @user varchar(50), @status int AS
DELETE FROM sys_role_members WHERE member = @user;
INSERT INTO sys_role_members(role, member) SELECT CASE WHEN @status = 3 THEN 'QuorinAdmin' ELSE 'QuorinUser' END, @user;
)",
    R"(CREATE PROCEDURE uspShortName @name char(5) AS
SELECT @name || '|' AS v;
)",
};

// Staff are granted `staff` on every table (and procedure) of the small test schema;
// administrators also manage users and roles.
std::string security(const std::string& staff, const std::string& admins)
{
    return "CREATE ROLE QuorinUser;\nCREATE ROLE QuorinAdmin;\nGO\nGRANT " + staff + " ON SCHEMA::dbo TO QuorinUser;\n"
           "EXEC sp_addrolemember 'QuorinUser', 'QuorinAdmin';\nGRANT " + admins + " TO QuorinAdmin;\nGO\n";
}

std::string valueText(const dalport::Value& v)
{
    switch (v.kind) {
    case dalport::Value::Kind::Null: return "null";
    case dalport::Value::Kind::Int: return "int " + std::to_string(v.i);
    case dalport::Value::Kind::Double: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "real %.17g", v.d);
        return buf;
    }
    case dalport::Value::Kind::Text: return "text '" + v.s + "'";
    case dalport::Value::Kind::DateTime: return "date " + v.s;
    }
    return "?";
}

} // namespace

std::string uniqueTempFolder(const std::string& stem)
{
    return (fs::temp_directory_path() / quorin::test::UniqueName((stem + "-").c_str())).string();
}

std::vector<dalport::DatabaseScript> TestServer::scripts()
{
    const std::string others = security("SELECT", "ALTER ANY USER, ALTER ANY ROLE");
    return {{"Quorin", kQuorinSchema, kQuorinProcedures,
             security("SELECT, INSERT, UPDATE, DELETE, EXECUTE", "ALTER ANY USER, ALTER ANY ROLE, ALTER ANY SCHEMA")},
            {"Aud", kAudSchema, {}, others},
            {"CID", kCidSchema, {}, others}};
}

TestServer::TestServer() : folder(uniqueTempFolder("quorin-engine"))
{
    dalport::CreateServer(folder, kAdmin, kAdminPassword, scripts());
    for (const char* login : {"jdoe", "boss", "norole", "nouser"})
        dalport::CreateLogin(folder, login, kStaffPassword);
    dalport::CreateDatabaseUser(folder, "Quorin", "jdoe", "QuorinUser");
    dalport::CreateDatabaseUser(folder, "Quorin", "boss", "QuorinAdmin");
    dalport::CreateDatabaseUser(folder, "Quorin", "norole", "");
}

TestServer::~TestServer()
{
    std::error_code ec;
    fs::remove_all(folder, ec);
}

void connect(MyADO& db, const TestServer& server, const char* login, const char* password, const char* database)
{
    ASSERT_EQ(db.SetDataSource(server.folder.c_str(), login, password, database), 1)
        << "cannot connect " << login << " to " << database;
}

void connectByExactText(MyADO& session, const std::string& folder)
{
    ::setenv("QUORIN_PLAN_CACHE", "off", 1);
    const int ok = session.SetDataSource(folder.c_str(), kAdmin, kAdminPassword, "Quorin");
    ::unsetenv("QUORIN_PLAN_CACHE");
    ASSERT_EQ(ok, 1);
}

std::vector<std::string> outcomeOf(WholeResultReader& session, Boxes& boxes, const std::string& text)
{
    boxes.clear();
    std::vector<std::string> out;
    const int ok = session.RunTextQuery(text.c_str());
    out.push_back(ok ? "ran" : "failed");
    for (int r = 0; ok && r < session.GetResultCount(); ++r) {
        if (!session.SelectResult(r)) {
            out.push_back("result " + std::to_string(r) + " failed");
            continue;
        }
        std::string columns = "columns";
        for (const std::string& c : session.GetColumnNames())
            columns += " [" + c + "]";
        out.push_back(columns + ", affected " + std::to_string(session.GetRowsAffected()));
        const int n = static_cast<int>(session.GetColumnNames().size());
        for (; !session.IsEOF(); session.MoveNext()) {
            std::string row = "row";
            for (int c = 0; c < n; ++c)
                row += " | " + valueText(session.GetFieldValue(c));
            out.push_back(row);
        }
    }
    for (const auto& e : boxes.all)
        out.push_back("box " + std::to_string(e.number) + ": " + e.text);
    return out;
}

dalport::ReportedError lastError(const Boxes& boxes)
{
    const auto p = boxes.provider();
    return p.empty() ? dalport::ReportedError{} : p.back();
}

std::string answer(MyADO& db, Boxes& boxes, const std::string& sql)
{
    boxes.clear();
    if (!db.RunTextQuery(sql.c_str()))
        return "error " + std::to_string(lastError(boxes).number);
    if (db.IsEOF())
        return "done";
    std::string rows;
    for (; !db.IsEOF(); db.MoveNext())
        rows += (rows.empty() ? "" : "; ") + db.GetStringField("v");
    return rows;
}

void expectAnswers(MyADO& db, Boxes& boxes, const std::vector<Answer>& table)
{
    for (const Answer& a : table) {
        std::string got = answer(db, boxes, a.sql);
        if (got.rfind("error ", 0) == 0 && a.expected.find(": ") != std::string::npos)
            got += ": " + lastError(boxes).message;
        EXPECT_EQ(got, a.expected) << a.sql;
    }
}

std::string scalar(MyADO& db, const std::string& sql, const char* column)
{
    if (!db.RunTextQuery(sql.c_str()))
        return "<failed>";
    if (db.IsEOF())
        return "<none>";
    return db.GetStringField(column);
}

} // namespace testing_embedded
