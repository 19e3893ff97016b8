#include "database/RegistryFixture.h"

#include "dalport/Clock.h"
#include "dalport/Registry.h"
#include "database/RegistryScripts.h"
#include "support/RegistryTemplate.h"

namespace quorin::test {

void RegistryTest::SetUp()
{
    dalport::SetFixedClock(kToday);
    const auto& admin = demo::demoStaffLogins().front();
    // Made once per build under the fixed clock, so that the demo's dates and GETDATE() agree.
    const bool filled = m_fillDemo;
    const auto from = TemplateFolder((filled ? "demo150-" : "bare-") + BuildStamp(), [&](const std::string& building) {
        if (filled)
            demo::CreateDemoRegistry(building, kDemoSubjects, kDemoSeed);
        else
            dalport::CreateServer(building, admin.login, admin.password, registryScripts());
    });
    m_folder = (TestRoot() / UniqueName("database-")).string();
    CopyTemplate(from, m_folder);
    ASSERT_EQ(m_db.SetDataSource(m_folder.c_str(), admin.login, admin.password, "Quorin"), 1) << errorText();
}

void RegistryTest::TearDown()
{
    m_db = MyADO(); // closes the session before its files go
    dalport::ResetClock();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::unique_ptr<MyADO> RegistryTest::connect(const char* database, const char* login, const char* password)
{
    const auto& admin = demo::demoStaffLogins().front();
    auto session = std::make_unique<MyADO>();
    EXPECT_EQ(session->SetDataSource(m_folder.c_str(), login ? login : admin.login, login ? password : admin.password,
                                     database),
              1)
        << (login ? login : admin.login) << " " << database;
    return session;
}

long RegistryTest::errorOf(MyADO& db, const std::string& sql)
{
    const std::size_t before = m_errors.all.size();
    if (db.RunTextQuery(sql.c_str()) == 1)
        return 0;
    for (std::size_t i = m_errors.all.size(); i-- > before;)
        if (m_errors.all[i].kind == dalport::ReportedError::Kind::Provider)
            return m_errors.all[i].number;
    return -1;
}

int RegistryTest::queryInt(const std::string& sql, const char* column)
{
    if (!m_db.RunTextQuery(sql.c_str()) || m_db.IsEOF())
        return -1;
    return m_db.GetIntField(column);
}

std::string RegistryTest::queryText(const std::string& sql, const char* column)
{
    if (!m_db.RunTextQuery(sql.c_str()) || m_db.IsEOF())
        return "";
    return m_db.GetStringField(column);
}

} // namespace quorin::test
