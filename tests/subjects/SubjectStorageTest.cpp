// The rules of loading and saving a subject.

#include "app/DocumentFixture.h"

using quorin::UserInterface;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

const QString kSubjects = QStringLiteral("select count(*) as num from subjects");

} // namespace

TEST_F(DocumentTest, DatesAreStoredByTheirRulesAndASubjectWithoutUnitIsFoundByName)
{
    CSubject s = DistinctSubject();
    s.LetterReturned = "nr"; // no reply: stored as 1901, shown as NR
    s.DateEntry = "";        // entry and last consent default to the initial consent
    s.DateLast = "";
    s.Birth = "4\\9\\1987";
    s.Unit = "";
    doc->m_subject = s;
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(doc->m_subject.LetterReturned, "01/01/1901");
    doc->ClearDocument();
    // Found by its names without a unit, which was stored as 0.
    EXPECT_EQ(doc->LoadSubject("", "", "", "01/01/2000"), 0); // nothing to search for
    ASSERT_NE(doc->LoadSubject("", "Lee", "Morgan", ""), 0);
    EXPECT_EQ(doc->m_subject.Unit, "0");
    EXPECT_EQ(doc->m_subject.LetterReturned, "NR");
    EXPECT_EQ(doc->m_subject.DateEntry, "06/03/2018");
    EXPECT_EQ(doc->m_subject.DateLast, "06/03/2018");
    EXPECT_EQ(doc->m_subject.Birth, "04/09/1987");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Scalar("Quorin", "select convert(char, returned, 101) as r from subjects", "r"), "01/01/1901");
}

// In a bulk update a save without the required fields says nothing and asks no page to
// hand over; a page that refuses to hand over (a field whose check failed) stops the save
// before anything is written.
TEST_F(DocumentTest, ABulkSaveWithoutRequiredFieldsIsSilentAndARefusedHandOverStoresNothing)
{
    doc->m_subject = DistinctSubject();
    doc->m_subject.DateInitial = "";
    doc->Interactive = 0;
    view.hints.clear();
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(view.hints.empty());

    doc->Interactive = 1;
    doc->m_subject = DistinctSubject();
    doc->m_subject.Modified = 1;
    view.refuseHandOver = true;
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_EQ(Count("Quorin", kSubjects), 0);
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
}

TEST_F(DocumentTest, OBrienIsFoundAndSavedAndAQuoteInASearchTouchesNothingElse)
{
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int bystander = doc->m_subject.SubjectID;

    CSubject s = DistinctSubject();
    s.Lastname = "O'Brien";
    s.Firstname = "Sea'n";
    s.Unit = "5000";
    s.Birth = "02/03/1970";
    doc->m_subject = s;
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_TRUE(ui.Messages().empty());
    const int id = doc->m_subject.SubjectID;

    // The duplicate check with a quote in the name finds O'Brien.
    doc->m_subject = s;
    doc->m_subject.SubjectID = -1;
    EXPECT_EQ(doc->IsPossibleDuplicate(), 1);
    // A search text with a quote and a semicolon finds nothing and changes nothing.
    doc->m_subject.Lastname = "x'; delete from subjects; --";
    EXPECT_EQ(doc->IsPossibleDuplicate(), 0);
    // Pattern characters in a typed name are letters: "O_Brien" and "[O]'Brien" are
    // other people, and "O'BRIEN" is the same one.
    doc->m_subject.Lastname = "O_Brien";
    EXPECT_EQ(doc->IsPossibleDuplicate(), 0);
    doc->m_subject.Lastname = "[O]'Brien";
    EXPECT_EQ(doc->IsPossibleDuplicate(), 0);
    doc->m_subject.Lastname = "O'BRIEN";
    EXPECT_EQ(doc->IsPossibleDuplicate(), 1);
    EXPECT_EQ(doc->LoadSubject("", "x'; delete from subjects; --", "a';drop table aud;", ""), 0);
    EXPECT_EQ(Count("Quorin", kSubjects), 2);

    ASSERT_NE(doc->LoadSubject("", "O'Brien", "Sea'n", "02/03/1970"), 0);
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    ASSERT_NE(doc->LoadSubject("5000", "O'Brien", "Sea'n", ""), 0);
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(doc->m_subject.Lastname, "O'Brien");
    ASSERT_NE(doc->LoadSubjectById(bystander), 0);
    EXPECT_EQ(doc->m_subject.Lastname, "Lee");
}

TEST_F(DocumentTest, AFailedWriteIsReportedAndKeepsTheFlags)
{
    doc->m_subject = DistinctSubject();
    doc->m_subject.Modified = 1;
    registry.ExecRaw("Quorin", "create trigger refuse_subject before insert on subjects "
                               "begin select raise(abort, 'refused'); end");
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_EQ(ui.Texts(), QStringList{"There has been an error writing the Subject information!"});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
    EXPECT_FALSE(TakeErrors().empty()); // the session showed the provider's error
}
