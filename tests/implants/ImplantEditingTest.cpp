// The implant lists and speech tests edited by the row the user picked, as the tabs call
// them: the editor is a lambda standing in for the dialog.

#include "app/DocumentFixture.h"
#include "implants/store/CiDataEditing.h"
#include "implants/store/SpeechTestEditing.h"

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

TEST_F(DocumentTest, CiRowsAreEditedAndDeletedAtThePositionGivenEvenAmongTwins)
{
    CCiSpeech twin;
    twin.DataType = "Post Implant";
    doc->m_ciSpeechList = {twin, twin};
    ASSERT_TRUE(quorin::EditCiSpeech(*doc, 1, [](CCiSpeech& r) {
        r.Score = 42.0f;
        r.DataType = "Pre Implant"; // the list the row is in does not change by editing
        return true;
    }));
    EXPECT_EQ(doc->m_ciSpeechList[0].Score, 0.0f);
    EXPECT_EQ(doc->m_ciSpeechList[1].Score, 42.0f);
    EXPECT_EQ(doc->m_ciSpeechList[1].DataType, "Post Implant");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    ASSERT_TRUE(quorin::DeleteCiSpeech(*doc, 1));
    ASSERT_EQ(doc->m_ciSpeechList.size(), 1u);
    EXPECT_EQ(doc->m_ciSpeechList[0].Score, 0.0f);

    // Past the end (a list refilled meanwhile) nothing changes; nothing selected says so.
    doc->m_ciData.Devices = {CCiDevice()};
    EXPECT_FALSE(quorin::DeleteCiSpeech(*doc, 5));
    EXPECT_FALSE(quorin::EditCiDevice(*doc, 3, [](CCiDevice&) { return true; }));
    EXPECT_FALSE(quorin::DeleteCiDevice(*doc, std::nullopt));
    EXPECT_EQ(ui.Texts(), QStringList{"Please make a selection!"});
    ASSERT_TRUE(quorin::DeleteCiDevice(*doc, 0));
    EXPECT_TRUE(doc->m_ciData.Devices.empty());
    // Age at implant only from a real birth before a real surgery.
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "3/7/2009", "9/7/2010"), 18);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "3/7/2009", "1/1/1900"), std::nullopt);
    EXPECT_EQ(quorin::AgeAtImplantMonths(*doc, "3/7/2009", "3/6/2009"), std::nullopt);
}

TEST_F(DocumentTest, SpeechTestsAreEditedByIdAndAStoredOneIsDeletedAtOnceUnlessRefused)
{
    const auto typing = [](const char* name) {
        return [name](CSpeechTest& t) {
            t.TestName = QString::fromLatin1(name);
            return true;
        };
    };
    doc->m_subject = DistinctSubject();
    quorin::AddSpeechTest(*doc, typing("CELF"));
    quorin::AddSpeechTest(*doc, typing("MLU"));
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int celf = doc->m_speechTestList[0].TestId;
    const int mlu = doc->m_speechTestList[1].TestId;

    // Nothing selected: the message; an id no test has: nothing. The editor cannot move a
    // test to another id.
    EXPECT_FALSE(quorin::EditSpeechTest(*doc, std::nullopt, typing("x")));
    EXPECT_FALSE(quorin::DeleteSpeechTest(*doc, 42));
    EXPECT_EQ(ui.Texts(), QStringList{"Please make a selection!"});
    EXPECT_TRUE(quorin::EditSpeechTest(*doc, mlu, [](CSpeechTest& t) {
        t.TestId = 7;
        t.Lab = QStringLiteral("CCD");
        return true;
    }));
    EXPECT_EQ(doc->m_speechTestList[1].TestId, mlu);
    EXPECT_EQ(doc->m_speechTestList[1].Lab, "CCD");
    EXPECT_EQ(quorin::AgeAtTestText(*doc, "03/15/2003", "10/20/2008"), "5yrs 7mos");
    EXPECT_EQ(quorin::AgeAtTestText(*doc, "3/15/2003", "3/15/2001"), "");

    // An unsaved test leaves the list only; a stored one leaves the registry at once.
    quorin::AddSpeechTest(*doc, typing("GFTA"));
    EXPECT_TRUE(quorin::DeleteSpeechTest(*doc, doc->m_speechTestList.back().TestId));
    EXPECT_TRUE(quorin::DeleteSpeechTest(*doc, celf));
    EXPECT_EQ(Count("Quorin", "select count(*) as num from speech"), 1);
    registry.ExecRaw("Quorin", "create trigger keep_tests before delete on speech "
                               "begin select raise(abort, 'kept'); end");
    EXPECT_FALSE(quorin::DeleteSpeechTest(*doc, mlu));
    EXPECT_FALSE(TakeErrors().empty()); // the session's box said why
    ASSERT_EQ(doc->m_speechTestList.size(), 1u);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from speech"), 1);
}

// What the tabs' lists show of each row, and a dialog closed with Cancel adding or
// changing nothing.
TEST_F(DocumentTest, RowsReadAsTheListsShowThemAndACancelledDialogChangesNothing)
{
    const auto cancel = [](auto&) { return false; };
    EXPECT_FALSE(quorin::AddCiSpeech(*doc, true, cancel));
    EXPECT_FALSE(quorin::AddCiDevice(*doc, cancel));
    EXPECT_FALSE(quorin::AddSpeechTest(*doc, cancel));
    EXPECT_TRUE(doc->m_ciSpeechList.empty() && doc->m_ciData.Devices.empty() && doc->m_speechTestList.empty());
    EXPECT_EQ(doc->m_subject.Modified, 0);

    ASSERT_TRUE(quorin::AddCiSpeech(*doc, false, [](CCiSpeech& r) {
        r.TestType = "Word Identification", r.TestName = "HINT", r.Condition = "Quiet", r.Score = -999.0f;
        return true;
    }));
    ASSERT_TRUE(quorin::AddCiDevice(*doc, [](CCiDevice& d) {
        d.Ear = "Left", d.Device = "Nucleus", d.SurgDate = "05/09/2025", d.AgeAtImplant = 29;
        return true;
    }));
    ASSERT_TRUE(quorin::EditCiDevice(*doc, 0, [](CCiDevice& d) {
        d.Status = "In Use";
        return true;
    }));
    EXPECT_FALSE(quorin::EditCiSpeech(*doc, 0, cancel));
    CCiSpeech post = doc->m_ciSpeechList[0];
    post.Score = 37.2f, post.TimeIS = 15;
    EXPECT_TRUE(quorin::IsPreImplant(doc->m_ciSpeechList[0]));
    EXPECT_EQ(quorin::CiSpeechRowTexts(doc->m_ciSpeechList[0], false),
              (QStringList{"Word Identification", "-1", "HINT", "Quiet", ""}));
    EXPECT_EQ(quorin::CiSpeechRowTexts(post, true), (QStringList{"Word Identification", "-1", "HINT", "Quiet", "37.20", "1yrs 3mos"}));
    EXPECT_EQ(quorin::CiDeviceRowTexts(doc->m_ciData.Devices[0]),
              (QStringList{"Left", "Nucleus", "", "05/09/2025", "", "2yr,5mo", "", "", "In Use", ""}));
    CCiDevice noAge;
    EXPECT_EQ(quorin::CiDeviceRowTexts(noAge)[5], "");

    std::vector<CSpeechTest> tests(3);
    tests[0].TestedBy = "smith ", tests[1].TestedBy = "Adams", tests[2].TestedBy = "SMITH";
    tests[0].TestName = "CELF", tests[0].TestId = 12, tests[0].AgeEquivalent = 41;
    EXPECT_EQ(quorin::SpeechTesters(tests), (QStringList{"Adams", "smith"}));
    EXPECT_EQ(quorin::SpeechTestRowTexts(tests[0]),
              (QStringList{"CELF", "12", "", "", "smith ", "", "", "", "", "3,5", "", "", ""}));
}
