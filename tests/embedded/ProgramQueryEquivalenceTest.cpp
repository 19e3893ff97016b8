// The program's text queries (its table of queries with a demo registry's values, and
// the program's recorded queries of the corpus) answer alike through sessions that keep
// plans by shape and sessions that keep them by exact text, each on its own copy of one
// demo registry; with other values too.

#include "PlanEquivalence.h"

#include "dalport/Clock.h"
#include "database/TextQueryTable.h"
#include "database/demo/DemoRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace testing_embedded;
namespace fs = std::filesystem;

namespace {

class ProgramQueries : public ::testing::Test {
protected:
    void SetUp() override
    {
        dalport::SetFixedClock("2026-06-15 10:00:00");
        quorin::demo::CreateDemoRegistry(m_shapedFolder, 150, 4242);
        fs::copy(m_shapedFolder, m_exactFolder, fs::copy_options::recursive);
        const auto& admin = quorin::demo::demoStaffLogins().front();
        for (const char* database : {"Quorin", "Aud", "CID"}) {
            ASSERT_EQ(m_shaped[database].SetDataSource(m_shapedFolder.c_str(), admin.login,
                                                      admin.password, database),
                      1);
            connectByExactText(m_exact[database], m_exactFolder, admin.login, admin.password,
                               database);
        }
    }

    void TearDown() override
    {
        m_shaped.clear();
        m_exact.clear();
        dalport::ResetClock();
        std::error_code ec;
        fs::remove_all(m_shapedFolder, ec);
        fs::remove_all(m_exactFolder, ec);
    }

    void compare(const std::string& database, const std::string& sql)
    {
        for (int variant : {0, 1, 2, 3, 0}) {
            const std::string text = variant ? withOtherLiterals(sql, variant) : sql;
            const auto shaped = outcomeOf(m_shaped[database], boxes, text);
            EXPECT_EQ(shaped, outcomeOf(m_exact[database], boxes, text)) << database << ": " << text;
            m_ran += shaped.front() == "ran" && shaped.size() > 2 ? 1 : 0; // ran and gave rows
            for (auto* sessions : {&m_shaped, &m_exact})
                if (scalar((*sessions)[database], "select @@TRANCOUNT as v") != "0")
                    (*sessions)[database].RunTextQuery("ROLLBACK");
        }
    }

    std::string m_shapedFolder = uniqueTempFolder("quorin-shaped");
    std::string m_exactFolder = uniqueTempFolder("quorin-exact");
    Boxes boxes;
    std::map<std::string, WholeSession> m_shaped, m_exact;
    std::size_t m_ran = 0;
};

TEST_F(ProgramQueries, TheProgramsTextQueriesAnswerAlike)
{
    const auto values = quorin::test::textQueryValues(m_shaped["Quorin"], m_shaped["Aud"], m_shaped["CID"]);
    std::size_t compared = 0;
    for (const auto* table : {&quorin::test::readingQueries(), &quorin::test::changingStatements()}) {
        for (const auto& query : *table) {
            compare(query.database, quorin::test::fillQuery(query.sql, values));
            ++compared;
        }
    }
    EXPECT_GE(compared, 100u);
    EXPECT_GE(m_ran, 200u) << "most of the program's queries give rows, with their values and others";

    // The program's recorded queries, on each database.
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(QUORIN_ENGINE_CORPUS))
        if (entry.path().filename().string().rfind('q', 0) == 0)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        for (const char* database : {"Quorin", "Aud", "CID"})
            compare(database, text.str());
    }
    EXPECT_GE(files.size(), 100u);
    EXPECT_GE(m_ran, 400u);
}

} // namespace
