// BEGIN/COMMIT/ROLLBACK TRAN counted as SQL Server counts them, named transactions and
// savepoints, and procedures as savepoints inside.

#include "TestServer.h"

#include <gtest/gtest.h>

using namespace testing_embedded;

namespace {

class Transactions : public ::testing::Test {
protected:
    void SetUp() override
    {
        connect(db, server, kAdmin, kAdminPassword);
        connect(other, server, kAdmin, kAdminPassword);
    }
    void expect(MyADO& session, const std::vector<Answer>& table) { expectAnswers(session, boxes, table); }
    std::string count(MyADO& session) { return scalar(session, "select count(*) as v from subjects"); }

    TestServer server;
    Boxes boxes;
    MyADO db;
    MyADO other;
};

TEST_F(Transactions, NestedCommitOnlyDecrementsAndRollbackUndoesEverything)
{
    expect(db, {
        {"BEGIN TRAN", "done"}, {"begin transaction", "done"}, {"select @@TRANCOUNT as v", "2"},
        {"insert into subjects(lastname) values ('inner')", "done"},
        {"COMMIT TRAN", "done"}, {"select @@trancount as v", "1"},
    });
    // Not committed yet: another session does not see it.
    EXPECT_EQ(count(other), "0");
    expect(db, {
        {"COMMIT", "done"}, {"select @@TRANCOUNT as v", "0"},
        {"BEGIN TRAN", "done"}, {"insert into subjects(lastname) values ('a')", "done"},
        {"BEGIN TRAN", "done"}, {"insert into subjects(lastname) values ('b')", "done"},
        {"ROLLBACK TRANSACTION", "done"}, {"select @@TRANCOUNT as v", "0"},
        {"select count(*) as v from subjects", "1"}, {"COMMIT", "error 3902"}, {"ROLLBACK", "error 3903"},
        {"BEGIN TRAN; insert into subjects(lastname) values ('x'); select @@TRANCOUNT as v; COMMIT", "1"},
    });
    EXPECT_EQ(count(other), "2");
}

TEST_F(Transactions, SavepointsAndTheOutermostNameUndoWhatFollowsThem)
{
    expect(db, {
        {"BEGIN TRAN outer_work", "done"}, {"insert into subjects(lastname) values ('first')", "done"},
        {"ROLLBACK TRAN nosuchname",
         "error 6401: Cannot roll back nosuchname. No transaction or savepoint of that name was found."},
        {"select @@TRANCOUNT as v", "1"}, {"SAVE TRAN halfway", "done"},
        {"insert into subjects(lastname) values ('second')", "done"},
        {"ROLLBACK TRAN halfway", "done"}, {"select @@TRANCOUNT as v", "1"},
        // The savepoint stays: work after it can be undone again. Names are case-sensitive.
        {"insert into subjects(lastname) values ('third')", "done"},
        {"ROLLBACK TRANSACTION halfway", "done"}, {"ROLLBACK TRAN HALFWAY", "error 6401"},
        {"COMMIT TRAN", "done"}, {"select lastname as v from subjects", "first"},
        // Only the outermost name counts, and it undoes everything.
        {"BEGIN TRAN import1", "done"}, {"BEGIN TRAN inner1", "done"},
        {"insert into subjects(lastname) values ('x')", "done"},
        {"ROLLBACK TRAN inner1", "error 6401"}, {"ROLLBACK TRAN import1", "done"}, {"select @@TRANCOUNT as v", "0"},
        {"SAVE TRAN s", "error 628"}, {"ROLLBACK TRAN import1", "error 3903"},
    });
    EXPECT_EQ(count(other), "1");
}

TEST_F(Transactions, AFailingProcedureUndoesItsOwnWorkOrUnderXactAbortTheWholeTransaction)
{
    // One failing statement: the caller's transaction stays open and holds its own row.
    expect(db, {
        {"BEGIN TRAN", "done"}, {"insert into subjects(subjectid, lastname) values (1, 'kept')", "done"},
        {"EXEC uspAddWithId 1", "error 2627"},
        {"select @@TRANCOUNT as v", "1"}, {"select lastname as v from subjects", "kept"},
        {"EXEC uspAddWithId 2", "done"}, {"COMMIT TRAN", "done"},
    });
    EXPECT_EQ(count(other), "2");
    // A procedure that wrote and then failed leaves nothing of the caller's transaction,
    // which is over, as under XACT_ABORT; the session goes on normally.
    expect(db, {
        {"BEGIN TRAN", "done"}, {"insert into subjects(subjectid, lastname) values (3, 'gone too')", "done"},
        {"EXEC uspFailHalfway 'undone'", "error 2627"},
        {"select @@TRANCOUNT as v", "0"}, {"ROLLBACK TRAN", "error 3903"},
        {"insert into subjects(lastname) values ('after')", "done"},
    });
    EXPECT_EQ(count(other), "3");
}

TEST_F(Transactions, AnEndedSessionRollsBackAndAnOpenTransactionLeavesOtherDatabasesFree)
{
    {
        MyADO temp;
        connect(temp, server, kAdmin, kAdminPassword);
        expect(temp, {{"BEGIN TRAN", "done"}, {"insert into subjects(lastname) values ('lost')", "done"}});
    }
    EXPECT_EQ(count(db), "0");
    MyADO aud;
    connect(aud, server, kAdmin, kAdminPassword, "Aud");
    expect(db, {{"BEGIN TRAN", "done"}, {"insert into subjects(lastname) values ('open')", "done"}});
    // The same program saves the subject's status into the Audiogram Manager meanwhile.
    expect(aud, {{"insert into info(PatientIndex, PatientNum, Velmar) values (1, 1001, 'Yes')", "done"}});
    expect(db, {{"COMMIT TRAN", "done"}});
    EXPECT_EQ(scalar(aud, "select Velmar as v from info where PatientNum = 1001"), "Yes");
    EXPECT_EQ(count(other), "1");
}

// SQL Server needs no ';' between statements: BEGIN TRAN takes the word after it as its
// name only when that is no reserved word.
TEST_F(Transactions, BeginTranBeforeAReservedWordTakesNoName)
{
    ASSERT_EQ(db.RunTextQuery("insert into subjects(lastname, status) values ('Adams', 0)"), 1);
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN\nUPDATE subjects SET status = 2"), 1);
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "1");
    EXPECT_EQ(scalar(other, "select status as v from subjects"), "0");
    ASSERT_EQ(db.RunTextQuery("ROLLBACK TRANSACTION\nSELECT @@TRANCOUNT AS v"), 1);
    EXPECT_EQ(db.GetStringField("v"), "0");
    EXPECT_EQ(scalar(other, "select status as v from subjects"), "0");
    // A name that is no reserved word is the transaction's, and the rest is the next statement.
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN import2 UPDATE subjects SET status = 3"), 1);
    EXPECT_EQ(db.RunTextQuery("ROLLBACK TRAN import2"), 1);
    EXPECT_EQ(scalar(db, "select status as v from subjects"), "0");
    EXPECT_TRUE(boxes.provider().empty());
}

} // namespace
