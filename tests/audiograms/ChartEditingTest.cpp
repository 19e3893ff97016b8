// Clicks on the chart against the document of a real registry: placing, taking over,
// erasing, the question of a new audiogram, the refusals, and what a save keeps.

#include "app/DocumentFixture.h"
#include "audiograms/store/ChartEditing.h"
#include "audiograms/record/ChartGeometry.h"

using quorin::ChartGeometry;
using quorin::ChartTools;
using quorin::ClickChart;
using quorin::ClickResult;
using quorin::UserInterface;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

// Pixels of an 800 x 600 chart.
constexpr int k1000Hz = 326;
constexpr int k2000Hz = 402;
constexpr int k40dB = 240;
constexpr int k45dB = 258;
constexpr int k60dB = 312;

CAudPoint Point(int xy, int symbol, int recent)
{
    CAudPoint p;
    p.xy = xy;
    p.SplitXy();
    p.symbol = symbol;
    p.type = CAudPoint::TypeOfSymbol(symbol);
    p.mask = 7;
    p.recent = recent;
    return p;
}

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
        doc->m_audCurrent.Points = {Point(607, 1, 1), Point(409, 3, 1)};
        doc->m_subject.AudiogramClean = 0;
        EXPECT_EQ(doc->SaveSubject(), 1);
        const int id = doc->m_subject.SubjectID;
        EXPECT_NE(doc->LoadSubjectById(id), 0);
        EXPECT_EQ(doc->m_audCurrent.Points.size(), 2u);
        ui.ClearMessages();
        return id;
    }

    ClickResult Click(int x, int y, bool shift = false) { return ClickChart(*doc, tools, geometry, x, y, shift); }

    ChartTools tools;
    const ChartGeometry geometry{800, 600};
};

TEST_F(ChartEditing, ToolCommandsChooseTheirSymbols)
{
    const int expected[] = {1, 2, 3, 4, 5, 7, 6, 11, 10, 12, 13};
    for (unsigned id = 32795; id <= 32805; ++id)
        EXPECT_EQ(quorin::ToolOfCommand(id), expected[id - 32795]) << id;
    EXPECT_EQ(quorin::ToolOfCommand(32806), -1);
    EXPECT_EQ(quorin::TypeOfTool(11), 3);
    EXPECT_EQ(quorin::TypeOfTool(6), 5);
}

TEST_F(ChartEditing, YesStartsANewTestWithTheOldSymbolsGrey)
{
    const int id = LoadStoredSubject();
    const int storedTest = doc->m_audCurrent.TestId;
    ASSERT_GT(storedTest, 0);
    doc->m_bAudDataFilled = 1;
    doc->m_bAudOtherFilled = 1;
    tools.m_nTool = 3;
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_EQ(Click(k1000Hz, k60dB), ClickResult::Changed);

    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Enter a New Audiogram?"));
    EXPECT_EQ(ui.Messages()[0].buttons, UserInterface::Buttons::YesNo);
    const CAudRecord& a = doc->m_audCurrent;
    EXPECT_EQ(a.TestId, -1);
    EXPECT_EQ(a.Info.TestDate, QString());
    EXPECT_EQ(doc->m_bAudDataFilled, 0);
    EXPECT_EQ(doc->m_bAudOtherFilled, 0);
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
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
}

TEST_F(ChartEditing, ASecondClickOfTheSameToolMovesTheSymbol)
{
    tools.m_nTool = 1;
    tools.m_bEditExisting = 1;
    EXPECT_EQ(Click(k1000Hz, k40dB), ClickResult::Changed);
    EXPECT_EQ(Click(k1000Hz + 10, k45dB - 5), ClickResult::Changed);
    ASSERT_EQ(doc->m_audCurrent.Points.size(), 1u);
    const CAudPoint& p = doc->m_audCurrent.Points[0];
    EXPECT_EQ(p.x, 4);
    EXPECT_EQ(p.y, 10) << "45 dB";
    EXPECT_EQ(p.xy, 410);
    EXPECT_EQ(p.type, 1);
    EXPECT_EQ(Click(k1000Hz, k45dB), ClickResult::Unchanged);
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(ChartEditing, AGreyRightCircleIsTakenOverByTheOtherRightToolButNotByALeftOne)
{
    CAudRecord& a = doc->m_audCurrent;
    a.Points = {Point(607, 1, 1)};
    a.StartNewAudiogram();
    doc->m_bNewAudStarted = 1;
    tools.m_nTool = 2;
    EXPECT_EQ(Click(k2000Hz, k40dB), ClickResult::Changed);
    ASSERT_EQ(a.Points.size(), 1u);
    EXPECT_EQ(a.Points[0].symbol, 2);
    EXPECT_EQ(a.Points[0].recent, 1);
    EXPECT_EQ(a.Points[0].xy, 609);

    tools.m_nTool = 3;
    EXPECT_EQ(Click(k2000Hz, k40dB), ClickResult::Changed);
    ASSERT_EQ(a.Points.size(), 2u);
    EXPECT_EQ(a.Points[1].symbol, 3);
    EXPECT_EQ(a.Points[0].symbol, 2) << "the right symbol stays";
}

TEST_F(ChartEditing, ShiftStoresTheNoResponseVariantAndAPlainClickReplacesIt)
{
    tools.m_nTool = 3;
    tools.m_bEditExisting = 1;
    EXPECT_EQ(Click(k1000Hz, k60dB, true), ClickResult::Changed);
    ASSERT_EQ(doc->m_audCurrent.Points.size(), 1u);
    EXPECT_EQ(doc->m_audCurrent.Points[0].symbol, 131);
    EXPECT_EQ(doc->m_audCurrent.Points[0].type, 0);
    EXPECT_EQ(Click(k1000Hz, k40dB), ClickResult::Changed);
    ASSERT_EQ(doc->m_audCurrent.Points.size(), 1u);
    EXPECT_EQ(doc->m_audCurrent.Points[0].symbol, 3);
    EXPECT_EQ(doc->m_audCurrent.Points[0].y, 9);
}

TEST_F(ChartEditing, TheEraserRemovesBothEarsAtThePositionOnly)
{
    CAudRecord& a = doc->m_audCurrent;
    a.Points = {Point(409, 1, 1), Point(409, 3, 0), Point(410, 5, 1), Point(609, 7, 1)};
    tools.m_nTool = ChartTools::kEraser;
    tools.m_bEditExisting = 1;
    EXPECT_EQ(Click(k1000Hz + 3, k40dB + 4), ClickResult::Changed);
    ASSERT_EQ(a.Points.size(), 2u);
    EXPECT_EQ(a.Points[0].xy, 410);
    EXPECT_EQ(a.Points[1].xy, 609);
    EXPECT_EQ(a.Dirty, 1);
    a.Dirty = 0;
    EXPECT_EQ(Click(k1000Hz, k40dB), ClickResult::Unchanged);
    EXPECT_EQ(a.Dirty, 0) << "erasing nothing changes nothing";
}

TEST_F(ChartEditing, ClicksWhilePagedWithoutAToolOrOffTheGridChangeNothing)
{
    CAudRecord& a = doc->m_audCurrent;
    a.Points = {Point(603, 10, 0)}; // a grey warble tone of the previous test
    doc->m_subject.AudiogramClean = 1;

    // Without a tool nothing is placed, so the old warble tone survives.
    EXPECT_EQ(Click(k2000Hz, 150), ClickResult::Ignored);
    EXPECT_TRUE(ui.Texts().isEmpty()) << "not even the question";

    tools.m_nTool = 1;
    EXPECT_EQ(Click(30, k40dB), ClickResult::Ignored) << "left margin";
    EXPECT_EQ(Click(k1000Hz, 20), ClickResult::Ignored) << "above the grid";
    EXPECT_EQ(Click(k1000Hz, 562), ClickResult::Ignored) << "snaps to 130 dB";
    EXPECT_EQ(Click(700, k40dB), ClickResult::Ignored) << "in the key";
    EXPECT_TRUE(ui.Texts().isEmpty());

    doc->m_nPageDir = 2;
    EXPECT_EQ(Click(k1000Hz, k40dB), ClickResult::Refused);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("You Cannot Alter this Test!"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);

    ASSERT_EQ(a.Points.size(), 1u);
    EXPECT_EQ(a.Points[0].symbol, 10);
    EXPECT_EQ(a.Points[0].recent, 0);
    EXPECT_EQ(a.Dirty, 0);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 1);
    EXPECT_EQ(doc->m_bNewAudStarted, 0);
}

} // namespace
