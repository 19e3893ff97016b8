// The application shell on Qt's offscreen platform: the login dialog, start-up up to the
// login (a working one is the subjects' keyboard test, a failing one the document's), and
// the first start without a registry, against the real engine.
#include "app/CLoginDlg.h"
#include "app/CMainFrame.h"
#include "app/CQuorinApp.h"
#include "app/FirstRun.h"
#include "app/FirstStartDialog.h"
#include "dalport/MyADO.h"
#include "database/demo/DemoRegistry.h"
#include "document/CQuorinDoc.h"
#include "document/UserInterface.h"
#include "framework/ControlId.h"
#include "resources/Resource.h"
#include "MessageRecorder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace {

using quorin::FirstStartChoice;
using quorin::FirstStartKind;

QLineEdit* Field(QWidget* dialog, int id)
{
    return framework::FindControlAs<QLineEdit>(dialog, id);
}

void ShowActive(QWidget* dialog)
{
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QApplication::processEvents();
}

// Keys go where the focus is, as on a desktop.
void Press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

void Type(const QString& text)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
}

TEST(LoginDialogTest, UserNameHasTheFocusAnEmptyOneIsRefusedAndEscapeCancels)
{
    framework::test::MessageRecorder messages;
    CLoginDlg dialog;
    ShowActive(&dialog);
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

TEST(LoginDialogTest, AFilledInUserNameLeavesThePasswordToType)
{
    CLoginDlg dialog;
    dialog.m_strUserName = QStringLiteral("labadmin");
    dialog.m_strServer = QStringLiteral("sqlhost");
    ShowActive(&dialog);
    EXPECT_EQ(QApplication::focusWidget(), Field(&dialog, res::IDC_PASSWORD));
    EXPECT_EQ(Field(&dialog, res::IDC_USERNAME)->text(), QStringLiteral("labadmin"));
    EXPECT_EQ(Field(&dialog, res::IDC_SERVER)->text(), QStringLiteral("sqlhost"));
}

// Quitting the first start ends before the login; what it chose fills the login dialog;
// a cancelled login ends with no window.
TEST(Startup, QuitOrACancelledLoginEndsWithExitCodeOneAndTheFirstStartFillsTheLogin)
{
    CQuorinApp app;
    QStringList logins;
    app.SetLoginRunner([&](CLoginDlg& dialog) {
        logins << dialog.m_strServer + QLatin1Char('|') + dialog.m_strUserName;
        return int(CTemplateDialog::IDCANCEL);
    });
    app.SetFirstStartRunner([] { return std::optional<quorin::LoginFields>(); });
    EXPECT_EQ(app.InitInstance(), 1);
    EXPECT_TRUE(logins.isEmpty());
    app.SetFirstStartRunner(
        [] { return std::optional(quorin::LoginFields{QStringLiteral("sqlhost"), QStringLiteral("lab")}); });
    EXPECT_EQ(app.InitInstance(), 1);
    EXPECT_EQ(logins, QStringList{QStringLiteral("sqlhost|lab")});
    EXPECT_EQ(app.m_pMainFrame, nullptr);
    EXPECT_EQ(app.GetDocument(), nullptr);

    // The server of a login that connected before is named again, without a first start
    // (the subjects' keyboard test shows it kept after a login).
    QSettings().setValue(QStringLiteral("Login/Server"), QStringLiteral("sqlhost2"));
    app.SetFirstStartRunner([]() -> std::optional<quorin::LoginFields> {
        ADD_FAILURE() << "the first start was shown";
        return std::nullopt;
    });
    EXPECT_EQ(app.InitInstance(), 1);
    EXPECT_EQ(logins.back(), QStringLiteral("sqlhost2|"));

    // A remembered registry folder that has gone names nothing: the first start comes back.
    QTemporaryDir gone;
    QSettings().setValue(QStringLiteral("Login/Server"), gone.filePath(QStringLiteral("registry")));
    int firstStarts = 0;
    app.SetFirstStartRunner([&firstStarts] {
        ++firstStarts;
        return std::optional<quorin::LoginFields>();
    });
    EXPECT_EQ(app.InitInstance(), 1);
    EXPECT_EQ(firstStarts, 1);
    QSettings().remove(QStringLiteral("Login/Server"));
}

// By keys alone: the first choice has the focus, Down moves to the empty registry, Tab
// reaches its fields, Enter continues with what was typed; Escape quits.
TEST(FirstStartDialogTest, KeysChooseAnEmptyRegistryEnterContinuesEscapeQuits)
{
    framework::test::MessageRecorder messages;
    const quorin::FirstStartOffer offer{QStringLiteral("registry-folder"), QStringLiteral("demoadmin"),
                                        QStringLiteral("Demo-Secret-9"), {}};
    FirstStartDialog dialog(offer);
    ShowActive(&dialog);
    QString texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts += label->text() + QLatin1Char('\n');
    EXPECT_TRUE(texts.contains(QStringLiteral("There is no registry in registry-folder yet.")) &&
                texts.contains(QStringLiteral("demoadmin")) && texts.contains(QStringLiteral("Demo-Secret-9")))
        << texts.toStdString();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quorin"));

    auto* choice = qobject_cast<QRadioButton*>(QApplication::focusWidget());
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(dialog.Choice().kind, FirstStartKind::Demo);
    Press(Qt::Key_Down);
    EXPECT_EQ(dialog.Choice().kind, FirstStartKind::Empty);
    EXPECT_NE(QApplication::focusWidget(), choice);
    Press(Qt::Key_Tab);
    ASSERT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
    Type(QStringLiteral("labadmin"));
    Press(Qt::Key_Tab);
    Type(QStringLiteral("Fresh-Start-1"));
    Press(Qt::Key_Tab);
    Type(QStringLiteral("Fresh-Start-1"));
    Press(Qt::Key_Return);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const FirstStartChoice chosen = dialog.Choice();
    EXPECT_EQ(chosen.admin, QStringLiteral("labadmin"));
    EXPECT_EQ(chosen.password, QStringLiteral("Fresh-Start-1"));
    EXPECT_EQ(chosen.confirmation, QStringLiteral("Fresh-Start-1"));

    FirstStartDialog quit(offer);
    ShowActive(&quit);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    Press(Qt::Key_Escape);
    EXPECT_EQ(quit.result(), QDialog::Rejected);
    EXPECT_FALSE(quit.isVisible());
}

// The first start with the default registry's folder in a temporary folder; the chooser
// answers with the choices given in turn, then Quit.
class FirstStartTest : public ::testing::Test {
protected:
    static constexpr int kDemoSubjects = 40;

    void SetUp() override
    {
        ASSERT_TRUE(m_temporary.isValid());
        qputenv("QUORIN_REGISTRY", QFile::encodeName(Registry()));
        m_prompts.tell = [this](const QString& message) { told << message; };
        m_prompts.runWithProgress = [this](quorin::BackgroundWork& work) {
            if (cancelDemo)
                work.Cancel();
            work.Run();
        };
    }
    void TearDown() override
    {
        if (m_hadRegistry)
            qputenv("QUORIN_REGISTRY", m_previous);
        else
            qunsetenv("QUORIN_REGISTRY");
    }

    QString Folder() const { return m_temporary.path(); }
    QString Registry() const { return m_temporary.filePath(QStringLiteral("registry")); }
    bool Made() const { return QFileInfo::exists(Registry() + QStringLiteral("/master.db")); }

    std::optional<quorin::LoginFields> Run(QList<FirstStartChoice> choices)
    {
        return quorin::RunFirstStart(
            [&](const quorin::FirstStartOffer& offer) -> std::optional<FirstStartChoice> {
                offers << offer;
                madeWhenAsked << Made();
                if (choices.isEmpty())
                    return std::nullopt;
                return choices.takeFirst();
            },
            m_prompts, kDemoSubjects);
    }

    QStringList told;
    QList<quorin::FirstStartOffer> offers;
    QList<bool> madeWhenAsked;
    bool cancelDemo = false;

private:
    const bool m_hadRegistry = qEnvironmentVariableIsSet("QUORIN_REGISTRY");
    const QByteArray m_previous = qgetenv("QUORIN_REGISTRY");
    QTemporaryDir m_temporary;
    quorin::FirstStartPrompts m_prompts;
};

FirstStartChoice Empty(const char* admin, const char* password, const char* again)
{
    return {FirstStartKind::Empty, QString::fromLatin1(admin), QString::fromLatin1(password),
            QString::fromLatin1(again), {}};
}

// Each refusal is told and the choice comes back as typed, with nothing created; then a
// good one creates the registry and fills the login with it. A second start asks nothing.
TEST_F(FirstStartTest, AnEmptyRegistryNeedsANameAndTwoEqualPasswordsTheEngineAccepts)
{
    const struct {
        FirstStartChoice choice;
        const char* told;
    } refused[] = {
        {Empty(" ", "Fresh-Start-1", "Fresh-Start-1"), "administrator's name"},
        {Empty("labadmin", "Fresh-Start-1", "Fresh-Start-2"), "passwords differ"},
        {Empty("labadmin", "freshstart", "freshstart"), "not complex enough"},
        {Empty("labadmin", "Labadmin-2024", "Labadmin-2024"), "not complex enough"},
        {{FirstStartKind::Server, {}, {}, {}, QStringLiteral("  ")}, "name of the server"},
    };
    QList<FirstStartChoice> choices;
    for (const auto& row : refused)
        choices << row.choice;
    choices << Empty("labadmin", "Fresh-Start-1", "Fresh-Start-1");

    const int refusals = static_cast<int>(std::size(refused));
    const auto fields = Run(choices);
    ASSERT_EQ(told.size(), refusals) << told.join(QLatin1Char('|')).toStdString();
    for (int i = 0; i < refusals; ++i) {
        EXPECT_TRUE(told[i].contains(QLatin1String(refused[i].told))) << told[i].toStdString();
        EXPECT_EQ(offers[i + 1].last.password, refused[i].choice.password) << "shown again as typed";
    }
    EXPECT_EQ(madeWhenAsked, QList<bool>(refusals + 1, false));
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->server, QDir::toNativeSeparators(Registry()));
    EXPECT_EQ(fields->userName, QStringLiteral("labadmin"));
    EXPECT_TRUE(Made());

    const auto again = Run({});
    ASSERT_TRUE(again.has_value());
    EXPECT_TRUE(again->server.isEmpty() && again->userName.isEmpty());
    EXPECT_EQ(offers.size(), refusals + 1) << "the chooser is not shown";
}

// A cancelled demo leaves nothing behind and returns to the choice without a word; Quit
// then ends the first start. The demo made is one its administrator logs in to.
TEST_F(FirstStartTest, ADemoCancelledLeavesNothingAndOneMadeTakesItsAdministratorsLogin)
{
    const FirstStartChoice demo{FirstStartKind::Demo, {}, {}, {}, {}};
    cancelDemo = true;
    EXPECT_FALSE(Run({demo}).has_value());
    EXPECT_EQ(offers.size(), 2);
    EXPECT_TRUE(told.isEmpty()) << told.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(QFile::encodeName(Folder()).toStdString()))
        << "no folder, not even a half-made one";

    cancelDemo = false;
    const auto fields = Run({demo});
    ASSERT_TRUE(fields.has_value()) << told.join(QLatin1Char('|')).toStdString();
    const quorin::demo::DemoStaffLogin& admin = quorin::demo::demoStaffLogins().front();
    EXPECT_EQ(offers.back().demoLogin, QString::fromLatin1(admin.login));
    EXPECT_EQ(offers.back().demoPassword, QString::fromLatin1(admin.password));
    EXPECT_EQ(fields->userName, QString::fromLatin1(admin.login));
    MyADO session;
    ASSERT_EQ(session.SetDataSource(QFile::encodeName(fields->server).constData(), admin.login, admin.password,
                                    "Quorin"),
              1);
    ASSERT_EQ(session.RunTextQuery("SELECT count(*) AS n FROM subjects"), 1);
    EXPECT_EQ(session.GetIntField("n"), kDemoSubjects);
}

} // namespace
