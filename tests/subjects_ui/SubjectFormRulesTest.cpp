// The Subject tab's rules: implant enable rules, Date of Entry on focus, the Recruitment
// Method list from the registry, the notice icon, the logo, the Medical Manager Lookup
// and Admin Import.

#include "SubjectFormFixture.h"

#include "framework/ReportListCtrl.h"
#include "resources/Resource.h"
#include "subjects/ui/CMedicalManagerLookupDlg.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

namespace quorin::test {
namespace {

TEST_F(SubjectFormTest, NormalHearingSetsNoImplantAndGreysOutBothImplantLists)
{
    ChooseFromList(Combo(IDC_HEARING), 1); // Hearing Impaired
    ASSERT_TRUE(Combo(IDC_IMPLANT)->isEnabled());
    ChooseFromList(Combo(IDC_IMPLANT), 1); // Yes
    ASSERT_TRUE(Combo(IDC_BILATERAL)->isEnabled());
    ChooseFromList(Combo(IDC_BILATERAL), 2); // Simultaneous

    ChooseFromList(Combo(IDC_HEARING), 0); // Normal Hearing
    EXPECT_EQ(Combo(IDC_IMPLANT)->currentText(), QStringLiteral("No"));
    EXPECT_EQ(Combo(IDC_BILATERAL)->currentText(), QStringLiteral("None"));
    EXPECT_FALSE(Combo(IDC_IMPLANT)->isEnabled());
    EXPECT_FALSE(Combo(IDC_BILATERAL)->isEnabled());

    ChooseFromList(Combo(IDC_HEARING), 1); // Hearing Impaired again: the implant list only
    EXPECT_TRUE(Combo(IDC_IMPLANT)->isEnabled());
    EXPECT_EQ(Combo(IDC_IMPLANT)->currentText(), QStringLiteral("No"));
    EXPECT_FALSE(Combo(IDC_BILATERAL)->isEnabled());

    TypeInto(Edit(IDC_LAST), QStringLiteral("Lund"));
    TypeInto(Edit(IDC_FIRST), QStringLiteral("Erik"));
    TypeInto(Edit(IDC_BIRTH), QStringLiteral("04/09/2012"));
    TypeInto(Edit(IDC_DATE_INITIAL), QStringLiteral("06/03/2019"));
    ASSERT_EQ(doc->SaveSubject(), 1);
    auto s = StoredSubject();
    EXPECT_EQ(s->Text("PatImpression"), QStringLiteral("Hearing Impaired"));
    EXPECT_EQ(s->Text("CochlearImplant"), QStringLiteral("No"));
    EXPECT_EQ(s->Text("Cochlear"), QStringLiteral("None"));
}

TEST_F(SubjectFormTest, ImplantNoSetsBilateralNoneAndYesEnablesIt)
{
    ChooseFromList(Combo(IDC_HEARING), 1);
    ChooseFromList(Combo(IDC_IMPLANT), 1);
    EXPECT_TRUE(Combo(IDC_BILATERAL)->isEnabled());
    ChooseFromList(Combo(IDC_BILATERAL), 3);
    ChooseFromList(Combo(IDC_IMPLANT), 0);
    EXPECT_EQ(Combo(IDC_BILATERAL)->currentText(), QStringLiteral("None"));
    EXPECT_FALSE(Combo(IDC_BILATERAL)->isEnabled());
}

TEST_F(SubjectFormTest, LoadedSubjectEnablesTheImplantListsAfterItsValues)
{
    const int id = AddSubject(QStringLiteral("Berg"), QStringLiteral("Ola"), 1234, QStringLiteral("1980-01-02"));
    registry.ExecRaw("Quorin", "update subjects set PatImpression = 'Hearing Impaired', CochlearImplant = 'Yes', "
                               "Cochlear = 'Sequential'");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_TRUE(Combo(IDC_IMPLANT)->isEnabled());
    EXPECT_TRUE(Combo(IDC_BILATERAL)->isEnabled());
    EXPECT_EQ(Combo(IDC_BILATERAL)->currentText(), QStringLiteral("Sequential"));
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_FALSE(Combo(IDC_IMPLANT)->isEnabled());
    EXPECT_FALSE(Combo(IDC_BILATERAL)->isEnabled());
}

TEST_F(SubjectFormTest, TabbingThroughDateOfEntryPutsInToday)
{
    TypeInto(Edit(IDC_DATE_ENTRY), QStringLiteral("01/01/2001"));
    EXPECT_EQ(Edit(IDC_DATE_ENTRY)->text(), QStringLiteral("01/01/2001"));
    // Back into the field from the one before it, and on.
    Edit(IDC_DATE_ENTRY)->previousInFocusChain()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(Edit(IDC_DATE_ENTRY)->hasFocus());
    QTest::keyClick(Edit(IDC_DATE_ENTRY), Qt::Key_Tab);
    Settle();
    EXPECT_EQ(Edit(IDC_DATE_ENTRY)->text(), QStringLiteral("6/15/2026"));
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(SubjectFormTest, AStoredSubjectKeepsItsDateOfEntryWhenTabbedThrough)
{
    const int id = AddSubject(QStringLiteral("Berg"), QStringLiteral("Ola"), 1234, QStringLiteral("1980-01-02"));
    registry.ExecRaw("Quorin", "update subjects set DateofEntry = '2011-03-04 00:00:00.000'");
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    ASSERT_EQ(Edit(IDC_DATE_ENTRY)->text(), QStringLiteral("03/04/2011"));
    Edit(IDC_DATE_ENTRY)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Edit(IDC_DATE_ENTRY), Qt::Key_Tab);
    EXPECT_EQ(Edit(IDC_DATE_ENTRY)->text(), QStringLiteral("03/04/2011"));
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

TEST_F(SubjectFormTest, RecruitmentMethodListIsReadFromTheRegistryOnEveryDropDown)
{
    registry.ExecRaw("Quorin", "insert into recruitment (method) values ('Flyer'), ('Newspaper Ad')");
    QComboBox* combo = Combo(IDC_RECRUITMENT);
    EXPECT_EQ(combo->count(), 0);
    ChooseFromList(combo, 0);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Flyer"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Newspaper Ad"));

    registry.ExecRaw("Quorin", "insert into recruitment (method) values ('Audiology Clinic Referral')");
    QTest::mouseClick(combo, Qt::LeftButton);
    Settle();
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Audiology Clinic Referral"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("Flyer")) << "refilling keeps the choice";
    combo->hidePopup();
}

TEST_F(SubjectFormTest, NoticeIconFollowsTheDocumentsFlag)
{
    auto notice = framework::FindControlAs<QLabel>(form.get(), IDC_NOTICE);
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isVisible());
    EXPECT_FALSE(notice->pixmap().isNull()) << "the icon has its artwork";
    doc->ConsentNotice = 1;
    doc->RefreshSubjectForm = 1;
    doc->UpdateAllViews(0);
    EXPECT_TRUE(notice->isVisible());
    doc->ClearDocument();
    Settle();
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(SubjectFormTest, LogoIsPaintedOnTheFormBackgroundBelowTheNotes)
{
    form->resize(form->width(), form->minimumHeight() + 160);
    const QImage shot = form->grab().toImage();
    const QColor background = form->palette().color(form->backgroundRole());
    auto notes = framework::FindControl(form.get(), IDC_NOTES);
    const int top = notes->geometry().bottom() + 2;
    int logoPixels = 0;
    int whitePixels = 0;
    for (int y = top; y < shot.height(); ++y) {
        for (int x = 0; x < notes->geometry().right(); ++x) {
            const QRgb pixel = shot.pixel(x, y);
            if (QColor(pixel) != background)
                ++logoPixels;
            if (qRed(pixel) == 255 && qGreen(pixel) == 255 && qBlue(pixel) == 255 && background != Qt::white)
                ++whitePixels;
        }
    }
    EXPECT_GT(logoPixels, 500) << "the logo is drawn under the Notes box";
    EXPECT_EQ(whitePixels, 0) << "the logo's white takes the form's colour";
}

TEST_F(SubjectFormTest, MedicalManagerLookupSaysItCannotConnectAndOkWantsARow)
{
    TypeInto(Edit(IDC_LAST), QStringLiteral("Doe"));
    bool stayedOpen = false;
    OnNextModal([&](QWidget* modal) {
        auto dialog = qobject_cast<CMedicalManagerLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Medical Manager Lookup"));
        EXPECT_EQ(dialog->List()->GetItemCount(), 0);
        Click(framework::FindControl(dialog, 1));
        stayedOpen = dialog->isVisible();
        Click(framework::FindControl(dialog, 2));
    });
    Click(Button(IDC_MM));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(ui.Texts(), (QStringList{QStringLiteral("Unable to connect to Medical Manager Server!"),
                                       QStringLiteral("Please Make Selection From First Column")}));
    EXPECT_EQ(Edit(IDC_LAST)->text(), QStringLiteral("DOE")) << "nothing was filled in";
}

TEST_F(SubjectFormTest, MedicalManagerPatientChosenWithOkFillsTheForm)
{
    // A practice database for the dialog's own session to reach.
    registry.ExecRaw("Aud", "create table TPSpat (TPSPataccount int, TPSPataddr1 varchar(50), TPSPataddr2 "
                            "varchar(50), TPSPatcity varchar(50), TPSPatstate varchar(10), TPSPatzip varchar(10), "
                            "TPSPatphone varchar(20), TPSPatworkphone varchar(20));"
                            "create table TPpm (TPSpmaccount int, TPSpmid varchar(20), TPSpmsex varchar(1));"
                            "insert into TPSpat values (1, '12 Elm St', 'Apt 4', 'Verona', 'WI', '53593', "
                            "'608-555-0101', '0');"
                            "insert into TPpm values (1, '98765', 'F');");
    Combo(IDC_PHONE2_TYPE)->setEditText(QStringLiteral("Cell"));
    form->ReadControls();
    CMedicalManagerLookupDlg dialog(*form);
    dialog.Session().SetDataSource(registry.Folder().c_str(), kTestLogin, kTestPassword, "Aud");
    ASSERT_TRUE(dialog.Session().IsConnected());
    OnNextModal([&](QWidget* modal) {
        ASSERT_EQ(modal, &dialog);
        CReportListCtrl* list = dialog.List();
        const int row = list->InsertItem(0, QStringLiteral("DOE, JANE  "));
        list->SetItemText(row, 1, QStringLiteral("98765 "));
        list->SetItemText(row, 2, QStringLiteral("01/02/1990"));
        list->SelectItem(row);
        Click(framework::FindControl(&dialog, 1));
    });
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_TRUE(ui.Texts().isEmpty()) << "a connected session has nothing to report";
    ASSERT_TRUE(dialog.FilledForm());
    EXPECT_EQ(form->m_strLast, QStringLiteral("DOE"));
    EXPECT_EQ(form->m_strFirst, QStringLiteral("JANE"));
    EXPECT_EQ(form->m_strBirth, QStringLiteral("01/02/1990"));
    EXPECT_EQ(form->m_strUnit, QStringLiteral("98765"));
    EXPECT_EQ(form->m_strAddress, QStringLiteral("12 Elm St Apt 4"));
    EXPECT_EQ(form->m_strCity, QStringLiteral("Verona"));
    EXPECT_EQ(form->m_strZip, QStringLiteral("53593"));
    EXPECT_EQ(form->m_strPhone1, QStringLiteral("608-555-0101"));
    EXPECT_EQ(form->m_strPhone1Type, QStringLiteral("Home"));
    EXPECT_EQ(form->m_strPhone2, QStringLiteral("0"));
    EXPECT_EQ(form->m_strPhone2Type, QStringLiteral("Cell")) << "a phone of 0 keeps its type";
    EXPECT_EQ(form->m_strGender, QStringLiteral("Female"));
}

} // namespace
} // namespace quorin::test
