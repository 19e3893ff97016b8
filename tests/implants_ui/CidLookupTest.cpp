// The CI Database Lookup as "Check CID DB" opens it, and the progress dialog of a CID
// Import run, driven by mouse and keys on the offscreen screen. Both dialogs are also
// rendered next to the test binary for a reviewer.

#include "FormFixture.h"

#include "app/CDocumentCommands.h"
#include "registration/DialogRegistry.h"
#include "app/QtUserInterface.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CCidLookupDlg.h"
#include "implants/store/CidImportJob.h"
#include "implants/ui/CidTemplates.h"
#include "resources/Resource.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

using quorin::UserInterface;

namespace quorin::test {
namespace {

void SavePicture(QWidget* widget, const char* name)
{
    const QImage image = widget->grab().toImage();
    const QString file = QStringLiteral(QUORIN_SCREENSHOT_DIR "/") + QString::fromLatin1(name);
    EXPECT_TRUE(image.save(file));
}

class CidLookupTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        // The document opens the lookup as the program does: the registered dialog.
        ui.SetDialogRunner([this](UserInterface::Dialog d) { return RunRegisteredDialog(d, nullptr, *doc); });
        doc->m_subject.Lastname = "Lee";
        doc->m_subject.Firstname = "";
        doc->m_subject.Unit = "0"; // what the Subject tab hands over for no unit
    }

    void AddPatient(const std::string& last, const std::string& first, const std::string& unit,
                    const std::string& processor)
    {
        registry.ExecRaw("CID", "insert into patient (Lastname, Firstname, Dob, Unit, DegreePriorLeft) values ('"
                                    + last + "', '" + first + "', '1990-03-02 00:00:00.000', '" + unit
                                    + "', 'Severe');insert into external (PatientId, Processor, DateFit) select "
                                      "max(PatientId), '"
                                    + processor + "', '2014-01-01 00:00:00.000' from patient");
    }

    static CCidLookupDlg* Lookup(QWidget* modal)
    {
        auto* dialog = qobject_cast<CCidLookupDlg*>(modal);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }

    static QStringList Names(CCidLookupDlg* dialog)
    {
        QStringList out;
        for (int i = 0; i < dialog->List()->GetItemCount(); ++i)
            out << dialog->List()->GetItemText(i, 0);
        return out;
    }

    static void DoubleClickRow(CCidLookupDlg* dialog, int row)
    {
        CReportListCtrl* list = dialog->List();
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

TEST_F(CidLookupTest, TheListShowsTheMatchesAndADoubleClickImportsOne)
{
    AddPatient("Lee", "Morgan", "4711", "Freedom");
    AddPatient("Lee", "Sam", "", "Harmony");
    AddPatient("Other", "Pat", "12", "Esprit");
    bool checked = false;
    OnNextModal([&](QWidget* modal) {
        CCidLookupDlg* dialog = Lookup(modal);
        ASSERT_NE(dialog, nullptr);
        checked = true;
        EXPECT_EQ(dialog->windowTitle(), "CI Database Lookup");
        CReportListCtrl* list = dialog->List();
        ASSERT_EQ(list->GetColumnCount(), 3);
        EXPECT_EQ(list->GetColumnHeading(0), "Name");
        EXPECT_EQ(list->GetColumnHeading(1), "Unit");
        EXPECT_EQ(list->GetColumnHeading(2), "Birth Date");
        EXPECT_EQ(list->GetColumnWidth(0), 140);
        QStringList names = Names(dialog);
        names.sort();
        EXPECT_EQ(names, (QStringList{"Lee, Morgan", "Lee, Sam"}));
        const int sam = list->GetItemText(0, 0) == "Lee, Sam" ? 0 : 1;
        EXPECT_EQ(list->GetItemText(sam, 2), "03/02/1990");
        EXPECT_GT(list->GetItemData(sam), 0);
        SavePicture(dialog, "cid-lookup.png");
        DoubleClickRow(dialog, sam);
    });
    EXPECT_EQ(doc->CheckCidDatabase(), 1);
    EXPECT_TRUE(checked);
    EXPECT_EQ(doc->m_ciData.Processor1, "Harmony");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CidLookupTest, OkWithoutARowSaysSoAndStaysOpenUntilEscape)
{
    AddPatient("Lee", "Morgan", "4711", "Freedom");
    doc->m_ciData.Processor1 = "typed";
    OnNextModal([&](QWidget* modal) {
        CCidLookupDlg* dialog = Lookup(modal);
        ASSERT_NE(dialog, nullptr);
        // Enter answers the default button, OK.
        QTest::keyClick(dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "Please Make Selection From First Column");
        EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(doc->CheckCidDatabase(), 0);
    EXPECT_EQ(doc->m_ciData.Processor1, "typed");
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

TEST_F(CidLookupTest, OkPicksTheSelectedRowAndCancelKeepsWhatWasTyped)
{
    AddPatient("Lee", "Morgan", "4711", "Freedom");
    doc->m_subject.Unit = "4711";
    doc->m_ciData.Processor1 = "typed";
    OnNextModal([&](QWidget* modal) {
        CCidLookupDlg* dialog = Lookup(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->List()->SelectItem(0);
        Click(framework::FindControl(dialog, CTemplateDialog::IDCANCEL));
    });
    EXPECT_EQ(doc->CheckCidDatabase(), 0);
    EXPECT_EQ(doc->m_ciData.Processor1, "typed");

    OnNextModal([&](QWidget* modal) {
        CCidLookupDlg* dialog = Lookup(modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->List()->GetItemCount(), 1);
        dialog->List()->SelectItem(0);
        Click(framework::FindControl(dialog, CTemplateDialog::IDOK));
    });
    EXPECT_EQ(doc->CheckCidDatabase(), 1);
    EXPECT_EQ(doc->m_ciData.Processor1, "Freedom");
}

TEST_F(CidLookupTest, WithoutCidTheListStaysEmptyAndSaysWhy)
{
    std::filesystem::rename(std::filesystem::path(registry.Folder()) / "CID.db",
                            std::filesystem::path(registry.Folder()) / "CID.gone");
    OnNextModal([&](QWidget* modal) {
        CCidLookupDlg* dialog = Lookup(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->List()->GetItemCount(), 0);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(doc->CheckCidDatabase(), 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Unable to connect to CID!");
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
}

TEST_F(CidLookupTest, TheToolsCommandsReachTheDocument)
{
    CDocumentCommands commands(*doc);
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_TRUE(commands.OnCmdMsg(res::ID_TOOLS_CID_IMPORT, nullptr));
    ui.AnswerNext(UserInterface::Answer::No);
    EXPECT_TRUE(commands.OnCmdMsg(res::ID_TOOLS_UPDATE_QUORIN, nullptr));
    EXPECT_EQ(ui.Texts(), (QStringList{"Update Subject records from Cochlear Implant Database?",
                                       "Update Subject records from Cochlear Implant Database?"}));
}

// The progress dialog of the widgets' user interface on its own.
TEST(ProgressDialog, ItShowsEachStepAndCancelOrEscapeIsSeenAtTheNextStep)
{
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Escape" : "Cancel");
        QtUserInterface ui;
        ui.BeginProgress(3);
        QProgressDialog* dialog = ui.ProgressDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
        EXPECT_FALSE(ui.StepProgress("Checking subject 1 of 3"));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->labelText(), "Checking subject 1 of 3");
        auto* cancel = dialog->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), "Cancel");
        if (byKey) {
            dialog->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
            // As the keyboard sends it: to the window, shortcuts first.
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
        }
        else
            QTest::mouseClick(cancel, Qt::LeftButton);
        EXPECT_TRUE(ui.StepProgress("Checking subject 2 of 3"));
        ui.EndProgress();
        EXPECT_EQ(ui.ProgressDialog(), nullptr);
        // A new count starts uncancelled.
        ui.BeginProgress(1);
        EXPECT_FALSE(ui.StepProgress("Updating subject 1 of 1"));
        ui.EndProgress();
    }
    QCoreApplication::processEvents();
}

TEST_F(CidLookupTest, CancelInTheProgressDialogStopsACidImportBetweenSubjects)
{
    for (int k = 1; k <= 3; ++k) {
        const std::string unit = std::to_string(500 + k);
        AddPatient("P" + unit, "F", unit, "Freedom");
        doc->ClearDocument();
        doc->m_subject = DistinctSubject();
        doc->m_subject.Lastname = QStringLiteral("Subject%1").arg(k);
        doc->m_subject.Unit = QString::fromStdString(unit);
        doc->m_subject.PatImpression = "Cochlear Implant";
        ASSERT_EQ(doc->SaveSubject(), 1);
    }
    doc->ClearDocument();

    // The same document, now with the widgets' user interface.
    QtUserInterface widgets;
    CQuorinDoc qtDoc(widgets);
    qtDoc.m_strServer = doc->m_strServer;
    qtDoc.m_strUserName = doc->m_strUserName;
    qtDoc.m_strPassword = doc->m_strPassword;
    ASSERT_TRUE(qtDoc.OnNewDocument());
    widgets.SetDocument(&qtDoc);

    QStringList seen;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QProgressDialog* dialog = widgets.ProgressDialog();
        if (!dialog || !dialog->isVisible() || (!seen.isEmpty() && seen.last() == dialog->labelText()))
            return;
        seen << dialog->labelText();
        if (dialog->labelText() == "Updating subject 2 of 3") {
            SavePicture(dialog, "cid-import-progress.png");
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        }
    });
    watcher.start();
    const std::optional<BulkResult> result = RunCidImport(qtDoc);
    watcher.stop();
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->cancelled);
    EXPECT_EQ(result->Count(), 1);
    EXPECT_EQ(seen, (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3", "Checking subject 3 of 3",
                                 "Updating subject 1 of 3", "Updating subject 2 of 3"}));
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 1);
    EXPECT_EQ(widgets.ProgressDialog(), nullptr);
    EXPECT_EQ(qtDoc.Interactive, 1);
}

} // namespace
} // namespace quorin::test
