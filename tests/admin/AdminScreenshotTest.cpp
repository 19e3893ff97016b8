// Renders the Users window (all members), the User dialog of a former member and the
// Change Password dialog on the demo registry to PNG files next to the test binary, so
// that a reviewer sees them as a user does.

#include "AdminFixture.h"

#include "admin/ui/CChangePasswordDlg.h"
#include "admin/ui/CUserDlg.h"
#include "admin/ui/CUsersDlg.h"
#include "registration/DialogRegistry.h"
#include "database/demo/DemoRegistry.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "admin/ui/AdminTemplates.h"

#include "dalport/Clock.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace quorin::test {
namespace {

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Saves the window's picture and reads it back.
void Shoot(QWidget* window, const char* name)
{
    ASSERT_NE(window, nullptr);
    Settle();
    const QImage image = window->grab().toImage();
    const QString file = QStringLiteral(QUORIN_SCREENSHOT_DIR "/") + QLatin1String(name);
    ASSERT_TRUE(image.save(file));
    EXPECT_EQ(QImage(file).size(), window->size());
}

void OnNextModal(std::function<void(QWidget*)> handler)
{
    QTimer::singleShot(0, [handler] { handler(QApplication::activeModalWidget()); });
}

TEST(AdminScreenshots, UsersUserAndChangePasswordOnTheDemoRegistry)
{
    dalport::SetFixedClock(kTestNow);
    const fs::path folder = fs::temp_directory_path() / ("quorin-admin-shot-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    demo::CreateDemoRegistry(folder.string(), 20, demo::kDefaultDemoSeed);
    const demo::DemoStaffLogin& admin = demo::demoStaffLogins().front();
    ScriptedUserInterface ui;
    {
        CQuorinDoc doc(ui);
        doc.m_strServer = QString::fromStdString(folder.string());
        doc.m_strUserName = QString::fromLatin1(admin.login);
        doc.m_strPassword = QString::fromLatin1(admin.password);
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.m_db.IsConnected());

        int rows = 0;
        OnNextModal([&](QWidget* modal) {
            auto users = qobject_cast<CUsersDlg*>(modal);
            ASSERT_NE(users, nullptr);
            auto filter = framework::FindControlAs<QComboBox>(users, res::users::IDC_FILTER);
            filter->setCurrentIndex(4);
            users->OnFilterChanged();
            rows = users->List()->GetItemCount();
            users->List()->SelectItem(0);
            Shoot(users, "users-dialog.png");

            OnNextModal([&](QWidget* inner) {
                Shoot(inner, "user-dialog.png");
                QTest::mouseClick(framework::FindControl(inner, 2), Qt::LeftButton);
            });
            const int former = [&] {
                for (int row = 0; row < rows; ++row)
                    if (users->List()->GetItemText(row, 0) == QLatin1String("rolson"))
                        return row;
                return 0;
            }();
            users->List()->SelectItem(former);
            users->OnModify();
            QTest::mouseClick(framework::FindControl(users, 2), Qt::LeftButton);
        });
        RunRegisteredDialog(UserInterface::Dialog::Users, nullptr, doc);
        // Every demo member, with and without login.
        EXPECT_EQ(rows, 6);

        OnNextModal([&](QWidget* modal) {
            ASSERT_NE(qobject_cast<CChangePasswordDlg*>(modal), nullptr);
            framework::FindControlAs<QLineEdit>(modal, res::password::IDC_OLD)->setText(QStringLiteral("old-one"));
            framework::FindControlAs<QLineEdit>(modal, res::password::IDC_NEW)->setText(QStringLiteral("new-one"));
            Shoot(modal, "change-password-dialog.png");
            QTest::mouseClick(framework::FindControl(modal, 2), Qt::LeftButton);
        });
        EXPECT_EQ(RunRegisteredDialog(UserInterface::Dialog::ChangePassword, nullptr, doc), 2);
        EXPECT_TRUE(ui.Texts().isEmpty());
    }
    dalport::ResetClock();
    fs::remove_all(folder);
}

} // namespace
} // namespace quorin::test
