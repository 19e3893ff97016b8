// Tools > Back Up Registry... in the main frame on a real embedded registry: who may run
// it, the backup file in the chosen folder named in the answer, the chosen folder offered
// next time, and Cancel from the progress leaving nothing behind.

#include "admin/AdminFixture.h"

#include "resources/Resource.h"
#include "support/MainFrameHarness.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>

#include <memory>

namespace quorin::test {
namespace {

class BackupCommand : public AdminTest {
protected:
    void TearDown() override
    {
        CloseFrame();
        ui.SetBackgroundRunner(nullptr);
        AdminTest::TearDown();
    }

    // The command's action in the main frame opened on the document, its state up to date.
    QAction* Command() { return mainFrame.Action(*doc, res::ID_TOOLS_BACKUP_REGISTRY); }
    void CloseFrame() { mainFrame.Close(); }
    // Everything in the chosen folder, hidden files too.
    QStringList Left() const
    {
        return QDir(backups.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    CommandFrame mainFrame;
    QTemporaryDir backups;
};

TEST_F(BackupCommand, IsOfferedToAdministratorsOfAnEmbeddedRegistryOnly)
{
    // A null server: the test's embedded registry.
    struct Case { const char* who; const char* login; const char* password; const char* server; bool enabled; };
    const Case cases[] = {
        {"an administrator", kAdminLogin, kAdminPassword, nullptr, true},
        {"an active member", kUserLogin, kUserPassword, nullptr, false},
        {"an administrator of a SQL Server registry", kAdminLogin, kAdminPassword, "sqlhost", false},
    };
    for (const Case& c : cases) {
        CloseFrame();
        LogInAs(c.login, c.password);
        ASSERT_NE(Command(), nullptr);
        if (c.server) // named once the workspace stands, so that nothing tries to reach it
            doc->m_strServer = QString::fromLatin1(c.server);
        EXPECT_EQ(Command()->isEnabled(), c.enabled) << c.who;
    }
    QAction* action = Command();
    EXPECT_TRUE(mainFrame.frame->MenuByTitle(QStringLiteral("&Tools"))->actions().contains(action));
    EXPECT_EQ(action->text(), QStringLiteral("&Back Up Registry..."));
    EXPECT_TRUE(action->statusTip().contains(QStringLiteral("SQL Server's own backup")))
        << action->statusTip().toStdString();
}

TEST_F(BackupCommand, MakesOneFileInTheChosenFolderAndNamesIt)
{
    QAction* action = Command();
    ASSERT_TRUE(action && action->isEnabled());
    int step = -1, total = 0;
    ui.SetBackgroundRunner([&](BackgroundWork& work) {
        work.Run();
        step = work.ProgressStep();
        total = work.ProgressTotal();
    });
    ui.ClearMessages();
    ui.ChooseFolderNext(backups.path());
    action->trigger();
    const QStringList made = Left();
    ASSERT_EQ(made.size(), 1) << made.join(" ").toStdString();
    EXPECT_TRUE(made[0].endsWith(QStringLiteral(".quorin-backup"))) << made[0].toStdString();
    EXPECT_GT(QFileInfo(QDir(backups.path()).filePath(made[0])).size(), 0);
    ASSERT_EQ(ui.Texts().size(), 1);
    EXPECT_TRUE(ui.Texts()[0].contains(made[0])) << ui.Texts()[0].toStdString();
    EXPECT_EQ(step, total) << "the progress ends at the whole";

    // The next time the chooser opens where this backup went; cancelling it does nothing.
    ui.ChooseFolderNext(QString());
    action->trigger();
    EXPECT_EQ(ui.FolderStarts(), (QStringList{QDir::homePath(), backups.path()}));
    EXPECT_EQ(ui.Texts().size(), 1);
}

TEST_F(BackupCommand, CancelFromTheProgressLeavesNoFile)
{
    ui.SetBackgroundRunner([](BackgroundWork& work) {
        work.Cancel(); // at once, as the progress opens
        work.Run();
    });
    ui.ClearMessages();
    QAction* action = Command();
    ASSERT_NE(action, nullptr);
    ui.ChooseFolderNext(backups.path());
    action->trigger();
    EXPECT_TRUE(Left().isEmpty()) << Left().join(" ").toStdString();
    ASSERT_EQ(ui.Texts().size(), 1);
    EXPECT_TRUE(ui.Texts()[0].contains(QStringLiteral("cancelled"))) << ui.Texts()[0].toStdString();
}

} // namespace
} // namespace quorin::test
