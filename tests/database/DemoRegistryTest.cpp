// The demo registry: the same seed gives the same registry, and its staff log in with
// the passwords the README gives.
#include "support/RawRegistry.h"
#include "database/RegistryFixture.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

using DemoRegistry = RegistryTest;

TEST_F(DemoRegistry, SameSeedGivesTheSameRegistryAnotherSeedAnother)
{
    const auto twin = folder() + "-twin";
    const auto other = folder() + "-other";
    demo::CreateDemoRegistry(twin, kDemoSubjects, kDemoSeed);
    demo::CreateDemoRegistry(other, kDemoSubjects, kDemoSeed + 1);
    for (const char* table : {"subjects", "aud", "audpoints", "participationhistory", "Aud.info", "CID.speech"}) {
        const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY rowid";
        EXPECT_EQ(RawRegistry(folder()).dump(sql), RawRegistry(twin).dump(sql)) << table;
        EXPECT_NE(RawRegistry(folder()).dump(sql), RawRegistry(other).dump(sql)) << table;
    }
    std::filesystem::remove_all(twin);
    std::filesystem::remove_all(other);
}

TEST_F(DemoRegistry, StaffLogInWithTheDocumentedPasswords)
{
    for (const auto& staff : demo::demoStaffLogins()) {
        for (const char* database : {"Quorin", "Aud", "CID"}) {
            MyADO session;
            EXPECT_EQ(session.SetDataSource(folder().c_str(), staff.login, staff.password, database), 1)
                << staff.login << " on " << database;
        }
    }
    MyADO wrong;
    EXPECT_EQ(wrong.SetDataSource(folder().c_str(), "jsmith", "not the password", "Quorin"), 0);
    EXPECT_EQ(RawRegistry(folder()).number("SELECT count(*) FROM sys_role_members WHERE role = 'QuorinUser' AND "
                                           "member = 'jsmith'"),
              1);
}

} // namespace
} // namespace quorin::test
