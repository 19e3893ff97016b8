#include "DocumentFixture.h"
#include "support/RawRegistry.h"
#include "support/RegistryTemplate.h"

#include "database/RegistryScripts.h"

#include "dalport/Clock.h"
#include "dalport/Registry.h"

#include <filesystem>
#include <functional>

namespace quorin::test {

TestRegistry::TestRegistry()
{
    const auto from = TemplateFolder("document-" + BuildStamp(), [](const std::string& building) {
        dalport::CreateServer(building, kTestAdminLogin, kTestAdminPassword, quorin::registryScripts());
        dalport::CreateLogin(building, kTestLogin, kTestPassword);
        for (const dalport::DatabaseScript& s : quorin::registryScripts())
            dalport::CreateDatabaseUser(building, s.name, kTestLogin, "QuorinUser");
    });
    m_folder = (TestRoot() / UniqueName("registry-")).string();
    CopyTemplate(from, m_folder);
}

TestRegistry::~TestRegistry()
{
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
}

void TestRegistry::ExecRaw(const std::string& database, const std::string& sql) const
{
    quorin::test::ExecRaw(m_folder, database, sql);
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
