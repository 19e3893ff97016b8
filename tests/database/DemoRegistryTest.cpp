// The demo registry: the same seed gives the same registry, and its data reach every
// feature the program offers.
#include "support/RawRegistry.h"
#include "database/RegistryFixture.h"

#include "dalport/Clock.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

class DemoRegistry : public RegistryTest {
protected:
    std::int64_t number(const std::string& sql) { return RawRegistry(folder()).number(sql); }
};

TEST_F(DemoRegistry, SameSeedGivesTheSameRegistryAnotherSeedAnother)
{
    const auto twin = folder() + "-twin";
    const auto other = folder() + "-other";
    const auto twinSummary = demo::CreateDemoRegistry(twin, kDemoSubjects, kDemoSeed);
    demo::CreateDemoRegistry(other, kDemoSubjects, kDemoSeed + 1);
    EXPECT_EQ(twinSummary.audPoints, summary().audPoints);
    EXPECT_EQ(twinSummary.participations, summary().participations);
    for (const char* table : {"subjects", "aud", "audpoints", "participationhistory", "Aud.info", "CID.speech"}) {
        const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY rowid";
        EXPECT_EQ(RawRegistry(folder()).dump(sql), RawRegistry(twin).dump(sql)) << table;
        EXPECT_NE(RawRegistry(folder()).dump(sql), RawRegistry(other).dump(sql)) << table;
    }
    std::filesystem::remove_all(twin);
    std::filesystem::remove_all(other);
}

TEST_F(DemoRegistry, RefusesToFillARegistryTwice)
{
    m_db = MyADO();
    EXPECT_THROW(demo::FillDemoRegistry(folder(), 10, 1), std::runtime_error);
    EXPECT_EQ(number("SELECT count(*) FROM subjects"), kDemoSubjects);
}

TEST_F(DemoRegistry, SubjectsCoverEveryListValueStatusAndAge)
{
    EXPECT_EQ(number("SELECT count(DISTINCT Status) FROM subjects"), 4);
    EXPECT_EQ(number("SELECT count(DISTINCT Race) FROM subjects WHERE Race <> ''"), 7);
    EXPECT_EQ(number("SELECT count(DISTINCT Ethnicity) FROM subjects WHERE Ethnicity <> ''"), 3);
    EXPECT_EQ(number("SELECT count(DISTINCT Contact) FROM subjects"), 7);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE datediff('yy', Birthdate, getdate()) < 19"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE datediff('yy', Birthdate, getdate()) >= 19"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE Unit = 0"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE Lastname LIKE '%''%'"), 0); // names with an apostrophe
    // Consent renewal due, consent recent, letters out and back, entries this month.
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE datediff('mm', LastDateofConsent, getdate()) > 24"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE datediff('mm', LastDateofConsent, getdate()) <= 12"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE Returned = '1901-01-01 00:00:00.000'"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE Returned > '1901-01-01 00:00:00.000'"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE datediff('mm', DateofEntry, getdate()) = 0"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects s JOIN zones z ON z.Zip = s.Zip"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects s WHERE NOT EXISTS (SELECT 1 FROM zones z WHERE z.Zip = s.Zip)"), 0);
}

// Drawn with plausible weights, and the generator says how the subjects spread.
TEST_F(DemoRegistry, DataSpreadAsInARealRegistryAndTheSpreadIsReported)
{
    constexpr int kSize = 1000;
    const auto big = folder() + "-big";
    const auto made = demo::CreateDemoRegistry(big, kSize, kDemoSeed);
    RawRegistry raw(big);
    // Most subjects are active; a pager is rare.
    EXPECT_GT(raw.number("SELECT count(*) FROM subjects WHERE Status = 0"), kSize * 3 / 4);
    const auto phones = raw.number("SELECT count(*) FROM subjects") + raw.number("SELECT count(*) FROM subjects WHERE Phone2Type <> ''");
    const auto pagers = raw.number("SELECT count(*) FROM subjects WHERE Phone1Type = 'Pager'")
                        + raw.number("SELECT count(*) FROM subjects WHERE Phone2Type = 'Pager'");
    EXPECT_GE(pagers, 1);
    EXPECT_LT(pagers * 100, phones * 3);
    EXPECT_GT(raw.number("SELECT count(*) FROM subjects WHERE Race = 'White'"), kSize / 2);
    // Last consents spread over the years since the initial one, not piled on one day.
    EXPECT_LT(raw.number("SELECT max(n) FROM (SELECT count(*) AS n FROM subjects GROUP BY LastDateofConsent)"), kSize / 50);
    EXPECT_GT(raw.number("SELECT count(*) FROM subjects WHERE LastDateofConsent > InitialDateofConsent"), kSize / 2);
    EXPECT_GT(raw.number("SELECT count(*) FROM subjects WHERE LastDateofConsent = InitialDateofConsent"), kSize / 4);
    EXPECT_EQ(raw.number("SELECT count(*) FROM subjects WHERE LastDateofConsent > getdate() "
                         "OR LastDateofConsent < InitialDateofConsent"),
              0);

    ASSERT_EQ(made.distributions.size(), 6u);
    for (const auto& d : made.distributions) {
        if (d.name == "Phone types")
            continue; // a subject may have two
        int total = 0;
        for (const auto& [value, n] : d.counts)
            total += n;
        EXPECT_EQ(total, kSize) << d.name;
    }
    const std::string status = demo::DescribeDistribution(made.distributions.front());
    EXPECT_EQ(status.rfind("Status: Active " + std::to_string(raw.number("SELECT count(*) FROM subjects WHERE Status = 0")) + " (", 0), 0u)
        << status;
    EXPECT_EQ(status.find('\n'), std::string::npos);
    std::filesystem::remove_all(big);
}

TEST_F(DemoRegistry, AudiogramsShowEverySymbolAndHistories)
{
    EXPECT_EQ(number("SELECT count(DISTINCT symbol) FROM audpoints WHERE symbol BETWEEN 1 AND 12"), 12);
    EXPECT_GT(number("SELECT count(*) FROM audpoints WHERE symbol > 128"), 0);
    EXPECT_GT(number("SELECT count(*) FROM audpoints WHERE recent = 0"), 0);
    EXPECT_GT(number("SELECT count(*) FROM (SELECT SubjectId FROM aud GROUP BY SubjectId HAVING count(*) >= 3)"), 0);
    // Clinic tests newer than the registry's own, and clinic patients not in the registry.
    EXPECT_GT(number("SELECT count(*) FROM subjects s JOIN Aud.info i ON i.PatientNum = s.Unit "
                     "WHERE i.Date > (SELECT max(TestDate) FROM aud a WHERE a.SubjectId = s.SubjectId)"),
              0);
    EXPECT_GT(number("SELECT count(*) FROM Aud.info i WHERE NOT EXISTS (SELECT 1 FROM subjects s WHERE s.Unit = i.PatientNum)"), 0);
    EXPECT_EQ(number("SELECT count(DISTINCT symbol) FROM Aud.newpoints"), 21);
}

TEST_F(DemoRegistry, ImplantPatientsAreInCidWithSeveralFittings)
{
    EXPECT_GT(summary().ciSubjects, 0);
    EXPECT_GT(number("SELECT count(*) FROM (SELECT PatientId FROM CID.external GROUP BY PatientId HAVING count(*) >= 3)"), 0);
    EXPECT_GT(number("SELECT count(*) FROM CID.speech WHERE testtype = 1"), 0);
    EXPECT_GT(number("SELECT count(*) FROM CID.speech WHERE testtype <> 1"), 0);
    EXPECT_GT(number("SELECT count(*) FROM CiDevice"), 0);
    EXPECT_GT(number("SELECT count(*) FROM cispeech"), 0);
    EXPECT_GT(number("SELECT count(*) FROM subjects WHERE PatImpression = 'Cochlear Implant'"), 0);
    // Some implant patients still wait for the import, and some CID patients are unknown here.
    EXPECT_GT(number("SELECT count(*) FROM CID.patient p WHERE NOT EXISTS "
                     "(SELECT 1 FROM subjects s JOIN cidata c ON c.SubjectId = s.SubjectId WHERE CAST(s.Unit AS TEXT) = p.Unit)"),
              0);
    EXPECT_GT(number("SELECT count(*) FROM speech"), 0);
}

TEST_F(DemoRegistry, StudiesHaveRequestsReleasesFeedbackAndCalls)
{
    EXPECT_GT(summary().openDatasets, 0);
    EXPECT_LT(summary().openDatasets, summary().datasets);
    EXPECT_EQ(number("SELECT count(DISTINCT Contacted) FROM participationhistory"), 5);
    EXPECT_GT(number("SELECT count(*) FROM calllog WHERE Dataset NOT IN (SELECT Dataset FROM dataset)"), 0);
    EXPECT_GT(number("SELECT count(*) FROM (SELECT Irb FROM dataset GROUP BY Irb HAVING count(*) > 1)"), 0);
    EXPECT_EQ(number("SELECT count(*) FROM recruitment"), 8);
    EXPECT_EQ(number("SELECT count(DISTINCT Status) FROM pers"), 4);
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
    EXPECT_EQ(number("SELECT count(*) FROM sys_role_members WHERE role = 'QuorinUser' AND member = 'jsmith'"), 1);
}

} // namespace
} // namespace quorin::test
