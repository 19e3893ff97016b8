// Tools > Users and Tools > Change Password as a user drives them, by keys and mouse on
// Qt's offscreen platform: what opens what, the field at fault keeps the focus, Enter
// and Escape. What the accounts do is UserAccountsTest's.

#include "AdminFixture.h"

#include "subjects_ui/FormFixture.h"

#include "admin/ui/AdminTemplates.h"
#include "admin/ui/CChangePasswordDlg.h"
#include "admin/ui/CUserDlg.h"
#include "admin/ui/CUsersDlg.h"
#include "admin/store/UserAccounts.h"
#include "registration/DialogRegistry.h"
#include "framework/ControlId.h"
#include "framework/MessageBox.h"
#include "framework/ReportListCtrl.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace quorin::test {
namespace {

using framework::FindControl;
using framework::FindControlAs;

// The user's hands of the form tests.
struct Hands : FormTest {
    using FormTest::Click;
    using FormTest::ChooseFromList;
    using FormTest::OnNextModal;
    using FormTest::Settle;
};

QStringList Users(CUsersDlg* dialog)
{
    QStringList rows;
    for (int row = 0; row < dialog->List()->GetItemCount(); ++row)
        rows << dialog->List()->GetItemText(row, 0);
    return rows;
}

// A click, or a double-click, on the member's row.
void ClickRow(CUsersDlg* dialog, const QString& user, bool twice = false)
{
    CReportListCtrl* list = dialog->List();
    const QPoint at = list->visualItemRect(list->topLevelItem(Users(dialog).indexOf(user))).center();
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    Hands::Settle();
}

// Types the text, then presses the key, in the field that has the focus in the open
// modal dialog (offscreen, a dialog opened from another need not become the active window).
void Type(const QString& text, Qt::Key key = Qt::Key_unknown)
{
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* focus = modal ? modal->focusWidget() : nullptr;
    ASSERT_NE(focus, nullptr);
    for (const QChar c : text)
        QTest::keyClick(focus, c.toLatin1());
    if (key != Qt::Key_unknown)
        QTest::keyClick(focus, key);
    Hands::Settle();
}

void Press(Qt::Key key)
{
    Type(QString(), key);
}

bool Focused(QWidget* control)
{
    return control && control->window()->focusWidget() == control;
}

// The next modal dialog of the class, once it is open, goes to the actions; one they leave
// open is closed with the button (1 OK, 2 Cancel). The flag, shared with the handler
// (which runs after the caller returns when no dialog opens), says whether it opened.
template <class T>
std::shared_ptr<bool> OnNextDialog(std::function<void(T*)> actions, int closeWith)
{
    auto seen = std::make_shared<bool>(false);
    Hands::OnNextModal([seen, actions, closeWith](QWidget* modal) {
        auto dialog = qobject_cast<T*>(modal);
        if (!dialog)
            return;
        *seen = true;
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        actions(dialog);
        if (dialog->isVisible())
            Hands::Click(FindControl(dialog, closeWith));
    });
    return seen;
}

// The boxes the framework shows itself (the field checks) join the document's in one
// list, in the order the user saw them.
class AdminDialogs : public AdminTest {
protected:
    void SetUp() override
    {
        AdminTest::SetUp();
        m_previousPresenter =
            framework::SetMessagePresenter([this](QWidget*, const framework::MessageRequest& request) {
                ui.MessageBox(request.text, UserInterface::Icon::Default, UserInterface::Buttons::Ok);
                return framework::MessageResult::Ok;
            });
        AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive);
    }
    void TearDown() override
    {
        Hands::Settle();
        framework::SetMessagePresenter(m_previousPresenter);
        AdminTest::TearDown();
    }

    // The dialog as its menu command runs it, with the user's actions while it is open.
    template <class T>
    int Run(UserInterface::Dialog which, std::function<void(T*)> actions, int closeWith)
    {
        const auto seen = OnNextDialog<T>(actions, closeWith);
        const int result = RunRegisteredDialog(which, nullptr, *doc);
        EXPECT_TRUE(*seen) << "the dialog did not open";
        return result;
    }
    int RunUsers(std::function<void(CUsersDlg*)> actions)
    {
        return Run<CUsersDlg>(UserInterface::Dialog::Users, actions, 1);
    }
    // The User dialog that the click or key opens, handled while it is open.
    static void WithUserDialog(std::function<void()> open, std::function<void(CUserDlg*)> actions)
    {
        const auto seen = OnNextDialog<CUserDlg>(actions, 2);
        open();
        EXPECT_TRUE(*seen) << "no User dialog opened";
    }

private:
    framework::MessagePresenter m_previousPresenter;
};

// The list starts with the active members; Modify and Delete ask for a selection; Delete
// drops the selected member; the filter reloads; a double-click or Enter opens the
// selected member, whose name can no longer change, and Escape leaves.
TEST_F(AdminDialogs, UsersWindowListsFiltersModifiesAndDeletesTheSelectedMember)
{
    QStringList first, afterDelete, all;
    QString caption;
    bool readOnly = false;
    EXPECT_EQ(RunUsers([&](CUsersDlg* dialog) {
                  first = Users(dialog);
                  Hands::Click(FindControl(dialog, res::users::IDC_MODIFY));
                  Hands::Click(FindControl(dialog, res::users::IDC_DELETE));
                  ClickRow(dialog, "quser");
                  Hands::Click(FindControl(dialog, res::users::IDC_DELETE));
                  afterDelete = Users(dialog);
                  Hands::ChooseFromList(FindControlAs<QComboBox>(dialog, res::users::IDC_FILTER), kAllStaff);
                  all = Users(dialog);
                  WithUserDialog([&] { ClickRow(dialog, "rolson", true); }, [&](CUserDlg* user) {
                      caption = user->windowTitle();
                      readOnly = FindControlAs<QLineEdit>(user, res::user::IDC_USERNAME)->isReadOnly();
                      EXPECT_TRUE(Focused(FindControl(user, res::user::IDC_LAST)));
                      Hands::ChooseFromList(FindControlAs<QComboBox>(user, res::user::IDC_STATUS), StaffAdministrator);
                      Hands::Click(FindControl(user, 1));
                  });
                  ClickRow(dialog, "rolson");
                  WithUserDialog([&] { Press(Qt::Key_Return); }, [&](CUserDlg* user) {
                      Press(Qt::Key_Escape);
                      EXPECT_FALSE(user->isVisible());
                  });
              }),
              1);
    EXPECT_EQ(first, QStringList{"quser"});
    EXPECT_TRUE(afterDelete.isEmpty());
    EXPECT_EQ(all, (QStringList{"qadmin", "quser", "rolson"}));
    EXPECT_EQ(caption, QStringLiteral("OLSON, ROBERT"));
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(Messages(), (QStringList{"Please make a selection!", "Please make a selection!"}));
    EXPECT_EQ(PersField("rolson", "Status"), QStringLiteral("3"));
    EXPECT_EQ(PersField(kUserLogin, "Status"), QStringLiteral("1"));
}

// Enter checks the fields in order, each refusal leaving the focus on the field at fault.
TEST_F(AdminDialogs, UserDialogChecksByEnterAndKeepsTheFocusOnTheFieldAtFault)
{
    QStringList after;
    RunUsers([&](CUsersDlg* dialog) {
        WithUserDialog([&] { Hands::Click(FindControl(dialog, res::users::IDC_ADD)); }, [&](CUserDlg* user) {
            auto name = FindControlAs<QLineEdit>(user, res::user::IDC_USERNAME);
            auto citi = FindControlAs<QLineEdit>(user, res::user::IDC_CITI);
            EXPECT_TRUE(Focused(name));
            Press(Qt::Key_Return);
            EXPECT_TRUE(Focused(name));
            Type(QStringLiteral("jsmith2"));
            EXPECT_EQ(name->text(), QStringLiteral("JSMITH2"));
            Press(Qt::Key_Return);
            EXPECT_TRUE(Focused(FindControl(user, res::user::IDC_LAST)));
            Type(QStringLiteral("SMITH"), Qt::Key_Return);
            EXPECT_TRUE(Focused(FindControl(user, res::user::IDC_FIRST)));
            Type(QStringLiteral("JOHN"), Qt::Key_Tab);
            Hands::ChooseFromList(FindControlAs<QComboBox>(user, res::user::IDC_STATUS), StaffActive);
            Press(Qt::Key_Tab);
            Type(QStringLiteral("13/01/2025"), Qt::Key_Return);
            EXPECT_TRUE(Focused(citi));
            citi->selectAll();
            Type(QStringLiteral("01/13/2025"), Qt::Key_Return);
            EXPECT_FALSE(user->isVisible());
        });
        after = Users(dialog);
    });
    EXPECT_EQ(Messages(), (QStringList{"Please Enter a UserName", "Please Enter a Last Name",
                                        "Please Enter a First Name",
                                        "Error: Invalid Date - use MM/DD/YYYY or MM-DD-YYYY format."}));
    EXPECT_EQ(after, (QStringList{"jsmith2", "quser"}));
}

// Each empty field keeps the focus, a mismatch clears both new fields, and Escape leaves.
TEST_F(AdminDialogs, ChangePasswordKeysGoOldNewReenteredAndAMismatchClearsBothNewFields)
{
    LogInAs(kUserLogin, kUserPassword);
    const QString next = QStringLiteral("New-Pass-9");
    const auto changePassword = [&](std::function<void(CChangePasswordDlg*)> actions) {
        return Run<CChangePasswordDlg>(UserInterface::Dialog::ChangePassword, actions, 2);
    };
    EXPECT_EQ(changePassword([&](CChangePasswordDlg* dialog) {
                  auto old = FindControlAs<QLineEdit>(dialog, res::password::IDC_OLD);
                  auto fresh = FindControlAs<QLineEdit>(dialog, res::password::IDC_NEW);
                  auto again = FindControlAs<QLineEdit>(dialog, res::password::IDC_REENTER);
                  for (QLineEdit* edit : {old, fresh, again}) {
                      EXPECT_TRUE(Focused(edit));
                      Press(Qt::Key_Return);
                      EXPECT_TRUE(Focused(edit));
                      Type(edit == old ? QString(kUserPassword) : edit == fresh ? next : QStringLiteral("else"),
                           edit == again ? Qt::Key_Return : Qt::Key_Tab);
                  }
                  EXPECT_TRUE(fresh->text().isEmpty() && again->text().isEmpty());
                  EXPECT_TRUE(Focused(fresh));
                  Type(next, Qt::Key_Tab);
                  Type(next, Qt::Key_Return);
                  EXPECT_FALSE(dialog->isVisible());
              }),
              1);
    EXPECT_EQ(Messages(), (QStringList{"You must enter your old Password.", "You must enter a new Password.",
                                        "You must enter a new Password twice.", "Mismatch in new password!"}));
    EXPECT_EQ(doc->m_strPassword, next);
    EXPECT_EQ(changePassword([&](CChangePasswordDlg*) { Press(Qt::Key_Escape); }), 2);
}

} // namespace
} // namespace quorin::test
