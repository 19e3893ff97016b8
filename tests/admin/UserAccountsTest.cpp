// Adding, modifying, resetting and deactivating staff members on the embedded engine with
// grants enforced, done by a registry administrator who is no server administrator, each
// effect proved by logging in; and failures taken back in reverse.

#include "AdminFixture.h"

#include "admin/store/UserAccounts.h"

namespace quorin::test {
namespace {

using UserAccounts = AdminTest;

CPersRecord Member(const QString& user, const QString& last, const QString& first, int status,
                   const QString& citi = {})
{
    CPersRecord record;
    record.UserName = user;
    record.LastName = last;
    record.FirstName = first;
    record.Name = last + QStringLiteral(", ") + first;
    record.Status = status;
    record.Citi = citi;
    return record;
}

// A write of the kind ("INSERT", "DELETE") on the table fails from now on.
void Refuse(const TestRegistry& registry, const char* database, const char* kind, const std::string& table)
{
    registry.ExecRaw(database, "CREATE TRIGGER refuse_" + table + " BEFORE " + kind + " ON " + table
                                   + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
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
    // Whoever holds the temporary password gets nowhere with it but to a new one.
    EXPECT_EQ(LogIn("jsmith2", temporary).refusal, 18488);
    EXPECT_EQ(RunAs("jsmith2", temporary, "EXEC sp_addrolemember 'QuorinAdmin', 'quser'"), -1);
    EXPECT_TRUE(FirstLogIn("jsmith2", temporary).connected);
    EXPECT_EQ(LogIn("jsmith2", temporary).refusal, 18456);
    // An ordinary member runs no security statement.
    EXPECT_FALSE(IsMember("Quorin", "jsmith2", "QuorinAdmin"));
    EXPECT_EQ(RunAs("jsmith2", kChosen, "CREATE LOGIN [intruder] WITH PASSWORD = 'x', CHECK_POLICY = OFF"), 15247);
    EXPECT_EQ(LoginsNamed("intruder"), 0);
}

// Inactive and no-password members have a row and no login, also when their dates
// change; made administrator, a member gets a login. (Which role a status gives is the
// procedure's, tested with the database.)
TEST_F(UserAccounts, OnlyAnActiveOrAdministratorStatusHasALogin)
{
    ASSERT_TRUE(CreateNewUser(*doc, Member("nopass", "NO", "PASS", StaffNoPassword)));
    AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive, "2024-01-02");
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, "rolson", record));
    EXPECT_EQ(record.Citi, QStringLiteral("01/02/2024"));
    record.Citi = QStringLiteral("05/06/2026");
    ASSERT_TRUE(UpdatePers(*doc, record, StaffInactive, false));
    EXPECT_TRUE(PersField("rolson", "Citi").startsWith("2026-05-06"));
    EXPECT_EQ(LoginsNamed("nopass") + LoginsNamed("rolson") + UsersNamed("Quorin", "rolson"), 0);
    EXPECT_TRUE(ui.Texts().isEmpty());

    record.Status = StaffAdministrator;
    ASSERT_TRUE(UpdatePers(*doc, record, StaffInactive, false));
    EXPECT_TRUE(FirstLogIn("rolson", ShownPassword("rolson")).connected);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(UserAccounts, ResetGivesANewTemporaryPasswordButNotToOneselfNorLowersOnesOwnStatus)
{
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, kUserLogin, record));
    ASSERT_TRUE(UpdatePers(*doc, record, StaffActive, true));
    const QString temporary = ShownPassword(kUserLogin);
    EXPECT_EQ(LogIn(kUserLogin, kUserPassword).refusal, 18456);
    EXPECT_TRUE(FirstLogIn(kUserLogin, temporary).connected);

    // One's own password is changed with Change Password, and an administrator who lowered
    // the own status could not undo it.
    const std::string before = Snapshot();
    ASSERT_TRUE(LoadPersByUsername(*doc, kAdminLogin, record));
    EXPECT_FALSE(UpdatePers(*doc, record, StaffAdministrator, true));
    record.Status = StaffActive;
    EXPECT_FALSE(UpdatePers(*doc, record, StaffAdministrator, false));
    EXPECT_FALSE(DeactivateUser(*doc, QStringLiteral("QADMIN")));
    EXPECT_EQ(Messages(), (QStringList{"You cannot reset your own password here. Use Change Password.",
                                       "You cannot lower your own status: you would lose the right to manage users. "
                                       "Ask another administrator.",
                                       "You cannot deactivate your own login."}));
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(UserAccounts, AddRefusesANameThatHasARowAndTakesUpALoginThatHasNone)
{
    AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive);
    TakeErrors();
    const std::string before = Snapshot();
    EXPECT_FALSE(CreateNewUser(*doc, Member("ROLSON", "MOREAU", "PAUL", StaffAdministrator)));
    EXPECT_FALSE(CreateNewUser(*doc, Member(kUserLogin, "MOREAU", "PAUL", StaffAdministrator)));
    EXPECT_EQ(Messages(), (QStringList{"A user named rolson already exists. Select them and use Modify.",
                                       "A user named quser already exists. Select them and use Modify."}));
    EXPECT_TRUE(TakeErrors().empty()); // refused before any statement changed a thing
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

TEST_F(UserAccounts, HostileNamesNeverReachAStatement)
{
    CPersRecord own;
    ASSERT_TRUE(LoadPersByUsername(*doc, kUserLogin, own));
    const std::string before = Snapshot();
    for (const QString name : {"x]; DROP LOGIN admin --", "o'brien", "a b", "", "1abc"}) {
        SCOPED_TRACE(name.toStdString());
        ui.ClearMessages();
        EXPECT_FALSE(CreateNewUser(*doc, Member(name, "EVIL", "EVE", StaffAdministrator)));
        CPersRecord renamed = own;
        renamed.UserName = name;
        EXPECT_FALSE(UpdatePers(*doc, renamed, StaffInactive, true));
        EXPECT_FALSE(DeactivateUser(*doc, name));
        EXPECT_EQ(Messages(), QStringList(3, UserNameRuleMessage()));
    }
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(LogIn(kTestAdminLogin, kTestAdminPassword).connected);
}

// Any character, and complex enough for a login under the password policy; the server
// checks the old password as well, so one the document wrongly keeps fails.
TEST_F(UserAccounts, OwnPasswordChangesToAnyTextAndAWrongOldOrUnequalNewOneChangesNothing)
{
    LogInAs(kUserLogin, kUserPassword);
    const std::string before = Snapshot();
    EXPECT_FALSE(ChangePassword(*doc, "not-mine", "New-1", "New-1"));
    EXPECT_FALSE(ChangePassword(*doc, kUserPassword, "New-1", "New-2"));
    doc->m_strPassword = QStringLiteral("stale");
    EXPECT_FALSE(ChangePassword(*doc, "stale", "New-1", "New-1"));
    EXPECT_EQ(Messages(), QStringList(3, QStringLiteral("Unable to change password")));
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(Snapshot(), before);

    doc->m_strPassword = QString::fromLatin1(kUserPassword);
    ui.ClearMessages();
    const QString first = QStringLiteral("It's]--;é {x} 9");
    ASSERT_TRUE(ChangePassword(*doc, kUserPassword, first, first));
    EXPECT_EQ(doc->m_strPassword, first);
    EXPECT_TRUE(LogIn(kUserLogin, first).connected);
    EXPECT_EQ(LogIn(kUserLogin, kUserPassword).refusal, 18456);
    EXPECT_TRUE(doc->ConnectAud());
    EXPECT_TRUE(Messages().isEmpty());
}

// A write that fails part-way takes back what the call made, in reverse.
TEST_F(UserAccounts, FailedRowWriteRemovesTheNewLoginAndUser)
{
    Refuse(registry, "Quorin", "INSERT", "pers");
    const std::string before = Snapshot();
    EXPECT_FALSE(CreateNewUser(*doc, Member("jsmith2", "SMITH", "JOHN", StaffActive)));
    EXPECT_EQ(Messages(), QStringList{"Error in write, CreateNewUser!"});
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_FALSE(TakeErrors().empty()); // the session's own boxes came first
    EXPECT_EQ(LoginsNamed("jsmith2"), 0);
    EXPECT_EQ(UsersNamed("Quorin", "jsmith2"), 0);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(ShownPassword("jsmith2").isEmpty());
}

TEST_F(UserAccounts, LoginThatCannotBeRemovedAgainIsAnnounced)
{
    Refuse(registry, "Quorin", "INSERT", "pers");
    Refuse(registry, "master", "DELETE", "logins");
    EXPECT_FALSE(CreateNewUser(*doc, Member("jsmith2", "SMITH", "JOHN", StaffActive)));
    EXPECT_EQ(Messages(), (QStringList{"Error in write, CreateNewUser!", "The login jsmith2 could not be removed again."}));
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(UsersNamed("Quorin", "jsmith2"), 0);
}

TEST_F(UserAccounts, FailedReactivationPutsTheLoadedStatusBackWithoutLogin)
{
    AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive);
    Refuse(registry, "Quorin", "INSERT", "sys_database_principals");
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, "rolson", record));
    record.Status = StaffActive;
    record.FirstName = QStringLiteral("BOB");
    EXPECT_FALSE(UpdatePers(*doc, record, StaffInactive, false));
    EXPECT_EQ(Messages(), QStringList{"Error in write, UpdatePers!"});
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(PersField("rolson", "Status"), QStringLiteral("1"));
    EXPECT_EQ(LoginsNamed("rolson"), 0);
    EXPECT_TRUE(ShownPassword("rolson").isEmpty());
}

TEST_F(UserAccounts, DeleteStopsAtTheFirstFailingDropAndStaysActive)
{
    Refuse(registry, "master", "DELETE", "logins");
    EXPECT_FALSE(DeactivateUser(*doc, kUserLogin));
    EXPECT_EQ(Messages(), QStringList{"Error in write, DeactivateUser!"});
    EXPECT_FALSE(TakeErrors().empty());
    // The login is still there, so the member is not called inactive.
    EXPECT_EQ(PersField(kUserLogin, "Status"), QStringLiteral("0"));
    EXPECT_EQ(LoginsNamed(kUserLogin), 1);
}

} // namespace
} // namespace quorin::test
