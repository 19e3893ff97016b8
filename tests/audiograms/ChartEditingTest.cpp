// Clicks on the chart against the document of a real registry: placing, taking over,
// erasing, the question of a new audiogram, the refusals, and what a save keeps.

#include "AudiogramFixture.h"
#include "audiograms/store/ChartEditing.h"
#include "audiograms/record/ChartGeometry.h"

using quorin::ChartGeometry;
using quorin::ChartTools;
using quorin::ClickChart;
using quorin::ClickResult;
using quorin::UserInterface;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::test::Point;

namespace {

// Pixels of an 800 x 600 chart.
constexpr int k1000Hz = 326;
constexpr int k2000Hz = 402;
constexpr int k40dB = 240;
constexpr int k45dB = 258;
constexpr int k60dB = 312;

class ChartEditing : public DocumentTest {
protected:
    // A stored subject whose stored test has a right circle at 2000 Hz / 30 dB and a
    // left X at 1000 Hz / 40 dB, loaded as a user would load it.
    int LoadStoredSubject()
    {
        doc->m_subject = DistinctSubject();
        doc->m_audCurrent.ResetAudRecord(true);
        doc->m_audCurrent.Dirty = 1;
        doc->m_audCurrent.Info.TestDate = "03/04/2025";
        doc->m_audCurrent.Points = {Point(607, 1, 1, 7), Point(409, 3, 1, 7)};
        doc->m_subject.AudiogramClean = 0;
        EXPECT_EQ(doc->SaveSubject(), 1);
        const int id = doc->m_subject.SubjectID;
        EXPECT_NE(doc->LoadSubjectById(id), 0);
        ui.ClearMessages();
        return id;
    }

    ClickResult Click(int x, int y, bool shift = false) { return ClickChart(*doc, tools, geometry, x, y, shift); }

    ChartTools tools;
    const ChartGeometry geometry{800, 600};
};

// With Edit on, one click on the points before: the result and the points after
// (stored key, symbol, recent).
TEST_F(ChartEditing, ClicksPlaceTakeOverAndEraseSymbols)
{
    using Key = std::tuple<int, int, int>;
    struct Case {
        const char* what;
        std::vector<CAudPoint> before;
        int tool;
        int x, y;
        bool shift;
        ClickResult result;
        std::vector<Key> after;
    };
    const int eraser = ChartTools::kEraser;
    const Case cases[] = {
        {"the same tool moves its symbol", {Point(409, 1, 1)}, 1, k1000Hz + 10, k45dB - 5, false,
         ClickResult::Changed, {{410, 1, 1}}},
        {"the same place again", {Point(410, 1, 1)}, 1, k1000Hz, k45dB, false, ClickResult::Unchanged, {{410, 1, 1}}},
        {"a grey circle goes to the other right tool", {Point(607, 1, 0)}, 2, k2000Hz, k40dB, false,
         ClickResult::Changed, {{609, 2, 1}}},
        {"but a right symbol stays beside a left one", {Point(609, 2, 1)}, 3, k2000Hz, k40dB, false,
         ClickResult::Changed, {{609, 2, 1}, {609, 3, 1}}},
        {"Shift stores the no-response variant", {}, 3, k1000Hz, k60dB, true, ClickResult::Changed, {{413, 131, 1}}},
        {"a plain click replaces it", {Point(413, 131, 1)}, 3, k1000Hz, k40dB, false, ClickResult::Changed,
         {{409, 3, 1}}},
        {"the eraser takes both ears at the position only",
         {Point(409, 1, 1), Point(409, 3, 0), Point(410, 5, 1), Point(609, 7, 1)}, eraser, k1000Hz + 3, k40dB + 4,
         false, ClickResult::Changed, {{410, 5, 1}, {609, 7, 1}}},
        {"erasing nothing", {Point(410, 5, 1)}, eraser, k1000Hz, k40dB, false, ClickResult::Unchanged, {{410, 5, 1}}},
        {"without a tool", {Point(603, 10, 0)}, 0, k2000Hz, 150, false, ClickResult::Ignored, {{603, 10, 0}}},
        {"the left margin", {}, 1, 30, k40dB, false, ClickResult::Ignored, {}},
        {"above the grid", {}, 1, k1000Hz, 20, false, ClickResult::Ignored, {}},
        {"130 dB", {}, 1, k1000Hz, 562, false, ClickResult::Ignored, {}},
        {"the key", {}, 1, 700, k40dB, false, ClickResult::Ignored, {}},
    };
    for (const Case& c : cases) {
        doc->m_audCurrent.ResetAudRecord(true);
        doc->m_audCurrent.Points = c.before;
        tools.m_nTool = c.tool;
        tools.m_bEditExisting = 1;
        EXPECT_EQ(Click(c.x, c.y, c.shift), c.result) << c.what;
        std::vector<Key> after;
        for (const CAudPoint& p : doc->m_audCurrent.Points)
            after.emplace_back(p.xy, p.symbol, p.recent);
        EXPECT_EQ(after, c.after) << c.what;
        EXPECT_EQ(doc->m_audCurrent.Dirty, c.result == ClickResult::Changed ? 1 : 0) << c.what;
    }
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(ChartEditing, YesStartsANewTestWithTheOldSymbolsGrey)
{
    const int id = LoadStoredSubject();
    ASSERT_GT(doc->m_audCurrent.TestId, 0);
    doc->m_bAudDataFilled = 1;
    doc->m_bAudOtherFilled = 1;
    tools.m_nTool = 3;
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_EQ(Click(k1000Hz, k60dB), ClickResult::Changed);

    ASSERT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
    EXPECT_EQ(ui.Messages()[0].buttons, UserInterface::Buttons::YesNo);
    const CAudRecord& a = doc->m_audCurrent;
    EXPECT_EQ(a.TestId, -1);
    EXPECT_EQ(a.Info.TestDate, QString());
    EXPECT_EQ(doc->m_bAudDataFilled + doc->m_bAudOtherFilled, 0);
    EXPECT_EQ(doc->m_bNewAudStarted, 1);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 0);
    // The old left X at 1000 Hz is of the same class: the new one takes it over.
    ASSERT_EQ(a.Points.size(), 2u);
    EXPECT_EQ(a.Points[0].recent, 0) << "the old right circle stays grey";
    EXPECT_EQ(a.Points[1].recent, 1);
    EXPECT_EQ(a.Points[1].xy, 413);
    EXPECT_EQ(a.Points[1].mask, 7) << "a taken-over point keeps its mask";

    // The next click asks nothing; the save stores a second test.
    EXPECT_EQ(Click(k2000Hz, k40dB), ClickResult::Changed);
    EXPECT_EQ(ui.Messages().size(), 1u);
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(id)), 2);
}

TEST_F(ChartEditing, NoEditsTheShownTestAndTheEditAloneIsSaved)
{
    const int id = LoadStoredSubject();
    const int storedTest = doc->m_audCurrent.TestId;
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
    tools.m_nTool = 1;
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(Click(k1000Hz, k45dB), ClickResult::Changed);
    EXPECT_EQ(tools.m_bEditExisting, 1) << "the Edit toggle shows pressed";
    EXPECT_EQ(doc->m_audCurrent.TestId, storedTest);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1) << "a chart edit marks the test for saving";
    EXPECT_EQ(doc->m_bNewAudStarted, 0);

    // Nothing else was edited: the save writes the chart edit, and it reads back.
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_EQ(doc->m_audCurrent.TestId, storedTest);
    ASSERT_EQ(doc->m_audCurrent.Points.size(), 3u);
    EXPECT_EQ(doc->m_audCurrent.Points[2].xy, 410);
    EXPECT_EQ(doc->m_audCurrent.Points[2].symbol, 1);
}

TEST_F(ChartEditing, APagedTestRefusesClicksAndKeepsItsSymbols)
{
    doc->m_audCurrent.Points = {Point(603, 10, 0)};
    doc->m_subject.AudiogramClean = 1;
    tools.m_nTool = 1;
    doc->m_nPageDir = 2;
    EXPECT_EQ(Click(k1000Hz, k40dB), ClickResult::Refused);
    ASSERT_EQ(ui.Texts(), QStringList{QStringLiteral("You Cannot Alter this Test!")});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    ASSERT_EQ(doc->m_audCurrent.Points.size(), 1u);
    EXPECT_EQ(doc->m_audCurrent.Points[0].symbol, 10);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 1);
    EXPECT_EQ(doc->m_bNewAudStarted, 0);
}

} // namespace
