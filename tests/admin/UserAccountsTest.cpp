// Adding, modifying, resetting and deactivating staff members on the embedded engine,
// done by a registry administrator who is no server administrator, each effect proved
// by logging in.

#include "AdminFixture.h"

#include "admin/store/UserAccounts.h"
#include "document/CMemoryReportList.h"

namespace quorin::test {
namespace {

using UserAccounts = AdminTest;

CPersRecord Member(const QString& user, const QString& last, const QString& first, int status,
                   const QString& citi = {}, const QString& nih = {})
{
    CPersRecord record;
    record.UserName = user;
    record.LastName = last;
    record.FirstName = first;
    record.Name = last + QStringLiteral(", ") + first;
    record.Status = status;
    record.Citi = citi;
    record.Nih = nih;
    return record;
}

TEST_F(UserAccounts, ListShowsTheMembersOfAStatusOrAllAndAnUnknownNameIsAReadError)
{
    AddStaffRow("rolson", "OLSON", "ROBERT", 1);
    CMemoryReportList list;
    ASSERT_TRUE(LoadUsers(*doc, list, kAllStaff, true));
    ASSERT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.GetColumnHeading(0), QStringLiteral("Username"));
    EXPECT_EQ(list.GetColumnWidth(0), 120);
    EXPECT_EQ(list.GetColumnHeading(1), QStringLiteral("Name"));
    EXPECT_EQ(list.GetColumnWidth(1), 135);
    EXPECT_EQ(list.GetColumnWidth(2), 0);
    QStringList rows;
    for (int row = 0; row < list.GetItemCount(); ++row)
        rows << list.GetItemText(row, 0) + "|" + list.GetItemText(row, 1);
    EXPECT_EQ(rows, (QStringList{"qadmin|STAFF, qadmin", "quser|STAFF, quser", "rolson|OLSON, ROBERT"}));
    EXPECT_EQ(list.GetItemText(2, 2), PersField("rolson", "PersId"));

    // Another status, the columns kept.
    ASSERT_TRUE(LoadUsers(*doc, list, StaffInactive, false));
    EXPECT_EQ(list.GetColumnCount(), 3);
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("rolson"));

    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, QStringLiteral("ROLSON"), record));
    EXPECT_EQ(record.Status, 1);
    EXPECT_EQ(record.LastName, QStringLiteral("OLSON"));
    EXPECT_EQ(record.UserName, QStringLiteral("rolson"));
    EXPECT_TRUE(Messages().isEmpty());

    EXPECT_FALSE(LoadPersByUsername(*doc, QStringLiteral("nobody"), record));
    EXPECT_EQ(Messages(), QStringList{"Read error on table Pers"});
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
}

TEST_F(UserAccounts, AddedActiveMemberChangesARandomTemporaryPasswordAtTheFirstLogin)
{
    ASSERT_TRUE(CreateNewUser(*doc, Member("JSMITH2", "SMITH", "JOHN", StaffActive, "03/04/2025")));
    ASSERT_TRUE(CreateNewUser(*doc, Member("jsmith3", "SMITH", "JANE", StaffActive)));
    EXPECT_TRUE(Messages().isEmpty());
    const QString temporary = ShownPassword("jsmith2");
    EXPECT_EQ(temporary.size(), 16);
    EXPECT_NE(temporary, ShownPassword("jsmith3"));
    EXPECT_EQ(ui.Messages().front().icon, UserInterface::Icon::Information);
    EXPECT_EQ(PersField("jsmith2", "UserName"), QStringLiteral("jsmith2"));
    EXPECT_EQ(PersField("jsmith2", "Status"), QStringLiteral("0"));
    EXPECT_EQ(PersField("jsmith2", "Name"), QStringLiteral("SMITH, JOHN"));
    EXPECT_TRUE(PersField("jsmith2", "Citi").startsWith("2025-03-04"));
    EXPECT_EQ(LoginsNamed("jsmith2"), 1);
    EXPECT_FALSE(IsMember("Quorin", "jsmith2", "QuorinAdmin"));
    // Whoever holds the temporary password gets nowhere with it but to a new one.
    EXPECT_EQ(LogIn("jsmith2", temporary).refusal, 18488);
    EXPECT_EQ(RunAs("jsmith2", temporary, "EXEC sp_addrolemember 'QuorinAdmin', 'quser'"), -1);
    EXPECT_TRUE(FirstLogIn("jsmith2", temporary).connected);
    EXPECT_EQ(LogIn("jsmith2", temporary).refusal, 18456);
    // An ordinary member runs no security statement.
    EXPECT_EQ(RunAs("jsmith2", kChosen, "CREATE LOGIN [intruder] WITH PASSWORD = 'x', CHECK_POLICY = OFF"), 15247);
    EXPECT_EQ(LoginsNamed("intruder"), 0);
}

TEST_F(UserAccounts, AddedInactiveMemberGetsTheRowButNoLogin)
{
    ASSERT_TRUE(CreateNewUser(*doc, Member("former", "FORMER", "FRAN", StaffInactive)));
    ASSERT_TRUE(CreateNewUser(*doc, Member("nopass", "NO", "PASS", StaffNoPassword)));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(PersField("former", "Status"), QStringLiteral("1"));
    EXPECT_EQ(PersField("nopass", "Status"), QStringLiteral("2"));
    EXPECT_EQ(LoginsNamed("former") + LoginsNamed("nopass"), 0);
    EXPECT_TRUE(ShownPassword("former").isEmpty());
}

TEST_F(UserAccounts, ModifyInactiveToAdministratorCreatesLoginUserAndAdministratorRole)
{
    AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive);
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, "rolson", record));
    record.Status = StaffAdministrator;
    ASSERT_TRUE(UpdatePers(*doc, record, StaffInactive, false));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(PersField("rolson", "Status"), QStringLiteral("3"));
    EXPECT_TRUE(IsMember("Quorin", "rolson", "QuorinAdmin"));
    EXPECT_TRUE(FirstLogIn("rolson", ShownPassword("rolson")).connected);
    // Administrators add logins.
    EXPECT_EQ(RunAs("rolson", kChosen, "CREATE LOGIN [byrolson] WITH PASSWORD = 'x', CHECK_POLICY = OFF"), 0);
    EXPECT_EQ(LoginsNamed("byrolson"), 1);
}

TEST_F(UserAccounts, ModifyActiveToAdministratorMovesTheRoleAndCreatesNothing)
{
    const long long logins = Logins();
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, kUserLogin, record));
    record.Status = StaffAdministrator;
    ASSERT_TRUE(UpdatePers(*doc, record, StaffActive, false));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Logins(), logins);
    EXPECT_TRUE(IsMember("Quorin", kUserLogin, "QuorinAdmin"));
    EXPECT_FALSE(IsMember("Quorin", kUserLogin, "QuorinUser"));
    EXPECT_EQ(PersField(kUserLogin, "Status"), QStringLiteral("3"));
    // The password was not touched.
    EXPECT_TRUE(LogIn(kUserLogin, kUserPassword).connected);
}

TEST_F(UserAccounts, EditingAnInactiveMembersDatesHandsOutNoLogin)
{
    AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive, "2024-01-02");
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, "rolson", record));
    EXPECT_EQ(record.Citi, QStringLiteral("01/02/2024"));
    record.Citi = QStringLiteral("05/06/2026");
    ASSERT_TRUE(UpdatePers(*doc, record, StaffInactive, false));
    // No password either: still nobody to log in.
    record.Status = StaffNoPassword;
    ASSERT_TRUE(UpdatePers(*doc, record, StaffInactive, true));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(PersField("rolson", "Citi").startsWith("2026-05-06"));
    EXPECT_EQ(PersField("rolson", "Status"), QStringLiteral("2"));
    EXPECT_EQ(LoginsNamed("rolson"), 0);
    EXPECT_EQ(UsersNamed("Quorin", "rolson"), 0);
    EXPECT_TRUE(ShownPassword("rolson").isEmpty());
}

TEST_F(UserAccounts, ResetGivesANewTemporaryPasswordButNotToOneselfNorLowersOnesOwnStatus)
{
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, kUserLogin, record));
    ASSERT_TRUE(UpdatePers(*doc, record, StaffActive, true));
    const QString temporary = ShownPassword(kUserLogin);
    EXPECT_EQ(LogIn(kUserLogin, kUserPassword).refusal, 18456);
    EXPECT_EQ(LogIn(kUserLogin, temporary).refusal, 18488);
    EXPECT_TRUE(FirstLogIn(kUserLogin, temporary).connected);

    // One's own login: the password is changed with Change Password, and an
    // administrator who lowered the own status could not undo it.
    const std::string before = Snapshot();
    ASSERT_TRUE(LoadPersByUsername(*doc, kAdminLogin, record));
    EXPECT_FALSE(UpdatePers(*doc, record, StaffAdministrator, true));
    record.Status = StaffActive;
    EXPECT_FALSE(UpdatePers(*doc, record, StaffAdministrator, false));
    EXPECT_EQ(Messages(), (QStringList{"You cannot reset your own password here. Use Change Password.",
                                       "You cannot lower your own status: you would lose the right to manage users. "
                                       "Ask another administrator."}));
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(IsMember("Quorin", kAdminLogin, "QuorinAdmin"));
    EXPECT_TRUE(doc->ConnectAud());
}

TEST_F(UserAccounts, AddRefusesANameThatHasARowAndTakesUpALoginThatHasNone)
{
    AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive);
    TakeShown();
    const std::string before = Snapshot();
    EXPECT_FALSE(CreateNewUser(*doc, Member("ROLSON", "MOREAU", "PAUL", StaffAdministrator)));
    EXPECT_FALSE(CreateNewUser(*doc, Member(kUserLogin, "MOREAU", "PAUL", StaffAdministrator)));
    EXPECT_EQ(Messages(), (QStringList{"A user named rolson already exists. Select them and use Modify.",
                                       "A user named quser already exists. Select them and use Modify."}));
    EXPECT_TRUE(TakeShown().empty()); // refused before any statement changed a thing
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(IsMember("Quorin", kUserLogin, "QuorinAdmin"));
    EXPECT_TRUE(LogIn(kUserLogin, kUserPassword).connected);

    // A login made by hand, without a row, is taken up with its own password.
    ASSERT_EQ(RunAs(kTestAdminLogin, kTestAdminPassword, "CREATE LOGIN [handmade] WITH PASSWORD = 'Hand-Made-9'"), 0);
    ui.ClearMessages();
    ASSERT_TRUE(CreateNewUser(*doc, Member("handmade", "HAND", "MADE", StaffActive)));
    EXPECT_TRUE(ui.Texts().isEmpty()); // no password shown
    EXPECT_TRUE(IsMember("Quorin", "handmade", "QuorinUser"));
    EXPECT_TRUE(LogIn("handmade", "Hand-Made-9").connected);
}

TEST_F(UserAccounts, DeleteDropsTheLoginThenMarksInactiveAgainHarmlessOwnRefused)
{
    ASSERT_TRUE(DeactivateUser(*doc, kUserLogin));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(LogIn(kUserLogin, kUserPassword).refusal, 18456);
    EXPECT_EQ(UsersNamed("Quorin", kUserLogin), 0);
    EXPECT_EQ(PersField(kUserLogin, "Status"), QStringLiteral("1"));

    ASSERT_TRUE(DeactivateUser(*doc, kUserLogin));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(PersField(kUserLogin, "Status"), QStringLiteral("1"));

    const std::string before = Snapshot();
    EXPECT_FALSE(DeactivateUser(*doc, QStringLiteral("QADMIN")));
    EXPECT_EQ(Messages(), QStringList{"You cannot deactivate your own login."});
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(LogIn(kAdminLogin, kAdminPassword).connected);
}

TEST_F(UserAccounts, HostileNamesNeverReachAStatement)
{
    CPersRecord own;
    ASSERT_TRUE(LoadPersByUsername(*doc, kUserLogin, own));
    const std::string before = Snapshot();
    const QStringList names = {"x]; DROP LOGIN admin --", "o'brien", "a b", "", "1abc"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        ui.ClearMessages();
        EXPECT_FALSE(CreateNewUser(*doc, Member(name, "EVIL", "EVE", StaffAdministrator)));
        CPersRecord renamed = own;
        renamed.UserName = name;
        EXPECT_FALSE(UpdatePers(*doc, renamed, StaffInactive, true));
        EXPECT_FALSE(DeactivateUser(*doc, name));
        ASSERT_EQ(ui.Messages().size(), 3u);
        for (const auto& message : ui.Messages()) {
            EXPECT_EQ(message.text, UserNameRuleMessage());
            EXPECT_EQ(message.icon, UserInterface::Icon::Stop);
        }
    }
    EXPECT_TRUE(TakeShown().empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(LogIn(kTestAdminLogin, kTestAdminPassword).connected);
    EXPECT_TRUE(LogIn(kAdminLogin, kAdminPassword).connected);
}

TEST_F(UserAccounts, OwnPasswordChangesToAnyTextAndTheNewOneIsKept)
{
    LogInAs(kUserLogin, kUserPassword);
    // Any character, and complex enough for a login under the password policy.
    const QString first = QStringLiteral("It's]--;é {x} 9");
    ASSERT_TRUE(ChangePassword(*doc, kUserPassword, first, first));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(doc->m_strPassword, first);
    EXPECT_TRUE(LogIn(kUserLogin, first).connected);
    EXPECT_EQ(LogIn(kUserLogin, kUserPassword).refusal, 18456);

    // Again, from the kept one; then a session of its own on Aud.
    ASSERT_TRUE(ChangePassword(*doc, first, QStringLiteral("Second-2"), QStringLiteral("Second-2")));
    EXPECT_TRUE(LogIn(kUserLogin, "Second-2").connected);
    EXPECT_EQ(LogIn(kUserLogin, first).refusal, 18456);
    EXPECT_TRUE(doc->ConnectAud());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(UserAccounts, WrongOldPasswordOrUnequalNewOnesChangeNothingAndSaySo)
{
    LogInAs(kUserLogin, kUserPassword);
    const std::string before = Snapshot();
    EXPECT_FALSE(ChangePassword(*doc, "not-mine", "New-1", "New-1"));
    EXPECT_FALSE(ChangePassword(*doc, kUserPassword, "New-1", "New-2"));
    EXPECT_EQ(Messages(), (QStringList{"Unable to change password", "Unable to change password"}));
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_EQ(doc->m_strPassword, QString::fromLatin1(kUserPassword));
    EXPECT_EQ(Snapshot(), before);

    // The server checks the old password as well: one the document wrongly keeps fails.
    ui.ClearMessages();
    doc->m_strPassword = QStringLiteral("stale");
    EXPECT_FALSE(ChangePassword(*doc, "stale", "New-1", "New-1"));
    EXPECT_EQ(Messages(), QStringList{"Unable to change password"});
    EXPECT_FALSE(TakeShown().empty());
    EXPECT_TRUE(LogIn(kUserLogin, kUserPassword).connected);
}

TEST_F(UserAccounts, AnOrdinaryMemberCannotDeleteButChangesTheOwnPassword)
{
    LogInAs(kUserLogin, kUserPassword);
    const std::string before = Snapshot();
    EXPECT_FALSE(CreateNewUser(*doc, Member("newbie", "NEW", "BIE", StaffActive)));
    EXPECT_EQ(Messages(), QStringList{"Error in write, CreateNewUser!"});
    EXPECT_EQ(TakeNumbers(), std::vector<long>{15247});
    ui.ClearMessages();
    EXPECT_FALSE(DeactivateUser(*doc, kAdminLogin));
    EXPECT_EQ(Messages(), QStringList{"Error in write, DeactivateUser!"});
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    // The server's refusal of a drop: no permission, or (as SQL Server words it for
    // users) nothing it may drop.
    const std::vector<long> refusals = TakeNumbers();
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_TRUE(refusals[0] == 15247 || refusals[0] == 15151) << refusals[0];
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(LogIn(kAdminLogin, kAdminPassword).connected);

    ui.ClearMessages();
    ASSERT_TRUE(ChangePassword(*doc, kUserPassword, "Mine-Pass-2", "Mine-Pass-2"));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(LogIn(kUserLogin, "Mine-Pass-2").connected);
}

// A write that fails part-way takes back what the call made, in reverse.
TEST_F(UserAccounts, FailedRowWriteRemovesTheNewLoginAndUser)
{
    registry.ExecRaw("Quorin", "CREATE TRIGGER no_new_staff BEFORE INSERT ON pers BEGIN SELECT RAISE(ABORT, 'no new "
                               "staff'); END");
    const std::string before = Snapshot();
    EXPECT_FALSE(CreateNewUser(*doc, Member("jsmith2", "SMITH", "JOHN", StaffActive)));
    EXPECT_EQ(Messages(), QStringList{"Error in write, CreateNewUser!"});
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_FALSE(TakeShown().empty()); // the session's own boxes came first
    EXPECT_EQ(LoginsNamed("jsmith2"), 0);
    EXPECT_EQ(UsersNamed("Quorin", "jsmith2"), 0);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(ShownPassword("jsmith2").isEmpty());
}

TEST_F(UserAccounts, LoginThatCannotBeRemovedAgainIsAnnounced)
{
    registry.ExecRaw("Quorin", "CREATE TRIGGER no_new_staff BEFORE INSERT ON pers BEGIN SELECT RAISE(ABORT, 'no new "
                               "staff'); END");
    registry.ExecRaw("master", "CREATE TRIGGER keep_logins BEFORE DELETE ON logins BEGIN SELECT RAISE(ABORT, 'kept'); "
                               "END");
    EXPECT_FALSE(CreateNewUser(*doc, Member("jsmith2", "SMITH", "JOHN", StaffActive)));
    EXPECT_EQ(Messages(), (QStringList{"Error in write, CreateNewUser!", "The login jsmith2 could not be removed again."}));
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_FALSE(TakeShown().empty());
    EXPECT_EQ(UsersNamed("Quorin", "jsmith2"), 0);
}

TEST_F(UserAccounts, FailedReactivationPutsTheLoadedStatusBackWithoutLogin)
{
    AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive);
    registry.ExecRaw("Quorin", "CREATE TRIGGER no_new_users BEFORE INSERT ON sys_database_principals BEGIN SELECT "
                               "RAISE(ABORT, 'no new users'); END");
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, "rolson", record));
    record.Status = StaffActive;
    record.FirstName = QStringLiteral("BOB");
    EXPECT_FALSE(UpdatePers(*doc, record, StaffInactive, false));
    EXPECT_EQ(Messages(), QStringList{"Error in write, UpdatePers!"});
    EXPECT_FALSE(TakeShown().empty());
    EXPECT_EQ(PersField("rolson", "Status"), QStringLiteral("1"));
    EXPECT_EQ(LoginsNamed("rolson"), 0);
    EXPECT_TRUE(ShownPassword("rolson").isEmpty());
}

TEST_F(UserAccounts, DeleteStopsAtTheFirstFailingDropAndStaysActive)
{
    registry.ExecRaw("master", "CREATE TRIGGER keep_logins BEFORE DELETE ON logins BEGIN SELECT RAISE(ABORT, 'kept'); "
                               "END");
    EXPECT_FALSE(DeactivateUser(*doc, kUserLogin));
    EXPECT_EQ(Messages(), QStringList{"Error in write, DeactivateUser!"});
    EXPECT_FALSE(TakeShown().empty());
    // The login is still there, so the member is not called inactive.
    EXPECT_EQ(PersField(kUserLogin, "Status"), QStringLiteral("0"));
    EXPECT_EQ(LoginsNamed(kUserLogin), 1);
}

} // namespace
} // namespace quorin::test
