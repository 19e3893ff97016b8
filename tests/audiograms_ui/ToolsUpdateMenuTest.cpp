// Tools > Update chosen from the main window's menu, with the program's own message
// boxes and progress dialog on the offscreen screen: both questions, the two phases of
// the progress, and Cancel between subjects. The progress dialog is rendered next to the
// test binary for a reviewer.

#include "FormFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "app/QtUserInterface.h"
#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quorin::test {
namespace {

class ToolsUpdateMenuTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        for (int k = 1; k <= 3; ++k) {
            const int unit = 7000 + k;
            doc->ClearDocument();
            doc->m_subject = DistinctSubject();
            doc->m_subject.Lastname = QStringLiteral("Subject%1").arg(k);
            doc->m_subject.Unit = QString::number(unit);
            ASSERT_EQ(doc->SaveSubject(), 1);
            ids.push_back(doc->m_subject.SubjectID);
            const std::string i = std::to_string(k);
            registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date, Birthdate, Testedby) values ("
                                        + i + ", " + std::to_string(unit)
                                        + ", '2024-02-02 11:15:00.000', '1987-04-09 00:00:00.000', 'clinic');"
                                          "insert into Other (PatientIndex) values (" + i + ");"
                                          "insert into Immit (PatientIndex) values (" + i + ");"
                                          "insert into Impress (PatientIndex) values (" + i + ");"
                                          "insert into Special (PatientIndex) values (" + i + ");"
                                          "insert into Speech (Patientindex) values (" + i + ");"
                                          "insert into newpoints values (" + i + ", 4, 7, 1, 0);");
        }
        doc->ClearDocument();

        // The program's document, user interface and main window.
        qtDoc = std::make_unique<CQuorinDoc>(widgets);
        qtDoc->m_strServer = doc->m_strServer;
        qtDoc->m_strUserName = doc->m_strUserName;
        qtDoc->m_strPassword = doc->m_strPassword;
        ASSERT_TRUE(qtDoc->OnNewDocument());
        qtContext.m_pCurrentDoc = qtDoc.get();
        ASSERT_TRUE(OpenMainFrame(frame, commands, *qtDoc, qtContext));
        widgets.SetMainFrame(frame.get());
        widgets.SetDocument(qtDoc.get());
        frame->resize(1000, 760);
        ShowActive(frame.get());
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        qtDoc.reset();
        FormTest::TearDown();
    }

    int Tests(int subjectId) const
    {
        return Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(subjectId));
    }

    std::vector<int> ids;
    QtUserInterface widgets;
    std::unique_ptr<CQuorinDoc> qtDoc;
    CCreateContext qtContext;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
};

TEST_F(ToolsUpdateMenuTest, FromTheMenuBothQuestionsTwoPhasesAndCancelBetweenSubjects)
{
    // The first subject is open with an unsaved change.
    ASSERT_NE(qtDoc->LoadSubjectById(ids[0]), 0);
    Settle();
    qtDoc->m_subject.Modified = 1;

    QMenu* tools = frame->MenuByTitle(QStringLiteral("&Tools"));
    ASSERT_NE(tools, nullptr);
    QAction* update = frame->CommandAction(res::ID_TOOLS_UPDATE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(tools->actions().contains(update));
    EXPECT_EQ(update->text(), "Update");
    frame->UpdateCommandUI();
    EXPECT_TRUE(update->isEnabled());

    // What the user sees and does, watched while the command runs.
    QStringList boxes;
    QStringList steps;
    std::vector<QMessageBox::Icon> icons;
    bool checkingPicture = false;
    bool updatingPicture = false;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (!box->isVisible())
                return;
            const QString text = box->text();
            if (!boxes.isEmpty() && boxes.last() == text)
                return;
            boxes << text;
            icons.push_back(box->icon());
            if (text.startsWith(QLatin1String("Update Subject records")))
                QTest::keyClick(box, Qt::Key_Return); // Yes is the default button
            else if (text == QLatin1String("Save Current Subject?"))
                QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
            else
                QTest::keyClick(box, Qt::Key_Return);
            return;
        }
        QProgressDialog* dialog = widgets.ProgressDialog();
        if (!dialog || !dialog->isVisible() || (!steps.isEmpty() && steps.last() == dialog->labelText()))
            return;
        steps << dialog->labelText();
        if (dialog->labelText() == QLatin1String("Checking subject 2 of 3") && !checkingPicture) {
            checkingPicture = true;
            EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
            EXPECT_EQ(dialog->windowTitle(), "Quorin");
            EXPECT_TRUE(dialog->grab().toImage().save(
                QStringLiteral(QUORIN_SCREENSHOT_DIR "/tools-update-progress-checking.png")));
        }
        if (dialog->labelText() == QLatin1String("Updating subject 2 of 3") && !updatingPicture) {
            updatingPicture = true;
            EXPECT_TRUE(dialog->grab().toImage().save(
                QStringLiteral(QUORIN_SCREENSHOT_DIR "/tools-update-progress.png")));
            auto* cancel = dialog->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), "Cancel");
            QTest::mouseClick(cancel, Qt::LeftButton);
        }
    });
    watcher.start();

    // Tools > Update, as the mouse chooses it from the open menu.
    tools->popup(frame->mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tools));
    QTest::mouseClick(tools, Qt::LeftButton, {}, tools->actionGeometry(update).center());
    Settle();
    watcher.stop();

    EXPECT_EQ(boxes, (QStringList{"Update Subject records from Audiogram Database and Medical Manager?\n"
                                  "Searching and updating my take some time.",
                                  "Save Current Subject?", "Updated 1 records!"}));
    // The question without an icon, the count as information (the box shows the line
    // break as a line break).
    EXPECT_EQ(icons, (std::vector<QMessageBox::Icon>{QMessageBox::NoIcon, QMessageBox::NoIcon,
                                                     QMessageBox::Information}));
    EXPECT_EQ(steps, (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3", "Checking subject 3 of 3",
                                  "Updating subject 1 of 3", "Updating subject 2 of 3"}));
    EXPECT_TRUE(checkingPicture);
    EXPECT_TRUE(updatingPicture);
    EXPECT_EQ(widgets.ProgressDialog(), nullptr);
    // One subject committed before Cancel; the others untouched.
    EXPECT_EQ(Tests(ids[0]), 1);
    EXPECT_EQ(Tests(ids[1]), 0);
    EXPECT_EQ(Tests(ids[2]), 0);
    // The open subject is shown again as stored, with its new test.
    EXPECT_EQ(qtDoc->m_subject.SubjectID, ids[0]);
    EXPECT_EQ(qtDoc->m_subject.Modified, 0);
    EXPECT_EQ(qtDoc->m_audCurrent.Info.TestedBy, "clinic");
    EXPECT_EQ(qtDoc->Interactive, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace quorin::test
