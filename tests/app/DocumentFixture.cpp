#include "DocumentFixture.h"

#include "rules/DbString.h"
#include "database/RegistryScripts.h"

#include "dalport/Clock.h"
#include "dalport/Registry.h"

#include <dlfcn.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace quorin::test {

namespace {

// When the engine itself was built: a rebuilt engine may write its files otherwise, so
// a template made by an older one is not reused.
std::string EngineBuildStamp()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<const void*>(&dalport::CreateServer), &info) || !info.dli_fname)
        return "unknown";
    std::error_code ec;
    const auto written = fs::last_write_time(info.dli_fname, ec);
    return ec ? std::string("unknown") : std::to_string(written.time_since_epoch().count());
}

std::string ScriptsKey()
{
    std::string all = EngineBuildStamp();
    all += kTestLogin;
    all += kTestPassword;
    all += kTestAdminLogin;
    all += kTestAdminPassword;
    for (const dalport::DatabaseScript& s : quorin::registryScripts()) {
        all += s.name;
        all += s.schema;
        all += s.security;
        for (const std::string& p : s.procedures)
            all += p;
    }
    return std::to_string(std::hash<std::string>{}(all));
}

fs::path TestRoot()
{
    return fs::temp_directory_path() / "quorin-core-tests";
}

std::string UniqueName(const char* prefix)
{
    static std::atomic<int> counter{0};
    std::random_device rd;
    return std::string(prefix) + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-"
           + std::to_string(rd());
}

// The template is made once per schema and kept: every test process of every later run
// copies it instead of creating a server (password hashing and schema creation).
fs::path TemplateFolder()
{
    const fs::path folder = TestRoot() / ("template-" + ScriptsKey());
    if (fs::exists(folder / "master.db"))
        return folder;
    fs::create_directories(TestRoot());
    const fs::path building = TestRoot() / UniqueName("building-");
    dalport::CreateServer(building.string(), kTestAdminLogin, kTestAdminPassword, quorin::registryScripts());
    dalport::CreateLogin(building.string(), kTestLogin, kTestPassword);
    for (const dalport::DatabaseScript& s : quorin::registryScripts())
        dalport::CreateDatabaseUser(building.string(), s.name, kTestLogin, "QuorinUser");
    std::error_code ec;
    fs::rename(building, folder, ec);
    if (ec) // another process was first
        fs::remove_all(building, ec);
    return folder;
}

} // namespace

TestRegistry::TestRegistry()
{
    const fs::path from = TemplateFolder();
    const fs::path to = TestRoot() / UniqueName("registry-");
    fs::copy(from, to, fs::copy_options::recursive);
    m_folder = to.string();
}

TestRegistry::~TestRegistry()
{
    std::error_code ec;
    fs::remove_all(m_folder, ec);
}

void TestRegistry::ExecRaw(const std::string& database, const std::string& sql) const
{
    sqlite3* db = nullptr;
    const std::string file = dalport::DatabaseFilePath(m_folder, database);
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open " + file);
    dalport::RegisterEngineFunctions(db);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("raw SQL failed: " + error);
}

void DocumentTest::SetUp()
{
    dalport::SetFixedClock(kTestNow);
    m_previousReporter = dalport::SetErrorReporter(
        [this](const dalport::ReportedError& e) { m_errors.push_back(e); });
    doc = std::make_unique<CQuorinDoc>(ui);
    doc->m_strServer = QString::fromStdString(registry.Folder());
    doc->m_strUserName = QString::fromLatin1(kTestLogin);
    doc->m_strPassword = QString::fromLatin1(kTestPassword);
    ASSERT_TRUE(doc->OnNewDocument());
    ASSERT_TRUE(doc->m_db.IsConnected()) << "the test registry refused the login";
    doc->AddView(&view);
}

void DocumentTest::TearDown()
{
    const std::vector<std::string> left = TakeErrors();
    for (const std::string& e : left)
        ADD_FAILURE() << "unexpected database error: " << e;
    doc.reset();
    dalport::SetErrorReporter(m_previousReporter);
    dalport::ResetClock();
}

std::vector<std::string> DocumentTest::TakeErrors()
{
    std::vector<std::string> out;
    for (const dalport::ReportedError& e : m_errors)
        out.push_back(e.text);
    m_errors.clear();
    return out;
}

MyADO DocumentTest::Open(const char* database) const
{
    MyADO db;
    db.SetDataSource(registry.Folder().c_str(), kTestLogin, kTestPassword, database);
    return db;
}

MyADO DocumentTest::OpenAsAdmin(const char* database) const
{
    MyADO db;
    db.SetDataSource(registry.Folder().c_str(), kTestAdminLogin, kTestAdminPassword, database);
    return db;
}

QString DocumentTest::Scalar(const char* database, const QString& sql, const char* column) const
{
    MyADO db = Open(database);
    if (!db.RunTextQuery(sql.toStdString().c_str()) || db.IsEOF())
        return {};
    return QString::fromStdString(db.GetStringField(column));
}

int DocumentTest::Count(const char* database, const QString& sql) const
{
    MyADO db = Open(database);
    if (!db.RunTextQuery(sql.toStdString().c_str()) || db.IsEOF())
        return -1;
    return db.GetIntField("num");
}

CSubject DistinctSubject()
{
    CSubject s;
    s.Cochlear = "Sequential";
    s.CochlearImplant = "Yes";
    s.Address = "12 Elm Street";
    s.Birth = "04/09/1987";
    s.City = "Springfield";
    s.DateEntry = "05/02/2019";
    s.DateInitial = "06/03/2018";
    s.DateLast = "07/04/2025";
    s.Email = "lee@example.org";
    s.EnteredBy = "jdoe";
    s.Ethnicity = "Not Hispanic";
    s.Race = "Asian";
    s.Firstname = "Morgan";
    s.Sex = "Female";
    s.PrimaryLang = "Korean";
    s.Lastname = "Lee";
    s.Notes = "prefers mornings";
    s.PatImpression = "Hearing Impaired";
    s.Phone1 = "555-0101";
    s.Phone1Type = "Home";
    s.Phone2 = "555-0202";
    s.Phone2Type = "Cell";
    s.Status = 2;
    s.State = "NE";
    s.Unit = "4711";
    s.Zip = "68131";
    s.Longterm = 1;
    s.Shortterm = 2;
    s.Workday = 3;
    s.Evenings = 4;
    s.Weekends = 5;
    s.Other = 6;
    s.Recruitment = "Flyer";
    s.ScreeningImpr = "Normal Hearing";
    s.Parent = "Pat Lee";
    s.Contact = "Email";
    s.LetterSent = "08/05/2024";
    s.LetterReturned = "09/06/2024";
    s.Bilingual = "Unknown";
    s.LossType = "Bilateral";
    s.School = "District 66";
    s.CurrentSpeech = "No";
    s.PastSpeech = "Yes";
    return s;
}

} // namespace quorin::test
