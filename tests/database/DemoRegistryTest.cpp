// The demo registry: the same seed gives the same registry, and its files are its
// owner's alone.
#include "support/RawRegistry.h"
#include "database/RegistryFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

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

TEST(DemoRegistryFiles, AreTheOwnersAloneUnderAWideUmask)
{
    const mode_t previous = ::umask(022);
    const auto folder = std::filesystem::temp_directory_path()
        / ("quorin-demo-private-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    demo::CreateDemoRegistry(folder.string(), 30, 7);
    {
        MyADO db; // a session, so the journal files are there too
        const auto& staff = demo::demoStaffLogins()[1];
        ASSERT_EQ(db.SetDataSource(folder.c_str(), staff.login, staff.password, "Quorin"), 1);
        ASSERT_EQ(db.RunTextQuery("SELECT count(*) AS num FROM subjects"), 1);
        struct stat st {};
        ASSERT_EQ(::stat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            ASSERT_EQ(::stat(entry.path().c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u) << entry.path();
            ++files;
        }
        EXPECT_GE(files, 4);
    }
    ::umask(previous);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace quorin::test
