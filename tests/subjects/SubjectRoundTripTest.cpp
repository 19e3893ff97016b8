// A subject with every field distinct goes through the real procedures, new and then
// updated, and comes back whole: a parameter bound out of order shows up as a swapped
// field.

#include "app/DocumentFixture.h"

#include "dalport/Clock.h"

#include <vector>

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

using Text = QString CSubject::*;
using Number = int CSubject::*;

const std::vector<Text> kTexts = {
    &CSubject::Cochlear, &CSubject::CochlearImplant, &CSubject::Address, &CSubject::City, &CSubject::Email,
    &CSubject::EnteredBy, &CSubject::Ethnicity, &CSubject::Race, &CSubject::Firstname, &CSubject::Sex,
    &CSubject::PrimaryLang, &CSubject::Lastname, &CSubject::Notes, &CSubject::PatImpression, &CSubject::Phone1,
    &CSubject::Phone1Type, &CSubject::Phone2, &CSubject::Phone2Type, &CSubject::State, &CSubject::Recruitment,
    &CSubject::Parent, &CSubject::Contact, &CSubject::ScreeningImpr, &CSubject::Bilingual, &CSubject::LossType,
    &CSubject::School, &CSubject::CurrentSpeech, &CSubject::PastSpeech};
const std::vector<Text> kDates = {&CSubject::Birth,    &CSubject::DateEntry,  &CSubject::DateInitial,
                                  &CSubject::DateLast, &CSubject::LetterSent, &CSubject::LetterReturned};
const std::vector<Number> kNumbers = {&CSubject::Status,   &CSubject::Longterm, &CSubject::Shortterm, &CSubject::Workday,
                                      &CSubject::Evenings, &CSubject::Weekends, &CSubject::Other};

// Every stored field, in one list to compare whole (dates come back as MM/DD/YYYY).
QStringList Fields(const CSubject& s)
{
    QStringList out = {s.Unit, s.Zip, s.DateUpdate};
    for (Text f : kTexts)
        out << s.*f;
    for (Text f : kDates)
        out << s.*f;
    for (Number f : kNumbers)
        out << QString::number(s.*f);
    return out;
}

// Another value in every field: each text changed, each date and number moved one field on.
CSubject Changed(CSubject s)
{
    for (Text f : kTexts)
        s.*f += QStringLiteral("2");
    const QString firstDate = s.*kDates.front();
    for (std::size_t i = 0; i + 1 < kDates.size(); ++i)
        s.*kDates[i] = s.*kDates[i + 1];
    s.*kDates.back() = firstDate;
    for (Number f : kNumbers)
        s.*f += 10;
    s.Unit = QStringLiteral("4712");
    s.Zip = QStringLiteral("51501");
    return s;
}

} // namespace

TEST_F(DocumentTest, ASubjectIsStoredNewAndUpdatedAndLoadsBackWhole)
{
    CSubject typed = DistinctSubject();
    doc->m_subject = typed;
    doc->m_subject.Modified = 1;
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    ASSERT_GT(id, 0);
    EXPECT_EQ(doc->m_subject.Modified, 0);
    EXPECT_EQ(view.hints.front(), CDocumentView::HintHandOver); // every page handed over its edits first
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    typed.DateUpdate = QStringLiteral("06/15/2026");
    EXPECT_EQ(Fields(doc->m_subject), Fields(typed));

    dalport::SetFixedClock("2026-07-01 09:00:00");
    CSubject changed = Changed(doc->m_subject);
    doc->m_subject = changed;
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 1);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    changed.DateUpdate = QStringLiteral("07/01/2026");
    EXPECT_EQ(Fields(doc->m_subject), Fields(changed));
}
