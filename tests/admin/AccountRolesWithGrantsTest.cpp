// What the account procedures do on the server with grants enforced: the role of the
// status in Quorin, Aud and CID for a member added or reactivated, administrators who
// add users, and an ordinary member refused every account procedure.

#include "AdminFixture.h"

#include "admin/store/UserAccounts.h"

namespace quorin::test {
namespace {

using AccountRoles = AdminTest;

CPersRecord Member(const QString& user, int status)
{
    CPersRecord record;
    record.UserName = user;
    record.LastName = QStringLiteral("SMITH");
    record.FirstName = QStringLiteral("JOHN");
    record.Name = QStringLiteral("SMITH, JOHN");
    record.Status = status;
    return record;
}

TEST_F(AccountRoles, AddedActiveMemberOpensQuorinAudAndCidAsAnOrdinaryUser)
{
    ASSERT_TRUE(CreateNewUser(*doc, Member("JSMITH2", StaffActive)));
    EXPECT_TRUE(Messages().isEmpty());
    for (const char* database : {"Quorin", "Aud", "CID"}) {
        SCOPED_TRACE(database);
        EXPECT_TRUE(IsMember(database, "jsmith2", "QuorinUser"));
        EXPECT_FALSE(IsMember(database, "jsmith2", "QuorinAdmin"));
    }
    ASSERT_TRUE(FirstLogIn("jsmith2", ShownPassword("jsmith2")).connected);
    for (const char* database : {"Aud", "CID"})
        EXPECT_TRUE(LogIn("jsmith2", kChosen, database).connected) << database;
    EXPECT_EQ(RunAs("jsmith2", kChosen, "CREATE LOGIN [intruder] WITH PASSWORD = 'x', CHECK_POLICY = OFF"), 15247);
}

TEST_F(AccountRoles, AddedAdministratorAddsUsers)
{
    ASSERT_TRUE(CreateNewUser(*doc, Member("padmin", StaffAdministrator)));
    EXPECT_TRUE(IsMember("Quorin", "padmin", "QuorinAdmin"));
    ASSERT_TRUE(FirstLogIn("padmin", ShownPassword("padmin")).connected);
    LogInAs("padmin", kChosen);
    ASSERT_TRUE(CreateNewUser(*doc, Member("newbie", StaffActive)));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(FirstLogIn("newbie", ShownPassword("newbie"), kChosen, "Aud").connected);
}

TEST_F(AccountRoles, ReactivatedMemberOpensAudAndCidAndDeletedOneNothing)
{
    AddStaffRow("rolson", "OLSON", "ROBERT", StaffInactive);
    CPersRecord record;
    ASSERT_TRUE(LoadPersByUsername(*doc, "rolson", record));
    record.Status = StaffAdministrator;
    ASSERT_TRUE(UpdatePers(*doc, record, StaffInactive, false));
    ASSERT_TRUE(FirstLogIn("rolson", ShownPassword("rolson")).connected);
    for (const char* database : {"Quorin", "Aud", "CID"})
        EXPECT_TRUE(LogIn("rolson", kChosen, database).connected) << database;

    ASSERT_TRUE(DeactivateUser(*doc, "rolson"));
    for (const char* database : {"Quorin", "Aud", "CID"})
        EXPECT_EQ(LogIn("rolson", kChosen, database).refusal, 18456) << database;
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(AccountRoles, OrdinaryMemberIsRefusedModifyAndReset)
{
    LogInAs(kUserLogin, kUserPassword);
    const std::string before = Snapshot();
    CPersRecord own;
    ASSERT_TRUE(LoadPersByUsername(*doc, kUserLogin, own));
    own.Status = StaffAdministrator;
    EXPECT_FALSE(UpdatePers(*doc, own, StaffActive, false));
    EXPECT_EQ(Messages(), QStringList{"Error in write, UpdatePers!"});
    EXPECT_FALSE(TakeNumbers().empty());

    ui.ClearMessages();
    CPersRecord admin;
    ASSERT_TRUE(LoadPersByUsername(*doc, kAdminLogin, admin));
    EXPECT_FALSE(UpdatePers(*doc, admin, StaffAdministrator, true));
    EXPECT_EQ(Messages(), QStringList{"Error in write, UpdatePers!"});
    EXPECT_FALSE(TakeNumbers().empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(LogIn(kAdminLogin, kAdminPassword).connected);
}

} // namespace
} // namespace quorin::test
