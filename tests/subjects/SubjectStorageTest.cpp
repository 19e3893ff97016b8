// The edge cases of loading and saving a subject.

#include "app/DocumentFixture.h"

using quorin::UserInterface;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

const QString kDuplicateQuestion =
    "One or more subjects with similar details already exists. Use Lookup button to see details. "
    "Are you sure you want to add subject?";

} // namespace

TEST_F(DocumentTest, LoadSubjectWithNothingToSearchForReturnsZeroAndAClearedDocument)
{
    doc->m_subject.Lastname = "Stale";
    EXPECT_EQ(doc->LoadSubject("", "", "", "01/01/2000"), 0);
    EXPECT_EQ(doc->m_subject.Lastname, "");
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
}

TEST_F(DocumentTest, NamesWithoutUnitAreSavedAndFoundWithUnitZero)
{
    CSubject s = DistinctSubject();
    s.Unit = "";
    doc->m_subject = s;
    CSpeechTest speech;
    speech.TestId = -100;
    speech.TestName = "CELF";
    doc->m_speechTestList = {speech};
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Scalar("Quorin", "select unit from subjects", "unit"), "0");

    // A load by name reads what a load by id reads, and every page shows it.
    view.hints.clear();
    EXPECT_NE(doc->LoadSubject("", "Lee", "Morgan", ""), 0);
    EXPECT_EQ(doc->m_subject.Unit, "0");
    EXPECT_EQ(doc->m_subject.Firstname, "Morgan");
    ASSERT_EQ(doc->m_speechTestList.size(), 1u);
    EXPECT_EQ(doc->m_speechTestList[0].TestName, "CELF");
    EXPECT_EQ(view.hints, (std::vector<int>{CDocumentView::HintRefresh, CDocumentView::HintShowAudiogram,
                                            CDocumentView::HintRefresh}));
}

TEST_F(DocumentTest, ALetterNotReturnedIsStoredAs1901AndShownAsNR)
{
    CSubject s = DistinctSubject();
    s.LetterReturned = "nr";
    doc->m_subject = s;
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(doc->m_subject.LetterReturned, "01/01/1901");
    EXPECT_EQ(Scalar("Quorin", "select convert(char, returned, 101) as r from subjects", "r"), "01/01/1901");

    ASSERT_NE(doc->LoadSubjectById(doc->m_subject.SubjectID), 0);
    EXPECT_EQ(doc->m_subject.LetterReturned, "NR");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Scalar("Quorin", "select convert(char, returned, 101) as r from subjects", "r"), "01/01/1901");
}

TEST_F(DocumentTest, EntryAndLastConsentDefaultToTheInitialConsent)
{
    CSubject s = DistinctSubject();
    s.DateEntry = "";
    s.DateLast = "";
    doc->m_subject = s;
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_NE(doc->LoadSubjectById(doc->m_subject.SubjectID), 0);
    EXPECT_EQ(doc->m_subject.DateEntry, "06/03/2018");
    EXPECT_EQ(doc->m_subject.DateLast, "06/03/2018");
}

TEST_F(DocumentTest, ASaveWithoutRequiredFieldsSaysSoAndStoresNothing)
{
    CSubject s = DistinctSubject();
    s.DateInitial = "";
    doc->m_subject = s;
    doc->m_subject.Modified = 1;
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_EQ(ui.Texts(), QStringList{"You must enter a Last Name, First Name, Birth Date and Initial "
                                      "Consent date before saving."});
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 0);
}

TEST_F(DocumentTest, ABulkSaveWithoutRequiredFieldsStaysSilent)
{
    doc->Interactive = 0;
    doc->m_subject = DistinctSubject();
    doc->m_subject.Birth = "";
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(view.hints.empty()); // no hand-over in a bulk update
}

TEST_F(DocumentTest, ARefusedHandOverStopsTheSaveBeforeAnythingIsWritten)
{
    doc->m_subject = DistinctSubject();
    doc->m_subject.Modified = 1;
    view.refuseHandOver = true;
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 0);
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
}

TEST_F(DocumentTest, APossibleDuplicateIsAskedAboutAndNoCancels)
{
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_TRUE(ui.Messages().empty());

    // Same names, other birth date and unit: still a possible duplicate.
    CSubject twin = DistinctSubject();
    twin.Birth = "01/01/2001";
    twin.Unit = "9999";
    doc->m_subject = twin;
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_EQ(ui.Texts(), QStringList{kDuplicateQuestion});
    EXPECT_EQ(ui.Messages()[0].buttons, UserInterface::Buttons::YesNo);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 1);

    ui.AnswerNext(UserInterface::Answer::Yes);
    EXPECT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 2);

    // A stored subject is never asked about.
    ui.ClearMessages();
    EXPECT_EQ(doc->SaveSubject(), 1);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(DocumentTest, AnUnknownZipIsStoredWithZoneTenAKnownOneWithItsZone)
{
    registry.ExecRaw("Quorin", "insert into zones (Zip, DZone) values (68131, 3)");
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    CSubject other = DistinctSubject();
    other.Lastname = "Other";
    other.Zip = "12345";
    doc->m_subject = other;
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Scalar("Quorin", "select zone from subjects where lastname = 'Lee'", "zone"), "3");
    EXPECT_EQ(Scalar("Quorin", "select zone from subjects where lastname = 'Other'", "zone"), "10");
}

TEST_F(DocumentTest, TheStatusWordIsWrittenIntoTheAudiogramManager)
{
    registry.ExecRaw("Aud", "insert into info (PatientNum, Date, Birthdate, LastName, FirstName) values "
                            "(4711, '2020-01-01 00:00:00.000', '1987-04-09 00:00:00.000', 'Lee', 'Morgan'),"
                            "(4711, '2020-01-01 00:00:00.000', '1999-09-09 00:00:00.000', 'Lee', 'Other'),"
                            "(4712, '2020-01-01 00:00:00.000', '1987-04-09 00:00:00.000', 'Else', 'One')");
    const struct {
        int status;
        const char* word;
    } cases[] = {{0, "Yes"}, {1, "Declined"}, {2, "No"}, {3, "No"}, {-1, "No"}};
    doc->m_subject = DistinctSubject();
    for (const auto& c : cases) {
        doc->m_subject.Status = c.status;
        ASSERT_EQ(doc->SaveSubject(), 1);
        EXPECT_EQ(Scalar("Aud", "select Velmar from info where firstname = 'Morgan'", "Velmar"), c.word)
            << c.status;
    }
    // Only the patient with that number and birth date.
    EXPECT_EQ(Scalar("Aud", "select Velmar from info where firstname = 'Other'", "Velmar"), "");
    EXPECT_EQ(Scalar("Aud", "select Velmar from info where patientnum = 4712", "Velmar"), "");
}

TEST_F(DocumentTest, AUnitThatIsNoNumberNeverReachesTheAudiogramManager)
{
    registry.ExecRaw("Aud", "insert into info (PatientNum, Birthdate) values (0, '1987-04-09 00:00:00.000')");
    CSubject s = DistinctSubject();
    s.Status = 0;
    s.Unit = "12 or 1=1";
    doc->m_subject = s;
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Scalar("Aud", "select Velmar from info", "Velmar"), "");
    EXPECT_TRUE(ui.Messages().empty());
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
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 2);

    ASSERT_NE(doc->LoadSubject("", "O'Brien", "Sea'n", "02/03/1970"), 0);
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    ASSERT_NE(doc->LoadSubject("5000", "O'Brien", "Sea'n", ""), 0);
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(doc->m_subject.Lastname, "O'Brien");
    ASSERT_NE(doc->LoadSubjectById(bystander), 0);
    EXPECT_EQ(doc->m_subject.Lastname, "Lee");
}

TEST_F(DocumentTest, ADateTypedWithBackslashesIsStoredAsTheDate)
{
    CSubject s = DistinctSubject();
    s.Birth = "4\\9\\1987";
    doc->m_subject = s;
    ASSERT_EQ(doc->SaveSubject(), 1);
    ASSERT_NE(doc->LoadSubjectById(doc->m_subject.SubjectID), 0);
    EXPECT_EQ(doc->m_subject.Birth, "04/09/1987");
}

TEST_F(DocumentTest, TheConsentNoticeFollowsTheConsentReportsRule)
{
    // Today is 6/15/2026: 24 calendar months back is 6/2024.
    const struct {
        const char* lastConsent;
        int status;
        int notice;
    } cases[] = {{"05/31/2024", 0, 1}, {"06/01/2024", 0, 0}, {"06/30/2024", 0, 0},
                 {"01/01/2020", 1, 0}, {"01/01/2020", 2, 0}, {"07/04/2025", 0, 0}};
    int n = 0;
    for (const auto& c : cases) {
        CSubject s = DistinctSubject();
        s.Lastname = QStringLiteral("Case%1").arg(++n);
        s.DateLast = c.lastConsent;
        s.Status = c.status;
        s.Unit = "";
        doc->m_subject = s;
        doc->m_subject.SubjectID = -1;
        const int saved = doc->SaveSubject();
        ASSERT_EQ(saved, 1);
        ASSERT_NE(doc->LoadSubjectById(doc->m_subject.SubjectID), 0);
        EXPECT_EQ(doc->ConsentNotice, c.notice) << c.lastConsent << " status " << c.status;
    }
    doc->ClearDocument();
    EXPECT_EQ(doc->ConsentNotice, 0);
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
