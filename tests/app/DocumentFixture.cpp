#include "DocumentFixture.h"

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
    std::string all = EngineBuildStamp() + kTestLogin + kTestPassword + kTestAdminLogin + kTestAdminPassword;
    for (const dalport::DatabaseScript& s : quorin::registryScripts()) {
        all += s.name + s.schema + s.security;
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
    LogInAs(kTestLogin, kTestPassword);
}

void DocumentTest::LogInAs(const char* login, const char* password)
{
    if (doc)
        doc->RemoveView(&view);
    doc = std::make_unique<CQuorinDoc>(ui);
    doc->m_strServer = QString::fromStdString(registry.Folder());
    doc->m_strUserName = QString::fromLatin1(login);
    doc->m_strPassword = QString::fromLatin1(password);
    ASSERT_TRUE(doc->OnNewDocument());
    ASSERT_TRUE(doc->m_db.IsConnected()) << login << " could not log in";
    doc->AddView(&view);
}

void DocumentTest::TearDown()
{
    const std::vector<std::string> left = TakeErrors();
    for (const std::string& e : left)
        ADD_FAILURE() << "unexpected database error: " << e;
    doc.reset();
    dalport::ResetClock();
}

std::vector<std::string> DocumentTest::TakeErrors()
{
    std::vector<std::string> out = m_errors.texts();
    m_errors.clear();
    return out;
}

MyADO DocumentTest::OpenAsAdmin(const char* database) const
{
    MyADO db;
    db.SetDataSource(registry.Folder().c_str(), kTestAdminLogin, kTestAdminPassword, database);
    return db;
}

QString DocumentTest::Scalar(const char* database, const QString& sql, const char* column) const
{
    MyADO db;
    db.SetDataSource(registry.Folder().c_str(), kTestLogin, kTestPassword, database);
    if (!db.RunTextQuery(sql.toStdString().c_str()) || db.IsEOF())
        return {};
    return QString::fromStdString(db.GetStringField(column));
}

int DocumentTest::Count(const char* database, const QString& sql) const
{
    MyADO db;
    db.SetDataSource(registry.Folder().c_str(), kTestLogin, kTestPassword, database);
    if (!db.RunTextQuery(sql.toStdString().c_str()) || db.IsEOF())
        return -1;
    return db.GetIntField("num");
}

CSubject DistinctSubject()
{
    CSubject s;
    const std::pair<QString CSubject::*, const char*> texts[] = {
        {&CSubject::Cochlear, "Sequential"}, {&CSubject::CochlearImplant, "Yes"},
        {&CSubject::Address, "12 Elm Street"}, {&CSubject::Birth, "04/09/1987"}, {&CSubject::City, "Springfield"},
        {&CSubject::DateEntry, "05/02/2019"}, {&CSubject::DateInitial, "06/03/2018"},
        {&CSubject::DateLast, "07/04/2025"}, {&CSubject::Email, "lee@example.org"}, {&CSubject::EnteredBy, "jdoe"},
        {&CSubject::Ethnicity, "Not Hispanic"}, {&CSubject::Race, "Asian"}, {&CSubject::Firstname, "Morgan"},
        {&CSubject::Sex, "Female"}, {&CSubject::PrimaryLang, "Korean"}, {&CSubject::Lastname, "Lee"},
        {&CSubject::Notes, "prefers mornings"}, {&CSubject::PatImpression, "Hearing Impaired"},
        {&CSubject::Phone1, "555-0101"}, {&CSubject::Phone1Type, "Home"}, {&CSubject::Phone2, "555-0202"},
        {&CSubject::Phone2Type, "Cell"}, {&CSubject::State, "NE"}, {&CSubject::Unit, "4711"},
        {&CSubject::Zip, "68131"}, {&CSubject::Recruitment, "Flyer"}, {&CSubject::ScreeningImpr, "Normal Hearing"},
        {&CSubject::Parent, "Pat Lee"}, {&CSubject::Contact, "Email"}, {&CSubject::LetterSent, "08/05/2024"},
        {&CSubject::LetterReturned, "09/06/2024"}, {&CSubject::Bilingual, "Unknown"},
        {&CSubject::LossType, "Bilateral"}, {&CSubject::School, "District 66"}, {&CSubject::CurrentSpeech, "No"},
        {&CSubject::PastSpeech, "Yes"}};
    for (const auto& [field, value] : texts)
        s.*field = QString::fromLatin1(value);
    const std::pair<int CSubject::*, int> numbers[] = {{&CSubject::Status, 2},   {&CSubject::Longterm, 1},
                                                       {&CSubject::Shortterm, 2}, {&CSubject::Workday, 3},
                                                       {&CSubject::Evenings, 4},  {&CSubject::Weekends, 5},
                                                       {&CSubject::Other, 6}};
    for (const auto& [field, value] : numbers)
        s.*field = value;
    return s;
}

} // namespace quorin::test
