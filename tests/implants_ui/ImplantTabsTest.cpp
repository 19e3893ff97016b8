// The CI Data and S/L/L tabs' wiring: the keyboard through the CI Data tab, a hidden tab
// filling itself once shown, and a refused S/L/L save.

#include "ImplantTabsFixture.h"

#include "implants/ui/CiDataTemplates.h"

#include <QApplication>
#include <QTest>

using namespace res::cidata;

namespace quorin::test {
namespace {

// The id of the control that has the focus (an editable combo's edit counts as the combo).
int FocusedId()
{
    QWidget* w = QApplication::focusWidget();
    while (w && framework::ControlId(w) == 0)
        w = w->parentWidget();
    return w ? framework::ControlId(w) : 0;
}

TEST_F(CiDataTest, TabWalksTheLeftEarThenTheRightEarThenTheProcessors)
{
    form->ActivateFirstControl();
    EXPECT_EQ(FocusedId(), IDC_DURATION_YEARS_L);
    const int order[] = {IDC_DURATION_MONTHS_L, IDC_DEGREE_L,          IDC_ONSET_L,         IDC_ETIOLOGY_L,
                         IDC_HA_YEARS_L,        IDC_HA_MONTHS_L,       IDC_UNAIDED_YEARS_L, IDC_UNAIDED_MONTHS_L,
                         IDC_DURATION_YEARS_R,  IDC_DURATION_MONTHS_R, IDC_DEGREE_R,        IDC_ONSET_R,
                         IDC_ETIOLOGY_R,        IDC_HA_YEARS_R,        IDC_HA_MONTHS_R,     IDC_UNAIDED_YEARS_R,
                         IDC_UNAIDED_MONTHS_R,  IDC_PROCESSOR1,        IDC_PROCESSOR2,      IDC_DEVICE_LIST};
    for (int id : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        Settle();
        EXPECT_EQ(FocusedId(), id);
    }
}

TEST_F(CiDataTest, AHiddenTabFillsItselfWhenShownAgain)
{
    form->hide();
    StoreSpeech("Pre Implant", "Word Recognition", "PBK", 12.5, 0);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    EXPECT_EQ(doc->CiLoaded, 0);
    // A save while the tab was never shown for this subject takes nothing from it.
    FormEdit(IDC_DURATION_YEARS_L)->setText("7");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(StoredRows("cidata"), 0);
    ShowActive(form);
    EXPECT_EQ(doc->CiLoaded, 1);
    EXPECT_EQ(FormEdit(IDC_DURATION_YEARS_L)->text(), "0");
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->PreList(), 0)[2], "PBK");
}

TEST_F(SllTest, ASaveFailedByTheRegistryKeepsEveryRowAndTheQuestion)
{
    AddNamed(QStringLiteral("CASL"));
    AddNamed(QStringLiteral("GFTA"));
    registry.ExecRaw("Quorin", "create trigger refuse_test before insert on speech "
                               "when new.TestName = 'GFTA' begin select raise(abort, 'refused'); end");
    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Row(form->List(), 0)[0], "CASL");
    EXPECT_EQ(Row(form->List(), 1)[0], "GFTA");
    EXPECT_EQ(StoredRows("speech"), 0);

    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::No);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ui.Texts(), QStringList{"Save Current Subject?"});
}

} // namespace
} // namespace quorin::test
