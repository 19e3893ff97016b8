// The chart's clicks and first-draw checks against the document of a real registry.

#include "AudiogramFixture.h"
#include "audiograms/record/ChartGeometry.h"
#include "audiograms/store/ChartEditing.h"
#include "audiograms/store/ChartFirstDraw.h"

using quorin::ChartGeometry;
using quorin::ChartTools;
using quorin::ClickChart;
using quorin::ClickResult;
using quorin::FirstDrawResult;
using quorin::RunChartFirstDrawChecks;
using quorin::UserInterface;
using quorin::test::AudiogramTest;
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

using Key = std::tuple<int, int, int>;

class ChartEditing : public DocumentTest {
protected:
    // Stored and loaded: a right circle at 2000 Hz / 30 dB, a left X at 1000 Hz / 40 dB.
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
    // The shown test's points: stored key, symbol, recent.
    std::vector<Key> Keys() const
    {
        std::vector<Key> keys;
        for (const CAudPoint& p : doc->m_audCurrent.Points)
            keys.emplace_back(p.xy, p.symbol, p.recent);
        return keys;
    }

    ChartTools tools;
    const ChartGeometry geometry{800, 600};
};

TEST_F(ChartEditing, ClicksPlaceTakeOverAndEraseSymbols)
{
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
        {"130 dB", {}, 1, k1000Hz, 562, false, ClickResult::Ignored, {}},
        {"the key", {}, 1, 700, k40dB, false, ClickResult::Ignored, {}},
    };
    for (const Case& c : cases) {
        doc->m_audCurrent.ResetAudRecord(true);
        doc->m_audCurrent.Points = c.before;
        tools.m_nTool = c.tool;
        tools.m_bEditExisting = 1;
        EXPECT_EQ(Click(c.x, c.y, c.shift), c.result) << c.what;
        EXPECT_EQ(Keys(), c.after) << c.what;
        EXPECT_EQ(doc->m_audCurrent.Dirty, c.result == ClickResult::Changed ? 1 : 0) << c.what;
    }
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(ChartEditing, YesStartsANewTestWithTheOldSymbolsGrey)
{
    const int id = LoadStoredSubject();
    doc->m_bAudDataFilled = doc->m_bAudOtherFilled = 1;
    tools.m_nTool = 3;
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_EQ(Click(k1000Hz, k60dB), ClickResult::Changed);
    ASSERT_EQ(ui.Texts(), QStringList{QStringLiteral("Enter a New Audiogram?")});
    const CAudRecord& a = doc->m_audCurrent;
    EXPECT_EQ(std::tuple(a.TestId, a.Info.TestDate, doc->m_bNewAudStarted, doc->m_subject.AudiogramClean),
              std::tuple(-1, QString(), 1, 0));
    EXPECT_EQ(doc->m_bAudDataFilled + doc->m_bAudOtherFilled, 0);
    // The old left X at 1000 Hz is of the same class: the new one takes it over, mask
    // and all; the old right circle stays grey.
    EXPECT_EQ(Keys(), (std::vector<Key>{{607, 1, 0}, {413, 3, 1}}));
    EXPECT_EQ(a.Points[1].mask, 7);

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
    tools.m_nTool = 1;
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(Click(k1000Hz, k45dB), ClickResult::Changed);
    EXPECT_EQ(tools.m_bEditExisting, 1) << "the Edit toggle shows pressed";
    EXPECT_EQ(std::tuple(doc->m_audCurrent.TestId, doc->m_audCurrent.Dirty, doc->m_bNewAudStarted),
              std::tuple(storedTest, 1, 0));
    // Nothing else was edited: the save writes the chart edit, and it reads back.
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_EQ(doc->m_audCurrent.TestId, storedTest);
    EXPECT_EQ(Keys(), (std::vector<Key>{{607, 1, 1}, {409, 3, 1}, {410, 1, 1}}));
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
    EXPECT_EQ(Keys(), (std::vector<Key>{{603, 10, 0}}));
    EXPECT_EQ(std::tuple(doc->m_audCurrent.Dirty, doc->m_subject.AudiogramClean, doc->m_bNewAudStarted),
              std::tuple(0, 1, 0));
}

using ChartFirstDraw = AudiogramTest;

// The newer clinic test is offered once per subject; No leaves the registry's (missing)
// test, Yes imports it, and an import is no "No Audiogram Found".
TEST_F(ChartFirstDraw, TheChartOffersANewerTestOnceAndImportsItOnYes)
{
    const int id = StoreSubject("Lee", "4711");
    AddClinicTest(1, 4711, "2024-03-05 14:30:00.000", "clinic", {{4, 9, 1}});
    const QString offer = QStringLiteral("This Subject has a new audiogram\rin the Audiogram Manager "
                                         "Database.\r Would you like to import it?");
    ASSERT_EQ(doc->LoadSubjectById(id), 1);
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), (QStringList{offer, "No Audiogram Found for this subject."}));
    EXPECT_EQ(std::tuple(doc->m_audCurrent.Info.Imported, doc->m_bChartLoaded), std::tuple(false, 1));
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts().size(), 2) << "the next showing only draws";

    ASSERT_EQ(doc->LoadSubjectById(id), 1);
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), QStringList{offer});
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "clinic");
    EXPECT_TRUE(doc->m_audCurrent.Info.Imported);
}

// Paged back before the chart was first shown: the old test is drawn, nothing is asked.
TEST_F(ChartFirstDraw, AStoredSubjectPagedBeforeTheFirstShowingIsNotAskedAbout)
{
    const int id = StoreSubject("Lee", "");
    AddRegistryTest(id, "2020-02-02", "old");
    AddRegistryTest(id, "2026-06-01", "current");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    doc->OnPagePrev();
    ASSERT_EQ(doc->m_audCurrent.Info.TestedBy, "old");
    ui.ClearMessages();

    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(std::tuple(doc->m_bChartLoaded, doc->m_subject.SubjectID), std::tuple(1, id));
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "old") << "the old test stays shown";
}

// Yes to the stored subject loads it; its chart is checked at once and takes clicks.
TEST_F(ChartFirstDraw, AfterYesToTheStoredSubjectItsChartIsLoaded)
{
    const int id = StoreSubject("Lee", "4711");
    AddRegistryTest(id, "2024-02-02", "stored");
    AddClinicTest(1, 4711, "2026-05-05", "clinic");
    ASSERT_TRUE(doc->OnNewDocument());
    doc->m_subject = DistinctSubject();
    doc->m_subject.Modified = 1;
    ui.ClearMessages();

    ui.AnswerNext(UserInterface::Answer::Yes); // modify the stored record
    ui.AnswerNext(UserInterface::Answer::No);  // not the newer clinic test
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    ASSERT_EQ(ui.Texts().size(), 2) << ui.Texts().join(" | ").toStdString();
    EXPECT_TRUE(ui.Texts()[0].startsWith("A Subject matching"));
    EXPECT_TRUE(ui.Texts()[1].startsWith("This Subject has a new audiogram"));
    EXPECT_EQ(std::tuple(doc->m_subject.SubjectID, doc->m_audCurrent.Info.TestedBy, doc->m_bChartLoaded),
              std::tuple(id, QStringLiteral("stored"), 1)) << "loaded, and the chart takes clicks";
}

// A refused hand-over stops until the next showing. Found in the Audiogram Manager, the
// subject starts with the newest composite, its unit filled and the Subject tab refreshed
// after the hand-over (or the next hand-over would blank it again).
TEST_F(ChartFirstDraw, ANewSubjectFoundInTheAudiogramManagerStartsWithItsNewestComposite)
{
    AddClinicTest(1, 4711, "2023-03-05 09:00:00.000", "older", {{6, 8, 2}});
    AddClinicTest(2, 4711, "2024-03-05 09:00:00.000", "newest", {{4, 9, 1}});
    doc->m_subject.Unit = QStringLiteral("0");
    doc->m_subject.Lastname = QStringLiteral("O'Brien");
    doc->m_subject.Firstname = QStringLiteral("Kate");
    doc->m_subject.Birth = QStringLiteral("4/9/1987");
    doc->m_subject.DateInitial = QStringLiteral("06/03/2019");
    doc->RefreshSubjectForm = 0;
    view.refuseHandOver = true;
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Stopped);
    EXPECT_EQ(std::tuple(doc->m_bChartLoaded, doc->m_audCurrent.LoadAttempted), std::tuple(0, 0));

    view.refuseHandOver = false;
    std::vector<std::pair<int, int>> seen; // hint, RefreshSubjectForm
    view.onUpdate = [&](int hint) {
        seen.emplace_back(hint, doc->RefreshSubjectForm);
        if (hint == CDocumentView::HintHandOver) {
            doc->m_audCurrent.Info.TestedBy = QStringLiteral("handed over");
            doc->m_bAudDataFilled = 1;
        }
    };
    ui.AnswerNext(UserInterface::Answer::Yes);
    ui.SetDialogRunner([&](UserInterface::Dialog dialog) {
        EXPECT_EQ(dialog, UserInterface::Dialog::AmSearch);
        doc->m_subject.Unit = QStringLiteral("4711"); // the user picks the row
        return 1;
    });
    EXPECT_EQ(RunChartFirstDrawChecks(*doc), FirstDrawResult::Done);
    EXPECT_EQ(ui.Texts(), (QStringList{QStringLiteral("This is a new Subject.\rWould you like to search the "
                                                      "Audiogram\rManager Database for patient records?")}));
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 0}, {0, 1}}));
    EXPECT_EQ(doc->RefreshSubjectForm, 0);
    EXPECT_EQ(QStringList({doc->m_subject.Unit, doc->m_subject.Birth, doc->m_subject.Lastname}),
              QStringList({"4711", "4/9/1987", "O'Brien"})); // as typed: only empty fields are filled
    const CAudRecord& r = doc->m_audCurrent;
    EXPECT_EQ(r.Info.TestedBy, "newest");
    EXPECT_EQ(std::tuple(r.Dirty, r.Latest, r.LoadAttempted, doc->m_bChartLoaded), std::tuple(1, 1, 1, 1));
    EXPECT_EQ(Symbols(), (std::vector<quorin::test::Symbol>{{4, 9, 1, 1}, {6, 8, 3, 0}}));
    EXPECT_EQ(doc->m_bAudDataFilled + doc->m_subject.AudiogramClean, 0);
}

// The search's other endings open nothing: No to the question, Cancel, no match, a unit
// that is no number (said so, then searched by name), and a chosen unit the clinic has
// no test for.
TEST_F(ChartFirstDraw, TheAudiogramManagerSearchsOtherEndingsOpenNothing)
{
    AddClinicTest(1, 4711, "2024-03-05 09:00:00.000", "clinic", {{4, 9, 1}});
    const QString search = QStringLiteral("This is a new Subject.\rWould you like to search the Audiogram\r"
                                          "Manager Database for patient records?");
    const QString notFound = QStringLiteral("Subject not found!");
    struct Case { const char* typed; UserInterface::Answer answer; int dialog; const char* chosen; QStringList said; };
    const Case cases[] = {
        {"0", UserInterface::Answer::No, 0, "", {search}},
        {"0", UserInterface::Answer::Yes, 2, "", {search}},
        {"0", UserInterface::Answer::Yes, -1, "0", {search, notFound}},
        {"12a", UserInterface::Answer::Yes, -1, "12a", {search, "KV Number must be a whole number.", notFound}},
        {"0", UserInterface::Answer::Yes, 1, "999", {search, notFound}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed + std::to_string(c.dialog));
        doc->m_subject = CSubject{};
        doc->m_subject.Unit = QString::fromLatin1(c.typed);
        doc->m_subject.Lastname = QStringLiteral("Nobody");
        doc->m_subject.Firstname = QStringLiteral("Ann");
        doc->m_audCurrent.ResetAudRecord(true);
        ui.ClearMessages();
        ui.AnswerNext(c.answer);
        int dialogs = 0;
        ui.SetDialogRunner([&](UserInterface::Dialog) {
            ++dialogs;
            doc->m_subject.Unit = QString::fromLatin1(c.chosen);
            return c.dialog;
        });
        EXPECT_EQ(doc->OfferAmSearch(), 0);
        EXPECT_EQ(ui.Texts(), c.said);
        EXPECT_EQ(dialogs, c.answer == UserInterface::Answer::Yes ? 1 : 0);
        EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "");
    }
}

} // namespace
