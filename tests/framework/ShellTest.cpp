// The application shell on Qt's offscreen platform: the login dialog, start-up with a
// cancelled login (a working one is the subjects' keyboard test, a failing one the
// document's), and the first start without a registry.
#include "app/CLoginDlg.h"
#include "app/CMainFrame.h"
#include "app/CQuorinApp.h"
#include "app/FirstRun.h"
#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "resources/Resource.h"
#include "MessageRecorder.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QLineEdit* Field(QWidget* dialog, int id)
{
    return framework::FindControlAs<QLineEdit>(dialog, id);
}

TEST(LoginDialogTest, UserNameHasTheFocusAnEmptyOneIsRefusedAndEscapeCancels)
{
    framework::test::MessageRecorder messages;
    CLoginDlg dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Field(&dialog, res::IDC_USERNAME));
    EXPECT_EQ(Field(&dialog, res::IDC_PASSWORD)->echoMode(), QLineEdit::Password);
    Field(&dialog, res::IDC_PASSWORD)->setText(QStringLiteral("secret"));
    framework::FindControlAs<QPushButton>(&dialog, res::IDOK)->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("You must enter a username"));
    EXPECT_EQ(messages.shown[0].icon, framework::MessageIcon::Stop);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Field(&dialog, res::IDC_PASSWORD)->text(), QStringLiteral("secret"));
    QTest::keyClick(Field(&dialog, res::IDC_USERNAME), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(Startup, CancelledLoginEndsWithExitCodeOneAndNoWindow)
{
    CQuorinApp app;
    app.SetLoginRunner([](CLoginDlg&) { return int(CTemplateDialog::IDCANCEL); });
    EXPECT_EQ(app.InitInstance(), 1);
    EXPECT_EQ(app.m_pMainFrame, nullptr);
    EXPECT_EQ(app.GetDocument(), nullptr);
}

// Nothing is created when the offer is declined or the passwords differ or are empty;
// never an administrator without a password. Once created, a second start asks nothing.
TEST(FirstRunTest, TheRegistryIsCreatedOnlyWithAChosenPasswordAndOnlyOnce)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray previous = qgetenv("QUORIN_REGISTRY");
    const QString registry = folder.path() + QStringLiteral("/registry");
    qputenv("QUORIN_REGISTRY", registry.toLocal8Bit());
    bool yes = true;
    QStringList questions, told, typed;
    quorin::FirstRunPrompts prompts;
    prompts.askYesNo = [&](const QString& question) {
        questions << question;
        return yes;
    };
    prompts.askPassword = [&](const QString&) -> std::optional<QString> {
        if (typed.isEmpty())
            return std::nullopt;
        return typed.takeFirst();
    };
    prompts.tell = [&](const QString& message) { told << message; };
    QString password;
    const auto offer = [&](const QString& server = {}) {
        return quorin::OfferEmptyRegistry(server, QStringLiteral("labadmin"), password, prompts);
    };
    const auto exists = [&](const char* file) { return QFileInfo::exists(registry + QLatin1Char('/') + file); };

    EXPECT_EQ(offer(QStringLiteral("sqlhost")), quorin::FirstRunResult::NotNeeded);
    yes = false;
    EXPECT_EQ(offer(), quorin::FirstRunResult::Declined);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("labadmin")));
    yes = true;
    typed = {QStringLiteral("one"), QStringLiteral("two"), QString(), QString()};
    EXPECT_EQ(offer(), quorin::FirstRunResult::Declined);
    EXPECT_EQ(offer(), quorin::FirstRunResult::Declined);
    EXPECT_EQ(told.size(), 2);
    EXPECT_FALSE(exists("master.db"));

    typed = {QStringLiteral("Fresh-Start-1"), QStringLiteral("Fresh-Start-1")};
    EXPECT_EQ(offer(), quorin::FirstRunResult::Created);
    EXPECT_EQ(password, QStringLiteral("Fresh-Start-1"));
    EXPECT_TRUE(exists("master.db") && exists("Quorin.db"));
    EXPECT_EQ(offer(), quorin::FirstRunResult::NotNeeded);
    EXPECT_EQ(questions.size(), 4);
    qputenv("QUORIN_REGISTRY", previous);
}

} // namespace
