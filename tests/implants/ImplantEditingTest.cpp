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
