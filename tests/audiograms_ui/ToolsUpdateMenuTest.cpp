// Tools > Update chosen from the main window's menu with the program's own message boxes
// and progress dialog: the question, both phases of the progress, Cancel reaching the
// job between subjects, and the closing count.

#include "FormFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "app/QtUserInterface.h"
#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quorin::test {
namespace {

using ToolsUpdateMenuTest = FormTest;

TEST_F(ToolsUpdateMenuTest, TheMenuAsksShowsBothPhasesAndCancelStopsBetweenSubjects)
{
    for (int k = 1; k <= 3; ++k) {
        AddSubject(QStringLiteral("Subject%1").arg(k), QStringLiteral("Morgan"), 7000 + k, QStringLiteral("1987-04-09"));
        const std::string i = std::to_string(k);
        registry.ExecRaw("Aud", "insert into info (PatientIndex, PatientNum, Date, Birthdate) values (" + i + ", 700" + i
                                    + ", '2024-02-02 11:15:00.000', '1987-04-09 00:00:00.000');insert into Other "
                                      "(PatientIndex) values (" + i + ");insert into newpoints values (" + i + ", 4, 7, 1, 0);");
    }
    // The program's document, user interface and main window.
    QtUserInterface widgets;
    CQuorinDoc program(widgets);
    program.m_strServer = doc->m_strServer;
    program.m_strUserName = doc->m_strUserName;
    program.m_strPassword = doc->m_strPassword;
    ASSERT_TRUE(program.OnNewDocument());
    CCreateContext programContext;
    programContext.m_pCurrentDoc = &program;
    std::unique_ptr<CDocumentCommands> commands;
    std::unique_ptr<CMainFrame> frame; // closed first
    ASSERT_TRUE(OpenMainFrame(frame, commands, program, programContext));
    widgets.SetMainFrame(frame.get());
    widgets.SetDocument(&program);
    ASSERT_TRUE(ShowMainFrame(*frame, 1000, 760));

    // What the user sees and does, watched while the command runs.
    QStringList boxes, steps;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (box->isVisible() && (boxes.isEmpty() || boxes.last() != box->text())) {
                boxes << box->text();
                QTest::keyClick(box, Qt::Key_Return); // Yes is the question's default button
            }
            return;
        }
        QProgressDialog* progress = widgets.ProgressDialog();
        if (!progress || !progress->isVisible() || (!steps.isEmpty() && steps.last() == progress->labelText()))
            return;
        steps << progress->labelText();
        if (progress->labelText() == QLatin1String("Updating subject 2 of 3")) {
            auto* cancel = progress->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            QTest::mouseClick(cancel, Qt::LeftButton);
        }
    });
    watcher.start();
    QMenu* tools = frame->MenuByTitle(QStringLiteral("&Tools"));
    ASSERT_NE(tools, nullptr);
    QAction* update = frame->CommandAction(res::ID_TOOLS_UPDATE);
    frame->UpdateCommandUI();
    ASSERT_TRUE(tools->actions().contains(update) && update->isEnabled());
    tools->popup(frame->mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tools));
    QTest::mouseClick(tools, Qt::LeftButton, {}, tools->actionGeometry(update).center());
    Settle();
    watcher.stop();

    EXPECT_EQ(boxes, (QStringList{"Update Subject records from Audiogram Database and Medical Manager?\n"
                                  "Searching and updating my take some time.",
                                  "Updated 1 records!"}));
    EXPECT_EQ(steps, (QStringList{"Checking subject 1 of 3", "Checking subject 2 of 3", "Checking subject 3 of 3",
                                  "Updating subject 1 of 3", "Updating subject 2 of 3"}));
    EXPECT_EQ(widgets.ProgressDialog(), nullptr);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud"), 1) << "one subject committed before Cancel";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace quorin::test
