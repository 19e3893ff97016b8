// Views attach to the document and are told of changes in attachment order; a refused
// hand-over stops the round.

#include "DocumentFixture.h"

using quorin::test::DocumentTest;
using quorin::test::ScriptedUserInterface;

namespace {

struct OrderView : CDocumentView {
    OrderView(std::vector<int>& log, int id, bool refuse = false) : log(log), id(id), refuse(refuse) {}
    bool OnUpdate(int hint) override
    {
        log.push_back(id * 10 + hint);
        return !(refuse && hint == HintHandOver);
    }
    std::vector<int>& log;
    int id;
    bool refuse;
};

} // namespace

TEST(DocumentViews, EveryViewIsToldInAttachmentOrderUntilOneRefusesTheHandOver)
{
    ScriptedUserInterface ui;
    CQuorinDoc doc(ui);
    std::vector<int> log;
    OrderView a(log, 1), b(log, 2, true), c(log, 3);
    doc.AddView(&b);
    doc.AddView(&a);
    doc.AddView(&c);
    doc.AddView(&a); // attaching twice changes nothing
    EXPECT_TRUE(doc.UpdateAllViews(0));
    EXPECT_FALSE(doc.UpdateAllViews(1)); // only the hand-over can be refused
    doc.RemoveView(&a);
    EXPECT_TRUE(doc.UpdateAllViews(2));
    EXPECT_EQ(log, (std::vector<int>{20, 10, 30, 21, 22, 32}));
}

TEST_F(DocumentTest, ClearDocumentRefreshesEveryViewAndShowsTheEmptyAudiogram)
{
    doc->m_subject.Lastname = "Someone";
    doc->m_subject.Modified = 1;
    doc->m_bAudDataFilled = doc->m_bAudOtherFilled = 1;
    doc->CiLoaded = doc->SllLoaded = doc->ParticipationLoaded = doc->ConsentNotice = 1;
    doc->m_nHistoryCount = 7;
    doc->m_bHistoryLoaded = 1;
    doc->m_audHistory.resize(3);
    doc->m_audCurrent.Points.push_back(CAudPoint{});
    doc->m_ciData.Devices.push_back(CCiDevice{});
    doc->m_ciSpeechList.push_back(CCiSpeech{});
    doc->m_speechTestList.push_back(CSpeechTest{});
    int refreshDuringClear = -1;
    view.onUpdate = [&](int hint) {
        if (hint == 0)
            refreshDuringClear = doc->RefreshSubjectForm;
    };
    doc->ClearDocument();
    EXPECT_EQ(view.hints, (std::vector<int>{0, 2}));
    EXPECT_EQ(refreshDuringClear, 1);
    EXPECT_EQ(doc->RefreshSubjectForm, 0);
    EXPECT_EQ(doc->m_subject.Lastname, "");
    EXPECT_EQ(doc->m_subject.Modified + doc->m_bAudDataFilled + doc->m_bAudOtherFilled, 0);
    EXPECT_EQ(doc->CiLoaded + doc->SllLoaded + doc->ParticipationLoaded + doc->ConsentNotice, 0);
    EXPECT_EQ(doc->m_nHistoryCount + doc->m_bHistoryLoaded, 0);
    EXPECT_EQ(doc->m_nHistoryPos, 1);
    EXPECT_TRUE(doc->m_audHistory.empty() && doc->m_audCurrent.Points.empty());
    EXPECT_EQ(doc->m_audCurrent.Speech.MatR, " ");
    EXPECT_TRUE(doc->m_ciData.Devices.empty() && doc->m_ciSpeechList.empty() && doc->m_speechTestList.empty());
}
