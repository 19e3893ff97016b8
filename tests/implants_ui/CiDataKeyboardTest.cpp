// The CI Data tab and its dialogs from the keyboard: the first field, Tab through one
// ear and on to the other, Enter on a list row to edit it, Enter for OK and Escape for
// Cancel in the dialogs.

#include "CiDataFixture.h"

#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CiDataTemplates.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace res::cidata;
namespace sp = res::cispeech;
namespace dv = res::cidevice;

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

TEST_F(CiDataTest, EnterOnADeviceRowEditsItAndEscapeLeavesItAsItWas)
{
    AddDevice("Left", "Nucleus 22", "Dr. Park");
    form->DeviceList()->setFocus(Qt::OtherFocusReason);
    form->DeviceList()->SelectItem(0);
    QString surgeon;
    WithNextDialog([&](QWidget* d) {
        surgeon = Edit(d, dv::IDC_SURGEON)->text();
        // The first field of the dialog takes the keys.
        EXPECT_EQ(FocusedId(), dv::IDC_EAR);
        TypeInto(Edit(d, dv::IDC_SURGEON), "Dr. Changed", false);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        Settle();
        EXPECT_FALSE(d->isVisible());
    });
    QTest::keyClick(form->DeviceList(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(surgeon, "Dr. Park");
    EXPECT_EQ(doc->m_ciData.Devices.at(0).Surgeon, "Dr. Park");
}

TEST_F(CiDataTest, EnterInTheScorePressesOk)
{
    ClickWithDialog(IDC_PRE_ADD, [](QWidget* d) {
        EXPECT_EQ(FocusedId(), sp::IDC_CONDITION);
        TypeInto(Combo(d, sp::IDC_TEST_TYPE), "Word Recognition");
        TypeInto(Combo(d, sp::IDC_TEST_NAME), "W-22");
        TypeInto(Edit(d, sp::IDC_SCORE), "64", false);
        QTest::keyClick(Edit(d, sp::IDC_SCORE), Qt::Key_Return);
        Settle();
        EXPECT_FALSE(d->isVisible());
    });
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->PreList(), 0), (QStringList{"Word Recognition", "-1", "W-22", "", "64.00"}));
}

TEST_F(CiDataTest, TypingIntoTheTabAfterFileNewIsHandedOverAtTheSave)
{
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(doc->CiLoaded, 0);
    TypeInto(FormEdit(IDC_DURATION_YEARS_R), "3");
    TypeInto(FormEdit(IDC_DURATION_MONTHS_R), "2");
    EXPECT_EQ(doc->CiLoaded, 1);
    ASSERT_TRUE(doc->UpdateAllViews(CDocumentView::HintHandOver));
    EXPECT_EQ(doc->m_ciData.DurationPriorR, 38);
    EXPECT_EQ(doc->m_ciData.HasCiData, 1);
}

} // namespace
} // namespace quorin::test
