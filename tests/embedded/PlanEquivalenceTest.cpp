// Every text of the engine's corpus, and the same texts with other values, answer alike
// through a session that keeps plans by shape and one that keeps them by exact text.

#include "PlanEquivalence.h"

#include "dalport/Clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace testing_embedded;
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> corpusFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(QUORIN_ENGINE_CORPUS))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string contentOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void endTransaction(MyADO& db)
{
    if (scalar(db, "select @@TRANCOUNT as v") != "0")
        db.RunTextQuery("ROLLBACK");
}

TEST(PlanEquivalence, CorpusTextsAndTheirOtherValuesAnswerAlike)
{
    dalport::SetFixedClock("2026-06-15 10:00:00");
    TestServer byShape, byText;
    Boxes boxes;
    WholeSession shaped, exact;
    connect(shaped, byShape, kAdmin, kAdminPassword);
    connectByExactText(exact, byText.folder(), kAdmin, kAdminPassword);
    for (const char* sql :
         {"insert into subjects(subjectid, lastname, firstname, birthdate, status, unit) values (1, 'Adams', 'Anna', "
          "'3/7/2009', 0, 1001)",
          "insert into subjects(subjectid, lastname, firstname, birthdate, status, unit) values (8, 'O''Brien', 'Bo', "
          "'12/31/1990', 1, 1008)",
          "insert into CiDevice(SubjectId, Ear, SurgDate, AgeAtImplant) values (1, 'Left', '4/1/2009', 4)",
          "insert into pers(persid, username, status) values (7, 'jdoe', 1)"}) {
        ASSERT_EQ(shaped.RunTextQuery(sql), 1) << sql;
        ASSERT_EQ(exact.RunTextQuery(sql), 1) << sql;
    }
    std::size_t compared = 0;
    std::size_t ran = 0;
    for (const fs::path& file : corpusFiles()) {
        const std::string text = contentOf(file);
        // Each text, the same shape with other values, and the first values again.
        for (int variant : {0, 1, 2, 3, 4, 5, 0}) {
            const std::string sql = variant ? withOtherLiterals(text, variant) : text;
            const auto byShape = outcomeOf(shaped, boxes, sql);
            EXPECT_EQ(byShape, outcomeOf(exact, boxes, sql)) << file.filename() << ": " << sql;
            ran += byShape.front() == "ran" ? 1 : 0;
            endTransaction(shaped);
            endTransaction(exact);
            ++compared;
        }
    }
    EXPECT_GE(compared, 7 * 150u);
    EXPECT_GE(ran, compared / 4) << "a fair share of the texts must run, not only fail alike";
    dalport::ResetClock();
}

} // namespace
