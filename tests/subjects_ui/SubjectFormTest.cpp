// The Subject tab as a user fills it in: a new subject typed, chosen and saved, and what
// the registry holds afterwards.

#include "SubjectFormFixture.h"

#include <QPlainTextEdit>
#include <QTest>

using namespace res::subject;

namespace quorin::test {
namespace {

TEST_F(SubjectFormTest, NewSubjectTypedInIsStoredWithEveryField)
{
    registry.ExecRaw("Quorin", "insert into recruitment (method) values ('Flyer'), ('Word of Mouth')");
    TypeInto(Edit(IDC_LAST), QStringLiteral("Okafor"));
    TypeInto(Edit(IDC_FIRST), QStringLiteral("Ada"));
    TypeInto(Edit(IDC_PARENT), QStringLiteral("Ngozi Okafor"));
    TypeInto(Edit(IDC_UNIT), QStringLiteral("4711"));
    ChooseFromList(Combo(IDC_GENDER), 0); // sorted: Female, Male
    ChooseFromList(Combo(IDC_ETHNICITY), 1);
    ChooseFromList(Combo(IDC_RACE), 4);
    TypeInto(Edit(IDC_BIRTH), QStringLiteral("04/09/2012"));
    TypeInto(Edit(IDC_ADDRESS), QStringLiteral("12 Elm Street"));
    TypeInto(Edit(IDC_CITY), QStringLiteral("Madison"));
    TypeInto(Edit(IDC_STATE), QStringLiteral("wi"));
    TypeInto(Edit(IDC_ZIP), QStringLiteral("53705"));
    TypeInto(Edit(IDC_EMAIL), QStringLiteral("ada@example.org"));
    TypeInto(Edit(IDC_PHONE1), QStringLiteral("608-555-0101"));
    ChooseFromList(Combo(IDC_PHONE1_TYPE), 1); // sorted: Cell, Home, Pager, Work
    TypeInto(Edit(IDC_PHONE2), QStringLiteral("608-555-0202"));
    ChooseFromList(Combo(IDC_PHONE2_TYPE), 0);
    ChooseFromList(Combo(IDC_CONTACT), 4);
    auto notes = framework::FindControlAs<QPlainTextEdit>(form.get(), IDC_NOTES);
    QTest::mouseClick(notes->viewport(), Qt::LeftButton);
    QTest::keyClicks(notes, QStringLiteral("Prefers mornings"));
    TypeInto(Combo(IDC_SCHOOL), QStringLiteral("Verona Area"));
    ChooseFromList(Combo(IDC_LANGUAGE), Combo(IDC_LANGUAGE)->findText(QStringLiteral("Spanish")));
    ChooseFromList(Combo(IDC_BILINGUAL), Combo(IDC_BILINGUAL)->findText(QStringLiteral("Yes")));
    ChooseFromList(Combo(IDC_HEARING), 1);
    ChooseFromList(Combo(IDC_IMPLANT), 1);
    ChooseFromList(Combo(IDC_BILATERAL), 1);
    ChooseFromList(Combo(IDC_LOSSTYPE), Combo(IDC_LOSSTYPE)->findText(QStringLiteral("Bilateral")));
    ChooseFromList(Combo(IDC_SCREENING), Combo(IDC_SCREENING)->findText(QStringLiteral("Normal Hearing")));
    TypeInto(Edit(IDC_DATE_ENTRY), QStringLiteral("05/02/2020"));
    TypeInto(Edit(IDC_ENTERED_BY), QStringLiteral("jdoe"));
    ChooseFromList(Combo(IDC_STATUS), 2);
    // The method list comes from the registry when the list opens.
    ChooseFromList(Combo(IDC_RECRUITMENT), 1);
    TypeInto(Edit(IDC_DATE_INITIAL), QStringLiteral("06/03/2019"));
    TypeInto(Edit(IDC_DATE_LAST), QStringLiteral("07/04/2025"));
    TypeInto(Edit(IDC_LETTER_SENT), QStringLiteral("08/05/2024"));
    TypeInto(Edit(IDC_LETTER_RETURNED), QStringLiteral("nr"));
    EXPECT_EQ(doc->m_subject.Modified, 1);

    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(doc->m_subject.Modified, 0);

    auto s = StoredSubject();
    EXPECT_EQ(s->Text("Lastname"), QStringLiteral("OKAFOR"));
    EXPECT_EQ(s->Text("Firstname"), QStringLiteral("ADA"));
    EXPECT_EQ(s->Text("Parent"), QStringLiteral("NGOZI OKAFOR"));
    EXPECT_EQ(s->Int("Unit"), 4711);
    EXPECT_EQ(s->Text("Sex"), QStringLiteral("Female"));
    EXPECT_EQ(s->Text("Ethnicity"), QStringLiteral("Not Hispanic or Latino"));
    EXPECT_EQ(s->Text("Race"), QStringLiteral("White"));
    EXPECT_EQ(s->Text("Birth"), QStringLiteral("04/09/2012"));
    EXPECT_EQ(s->Text("Address"), QStringLiteral("12 Elm Street"));
    EXPECT_EQ(s->Text("City"), QStringLiteral("Madison"));
    EXPECT_EQ(s->Text("State"), QStringLiteral("WI"));
    EXPECT_EQ(s->Int("Zip"), 53705);
    EXPECT_EQ(s->Text("Email"), QStringLiteral("ada@example.org"));
    EXPECT_EQ(s->Text("Phone1"), QStringLiteral("608-555-0101"));
    EXPECT_EQ(s->Text("Phone1Type"), QStringLiteral("Home"));
    EXPECT_EQ(s->Text("Phone2"), QStringLiteral("608-555-0202"));
    EXPECT_EQ(s->Text("Phone2Type"), QStringLiteral("Cell"));
    EXPECT_EQ(s->Text("Contact"), QStringLiteral("Email"));
    EXPECT_EQ(s->Text("Notes"), QStringLiteral("Prefers mornings"));
    EXPECT_EQ(s->Text("School"), QStringLiteral("Verona Area"));
    EXPECT_EQ(s->Text("PrimaryLang"), QStringLiteral("Spanish"));
    EXPECT_EQ(s->Text("Bilingual"), QStringLiteral("Yes"));
    EXPECT_EQ(s->Text("PatImpression"), QStringLiteral("Hearing Impaired"));
    EXPECT_EQ(s->Text("CochlearImplant"), QStringLiteral("Yes"));
    EXPECT_EQ(s->Text("Cochlear"), QStringLiteral("Sequential"));
    EXPECT_EQ(s->Text("LossType"), QStringLiteral("Bilateral"));
    EXPECT_EQ(s->Text("ScreeningImpr"), QStringLiteral("Normal Hearing"));
    EXPECT_EQ(s->Text("Entry"), QStringLiteral("05/02/2020"));
    EXPECT_EQ(s->Text("LastUpdate"), QStringLiteral("06/15/2026"));
    EXPECT_EQ(s->Text("EnteredBy"), QStringLiteral("jdoe"));
    EXPECT_EQ(s->Int("Status"), 2);
    EXPECT_EQ(s->Text("Recruitment"), QStringLiteral("Word of Mouth"));
    EXPECT_EQ(s->Text("Initial"), QStringLiteral("06/03/2019"));
    EXPECT_EQ(s->Text("LastConsent"), QStringLiteral("07/04/2025"));
    EXPECT_EQ(s->Text("Sent"), QStringLiteral("08/05/2024"));
    EXPECT_EQ(s->Text("Returned"), QStringLiteral("01/01/1901"));
}

TEST_F(SubjectFormTest, EmptyGenderEthnicityAndRaceAreStoredAsNotReported)
{
    TypeRequired(QStringLiteral("Lund"), QStringLiteral("Erik"));
    ASSERT_EQ(doc->SaveSubject(), 1);
    auto s = StoredSubject();
    EXPECT_EQ(s->Text("Sex"), QStringLiteral("Not Reported"));
    EXPECT_EQ(s->Text("Ethnicity"), QStringLiteral("Not Reported"));
    EXPECT_EQ(s->Text("Race"), QStringLiteral("Not Reported"));
    // Untouched phone fields hold only their placeholder, which is no number.
    EXPECT_EQ(Edit(IDC_PHONE1)->text(), QStringLiteral("xxx-xxx-xxxx"));
    EXPECT_EQ(s->Text("Phone1"), QString());
    EXPECT_EQ(s->Text("Phone2"), QString());
    // Date of Entry and Last DB Consent default to the initial consent.
    EXPECT_EQ(s->Text("Entry"), QStringLiteral("06/03/2019"));
    EXPECT_EQ(s->Int("Unit"), 0);
}

TEST_F(SubjectFormTest, EmptyInitialConsentStopsTheSaveWithItsMessage)
{
    TypeInto(Edit(IDC_LAST), QStringLiteral("Lund"));
    TypeInto(Edit(IDC_FIRST), QStringLiteral("Erik"));
    TypeInto(Edit(IDC_BIRTH), QStringLiteral("04/09/2012"));
    EXPECT_EQ(doc->SaveSubject(), 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("You must enter an Initial Date of Consent!"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_TRUE(Edit(IDC_DATE_INITIAL)->hasFocus());
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from subjects")), 0);
}

TEST_F(SubjectFormTest, InvalidDatesInTheFormStopTheSaveAtTheirField)
{
    TypeRequired(QStringLiteral("Lund"), QStringLiteral("Erik"));
    ui.ClearMessages();
    // Typed without leaving the field, so only the hand-over checks it.
    TypeInto(Edit(IDC_DATE_LAST), QStringLiteral("13/01/2020"), false);
    EXPECT_EQ(doc->SaveSubject(), 0);
    ASSERT_EQ(ui.Texts(), QStringList{QStringLiteral("Invalid Last Date of Consent!")});
    EXPECT_TRUE(Edit(IDC_DATE_LAST)->hasFocus());
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from subjects")), 0);
}

TEST_F(SubjectFormTest, LeavingADateFieldWithABadDateSaysSoAndReturnsThere)
{
    TypeInto(Edit(IDC_BIRTH), QStringLiteral("02/30/20x1"));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY."));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_TRUE(Edit(IDC_BIRTH)->hasFocus());
    // Birth Date goes to the document at once, valid or not.
    EXPECT_EQ(doc->m_subject.Birth, QStringLiteral("02/30/20x1"));

    ui.ClearMessages();
    TypeInto(Edit(IDC_BIRTH), QStringLiteral("2-28-2001"));
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(doc->m_subject.Birth, QStringLiteral("2-28-2001"));
}

TEST_F(SubjectFormTest, NamesAndKvNumberReachTheDocumentWhenLeft)
{
    TypeInto(Edit(IDC_LAST), QStringLiteral("smith"));
    TypeInto(Edit(IDC_FIRST), QStringLiteral("jo"));
    TypeInto(Edit(IDC_UNIT), QStringLiteral("815"));
    EXPECT_EQ(doc->m_subject.Lastname, QStringLiteral("SMITH"));
    EXPECT_EQ(doc->m_subject.Firstname, QStringLiteral("JO"));
    EXPECT_EQ(doc->m_subject.Unit, QStringLiteral("815"));
}

TEST_F(SubjectFormTest, LastAddressAfterASaveAndNewFillsTheSavedAddress)
{
    TypeRequired(QStringLiteral("Lund"), QStringLiteral("Erik"));
    TypeInto(Edit(IDC_ADDRESS), QStringLiteral("7 Lake Road"));
    TypeInto(Edit(IDC_CITY), QStringLiteral("Verona"));
    TypeInto(Edit(IDC_STATE), QStringLiteral("WI"));
    TypeInto(Edit(IDC_ZIP), QStringLiteral("53593"));
    TypeInto(Edit(IDC_PHONE1), QStringLiteral("608-555-0111"));
    ChooseFromList(Combo(IDC_PHONE1_TYPE), 3);
    TypeInto(Edit(IDC_PHONE2), QStringLiteral("608-555-0222"));
    ChooseFromList(Combo(IDC_PHONE2_TYPE), 2);
    ASSERT_EQ(doc->SaveSubject(), 1);

    ASSERT_TRUE(doc->OnNewDocument()); // File New
    EXPECT_TRUE(ui.Texts().isEmpty()) << "a saved subject asks nothing";
    EXPECT_EQ(Edit(IDC_ADDRESS)->text(), QString());
    EXPECT_EQ(Edit(IDC_LAST)->text(), QString());

    Click(Button(IDC_LAST_ADDRESS));
    EXPECT_EQ(Edit(IDC_ADDRESS)->text(), QStringLiteral("7 Lake Road"));
    EXPECT_EQ(Edit(IDC_CITY)->text(), QStringLiteral("Verona"));
    EXPECT_EQ(Edit(IDC_STATE)->text(), QStringLiteral("WI"));
    EXPECT_EQ(Edit(IDC_ZIP)->text(), QStringLiteral("53593"));
    EXPECT_EQ(Edit(IDC_PHONE1)->text(), QStringLiteral("608-555-0111"));
    EXPECT_EQ(Combo(IDC_PHONE1_TYPE)->currentText(), QStringLiteral("Work"));
    EXPECT_EQ(Edit(IDC_PHONE2)->text(), QStringLiteral("608-555-0222"));
    EXPECT_EQ(Combo(IDC_PHONE2_TYPE)->currentText(), QStringLiteral("Pager"));
    EXPECT_EQ(Edit(IDC_LAST)->text(), QString()) << "only the address block is recalled";
    // The recalled address belongs to the new subject now: New must ask before losing it.
    EXPECT_EQ(doc->m_subject.Modified, 1);
}

TEST_F(SubjectFormTest, LoadByIdWithZeroOrNegativeEmptiesTheFieldAndLoadsNothing)
{
    const int id = AddSubject(QStringLiteral("Berg"), QStringLiteral("Ola"), 1234, QStringLiteral("1980-01-02"));
    for (const char* typed : {"0", "-5", "x"}) {
        TypeInto(Edit(IDC_SUBJECTID), QString::fromLatin1(typed), false);
        Click(Button(IDC_LOAD_BY_ID));
        EXPECT_EQ(Edit(IDC_SUBJECTID)->text(), QString()) << typed;
        EXPECT_EQ(doc->m_subject.SubjectID, -1) << typed;
    }
    TypeInto(Edit(IDC_SUBJECTID), QString::number(id), false);
    Click(Button(IDC_LOAD_BY_ID));
    EXPECT_EQ(doc->m_subject.SubjectID, id);
    EXPECT_EQ(Edit(IDC_LAST)->text(), QStringLiteral("BERG"));
    EXPECT_EQ(Edit(IDC_UNIT)->text(), QStringLiteral("1234"));
    EXPECT_EQ(Edit(IDC_BIRTH)->text(), QStringLiteral("01/02/1980"));
    EXPECT_EQ(Edit(IDC_SUBJECTID)->text(), QString::number(id));
    EXPECT_EQ(doc->m_subject.Modified, 0) << "showing a loaded subject is no edit";
}

TEST_F(SubjectFormTest, TypingIntoTheSubjectIdIsNoEdit)
{
    TypeInto(Edit(IDC_SUBJECTID), QStringLiteral("12"), false);
    EXPECT_EQ(doc->m_subject.Modified, 0);
    TypeInto(Edit(IDC_LETTER_SENT), QStringLiteral("1/2/2020"));
    EXPECT_EQ(doc->m_subject.Modified, 1);
}

} // namespace
} // namespace quorin::test
