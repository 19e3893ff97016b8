// Tools > Users and Tools > Change Password as a user drives them, by keys and mouse on
// Qt's offscreen platform: the list and its filter, Add and Modify through the User
// dialog with its checks in order, Delete, and the own password.

#include "AdminFixture.h"

#include "subjects_ui/FormFixture.h"

#include "admin/ui/CChangePasswordDlg.h"
#include "admin/ui/CUserDlg.h"
#include "admin/ui/CUsersDlg.h"
#include "admin/store/UserAccounts.h"
#include "registration/DialogRegistry.h"
#include "framework/ControlId.h"
#include "framework/MessageBox.h"
#include "framework/ReportListCtrl.h"
#include "admin/ui/AdminTemplates.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace quorin::test {
namespace {

// The user's hands of the form tests.
struct Hands : FormTest {
    using FormTest::Click;
    using FormTest::ChooseFromList;
    using FormTest::OnNextModal;
    using FormTest::Settle;
    using FormTest::ShowActive;
};

template <class T>
T* Control(QWidget* window, int id)
{
    return framework::FindControlAs<T>(window, id);
}

QStringList Users(CUsersDlg* dialog)
{
    QStringList rows;
    for (int row = 0; row < dialog->List()->GetItemCount(); ++row)
        rows << dialog->List()->GetItemText(row, 0);
    return rows;
}

void ClickRow(CReportListCtrl* list, int row, bool twice = false)
{
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    Hands::Settle();
}

int RowOf(CUsersDlg* dialog, const QString& user)
{
    return Users(dialog).indexOf(user);
}

// The field that has the focus in the open modal dialog (offscreen, a dialog opened
// from another need not become the active window).
QWidget* Typing()
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal->focusWidget() : nullptr;
}

void Press(Qt::Key key)
{
    QWidget* focus = Typing();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key);
    Hands::Settle();
}

void Type(const QString& text)
{
    QWidget* focus = Typing();
    ASSERT_NE(focus, nullptr);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(focus, c.toLatin1());
        else // no key of its own: the character as a keyboard layout gives it
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    Hands::Settle();
}

bool Focused(QWidget* control)
{
    return control && control->window()->focusWidget() == control;
}

// The boxes the framework shows itself (the field checks) join the document's in one
// list, in the order the user saw them.
class DialogTest : public AdminTest {
protected:
    void SetUp() override
    {
        AdminTest::SetUp();
        m_previousPresenter =
            framework::SetMessagePresenter([this](QWidget*, const framework::MessageRequest& request) {
                ui.MessageBox(request.text,
                              request.icon == framework::MessageIcon::Stop ? UserInterface::Icon::Stop
                              : request.icon == framework::MessageIcon::Information
                                  ? UserInterface::Icon::Information
                                  : UserInterface::Icon::Default,
                              UserInterface::Buttons::Ok);
                return framework::MessageResult::Ok;
            });
    }
    void TearDown() override
    {
        Hands::Settle();
        framework::SetMessagePresenter(m_previousPresenter);
        AdminTest::TearDown();
    }

private:
    framework::MessagePresenter m_previousPresenter;
};

class AdminDialogs : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive);
    }

    // Tools > Users as the menu runs it, with the user's actions while it is open; OK
    // closes it afterwards if the actions left it open.
    int RunUsers(std::function<void(CUsersDlg*)> actions)
    {
        Hands::OnNextModal([actions](QWidget* modal) {
            auto dialog = qobject_cast<CUsersDlg*>(modal);
            EXPECT_NE(dialog, nullptr);
            if (dialog) {
                dialog->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
                actions(dialog);
            }
            if (modal && modal->isVisible())
                Hands::Click(framework::FindControl(modal, 1));
        });
        return RunRegisteredDialog(UserInterface::Dialog::Users, nullptr, *doc);
    }

    // The User dialog that the click or key opens, handled while it is open.
    static void WithUserDialog(std::function<void()> open, std::function<void(CUserDlg*)> actions)
    {
        // Shared with the handler: when no dialog opens it runs after this returns.
        auto seen = std::make_shared<bool>(false);
        Hands::OnNextModal([seen, actions](QWidget* modal) {
            auto dialog = qobject_cast<CUserDlg*>(modal);
            if (!dialog)
                return;
            *seen = true;
            dialog->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            actions(dialog);
            // A dialog the actions left open is cancelled, so the test goes on.
            if (dialog->isVisible())
                Hands::Click(framework::FindControl(dialog, 2));
        });
        open();
        EXPECT_TRUE(*seen) << "no User dialog opened";
    }
};

TEST_F(AdminDialogs, ListStartsWithTheActiveAndTheFilterReloadsAllPassingFour)
{
    QStringList first, all, inactive;
    QString caption;
    QStringList headings;
    EXPECT_EQ(RunUsers([&](CUsersDlg* dialog) {
                  caption = dialog->windowTitle();
                  for (int c = 0; c < dialog->List()->GetColumnCount(); ++c)
                      headings << dialog->List()->GetColumnHeading(c);
                  first = Users(dialog);
                  auto filter = Control<QComboBox>(dialog, res::users::IDC_FILTER);
                  EXPECT_EQ(filter->currentIndex(), 0);
                  Hands::ChooseFromList(filter, kAllStaff);
                  all = Users(dialog);
                  EXPECT_EQ(dialog->m_nFilter, kAllStaff);
                  Hands::ChooseFromList(filter, StaffInactive);
                  inactive = Users(dialog);
              }),
              1);
    EXPECT_EQ(caption, QStringLiteral("Quorin Users"));
    EXPECT_EQ(headings, (QStringList{"Username", "Name", ""}));
    EXPECT_EQ(first, QStringList{"quser"});
    EXPECT_EQ(all, (QStringList{"qadmin", "quser", "rolson"}));
    EXPECT_EQ(inactive, QStringList{"rolson"});
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(AdminDialogs, ModifyAndDeleteWithoutASelectionAskForOne)
{
    RunUsers([&](CUsersDlg* dialog) {
        Hands::Click(Control<QWidget>(dialog, res::users::IDC_MODIFY));
        Hands::Click(Control<QWidget>(dialog, res::users::IDC_DELETE));
    });
    EXPECT_EQ(Messages(), (QStringList{"Please make a selection!", "Please make a selection!"}));
    EXPECT_EQ(PersField(kUserLogin, "Status"), QStringLiteral("0"));
}

TEST_F(AdminDialogs, AddByKeysChecksInOrderAndKeepsFocusOnTheFieldAtFault)
{
    QStringList after;
    RunUsers([&](CUsersDlg* dialog) {
        WithUserDialog([&] { Hands::Click(Control<QWidget>(dialog, res::users::IDC_ADD)); },
                       [&](CUserDlg* user) {
                           EXPECT_EQ(user->windowTitle(), QStringLiteral("User"));
                           auto name = Control<QLineEdit>(user, res::user::IDC_USERNAME);
                           auto last = Control<QLineEdit>(user, res::user::IDC_LAST);
                           auto first = Control<QLineEdit>(user, res::user::IDC_FIRST);
                           EXPECT_TRUE(Focused(name));
                           EXPECT_FALSE(name->isReadOnly());
                           EXPECT_EQ(name->maxLength(), 50);
                           EXPECT_EQ(last->maxLength(), 50);
                           EXPECT_EQ(first->maxLength(), 50);

                           Press(Qt::Key_Return);
                           EXPECT_TRUE(Focused(name));
                           Type(QStringLiteral("x]; DROP LOGIN admin --"));
                           Press(Qt::Key_Return);
                           EXPECT_TRUE(Focused(name));
                           name->selectAll();
                           Type(QStringLiteral("jsmith2"));
                           EXPECT_EQ(name->text(), QStringLiteral("JSMITH2"));
                           Press(Qt::Key_Return);
                           EXPECT_TRUE(Focused(last));
                           Type(QStringLiteral("SMITH"));
                           Press(Qt::Key_Return);
                           EXPECT_TRUE(Focused(first));
                           Type(QStringLiteral("JOHN"));
                           Press(Qt::Key_Tab);
                           auto status = Control<QComboBox>(user, res::user::IDC_STATUS);
                           EXPECT_TRUE(Focused(status));
                           EXPECT_EQ(status->currentIndex(), -1);
                           Hands::ChooseFromList(status, StaffActive);
                           Press(Qt::Key_Tab);
                           EXPECT_TRUE(Focused(Control<QLineEdit>(user, res::user::IDC_CITI)));
                           Type(QStringLiteral("13/01/2025"));
                           Press(Qt::Key_Return);
                           // The date check's own message; the dialog stays.
                           EXPECT_TRUE(user->isVisible());
                           Control<QLineEdit>(user, res::user::IDC_CITI)->selectAll();
                           Type(QStringLiteral("01/13/2025"));
                           Press(Qt::Key_Return);
                           EXPECT_FALSE(user->isVisible());
                       });
        after = Users(dialog);
    });
    ASSERT_EQ(ui.Messages().size(), 6u); // and the temporary password's box
    EXPECT_EQ(Messages(), (QStringList{"Please Enter a UserName", UserNameRuleMessage(), "Please Enter a Last Name",
                                        "Please Enter a First Name",
                                        "Error: Invalid Date - use MM/DD/YYYY or MM-DD-YYYY format."}));
    for (std::size_t i = 0; i + 1 < ui.Messages().size(); ++i)
        EXPECT_EQ(ui.Messages()[i].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Information); // the temporary password
    EXPECT_EQ(after, (QStringList{"jsmith2", "quser"}));
    EXPECT_EQ(PersField("jsmith2", "LastName"), QStringLiteral("SMITH"));
    EXPECT_TRUE(PersField("jsmith2", "Citi").startsWith("2025-01-13"));
    EXPECT_TRUE(FirstLogIn("jsmith2", ShownPassword("jsmith2")).connected);
    EXPECT_EQ(LoginsNamed("intruder") + LoginsNamed("x"), 0);
}

TEST_F(AdminDialogs, HostileNamesAreRefusedAtTheFieldAndNothingIsSent)
{
    const std::string before = Snapshot();
    RunUsers([&](CUsersDlg* dialog) {
        WithUserDialog([&] { Hands::Click(Control<QWidget>(dialog, res::users::IDC_ADD)); },
                       [&](CUserDlg* user) {
                           auto name = Control<QLineEdit>(user, res::user::IDC_USERNAME);
                           Control<QLineEdit>(user, res::user::IDC_LAST)->setFocus();
                           Type(QStringLiteral("EVIL"));
                           Press(Qt::Key_Tab);
                           Type(QStringLiteral("EVE"));
                           Hands::ChooseFromList(Control<QComboBox>(user, res::user::IDC_STATUS),
                                                 StaffAdministrator);
                           for (const QString& hostile : {QStringLiteral("x]; DROP LOGIN admin --"),
                                                          QStringLiteral("o'brien"), QStringLiteral("a b")}) {
                               name->setFocus();
                               name->selectAll();
                               Type(hostile);
                               Press(Qt::Key_Return);
                               EXPECT_TRUE(user->isVisible());
                               EXPECT_TRUE(Focused(name));
                           }
                           Press(Qt::Key_Escape);
                       });
    });
    EXPECT_EQ(Messages(), QStringList(3, UserNameRuleMessage()));
    EXPECT_TRUE(TakeShown().empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(LogIn(kAdminLogin, kAdminPassword).connected);
}

TEST_F(AdminDialogs, DoubleClickModifiesWithTheNameCaptionAndAReadOnlyUserName)
{
    QString caption, shownName;
    bool readOnly = false;
    RunUsers([&](CUsersDlg* dialog) {
        Hands::ChooseFromList(Control<QComboBox>(dialog, res::users::IDC_FILTER), kAllStaff);
        const int row = RowOf(dialog, "rolson");
        ASSERT_GE(row, 0);
        WithUserDialog([&] { ClickRow(dialog->List(), row, true); },
                       [&](CUserDlg* user) {
                           caption = user->windowTitle();
                           auto name = Control<QLineEdit>(user, res::user::IDC_USERNAME);
                           shownName = name->text();
                           readOnly = name->isReadOnly();
                           EXPECT_TRUE(Focused(Control<QLineEdit>(user, res::user::IDC_LAST)));
                           EXPECT_EQ(Control<QComboBox>(user, res::user::IDC_STATUS)->currentIndex(), StaffInactive);
                           Hands::ChooseFromList(Control<QComboBox>(user, res::user::IDC_STATUS), StaffAdministrator);
                           Hands::Click(Control<QWidget>(user, 1));
                       });
        // The reload cleared the selection: pick the row again, Modify by Enter, leave by
        // Escape.
        ClickRow(dialog->List(), RowOf(dialog, "rolson"));
        WithUserDialog([&] { Press(Qt::Key_Return); }, [&](CUserDlg* user) {
            EXPECT_EQ(Control<QComboBox>(user, res::user::IDC_STATUS)->currentIndex(), StaffAdministrator);
            Press(Qt::Key_Escape);
            EXPECT_FALSE(user->isVisible());
        });
    });
    EXPECT_EQ(caption, QStringLiteral("OLSON, ROBERT"));
    EXPECT_EQ(shownName, QStringLiteral("ROLSON"));
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(PersField("rolson", "Status"), QStringLiteral("3"));
    EXPECT_TRUE(IsMember("Quorin", "rolson", "QuorinAdmin"));
}

TEST_F(AdminDialogs, ModifyOfARowGoneMeanwhileIsAReadErrorWithoutDialog)
{
    RunUsers([&](CUsersDlg* dialog) {
        registry.ExecRaw("Quorin", "delete from pers where UserName = 'quser'");
        ClickRow(dialog->List(), 0);
        Hands::Click(Control<QWidget>(dialog, res::users::IDC_MODIFY));
        EXPECT_TRUE(Users(dialog).isEmpty());
    });
    EXPECT_EQ(Messages(), QStringList{"Read error on table Pers"});
}

TEST_F(AdminDialogs, DeleteOfTheSelectedMemberDropsTheLoginAndReloads)
{
    QStringList after;
    RunUsers([&](CUsersDlg* dialog) {
        ClickRow(dialog->List(), RowOf(dialog, "quser"));
        Hands::Click(Control<QWidget>(dialog, res::users::IDC_DELETE));
        after = Users(dialog);
    });
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(after.isEmpty());
    EXPECT_EQ(PersField(kUserLogin, "Status"), QStringLiteral("1"));
    EXPECT_EQ(LogIn(kUserLogin, kUserPassword).refusal, 18456);
}

class ChangePasswordDialog : public DialogTest {
protected:
    int Run(std::function<void(CChangePasswordDlg*)> actions)
    {
        Hands::OnNextModal([actions](QWidget* modal) {
            auto dialog = qobject_cast<CChangePasswordDlg*>(modal);
            EXPECT_NE(dialog, nullptr);
            if (dialog) {
                dialog->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
                actions(dialog);
            }
            if (modal && modal->isVisible())
                Hands::Click(framework::FindControl(modal, 2));
        });
        return RunRegisteredDialog(UserInterface::Dialog::ChangePassword, nullptr, *doc);
    }
};

TEST_F(ChangePasswordDialog, KeysGoOldNewReenteredAndAMismatchClearsBothNewFields)
{
    LogInAs(kUserLogin, kUserPassword);
    const QString next = QStringLiteral("It's]--;é 9");
    EXPECT_EQ(Run([&](CChangePasswordDlg* dialog) {
                  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Change Password"));
                  auto old = Control<QLineEdit>(dialog, res::password::IDC_OLD);
                  auto fresh = Control<QLineEdit>(dialog, res::password::IDC_NEW);
                  auto again = Control<QLineEdit>(dialog, res::password::IDC_REENTER);
                  for (QLineEdit* edit : {old, fresh, again})
                      EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
                  EXPECT_TRUE(Focused(old));
                  Press(Qt::Key_Return);
                  EXPECT_TRUE(Focused(old));
                  Type(kUserPassword);
                  Press(Qt::Key_Tab);
                  EXPECT_TRUE(Focused(fresh));
                  Press(Qt::Key_Return);
                  EXPECT_TRUE(Focused(fresh));
                  Type(next);
                  Press(Qt::Key_Tab);
                  EXPECT_TRUE(Focused(again));
                  Press(Qt::Key_Return);
                  EXPECT_TRUE(Focused(again));
                  Type(QStringLiteral("something else"));
                  Press(Qt::Key_Return);
                  EXPECT_TRUE(fresh->text().isEmpty());
                  EXPECT_TRUE(again->text().isEmpty());
                  EXPECT_EQ(old->text(), QString::fromLatin1(kUserPassword));
                  EXPECT_TRUE(Focused(fresh));
                  Type(next);
                  Press(Qt::Key_Tab);
                  Type(next);
                  Press(Qt::Key_Return);
                  EXPECT_FALSE(dialog->isVisible());
              }),
              1);
    EXPECT_EQ(Messages(), (QStringList{"You must enter your old Password.", "You must enter a new Password.",
                                        "You must enter a new Password twice.", "Mismatch in new password!"}));
    for (const auto& message : ui.Messages())
        EXPECT_EQ(message.icon, UserInterface::Icon::Default);
    EXPECT_EQ(doc->m_strPassword, next);
    EXPECT_TRUE(LogIn(kUserLogin, next).connected);
    EXPECT_EQ(LogIn(kUserLogin, kUserPassword).refusal, 18456);
}

TEST_F(ChangePasswordDialog, WrongOldPasswordSaysSoAndEscapeChangesNothing)
{
    LogInAs(kUserLogin, kUserPassword);
    Run([&](CChangePasswordDlg*) {
        Type(QStringLiteral("not-mine"));
        Press(Qt::Key_Tab);
        Type(QStringLiteral("New-1"));
        Press(Qt::Key_Tab);
        Type(QStringLiteral("New-1"));
        Press(Qt::Key_Return);
    });
    EXPECT_EQ(Messages(), QStringList{"Unable to change password"});
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    ui.ClearMessages();
    EXPECT_EQ(Run([&](CChangePasswordDlg* dialog) {
                  Type(kUserPassword);
                  Press(Qt::Key_Escape);
                  EXPECT_FALSE(dialog->isVisible());
              }),
              2);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(LogIn(kUserLogin, kUserPassword).connected);
}

} // namespace
} // namespace quorin::test
