// Adding, editing and deleting speech tests without a screen: the editor is a lambda
// standing in for the dialog, the boxes go to the scripted user interface, and what
// reaches the registry is read back on a second session.

#include "app/DocumentFixture.h"
#include "implants/store/SpeechTestEditing.h"

#include <set>

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

// The dialog as a user fills it: a name and the given Age-Equivalent.
quorin::SpeechTestEditor Typing(const char* name, int ageEquivalent = 0)
{
    return [name, ageEquivalent](CSpeechTest& t) {
        t.TestName = QString::fromLatin1(name);
        t.TestDate = QStringLiteral("3/15/2008");
        t.TestedBy = QStringLiteral("Dana Reyes");
        t.AgeEquivalent = ageEquivalent;
        return true;
    };
}

bool Cancel(CSpeechTest&)
{
    return false;
}

std::vector<int> Ids(const std::vector<CSpeechTest>& list)
{
    std::vector<int> ids;
    for (const CSpeechTest& t : list)
        ids.push_back(t.TestId);
    return ids;
}

class SpeechTestEditing : public DocumentTest {
protected:
    // A stored subject with nothing pending.
    void StoreSubject()
    {
        doc->m_subject = DistinctSubject();
        ASSERT_EQ(doc->SaveSubject(), 1);
        view.hints.clear();
    }
    int Stored(const QString& where = QStringLiteral("1 = 1")) const
    {
        return Count("Quorin", QStringLiteral("select count(*) as num from speech where ") + where);
    }
};

TEST_F(SpeechTestEditing, AddedTestsGetTheCountedIdsAndMarkTheSubjectModified)
{
    EXPECT_TRUE(quorin::AddSpeechTest(*doc, Typing("CELF", 55)));
    EXPECT_TRUE(quorin::AddSpeechTest(*doc, Typing("MLU")));
    EXPECT_EQ(Ids(doc->m_speechTestList), (std::vector<int>{-100, -99}));
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->m_speechTestList[0].AgeEquivalent, 55);
    EXPECT_EQ(quorin::SpeechTestRowTexts(doc->m_speechTestList[0])[9], "4,7");
    EXPECT_EQ(quorin::SpeechTestRowTexts(doc->m_speechTestList[0])[quorin::kSpeechTestIdColumn], "-100");

    // Cancel adds nothing and leaves the flag alone.
    doc->m_subject.Modified = 0;
    EXPECT_FALSE(quorin::AddSpeechTest(*doc, Cancel));
    EXPECT_EQ(doc->m_speechTestList.size(), 2u);
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

TEST_F(SpeechTestEditing, IdsStayUniqueAfterADeleteAndNeverReachStoredOnes)
{
    for (const char* name : {"CELF", "MLU", "GFTA"})
        quorin::AddSpeechTest(*doc, Typing(name));
    ASSERT_TRUE(quorin::DeleteSpeechTest(*doc, -100));
    // Two tests left: the count gives -98 again, which GFTA holds.
    ASSERT_TRUE(quorin::AddSpeechTest(*doc, Typing("PPVT-III")));
    EXPECT_EQ(Ids(doc->m_speechTestList), (std::vector<int>{-99, -98, -100}));
    // Edit and Delete now reach exactly the test they name.
    ASSERT_TRUE(quorin::EditSpeechTest(*doc, -98, [](CSpeechTest& t) {
        t.Comments = QStringLiteral("re-scored");
        return true;
    }));
    EXPECT_EQ(doc->m_speechTestList[1].TestName, "GFTA");
    EXPECT_EQ(doc->m_speechTestList[1].Comments, "re-scored");
    EXPECT_TRUE(doc->m_speechTestList[2].Comments.isEmpty());
}

TEST_F(SpeechTestEditing, MoreThanAHundredTestsNeverTakeAStoredIdOfAnotherSubject)
{
    // Another subject owns stored test 1.
    StoreSubject();
    doc->m_speechTestList.clear();
    quorin::AddSpeechTest(*doc, Typing("Rosetti"));
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_EQ(Ids(doc->m_speechTestList), (std::vector<int>{1}));
    const int owner = doc->m_subject.SubjectID;

    doc->m_subject = DistinctSubject();
    doc->m_subject.Lastname = QStringLiteral("OTHER");
    doc->m_subject.Firstname = QStringLiteral("ANOTHER");
    doc->m_subject.Unit = QStringLiteral("990077");
    doc->m_speechTestList.clear();
    // With 101 tests listed the count reaches 1.
    for (int i = 0; i < 102; ++i)
        ASSERT_TRUE(quorin::AddSpeechTest(*doc, Typing("CASL")));
    std::set<int> ids;
    for (const CSpeechTest& t : doc->m_speechTestList) {
        EXPECT_LT(t.TestId, 1);
        ids.insert(t.TestId);
    }
    EXPECT_EQ(ids.size(), 102u);
    EXPECT_EQ(doc->m_speechTestList[100].TestId, 0);
    EXPECT_EQ(doc->m_speechTestList.back().TestId, -101);

    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Stored(QStringLiteral("SubjectId = %1").arg(doc->m_subject.SubjectID)), 102);
    EXPECT_EQ(Scalar("Quorin", "select TestName from speech where TestId = 1", "TestName"), "Rosetti");
    EXPECT_EQ(Scalar("Quorin", "select SubjectId from speech where TestId = 1", "SubjectId").toInt(), owner);
}

TEST_F(SpeechTestEditing, EditAndDeleteWithoutASelectionSayWhyAndChangeNothing)
{
    quorin::AddSpeechTest(*doc, Typing("CELF"));
    doc->m_subject.Modified = 0;
    bool opened = false;
    EXPECT_FALSE(quorin::EditSpeechTest(*doc, std::nullopt, [&opened](CSpeechTest&) { return opened = true; }));
    EXPECT_FALSE(quorin::DeleteSpeechTest(*doc, std::nullopt));
    EXPECT_FALSE(opened);
    ASSERT_EQ(ui.Messages().size(), 2u);
    for (const auto& m : ui.Messages()) {
        EXPECT_EQ(m.text, "Please make a selection!");
        EXPECT_EQ(m.icon, quorin::UserInterface::Icon::Stop);
    }
    // An id that matches no test does nothing either, and asks nothing.
    ui.ClearMessages();
    EXPECT_FALSE(quorin::EditSpeechTest(*doc, 42, [&opened](CSpeechTest&) { return opened = true; }));
    EXPECT_FALSE(quorin::DeleteSpeechTest(*doc, 42));
    EXPECT_FALSE(opened);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(doc->m_speechTestList.size(), 1u);
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

TEST_F(SpeechTestEditing, EditCancelledKeepsTheTestAndEditOkKeepsItsId)
{
    quorin::AddSpeechTest(*doc, Typing("CELF", 30));
    doc->m_subject.Modified = 0;
    EXPECT_FALSE(quorin::EditSpeechTest(*doc, -100, [](CSpeechTest& t) {
        t.TestName = QStringLiteral("changed");
        return false;
    }));
    EXPECT_EQ(doc->m_speechTestList[0].TestName, "CELF");
    EXPECT_EQ(doc->m_subject.Modified, 0);

    // The editor sees the stored values and cannot move the test to another id.
    EXPECT_TRUE(quorin::EditSpeechTest(*doc, -100, [](CSpeechTest& t) {
        EXPECT_EQ(t.AgeEquivalent, 30);
        t.TestId = 7;
        t.Lab = QStringLiteral("CCD");
        return true;
    }));
    EXPECT_EQ(doc->m_speechTestList[0].TestId, -100);
    EXPECT_EQ(doc->m_speechTestList[0].Lab, "CCD");
    EXPECT_EQ(doc->m_subject.Modified, 1);
}

TEST_F(SpeechTestEditing, DeletingAStoredTestRemovesItAtOnceAndAnUnsavedOneTouchesNothing)
{
    StoreSubject();
    quorin::AddSpeechTest(*doc, Typing("CELF"));
    quorin::AddSpeechTest(*doc, Typing("MLU"));
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_EQ(Stored(), 2);
    const int celf = doc->m_speechTestList[0].TestId;

    quorin::AddSpeechTest(*doc, Typing("GFTA"));
    const int unsaved = doc->m_speechTestList.back().TestId;
    ASSERT_LT(unsaved, 1);
    EXPECT_TRUE(quorin::DeleteSpeechTest(*doc, unsaved));
    EXPECT_EQ(Stored(), 2);

    EXPECT_TRUE(quorin::DeleteSpeechTest(*doc, celf));
    EXPECT_EQ(Stored(), 1);
    EXPECT_EQ(Stored(QStringLiteral("TestName = 'MLU'")), 1);
    ASSERT_EQ(doc->m_speechTestList.size(), 1u);
    EXPECT_EQ(doc->m_speechTestList[0].TestName, "MLU");
}

TEST_F(SpeechTestEditing, AFailedDeleteKeepsTheRowAndTheTest)
{
    StoreSubject();
    quorin::AddSpeechTest(*doc, Typing("CELF"));
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_speechTestList[0].TestId;
    registry.ExecRaw("Quorin", "create trigger keep_tests before delete on speech "
                               "begin select raise(abort, 'kept'); end");
    EXPECT_FALSE(quorin::DeleteSpeechTest(*doc, id));
    EXPECT_FALSE(TakeErrors().empty()); // the session's box said why
    ASSERT_EQ(doc->m_speechTestList.size(), 1u);
    EXPECT_EQ(doc->m_speechTestList[0].TestId, id);
    EXPECT_EQ(Stored(), 1);
}

TEST_F(SpeechTestEditing, AStoringSaveTellsTheViewsAndAFailedOneDoesNot)
{
    StoreSubject();
    quorin::AddSpeechTest(*doc, Typing("CELF"));
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(std::count(view.hints.begin(), view.hints.end(), CDocumentView::HintSpeechTestsStored), 1);
    // By the time the views hear of it, the list holds the stored ids.
    std::vector<int> seen;
    view.onUpdate = [&](int hint) {
        if (hint == CDocumentView::HintSpeechTestsStored)
            seen = Ids(doc->m_speechTestList);
    };
    quorin::AddSpeechTest(*doc, Typing("MLU"));
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_GE(seen[1], 1);

    view.hints.clear();
    registry.ExecRaw("Quorin", "create trigger refuse_test before insert on speech "
                               "begin select raise(abort, 'refused'); end");
    quorin::AddSpeechTest(*doc, Typing("GFTA"));
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(std::count(view.hints.begin(), view.hints.end(), CDocumentView::HintSpeechTestsStored), 0);
    EXPECT_EQ(doc->m_speechTestList.size(), 3u);
}

TEST_F(SpeechTestEditing, AgeAtTestIsCountedInWholeMonths)
{
    EXPECT_EQ(quorin::AgeAtTestText(*doc, "3/15/2003", "3/15/2008"), "5yrs 0mos");
    EXPECT_EQ(quorin::AgeAtTestText(*doc, "03/15/2003", "10/20/2008"), "5yrs 7mos");
    EXPECT_EQ(quorin::AgeAtTestText(*doc, "3/15/2003", ""), "");
    EXPECT_EQ(quorin::AgeAtTestText(*doc, "", "3/15/2008"), "");
    EXPECT_EQ(quorin::AgeAtTestText(*doc, "3/15/2003", "13/45/2008"), "");
    EXPECT_EQ(quorin::AgeAtTestText(*doc, "3/15/2003", "3/15/2001"), "");
}

TEST_F(SpeechTestEditing, TestersAreDistinctAndSorted)
{
    std::vector<CSpeechTest> list(4);
    list[0].TestedBy = QStringLiteral("Reyes");
    list[1].TestedBy = QStringLiteral("  ");
    list[2].TestedBy = QStringLiteral("Abbott");
    list[3].TestedBy = QStringLiteral("reyes");
    EXPECT_EQ(quorin::SpeechTesters(list), (QStringList{"Abbott", "Reyes"}));
}

} // namespace
