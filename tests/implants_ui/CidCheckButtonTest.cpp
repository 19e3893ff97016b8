// "Check CID DB" on the CI Data tab as the program wires it: the lookup opens for the
// subject's KV Number, a double click imports, Cancel keeps what was typed on the tab.
// Run by the fixture's staff member, who has the user role in Quorin, Aud and CID.

#include "CiDataFixture.h"

#include "registration/DialogRegistry.h"
#include "registration/WorkspacePages.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CCidLookupDlg.h"
#include "implants/ui/CiDataTemplates.h"

#include <QComboBox>
#include <QTest>

using quorin::UserInterface;

namespace quorin::test {
namespace {

using namespace res::cidata;

class CidCheckButtonTest : public CiDataTest {
protected:
    void SetUp() override
    {
        CiDataTest::SetUp();
        registry.ExecRaw("CID", "insert into patient (Lastname, Firstname, Dob, Unit, DegreePriorLeft) values "
                                "('Reyes', 'Noa', '2009-03-07 00:00:00.000', '6611', 'Severe');"
                                "insert into external (PatientId, Processor, DateFit) values "
                                "(1, 'Freedom', '2014-01-01 00:00:00.000');"
                                "insert into \"Internal\" (PatientId, Ear, Device, SurgeryDate) values "
                                "(1, 'Left', 'Nucleus 24', '2010-02-03 00:00:00.000')");
        // The tab as the workspace makes it, with the button wired.
        form.reset();
        QWidget* page = WorkspacePageClass(8).create(nullptr, &context);
        form.reset(qobject_cast<CFormCIDataView*>(page));
        ASSERT_NE(form, nullptr);
        ShowActive(form.get());
        ui.SetDialogRunner([this](UserInterface::Dialog d) { return RunRegisteredDialog(d, nullptr, *doc); });
    }
};

TEST_F(CidCheckButtonTest, ADoubleClickedPatientFillsTheTab)
{
    ASSERT_TRUE(Button(IDC_CHECK_CID)->isEnabled());
    EXPECT_EQ(Button(IDC_CHECK_CID)->property("text").toString(), "Check CID DB");
    ClickWithDialog(IDC_CHECK_CID, [&](QWidget* modal) {
        auto* dialog = qobject_cast<CCidLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->List()->GetItemCount(), 1);
        EXPECT_EQ(dialog->List()->GetItemText(0, 0), "Reyes, Noa");
        CReportListCtrl* list = dialog->List();
        const QRect rect = list->visualItemRect(list->topLevelItem(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    });
    EXPECT_EQ(FormCombo(IDC_PROCESSOR1)->currentText(), "Freedom");
    EXPECT_EQ(form->DeviceList()->GetItemCount(), 1);
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CidCheckButtonTest, CancelKeepsWhatWasTypedOnTheTab)
{
    TypeInto(FormCombo(IDC_PROCESSOR1), "Typed processor");
    ClickWithDialog(IDC_CHECK_CID, [&](QWidget* modal) {
        auto* dialog = qobject_cast<CCidLookupDlg*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->List()->GetItemCount(), 1);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(FormCombo(IDC_PROCESSOR1)->currentText(), "Typed processor");
    EXPECT_EQ(doc->m_ciData.Processor1, "Typed processor");
    EXPECT_EQ(doc->m_subject.Modified, 1); // typing did that; the import did not run
}

} // namespace
} // namespace quorin::test
