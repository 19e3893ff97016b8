// The Other tab: availability check boxes, the participation list with its codes, a row
// picked by double-click and written with "Update", and the identity guard.

#include "FormFixture.h"

#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormOther.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace res::other;

namespace quorin::test {
namespace {

class OtherFormTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        subjectId = AddSubject(QStringLiteral("BERG"), QStringLiteral("OLA"), 1234, QStringLiteral("1980-01-02"));
        registry.ExecRaw("Quorin",
                         QStringLiteral(
                             "update subjects set Longterm = 1, Evenings = 1;"
                             "insert into dataset (Dataset, Irb, ProjectTitle, GrantNo) values "
                             "('DS-A', 'IRB-1', 'Speech in Noise', 'R01-77');"
                             "insert into participationhistory (SubjectId, Irb, Dataset, Contacted, ExContact, "
                             "Participate, ExPartic, Date1, Date2, Show, Appts, Completed, CallAgain, Lab, Sessions, "
                             "Comments, FeedbackDate) values "
                             "(%1, 'IRB-1', 'DS-A', 7, 'left message', 0, '', '2024-03-04 00:00:00.000', "
                             "'2024-04-05 00:00:00.000', 5, 1, 2, -1, 'CCD', 3, 'fine', '2024-05-06 00:00:00.000'),"
                             "(%1, 'IRB-2', 'DS-B', 1, '', -1, '', '2023-01-02 00:00:00.000', NULL, -1, 9, -1, 0, "
                             "'Psychoacoustics Lab', -1, '', NULL);")
                             .arg(subjectId)
                             .toStdString());
        ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
        form = std::make_unique<CFormOther>(nullptr, &context);
    }
    void TearDown() override
    {
        form.reset();
        FormTest::TearDown();
    }

    QComboBox* Combo(int id) const { return framework::FindControlAs<QComboBox>(form.get(), id); }
    QLineEdit* Edit(int id) const { return framework::FindControlAs<QLineEdit>(form.get(), id); }
    CReportListCtrl* List() const { return form->List(); }

    int RowOf(const QString& irb) const
    {
        for (int row = 0; row < List()->GetItemCount(); ++row) {
            if (List()->GetItemText(row, 0) == irb)
                return row;
        }
        return -1;
    }

    void DoubleClickRow(int row)
    {
        const QRect rect = List()->visualItemRect(List()->topLevelItem(row));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
        Settle();
    }

    int subjectId = -1;
    std::unique_ptr<CFormOther> form;
};

TEST_F(OtherFormTest, ShowingTheTabListsTheRowsWithTheirCodes)
{
    EXPECT_EQ(doc->ParticipationLoaded, 0);
    ShowActive(form.get());
    Settle();
    EXPECT_EQ(doc->ParticipationLoaded, 1);
    ASSERT_EQ(List()->GetColumnCount(), 12);
    const QStringList titles = {"IRB", "Contacted", "Participated", "Date", "Date", "Appt", "Show",
                                "Completed", "CallAgain", "Lab", "Dataset", "Feedback Date"};
    for (int column = 0; column < 12; ++column)
        EXPECT_EQ(List()->headerItem()->text(column), titles[column]);
    ASSERT_EQ(List()->GetItemCount(), 2);
    const int first = RowOf(QStringLiteral("IRB-1"));
    ASSERT_GE(first, 0);
    const QStringList expected = {"IRB-1", "CKD", "Yes", "03/04/2024", "04/05/2024", "Most",
                                  "Late",  "No",  "",    "CCD",        "DS-A",       "05/06/2024"};
    for (int column = 0; column < 12; ++column)
        EXPECT_EQ(List()->GetItemText(first, column), expected[column]) << "column " << column;
    const int second = RowOf(QStringLiteral("IRB-2"));
    EXPECT_EQ(List()->GetItemText(second, 1), QStringLiteral("CNC"));
    EXPECT_EQ(List()->GetItemText(second, 2), QString());
    EXPECT_EQ(List()->GetItemText(second, 5), QString()) << "an unknown appointment code shows nothing";
    EXPECT_EQ(List()->GetItemText(second, 6), QString());
    EXPECT_EQ(List()->GetItemText(second, 8), QStringLiteral("Yes"));
    // The availability of the loaded subject.
    EXPECT_TRUE(framework::FindControlAs<QCheckBox>(form.get(), IDC_LONGTERM)->isChecked());
    EXPECT_TRUE(framework::FindControlAs<QCheckBox>(form.get(), IDC_EVENINGS)->isChecked());
    EXPECT_FALSE(framework::FindControlAs<QCheckBox>(form.get(), IDC_WEEKENDS)->isChecked());
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(OtherFormTest, DoubleClickPicksTheRowAndUpdateWritesItThenResetsTheFields)
{
    ShowActive(form.get());
    Settle();
    DoubleClickRow(RowOf(QStringLiteral("IRB-1")));
    EXPECT_EQ(form->PickedIrb(), QStringLiteral("IRB-1"));
    EXPECT_EQ(form->PickedDataset(), QStringLiteral("DS-A"));
    EXPECT_EQ(Combo(IDC_PROJECT)->currentText(), QStringLiteral("Speech in Noise"));
    EXPECT_EQ(Combo(IDC_GRANT)->currentText(), QStringLiteral("R01-77"));
    EXPECT_EQ(Edit(IDC_DATE1)->text(), QStringLiteral("03/04/2024"));
    EXPECT_EQ(Edit(IDC_SESSIONS)->text(), QStringLiteral("3"));
    EXPECT_EQ(Edit(IDC_EXCONTACT)->text(), QStringLiteral("left message"));
    EXPECT_EQ(Combo(IDC_APPTS)->currentText(), QStringLiteral("Most"));
    EXPECT_EQ(Combo(IDC_COMPLETED)->currentIndex(), 2);
    EXPECT_EQ(Combo(IDC_LAB)->currentText(), QStringLiteral("CCD"));
    EXPECT_EQ(Edit(IDC_FDATE)->text(), QStringLiteral("05/06/2024"));

    ChooseFromList(Combo(IDC_CONTACTED), 0);
    ChooseFromList(Combo(IDC_SHOW), 0);
    TypeInto(Edit(IDC_SESSIONS), QStringLiteral("4"));
    TypeInto(Edit(IDC_DATE2), QStringLiteral("4-30-2024"));
    TypeInto(Edit(IDC_COMMENTS), QStringLiteral("O'Brien ran it"));
    Click(framework::FindControl(form.get(), IDC_UPDATE));
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();

    MyADO db = Open("Quorin");
    ASSERT_TRUE(db.RunTextQuery("select Contacted, Show, Sessions, Comments, Done, CONVERT(char(10), Date2, 101) "
                                "as D2, CONVERT(char(10), FeedbackDate, 101) as F from participationhistory where "
                                "Irb = 'IRB-1'"));
    ASSERT_FALSE(db.IsEOF());
    EXPECT_EQ(db.GetIntField("Contacted"), 0);
    EXPECT_EQ(db.GetIntField("Show"), 0);
    EXPECT_EQ(db.GetIntField("Sessions"), 4);
    EXPECT_EQ(db.GetIntField("Done"), 0);
    EXPECT_EQ(db.GetStringField("Comments"), "O'Brien ran it");
    EXPECT_EQ(db.GetStringField("D2"), "04/30/2024");
    EXPECT_EQ(db.GetStringField("F"), "06/15/2026");
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from participationhistory")), 2);

    // Every row field is blank again and no row is picked; the list shows the new values.
    EXPECT_EQ(form->m_nSessions, -1);
    EXPECT_EQ(Edit(IDC_SESSIONS)->text(), QString());
    for (int id : {IDC_CONTACTED, IDC_PARTICIPATED, IDC_COMPLETED, IDC_APPTS, IDC_SHOW, IDC_CALLAGAIN})
        EXPECT_EQ(Combo(id)->currentIndex(), -1) << id;
    for (int id : {IDC_DATE1, IDC_DATE2, IDC_EXCONTACT, IDC_EXPARTIC, IDC_COMMENTS, IDC_FDATE})
        EXPECT_EQ(Edit(id)->text(), QString()) << id;
    EXPECT_EQ(Combo(IDC_LAB)->currentText(), QString());
    EXPECT_EQ(Combo(IDC_PROJECT)->currentText(), QString());
    EXPECT_TRUE(form->PickedIrb().isEmpty());
    const int row = RowOf(QStringLiteral("IRB-1"));
    EXPECT_EQ(List()->GetItemText(row, 1), QStringLiteral("Yes"));
    EXPECT_EQ(List()->GetItemText(row, 6), QStringLiteral("On Time"));

    // A second "Update" without a picked row changes nothing and says nothing.
    Click(framework::FindControl(form.get(), IDC_UPDATE));
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(OtherFormTest, UpdateKeepsStoredCodesTheListsHaveNoItemFor)
{
    ShowActive(form.get());
    Settle();
    DoubleClickRow(RowOf(QStringLiteral("IRB-1")));
    EXPECT_EQ(Combo(IDC_CONTACTED)->currentIndex(), -1) << "7 has no item";
    EXPECT_EQ(Combo(IDC_SHOW)->currentIndex(), -1) << "5 has no item";
    TypeInto(Edit(IDC_SESSIONS), QStringLiteral("6"));
    Click(framework::FindControl(form.get(), IDC_UPDATE));
    MyADO db = Open("Quorin");
    ASSERT_TRUE(db.RunTextQuery("select Contacted, Show, Sessions, Appts from participationhistory where Irb = 'IRB-1'"));
    EXPECT_EQ(db.GetIntField("Contacted"), 7);
    EXPECT_EQ(db.GetIntField("Show"), 5);
    EXPECT_EQ(db.GetIntField("Sessions"), 6);
    EXPECT_EQ(db.GetIntField("Appts"), 1);
}

TEST_F(OtherFormTest, DoubleClickWithoutASelectedRowAsksForOne)
{
    ShowActive(form.get());
    Settle();
    const QPoint below(5, List()->viewport()->height() - 3);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, below);
    Settle();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Please make a selection!"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_TRUE(form->PickedIrb().isEmpty());
}

TEST_F(OtherFormTest, TickingWeekendsAndSavingStoresItAndKeepsTheOtherFive)
{
    ShowActive(form.get());
    Settle();
    Click(framework::FindControl(form.get(), IDC_WEEKENDS));
    EXPECT_EQ(doc->m_subject.Modified, 1);
    ASSERT_EQ(doc->SaveSubject(), 1);
    MyADO db = Open("Quorin");
    ASSERT_TRUE(db.RunTextQuery("select Longterm, Shortterm, Workday, Evenings, Weekends, Other from subjects"));
    EXPECT_EQ(db.GetIntField("Weekends"), 1);
    EXPECT_EQ(db.GetIntField("Longterm"), 1);
    EXPECT_EQ(db.GetIntField("Evenings"), 1);
    EXPECT_EQ(db.GetIntField("Shortterm"), 0);
    EXPECT_EQ(db.GetIntField("Workday"), 0);
    EXPECT_EQ(db.GetIntField("Other"), 0);
}

TEST_F(OtherFormTest, AClearedDocumentEmptiesThePickedRowAndReloadsOnTheNextShow)
{
    ShowActive(form.get());
    Settle();
    DoubleClickRow(RowOf(QStringLiteral("IRB-1")));
    ASSERT_FALSE(form->PickedIrb().isEmpty());
    form->hide();
    doc->ClearDocument();
    EXPECT_TRUE(form->PickedIrb().isEmpty());
    EXPECT_EQ(Edit(IDC_SESSIONS)->text(), QString());
    EXPECT_EQ(doc->ParticipationLoaded, 0);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    ShowActive(form.get());
    Settle();
    EXPECT_EQ(doc->ParticipationLoaded, 1);
    EXPECT_EQ(List()->GetItemCount(), 2);
}

TEST_F(OtherFormTest, ASubjectLoadedWhileTheTabIsShownAppearsAtOnce)
{
    ShowActive(form.get());
    Settle();
    ASSERT_EQ(List()->GetItemCount(), 2);
    const int second = AddSubject(QStringLiteral("LUND"), QStringLiteral("ERIK"), 99, QStringLiteral("2003-01-02"));
    registry.ExecRaw("Quorin", QStringLiteral("update subjects set Weekends = 1 where SubjectId = %1")
                                   .arg(second)
                                   .toStdString());
    ASSERT_NE(doc->LoadSubjectById(second), 0);
    EXPECT_EQ(List()->GetItemCount(), 0);
    EXPECT_TRUE(framework::FindControlAs<QCheckBox>(form.get(), IDC_WEEKENDS)->isChecked());
    EXPECT_FALSE(framework::FindControlAs<QCheckBox>(form.get(), IDC_LONGTERM)->isChecked());
    EXPECT_EQ(doc->ParticipationLoaded, 1);
}

TEST_F(OtherFormTest, ASubjectWithoutIdentitySendsTheUserBackToTheSubjectTab)
{
    ASSERT_TRUE(doc->OnNewDocument());
    doc->m_subject.Firstname = QStringLiteral("ERIK"); // only a first name typed
    ShowActive(form.get());
    Settle();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text,
              QStringLiteral("You must enter either a KV Number, or Last Name, First Name, and Birth Date!"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    ASSERT_FALSE(ui.PagesBroughtForward().empty());
    EXPECT_EQ(ui.PagesBroughtForward().back(), UserInterface::Page::Subject);
    // Repainting the tab asks nothing more.
    form->repaint();
    Settle();
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(OtherFormTest, KvNumberOrFullNameAndBirthPassTheGuard)
{
    ASSERT_TRUE(doc->OnNewDocument());
    doc->m_subject.Unit = QStringLiteral("77");
    EXPECT_TRUE(form->CheckIdentity());
    doc->m_subject.Unit = QStringLiteral("0");
    doc->m_subject.Lastname = QStringLiteral("LUND");
    doc->m_subject.Firstname = QStringLiteral("ERIK");
    doc->m_subject.Birth = QStringLiteral("1/2/2003");
    EXPECT_TRUE(form->CheckIdentity());
    doc->m_subject.Birth.clear();
    const std::size_t before = ui.PagesBroughtForward().size();
    EXPECT_FALSE(form->CheckIdentity());
    EXPECT_EQ(ui.PagesBroughtForward().size(), before + 1);
    EXPECT_EQ(ui.Messages().size(), 1u);
}

} // namespace
} // namespace quorin::test
