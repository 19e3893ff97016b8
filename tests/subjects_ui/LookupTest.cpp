// Subject Lookup from the Subject tab: the search texts, OK without a row, and a chosen
// row loading the subject into every control.

#include "SubjectFormFixture.h"

#include "framework/ReportListCtrl.h"
#include "subjects/ui/CSubjectLookupDlg.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTest>

namespace quorin::test {
namespace {

class LookupTest : public SubjectFormTest {
protected:
    void SetUp() override
    {
        SubjectFormTest::SetUp();
        smithJohn = AddSubject(QStringLiteral("SMITH"), QStringLiteral("JOHN"), 501, QStringLiteral("1970-05-06"));
        AddSubject(QStringLiteral("SMITHSON"), QStringLiteral("JOAN"), 502, QStringLiteral("1981-07-08"));
        AddSubject(QStringLiteral("SMITH"), QStringLiteral("ANN"), 503, QStringLiteral("1990-09-10"));
        AddSubject(QStringLiteral("JONES"), QStringLiteral("JO"), 504, QStringLiteral("2001-11-12"));
    }

    // The rows the open dialog lists, column 0 only.
    static QStringList Names(CSubjectLookupDlg* dialog)
    {
        QStringList names;
        for (int row = 0; row < dialog->List()->GetItemCount(); ++row)
            names << dialog->List()->GetItemText(row, 0);
        return names;
    }

    int smithJohn = -1;
};

TEST_F(LookupTest, LastNameCommaFirstNameSearchesBothNames)
{
    TypeInto(Edit(IDC_LAST), QStringLiteral("SMITH, JO"));
    QStringList listed;
    OnNextModal([&](QWidget* modal) {
        auto dialog = qobject_cast<CSubjectLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        listed = Names(dialog);
        Click(framework::FindControl(dialog, 2)); // Cancel
    });
    Click(Button(IDC_LOOKUP));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("SMITH, JOHN"), QStringLiteral("SMITHSON, JOAN")}));
    EXPECT_EQ(doc->m_subject.SubjectID, -1) << "Cancel loads nothing";
    EXPECT_EQ(Edit(IDC_LAST)->text(), QStringLiteral("SMITH, JO")) << "Cancel leaves the form as typed";
}

TEST_F(LookupTest, SearchPatternsAddTheWildcardAfterTheTypedText)
{
    QString last;
    QString first;
    CSubjectLookupDlg::SearchPatterns(QStringLiteral("SMITH, JO"), QString(), last, first);
    EXPECT_EQ(last, QStringLiteral("SMITH%"));
    EXPECT_EQ(first, QStringLiteral("JO%"));
    CSubjectLookupDlg::SearchPatterns(QString(), QString(), last, first);
    EXPECT_EQ(last, QStringLiteral("%"));
    EXPECT_EQ(first, QStringLiteral("%"));
    CSubjectLookupDlg::SearchPatterns(QStringLiteral("SMITH , JO "), QStringLiteral("ignored"), last, first);
    EXPECT_EQ(last, QStringLiteral("SMITH%"));
    EXPECT_EQ(first, QStringLiteral("JO%"));
    // A comma in first place is part of the name, not a separator.
    CSubjectLookupDlg::SearchPatterns(QStringLiteral(",X"), QStringLiteral("A"), last, first);
    EXPECT_EQ(last, QStringLiteral(",X%"));
    EXPECT_EQ(first, QStringLiteral("A%"));
}

TEST_F(LookupTest, EmptyNamesListEverySubjectWithUnitAndBirthDate)
{
    QStringList listed;
    QString unit;
    QString birth;
    int hiddenWidth = -1;
    OnNextModal([&](QWidget* modal) {
        auto dialog = qobject_cast<CSubjectLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        listed = Names(dialog);
        const int row = static_cast<int>(listed.indexOf(QStringLiteral("SMITH, JOHN")));
        unit = dialog->List()->GetItemText(row, 1);
        birth = dialog->List()->GetItemText(row, 2);
        hiddenWidth = dialog->List()->GetColumnWidth(3);
        Click(framework::FindControl(dialog, 2));
    });
    Click(Button(IDC_LOOKUP));
    EXPECT_EQ(listed.size(), 4);
    EXPECT_EQ(unit, QStringLiteral("501"));
    EXPECT_EQ(birth, QStringLiteral("05/06/1970"));
    EXPECT_EQ(hiddenWidth, 0);
}

TEST_F(LookupTest, OkWithoutARowSaysSoAndStaysOpen)
{
    TypeInto(Edit(IDC_LAST), QStringLiteral("SMITH"));
    bool stayedOpen = false;
    OnNextModal([&](QWidget* modal) {
        auto dialog = qobject_cast<CSubjectLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        // Moving through the list with the keyboard focus alone selects nothing.
        dialog->List()->setFocus(Qt::TabFocusReason);
        Click(framework::FindControl(dialog, 1));
        stayedOpen = dialog->isVisible();
        Click(framework::FindControl(dialog, 2));
    });
    Click(Button(IDC_LOOKUP));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Please Make Selection From First Column"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_subject.SubjectID, -1);
}

TEST_F(LookupTest, ChosenRowLoadsTheSubjectIntoEveryControl)
{
    registry.ExecRaw(
        "Quorin",
        QStringLiteral(
            "update subjects set Parent = 'MARY SMITH', Sex = 'Male', Ethnicity = 'Hispanic or Latino', Race = "
            "'Asian', Address = '1 Oak Ave', City = 'Oregon', State = 'WI', Zip = 53575, Phone1 = '608-555-0001', "
            "Phone1Type = 'Cell', Phone2 = '608-555-0002', Phone2Type = 'Work', Email = 'js@example.org', "
            "PrimaryLang = 'German', PatImpression = 'Hearing Impaired', DateofEntry = '2015-02-03 00:00:00.000', "
            "LastUpdate = '2025-04-05 00:00:00.000', EnteredBy = 'kl', Status = 3, "
            "LastDateofConsent = '2024-06-07 00:00:00.000', Notes = 'Call after 5', Recruitment = 'Flyer', "
            "ScreeningImpr = 'Normal Hearing', Contact = 'U.S. Mail', Sent = '2024-08-09 00:00:00.000', "
            "Returned = '1901-01-01 00:00:00.000', Bilingual = 'No', LossType = 'Unilateral', Cochlear = "
            "'Simultaneous', School = 'Oregon', CochlearImplant = 'Yes' where SubjectId = %1")
            .arg(smithJohn)
            .toStdString());
    TypeInto(Edit(IDC_LAST), QStringLiteral("SMITH"));
    TypeInto(Edit(IDC_FIRST), QStringLiteral("JOHN"));
    OnNextModal([&](QWidget* modal) {
        auto dialog = qobject_cast<CSubjectLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        CReportListCtrl* list = dialog->List();
        ASSERT_EQ(list->GetItemCount(), 1);
        // The user clicks the row, then OK.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        Click(framework::FindControl(dialog, 1));
        if (dialog->isVisible())
            Click(framework::FindControl(dialog, 2));
    });
    Click(Button(IDC_LOOKUP));
    ASSERT_EQ(doc->m_subject.SubjectID, smithJohn);
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();

    EXPECT_EQ(Edit(IDC_SUBJECTID)->text(), QString::number(smithJohn));
    EXPECT_EQ(Edit(IDC_LAST)->text(), QStringLiteral("SMITH"));
    EXPECT_EQ(Edit(IDC_FIRST)->text(), QStringLiteral("JOHN"));
    EXPECT_EQ(Edit(IDC_PARENT)->text(), QStringLiteral("MARY SMITH"));
    EXPECT_EQ(Edit(IDC_UNIT)->text(), QStringLiteral("501"));
    EXPECT_EQ(Combo(IDC_GENDER)->currentText(), QStringLiteral("Male"));
    EXPECT_EQ(Combo(IDC_ETHNICITY)->currentText(), QStringLiteral("Hispanic or Latino"));
    EXPECT_EQ(Combo(IDC_RACE)->currentText(), QStringLiteral("Asian"));
    EXPECT_EQ(Edit(IDC_BIRTH)->text(), QStringLiteral("05/06/1970"));
    EXPECT_EQ(Edit(IDC_ADDRESS)->text(), QStringLiteral("1 Oak Ave"));
    EXPECT_EQ(Edit(IDC_CITY)->text(), QStringLiteral("Oregon"));
    EXPECT_EQ(Edit(IDC_STATE)->text(), QStringLiteral("WI"));
    EXPECT_EQ(Edit(IDC_ZIP)->text(), QStringLiteral("53575"));
    EXPECT_EQ(Edit(IDC_EMAIL)->text(), QStringLiteral("js@example.org"));
    EXPECT_EQ(Edit(IDC_PHONE1)->text(), QStringLiteral("608-555-0001"));
    EXPECT_EQ(Combo(IDC_PHONE1_TYPE)->currentText(), QStringLiteral("Cell"));
    EXPECT_EQ(Edit(IDC_PHONE2)->text(), QStringLiteral("608-555-0002"));
    EXPECT_EQ(Combo(IDC_PHONE2_TYPE)->currentText(), QStringLiteral("Work"));
    EXPECT_EQ(Combo(IDC_CONTACT)->currentText(), QStringLiteral("U.S. Mail"));
    EXPECT_EQ(framework::FindControlAs<QPlainTextEdit>(form.get(), IDC_NOTES)->toPlainText(),
              QStringLiteral("Call after 5"));
    EXPECT_EQ(Combo(IDC_SCHOOL)->currentText(), QStringLiteral("Oregon"));
    EXPECT_EQ(Combo(IDC_LANGUAGE)->currentText(), QStringLiteral("German"));
    EXPECT_EQ(Combo(IDC_BILINGUAL)->currentText(), QStringLiteral("No"));
    EXPECT_EQ(Combo(IDC_HEARING)->currentText(), QStringLiteral("Hearing Impaired"));
    EXPECT_EQ(Combo(IDC_LOSSTYPE)->currentText(), QStringLiteral("Unilateral"));
    EXPECT_EQ(Combo(IDC_IMPLANT)->currentText(), QStringLiteral("Yes"));
    EXPECT_EQ(Combo(IDC_BILATERAL)->currentText(), QStringLiteral("Simultaneous"));
    EXPECT_EQ(Combo(IDC_SCREENING)->currentText(), QStringLiteral("Normal Hearing"));
    EXPECT_EQ(Edit(IDC_DATE_ENTRY)->text(), QStringLiteral("02/03/2015"));
    EXPECT_EQ(Edit(IDC_DATE_UPDATE)->text(), QStringLiteral("04/05/2025"));
    EXPECT_EQ(Edit(IDC_ENTERED_BY)->text(), QStringLiteral("kl"));
    EXPECT_EQ(Combo(IDC_STATUS)->currentText(), QStringLiteral("Not Available"));
    EXPECT_EQ(Combo(IDC_RECRUITMENT)->currentText(), QStringLiteral("Flyer"));
    EXPECT_EQ(Edit(IDC_DATE_INITIAL)->text(), QStringLiteral("01/02/2020"));
    EXPECT_EQ(Edit(IDC_DATE_LAST)->text(), QStringLiteral("06/07/2024"));
    EXPECT_EQ(Edit(IDC_LETTER_SENT)->text(), QStringLiteral("08/09/2024"));
    EXPECT_EQ(Edit(IDC_LETTER_RETURNED)->text(), QStringLiteral("NR"));
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

} // namespace
} // namespace quorin::test
