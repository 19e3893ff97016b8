// A subject with every field distinct goes through the real procedures and comes back
// equal: any parameter bound out of order shows up as a swapped field.

#include "app/DocumentFixture.h"

#include "dalport/Clock.h"

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

// Dates come back as MM/DD/YYYY.
void ExpectSameSubject(const CSubject& a, const CSubject& b, const QString& today)
{
    EXPECT_EQ(a.Cochlear, b.Cochlear);
    EXPECT_EQ(a.CochlearImplant, b.CochlearImplant);
    EXPECT_EQ(a.Address, b.Address);
    EXPECT_EQ(a.Birth, b.Birth);
    EXPECT_EQ(a.City, b.City);
    EXPECT_EQ(a.DateEntry, b.DateEntry);
    EXPECT_EQ(a.DateInitial, b.DateInitial);
    EXPECT_EQ(a.DateLast, b.DateLast);
    EXPECT_EQ(b.DateUpdate, today);
    EXPECT_EQ(a.Email, b.Email);
    EXPECT_EQ(a.EnteredBy, b.EnteredBy);
    EXPECT_EQ(a.Ethnicity, b.Ethnicity);
    EXPECT_EQ(a.Race, b.Race);
    EXPECT_EQ(a.Firstname, b.Firstname);
    EXPECT_EQ(a.Sex, b.Sex);
    EXPECT_EQ(a.PrimaryLang, b.PrimaryLang);
    EXPECT_EQ(a.Lastname, b.Lastname);
    EXPECT_EQ(a.Notes, b.Notes);
    EXPECT_EQ(a.PatImpression, b.PatImpression);
    EXPECT_EQ(a.Phone1, b.Phone1);
    EXPECT_EQ(a.Phone1Type, b.Phone1Type);
    EXPECT_EQ(a.Phone2, b.Phone2);
    EXPECT_EQ(a.Phone2Type, b.Phone2Type);
    EXPECT_EQ(a.Status, b.Status);
    EXPECT_EQ(a.State, b.State);
    EXPECT_EQ(a.Unit, b.Unit);
    EXPECT_EQ(a.Zip, b.Zip);
    EXPECT_EQ(a.Longterm, b.Longterm);
    EXPECT_EQ(a.Shortterm, b.Shortterm);
    EXPECT_EQ(a.Workday, b.Workday);
    EXPECT_EQ(a.Evenings, b.Evenings);
    EXPECT_EQ(a.Weekends, b.Weekends);
    EXPECT_EQ(a.Other, b.Other);
    EXPECT_EQ(a.Recruitment, b.Recruitment);
    EXPECT_EQ(a.ScreeningImpr, b.ScreeningImpr);
    EXPECT_EQ(a.Parent, b.Parent);
    EXPECT_EQ(a.Contact, b.Contact);
    EXPECT_EQ(a.LetterSent, b.LetterSent);
    EXPECT_EQ(a.LetterReturned, b.LetterReturned);
    EXPECT_EQ(a.Bilingual, b.Bilingual);
    EXPECT_EQ(a.LossType, b.LossType);
    EXPECT_EQ(a.School, b.School);
    EXPECT_EQ(a.CurrentSpeech, b.CurrentSpeech);
    EXPECT_EQ(a.PastSpeech, b.PastSpeech);
}

CSubject ChangedSubject(int id)
{
    CSubject s;
    s.SubjectID = id;
    s.Cochlear = "Simultaneous";
    s.CochlearImplant = "No";
    s.Address = "9 Oak Road";
    s.Birth = "11/12/1990";
    s.City = "Omaha";
    s.DateEntry = "01/13/2020";
    s.DateInitial = "02/14/2019";
    s.DateLast = "03/15/2026";
    s.Email = "m.lee@example.org";
    s.EnteredBy = "asmith";
    s.Ethnicity = "Hispanic";
    s.Race = "White";
    s.Firstname = "Morgana";
    s.Sex = "Not Reported";
    s.PrimaryLang = "Spanish";
    s.Lastname = "Lee-Park";
    s.Notes = "moved";
    s.PatImpression = "Normal Hearing";
    s.Phone1 = "555-0303";
    s.Phone1Type = "Work";
    s.Phone2 = "555-0404";
    s.Phone2Type = "Pager";
    s.Status = 3;
    s.State = "IA";
    s.Unit = "4712";
    s.Zip = "51501";
    s.Longterm = 6;
    s.Shortterm = 5;
    s.Workday = 4;
    s.Evenings = 3;
    s.Weekends = 2;
    s.Other = 1;
    s.Recruitment = "Clinic";
    s.ScreeningImpr = "Hearing Impaired";
    s.Parent = "Kim Park";
    s.Contact = "U.S. Mail";
    s.LetterSent = "04/16/2025";
    s.LetterReturned = "05/17/2025";
    s.Bilingual = "Yes";
    s.LossType = "Unilateral";
    s.School = "Home Schooled";
    s.CurrentSpeech = "Yes";
    s.PastSpeech = "Unknown";
    return s;
}

} // namespace

TEST_F(DocumentTest, ANewSubjectIsStoredAndLoadsBackFieldByField)
{
    const CSubject typed = DistinctSubject();
    doc->m_subject = typed;
    doc->m_subject.Modified = 1;
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    ASSERT_GT(id, 0);
    EXPECT_EQ(doc->m_subject.Modified, 0);
    EXPECT_EQ(view.hints.front(), 1); // every page handed over its edits first

    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    ExpectSameSubject(typed, doc->m_subject, "06/15/2026");
    EXPECT_EQ(view.hints.back(), 0);
}

TEST_F(DocumentTest, AnUpdatedSubjectLoadsBackFieldByField)
{
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;

    dalport::SetFixedClock("2026-07-01 09:00:00");
    const CSubject changed = ChangedSubject(id);
    doc->m_subject = changed;
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 1);

    ASSERT_NE(doc->LoadSubjectById(id), 0);
    ExpectSameSubject(changed, doc->m_subject, "07/01/2026");
}

TEST_F(DocumentTest, LoadSubjectFindsByUnitAndNamesAndKeepsTheTypedUnit)
{
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    doc->ClearDocument();

    EXPECT_NE(doc->LoadSubject("4711", "Lee", "Morgan", "04/09/1987"), 0);
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(doc->m_subject.Unit, "4711");
    ExpectSameSubject(DistinctSubject(), doc->m_subject, "06/15/2026");
}
