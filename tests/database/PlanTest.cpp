// Every procedure of the contract (each reader giving the columns the program reads) and
// the program's text queries run on a demo registry with the program's parameters, and no
// load, lookup, save or report path reads a growing table whole. A trace on every
// SQLite connection records each statement the engine starts, and a connection of our
// own that sees the registry's files as the engine does reads SQLite's program of each.
// A scan is allowed only where the statement needs every row, listed here with its
// reason, and an allowance no longer needed fails too, so the list stays true.
#include "database/ContractTable.h"
#include "database/EmbeddedScriptFiles.h"
#include "database/RegistryFixture.h"
#include "support/RawRegistry.h"

#include "dalport/Registry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

namespace quorin::test {
namespace {

// A text query as the program sends it (the tests of its report or import read its
// rows). Values the program fills in are placeholders such as {unit}; the test puts demo
// values there. One query per path through the registry's indexes: a report or import
// built later adds its queries here, and its paths are kept off full scans from then on.
struct TextQuery {
    const char* database; // "Quorin", "Aud" or "CID"
    const char* sql;
};

const TextQuery kReadingQueries[] = {
    // Subject storage.
    {"Quorin", "SELECT subjectid from subjects where firstname like '{first}' and lastname like '{last}'"},
    // Audiogram history and the Audiogram Manager import (Immit, Impress, Special and
    // Speech are read by their key, as Other is here).
    {"Aud", "Select PatientIndex from info WHERE PatientNum = {unit} order by date desc "},
    {"Aud", "SELECT CONVERT(char, Info.[Date], 101) AS date, Info.Testedby, Other.Reliability, Other.Method, Other.Comment, Other.Recomm FROM Info INNER JOIN Other ON Info.PatientIndex = Other.PatientIndex WHERE (Info.PatientIndex = {index})"},
    {"Aud", "select x,y,symbol,mask from newpoints where patientindex = {index} order by symbol,x"},
    {"Aud", "SELECT DISTINCT TOP 300 LastName AS Last, FirstName AS First, PatientNum AS Unit, CONVERT(char, BirthDate, 101) AS Birth FROM Info WHERE LastName like '{last}%' and FirstName like '{first}%' order by Lastname, Firstname "},
    // Cochlear-implant data and the CID import.
    {"Quorin", "Select * from CiSpeech where SubjectId = {subject}"},
    {"Quorin", "Select SubjectId, Unit from subjects where patimpression = 'Cochlear Implant'"},
    {"CID", "Select PatientId, Lastname, Firstname, Convert(char,Dob,101)as birth, Unit from patient where Lastname like '{last}%' and firstname like '{first}%'"},
    {"CID", "Select PatientId, Lastname, Firstname, Convert(char,Dob,101)as birth, Unit from patient where Unit = '{unit}'"},
    {"CID", "Select Processor from [external] where PatientId = {cid} order by DateFit desc "},
    {"CID", "SELECT     Ear,Device, Positioner, CONVERT(char,SurgeryDate,101) as SurgDate, CONVERT(char,StimDate,101) as StimDate, AgeAtImplant, Surgeon, Hospital, Status, CONVERT(char,DateOfExplant,101) as XDate, PatientId FROM         [Internal] where PatientId = {cid} ORDER BY SurgeryDate desc "},
    {"CID", "select type, name, score, time, Ear, testtype from speech where patientid = {cid}"},
    // Consent, contact and letters.
    {"Quorin", "select SubjectId, Lastname, Firstname, CONVERT(char,LastDateofConsent,101)as lastdate, Address, city, state, zip, Parent,CONVERT(char,Sent,101)as dsent,CONVERT(char,Returned,101)as dreturned from subjects where datediff(mm,LastDateofConsent, getdate()) > 24 and Status = 0 and Returned != '01/01/1901' and subjectid not in (select subjectid from ParticipationHistory where datediff(mm,date1,getdate())<=24 and (participate=0 or contacted=0)) order by LastDateofConsent,Lastname, Firstname"},
    {"Quorin", "select subjectid, lastname, firstname, CONVERT(char,lastdateofconsent,101)as lastdate, address, city, state, zip, parent,CONVERT(char,sent,101)as dsent,CONVERT(char,returned,101)as dreturned from subjects where status = 0 and Returned = '01/01/1901' order by lastname, firstname"},
    {"Quorin", "Select count(distinct subjectid) as num from subjects where Sent between '{from}' and '{to}' "},
    {"Quorin", "Select count(distinct subjectid) as num from subjects where Returned between '{from}' and '{to}' and Status = 0"},
    // Datasets and IRBs.
    {"Quorin", "Select distinct dataset, dataset.irb, max(requestdate), Convert(char,max(requestdate),101) as RDate from dataset inner join requesthistory on dataset.dataset = requesthistory.title where requestdate between '{from}' and '{to}' group by dataset, dataset.irb  order by max(requestdate),dataset"},
    {"Quorin", "select count(*)as num from release where title = '{dataset}' and irb = '{irb}' "},
    {"Quorin", "select username from requesthistory, pers where pers.persid = requesthistory.persid and title = '{dataset}' and irb = '{irb}'"},
    // Demographics and database numbers.
    {"Quorin", "select  count (*) as num from subjects"},
    {"Quorin", "select  count (*) as num from subjects where status = 0"},
    {"Quorin", "select datediff(mm,dateofentry, getdate()) as months, count(datediff(mm,dateofentry, getdate())) as num from subjects group by datediff(mm,dateofentry,getdate()) order by months"},
    {"Quorin", "select sex, race, ethnicity, datediff(yy,birthdate,getdate()) as age, count(sex) as num, count(race) as races, count(ethnicity) as ethnicities from subjects group by race, sex, ethnicity, datediff(yy,birthdate,getdate())"},
    {"Quorin", "select count(*) as num from aud inner join subjects on subjects.subjectid = aud.subjectid where status = 0"},
    {"Quorin", "select count(*) as num from subjects where dateofentry is null"},
    // Participation, feedback and closed datasets.
    {"Quorin", "select count(distinct dataset) as num from participationhistory where dataset not in (select distinct title from release)"},
    {"Quorin", "Select count(distinct irb) as num from release where releasedate between '{from}' and '{to}'"},
    {"Quorin", "select sex, count(sex) as num from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where date1 between '{from}' and '{to}' group by sex order by sex"},
    {"Quorin", "Select count(*) as num from participationhistory where contacted = 1 or contacted = 4 or contacted = 2"},
    {"Quorin", "select lastname, firstname, contacted, participate, excontact, expartic, race, ethnicity from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where dataset = '{dataset}'"},
    {"Quorin", "Select count(distinct subjectid)as num from participationhistory where feedbackdate between '{from}' and '{to}' and Dataset like '%%' "},
    {"Quorin", "Select distinct dataset from participationhistory where irb = '{irb}'"},
};

// Statements that change data, in the order a session may send them.
const TextQuery kChangingStatements[] = {
    {"Aud", "Update info set Velmar = 'Declined' where patientnum = {unit} and Birthdate = '{birth}' "},
    {"Quorin", "Delete from cidevice where subjectid = {subject}"},
    {"Quorin", "Insert into CiDevice values({subject}, 'Left','Nucleus 24k','Yes','03/07/2009','04/01/2009',12, 'Dr. Osei','University Hospital','In Use','')"},
    {"Quorin", "Delete from cispeech where subjectid = {subject}"},
    {"Quorin", "update participationhistory set contacted = 4 where subjectid = {subject} and contacted = 1"},
    {"Quorin", "delete from calllog where dataset not in  (select dataset from dataset)"},
    {"Quorin", "delete from calllog where dataset = '{dataset}' and irb = '{irb}'"},
};

// Arguments the procedure calls need to find rows, by lower-case parameter name; the
// placeholders are the demo values. Parameters not named here get a value of their type.
const std::map<std::string, std::map<std::string, std::string>> kArguments = {
    {"uspLoadSubject", {{"unit", "{unit}"}, {"last", "{last}"}, {"first", "{first}"}, {"birth", "{birth}"}}},
    {"uspLoadSubjectbyId", {{"id", "{subject}"}}},
    {"uspGetCurrentStudy", {{"subjectid", "{released}"}}},
    {"uspGetParticDate", {{"subjectid", "{participant}"}}},
    {"uspGetNewSubjectId", {{"last", "{last}"}, {"first", "{first}"}, {"birth", "{birth}"}, {"unit", "{unit}"}}},
    {"uspGetZone", {{"zip", "53701"}}},
    {"uspGetTestId", {{"subjectid", "{subject}"}}},
    {"uspLookup", {{"last", "{lastpattern}"}, {"first", "%"}}},
    {"uspLoadFeedback", {{"subjectid", "{participant}"}, {"irb", "none"}, {"dataset", "none"}}},
    {"uspLoadAudiogram", {{"testid", "{test}"}}},
    {"uspLoadHistoryAudiogram", {{"testid", "{oldtest}"}}},
    {"uspLoadAudPts", {{"testid", "{test}"}}},
    {"uspLoadAudHistoryPts", {{"testid", "{oldtest}"}}},
    {"uspGetAudHistoryTestIds", {{"subjectid", "{subject}"}}},
    {"uspCheckSubject", {{"unit", "{unit}"}, {"lastname", "{last}"}, {"firstname", "{initial}"}, {"birth", "{birth}"}}},
    {"uspLoadCiData", {{"subjectid", "{subject}"}}},
    {"uspLoadCiDevices", {{"subjectid", "{subject}"}}},
    {"uspLoadSpeech", {{"subjectid", "{subject}"}}},
    {"uspLoadDataset", {{"irb", "{irb}"}, {"name", "{dataset}"}}},
    {"uspGetOldDataset", {{"irb", "{irb}"}, {"name", "{dataset}"}}},
    {"uspLoadPers", {{"status", "4"}}},
    {"uspLoadPersbyUsername", {{"user", "jsmith"}}},
    {"uspLoadChangeHistory", {{"subjectid", "{subject}"}, {"changedby", ""}, {"since", "1/1/2000"}}},
    // Writers, against rows that exist.
    {"uspUpdateSubject", {{"id", "{subject}"}, {"birth", "{birth}"}}},
    {"uspUpdateAud", {{"id", "{test}"}, {"subjectid", "{subject}"}}},
    {"uspWriteNewAud", {{"subjectid", "{subject}"}}},
    {"uspDeleteAudPts", {{"testid", "{test}"}}},
    {"uspWriteAudPts", {{"testid", "{test}"}}},
    {"uspDeleteAudPoint", {{"testid", "{test}"}}},
    {"uspUpdateAudPoint", {{"testid", "{test}"}}},
    {"uspUpdateFeedback", {{"subjectid", "{participant}"}, {"irb", "{irb}"}, {"dataset", "{dataset}"}}},
    {"uspWriteRecruitMethod", {{"method", "Radio Spot"}}},
    {"uspDeleteRecruitMethod", {{"method", "Flyer"}}},
    {"uspDeleteCiData", {{"subjectid", "{subject}"}}},
    {"uspWriteCiData", {{"subjectid", "{subject}"}}},
    {"uspWriteNewSpeech", {{"subjectid", "{subject}"}}},
    {"uspUpdateSpeech", {{"subjectid", "{subject}"}, {"testid", "{speechtest}"}}},
    {"uspReOpenDataset", {{"subjectid", "{participant}"}, {"irb", "{irb}"}, {"title", "{dataset}"}}},
    {"uspCreateNewUser", {{"user", "pnew"}}},
    {"uspUpdatePers", {{"persid", "{jsmith}"}, {"user", "jsmith"}, {"status", "0"}}},
    {"uspUpdateAccount", {{"user", "jsmith"}, {"status", "3"}}},
};

// The tables that hold rows per subject, test or patient.
const std::set<std::string> kGrowing = {
    // Quorin
    "subjects", "aud", "audpoints", "release", "requesthistory", "participationhistory", "calllog", "speech", "cidata",
    "cidevice", "cispeech",
    // Aud
    "info", "other", "immit", "impress", "special", "newpoints",
    // CID
    "patient", "external", "internal"};

struct AllowedScan {
    const char* statement; // the procedure, or the text query as the program sends it
    const char* table;
    const char* reason;
};

const AllowedScan kAllowedScans[] = {
    {"uspGetSubjectandDate", "subjects", "Tools > Update lists every subject with a unit"},
    {"uspGetSubjectNoTest", "subjects", "Tools > Update lists every subject with a unit"},
    {"uspUpdateQuorinCI", "patient", "brings every CID patient up to date"},
    {"select count(distinct dataset) as num from participationhistory where dataset not in (select distinct title from release)",
     "participationhistory", "counts the closed datasets among every participation"},
    {"select count(distinct dataset) as num from participationhistory where dataset not in (select distinct title from release)",
     "release", "reads every release title to tell the closed datasets"},
    {"delete from calllog where dataset not in  (select dataset from dataset)",
     "calllog", "purges every call of a dataset that no longer exists"},
    {"select  count (*) as num from subjects",
     "subjects", "counts every subject"},
    {"select datediff(mm,dateofentry, getdate()) as months, count(datediff(mm,dateofentry, getdate())) as num from subjects group by datediff(mm,dateofentry,getdate()) order by months",
     "subjects", "report: every subject by months since entry"},
    {"select sex, race, ethnicity, datediff(yy,birthdate,getdate()) as age, count(sex) as num, count(race) as races, count(ethnicity) as ethnicities from subjects group by race, sex, ethnicity, datediff(yy,birthdate,getdate())",
     "subjects", "report: every subject by race, sex, ethnicity and age, tallied for Demographics"},
    {"select SubjectId, Lastname, Firstname, CONVERT(char,LastDateofConsent,101)as lastdate, Address, city, state, zip, Parent,CONVERT(char,Sent,101)as dsent,CONVERT(char,Returned,101)as dreturned from subjects where datediff(mm,LastDateofConsent, getdate()) > 24 and Status = 0 and Returned != '01/01/1901' and subjectid not in (select subjectid from ParticipationHistory where datediff(mm,date1,getdate())<=24 and (participate=0 or contacted=0)) order by LastDateofConsent,Lastname, Firstname",
     "participationhistory", "tests every participation's date against today (datediff per row)"},
    // Not needed by the meaning: LIKE 'text%' on a column of the TSQL collation is not yet
    // turned into an index range by the engine's translator (SQLite bounds LIKE by itself
    // only on NOCASE columns), so these lookups read a whole table or index. They go once
    // the engine bounds a pattern's literal beginning; the check then asks to remove them.
    {"SELECT subjectid from subjects where firstname like '{first}' and lastname like '{last}'",
     "subjects", "the duplicate check of a new subject"},
    {"Select PatientId, Lastname, Firstname, Convert(char,Dob,101)as birth, Unit from patient where Lastname like '{last}%' and firstname like '{first}%'",
     "patient", "the CID lookup by name"},
    {"SELECT DISTINCT TOP 300 LastName AS Last, FirstName AS First, PatientNum AS Unit, CONVERT(char, BirthDate, 101) AS Birth FROM Info WHERE LastName like '{last}%' and FirstName like '{first}%' order by Lastname, Firstname ",
     "info", "the clinic lookup by name"},
};

// Each distinct statement an engine connection starts while a test records: the
// connection's main file and the statement as prepared, parameters unbound.
struct Ran {
    std::string file, sql;
    bool operator==(const Ran&) const = default;
};
std::vector<Ran>* g_ran = nullptr;

int onTrace(unsigned type, void*, void* p, void*)
{
    auto* statement = static_cast<sqlite3_stmt*>(p);
    const char* sql = (type == SQLITE_TRACE_STMT && g_ran) ? sqlite3_sql(statement) : nullptr;
    const char* file = sql ? sqlite3_db_filename(sqlite3_db_handle(statement), "main") : nullptr;
    if (file && std::find(g_ran->begin(), g_ran->end(), Ran{file, sql}) == g_ran->end())
        g_ran->push_back({file, sql});
    return 0;
}

int traceEveryConnection(sqlite3* db, const char**, const sqlite3_api_routines*)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, onTrace, nullptr);
    return SQLITE_OK;
}

// The engine's own session function; plans never call it.
void trancount(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_int(ctx, 0); }

// Every row of a statement as texts; throws with SQLite's message when it fails.
std::vector<std::vector<std::string>> rowsOf(sqlite3* db, const std::string& sql)
{
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        rows.emplace_back();
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const unsigned char* text = sqlite3_column_text(st, c);
            rows.back().push_back(text ? reinterpret_cast<const char*>(text) : "");
        }
        rc = SQLITE_OK;
    }
    const std::string message = sqlite3_errmsg(db);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(message + ": " + sql);
    return rows;
}

class QueryPlans : public RegistryTest {
protected:
    void SetUp() override
    {
        // Before any session opens, so that every engine connection is traced.
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&traceEveryConnection));
        RegistryTest::SetUp();
        if (HasFatalFailure())
            return;
        m_aud = connect("Aud");
        m_cid = connect("CID");
        m_sessions = {{"Quorin", &m_db}, {"Aud", m_aud.get()}, {"CID", m_cid.get()}};
        // The first demo subject has everything: audiogram history, implant data, speech
        // tests, a place in the first dataset, a CID patient and clinic tests.
        const std::tuple<const char*, MyADO*, const char*> values[] = {
            {"unit", &m_db, "select Unit as v from subjects where SubjectId = {subject}"},
            {"last", &m_db, "select Lastname as v from subjects where SubjectId = {subject}"},
            {"first", &m_db, "select Firstname as v from subjects where SubjectId = {subject}"},
            {"birth", &m_db, "select CONVERT(char(10), Birthdate, 101) as v from subjects where SubjectId = {subject}"},
            {"test", &m_db, "select max(TestId) as v from aud where SubjectId = {subject}"},
            {"oldtest", &m_db, "select min(TestId) as v from aud where SubjectId = {subject}"},
            {"speechtest", &m_db, "select min(TestId) as v from speech where SubjectId = {subject}"},
            {"released", &m_db, "select top 1 SubjectId as v from release order by SubjectId"},
            {"participant", &m_db,
             "select top 1 SubjectId as v from participationhistory where participate = 0 order by ParticId"},
            {"irb", &m_db, "select irb as v from participationhistory where SubjectId = {participant} and participate = 0"},
            {"dataset", &m_db,
             "select dataset as v from participationhistory where SubjectId = {participant} and participate = 0"},
            {"jsmith", &m_db, "select PersId as v from pers where UserName = 'jsmith'"},
            {"index", m_aud.get(), "select min(PatientIndex) as v from info"},
            {"cid", m_cid.get(), "select PatientId as v from patient where Unit = '{unit}'"},
        };
        m_values = {{"subject", "1"}, {"from", "1/1/2000"}, {"to", "6/15/2026"}};
        for (const auto& [name, session, sql] : values) {
            const std::string query = fill(sql);
            m_values[name] = (session->RunTextQuery(query.c_str()) && !session->IsEOF()) ? session->GetStringField("v") : "";
            ASSERT_FALSE(m_values[name].empty()) << "demo registry lacks " << name;
        }
        m_values["lastpattern"] = m_values["last"].substr(0, 2) + "%";
        m_values["initial"] = m_values["first"].substr(0, 1);
        ASSERT_TRUE(errors().empty()) << errorText();
        for (const auto& file : schema::embeddedScriptFiles())
            for (auto& p : parseProcedures(std::string(file.text)))
                m_declared[lowerCase(p.name)] = p;
        g_ran = &m_ran;
    }

    void TearDown() override
    {
        g_ran = nullptr;
        for (auto& [file, db] : m_planConnections)
            sqlite3_close(db);
        m_aud.reset();
        m_cid.reset();
        RegistryTest::TearDown();
    }

    // The text with every placeholder replaced by its demo value.
    std::string fill(std::string sql) const
    {
        for (const auto& [name, value] : m_values) {
            const std::string token = "{" + name + "}";
            for (auto at = sql.find(token); at != std::string::npos; at = sql.find(token, at + value.size()))
                sql.replace(at, token.size(), value);
        }
        return sql;
    }

    // Binds every parameter as the program does and runs the procedure.
    int call(const ContractProcedure& proc)
    {
        const auto arguments = kArguments.find(proc.name);
        for (std::size_t i = 0; i < proc.parameters.size(); ++i) {
            const ContractParameter& param = proc.parameters[i];
            std::string value = param.type == "int" ? "2" : param.type == "float" ? "1.5" : "Demo";
            const auto a = arguments == kArguments.end() ? nullptr : &arguments->second;
            if (a && a->count(lowerCase(param.name)))
                value = fill(a->at(lowerCase(param.name)));
            else if (m_declared.at(lowerCase(proc.name)).declaredTypes.at(i) == "datetime")
                value = "3/7/2009";
            const std::string name = (param.atSign ? "@" : "") + param.name;
            if (param.type == "int")
                m_db.BindIntParam(name, std::stoi(value));
            else if (param.type == "float")
                m_db.BindFloatParam(name, std::stof(value));
            else
                m_db.BindStringParam(name, value);
        }
        return m_db.RunStoredProcedure(proc.name.c_str());
    }

    // A connection that sees the registry's files as the engine's connection to file does:
    // the engine's functions, and the server's other databases attached by their names.
    sqlite3* planConnection(const std::string& file)
    {
        sqlite3*& db = m_planConnections[file];
        if (db)
            return db;
        if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file);
        dalport::RegisterEngineFunctions(db);
        sqlite3_create_function(db, "trancount", 0, SQLITE_UTF8, nullptr, trancount, nullptr, nullptr);
        for (const auto& entry : std::filesystem::directory_iterator(folder())) {
            std::error_code ec;
            if (entry.path().extension() == ".db" && !std::filesystem::equivalent(entry.path(), file, ec))
                rowsOf(db, "ATTACH DATABASE '" + entry.path().string() + "' AS \"" + entry.path().stem().string() + "\"");
        }
        return db;
    }

    // Reads the plans of what ran since the last call into m_scans under the name. A table
    // is read whole where a loop starts at its first or last row (Rewind, Last) or counts
    // its rows (Count). Each cursor's table comes from the root page it was opened on, so
    // aliases, subqueries and the automatic indexes SQLite builds (which read their table
    // whole) need no parsing.
    void inspect(const std::string& statement)
    {
        const std::vector<Ran> ran = std::exchange(m_ran, {});
        EXPECT_FALSE(ran.empty()) << statement << " ran nothing";
        for (const Ran& s : ran) {
            try {
                sqlite3* db = planConnection(s.file);
                std::map<std::pair<std::string, std::string>, std::string> tableOfRoot; // (database, root page)
                for (const auto& database : rowsOf(db, "PRAGMA database_list"))
                    for (const auto& t : rowsOf(db, "SELECT rootpage, lower(tbl_name) FROM \"" + database[1]
                                                        + "\".sqlite_schema WHERE rootpage > 0"))
                        tableOfRoot[{database[0], t[0]}] = t[1];
                std::map<std::string, std::string> tableOfCursor;
                for (const auto& op : rowsOf(db, "EXPLAIN " + s.sql)) { // addr, opcode, p1, p2, p3, ...
                    if (op[1] == "OpenRead" || op[1] == "OpenWrite") {
                        if (const auto t = tableOfRoot.find({op[4], op[3]}); t != tableOfRoot.end())
                            tableOfCursor[op[2]] = t->second;
                    } else if (op[1] == "Rewind" || op[1] == "Last" || op[1] == "Count") {
                        const auto t = tableOfCursor.find(op[2]);
                        if (t != tableOfCursor.end() && kGrowing.count(t->second))
                            m_scans[statement][t->second] += op[1] + " on " + t->second + " in: " + s.sql + "\n";
                    }
                }
            } catch (const std::exception& e) {
                ADD_FAILURE() << statement << ": " << e.what();
            }
        }
    }

    void runProcedure(const ContractProcedure& proc)
    {
        m_ran.clear();
        EXPECT_EQ(call(proc), 1) << proc.name << "\n" << errorText();
        // A reader gives a row holding every column the program reads from it.
        if (!proc.columns.empty()) {
            EXPECT_FALSE(m_db.IsEOF()) << proc.name << " found no row";
            for (const auto& column : proc.columns)
                if (!m_db.IsEOF())
                    m_db.GetStringField(column.c_str());
        }
        m_db.RemoveParams();
        inspect(proc.name);
    }

    // Runs a text query; returns its rows.
    int runText(const TextQuery& query)
    {
        m_ran.clear();
        const std::string sql = fill(query.sql);
        MyADO& session = *m_sessions.at(query.database);
        EXPECT_EQ(session.RunTextQuery(sql.c_str()), 1) << sql << "\n" << errorText();
        int rows = 0;
        for (; !session.IsEOF(); session.MoveNext())
            ++rows;
        inspect(query.sql);
        return rows;
    }

    std::unique_ptr<MyADO> m_aud, m_cid;
    std::map<std::string, MyADO*> m_sessions;
    std::map<std::string, std::string> m_values;
    std::map<std::string, DeclaredProcedure> m_declared;
    std::vector<Ran> m_ran;
    std::map<std::string, sqlite3*> m_planConnections;
    // statement -> table -> the plan lines that read it whole
    std::map<std::string, std::map<std::string, std::string>> m_scans;
};

TEST_F(QueryPlans, NoPathReadsAGrowingTableWholeUnlessItsMeaningNeedsEveryRow)
{
    const auto contract = loadContract();
    // Readers first, so that the writers' changes cannot hide a reader's rows.
    for (const auto& proc : contract)
        if (!proc.columns.empty())
            runProcedure(proc);
    for (const auto& query : kReadingQueries)
        EXPECT_GT(runText(query), 0) << "the demo shows nothing for: " << query.sql;
    for (const auto& proc : contract)
        if (proc.columns.empty())
            runProcedure(proc);
    for (const auto& statement : kChangingStatements)
        runText(statement);
    ASSERT_TRUE(errors().empty()) << errorText();
    // What some of the changing statements did: the purge, and a device's dates stored as
    // dates, so that they sort and compare as dates.
    EXPECT_EQ(queryInt("select count(*) as num from calllog where dataset not in (select dataset from dataset)"), 0);
    EXPECT_EQ(RawRegistry(folder()).number("select count(*) from CiDevice where SubjectId = 1 and "
                                           "SurgDate = '2009-03-07 00:00:00.000' and ExplantDate = '1900-01-01 00:00:00.000'"),
              1);

    std::set<std::pair<std::string, std::string>> allowed;
    for (const AllowedScan& a : kAllowedScans) {
        allowed.emplace(a.statement, a.table);
        const auto found = m_scans.find(a.statement);
        EXPECT_TRUE(found != m_scans.end() && found->second.count(a.table))
            << "no longer reads " << a.table << " whole (" << a.reason << "), take it off the list: " << a.statement;
    }
    for (const auto& [statement, tables] : m_scans)
        for (const auto& [table, lines] : tables)
            EXPECT_TRUE(allowed.count({statement, table}))
                << statement << "\nreads every row of " << table << ":\n" << lines;
}

// The check itself: without the index on release(SubjectId, ReleaseDate), the subject
// loads' current-study lookup reads all of release, and the plan check says so.
TEST_F(QueryPlans, SeesTheLoadsReadAllOfReleaseWithoutItsIndex)
{
    ExecRaw(folder(), "Quorin", "DROP INDEX ix_release_subject");
    for (const auto& proc : loadContract())
        if (proc.name == "uspGetCurrentStudy")
            runProcedure(proc);
    EXPECT_EQ(m_scans["uspGetCurrentStudy"].count("release"), 1u) << "the plan check missed the scan";
}

} // namespace
} // namespace quorin::test
