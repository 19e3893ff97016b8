// BEGIN/COMMIT/ROLLBACK TRAN counted as SQL Server counts them, with procedures as
// savepoints inside.

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

    std::string count(MyADO& session) { return scalar(session, "select count(*) as v from subjects"); }

    dalport::ReportedError lastProviderError() const
    {
        const auto p = boxes.provider();
        return p.empty() ? dalport::ReportedError{} : p.back();
    }

    TestServer server;
    Boxes boxes;
    MyADO db;
    MyADO other;
};

TEST_F(Transactions, NestedCommitOnlyDecrements)
{
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    ASSERT_EQ(db.RunTextQuery("begin transaction"), 1);
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "2");
    ASSERT_EQ(db.RunTextQuery("insert into subjects(lastname) values ('inner')"), 1);
    ASSERT_EQ(db.RunTextQuery("COMMIT TRAN"), 1);
    EXPECT_EQ(scalar(db, "select @@trancount as v"), "1");
    // Not committed yet: another session does not see it.
    EXPECT_EQ(count(other), "0");
    ASSERT_EQ(db.RunTextQuery("COMMIT"), 1);
    EXPECT_EQ(count(other), "1");
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "0");
}

TEST_F(Transactions, RollbackUndoesEverything)
{
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    ASSERT_EQ(db.RunTextQuery("insert into subjects(lastname) values ('a')"), 1);
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    ASSERT_EQ(db.RunTextQuery("insert into subjects(lastname) values ('b')"), 1);
    ASSERT_EQ(db.RunTextQuery("ROLLBACK TRANSACTION"), 1);
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "0");
    EXPECT_EQ(count(db), "0");
    EXPECT_EQ(db.RunTextQuery("COMMIT"), 0);
    EXPECT_EQ(lastProviderError().number, 3902);
    EXPECT_EQ(db.RunTextQuery("ROLLBACK"), 0);
    EXPECT_EQ(lastProviderError().number, 3903);
}

TEST_F(Transactions, FailingSingleStatementProcedureUndoesOnlyItsOwnWork)
{
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    ASSERT_EQ(db.RunTextQuery("insert into subjects(subjectid, lastname) values (1, 'kept')"), 1);
    db.BindIntParam("@id", 1); // duplicate key
    EXPECT_EQ(db.RunStoredProcedure("uspAddWithId"), 0);
    db.RemoveParams();
    EXPECT_EQ(lastProviderError().number, 2627);
    // The caller's transaction is still open and holds its own row.
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "1");
    EXPECT_EQ(column(db, "select lastname from subjects", "lastname"), (std::vector<std::string>{"kept"}));
    db.BindStringParam("@last", "added");
    db.BindStringParam("@first", "x");
    db.BindStringParam("@birth", "1/1/2001");
    EXPECT_EQ(db.RunStoredProcedure("uspAddSubject"), 1);
    db.RemoveParams();
    ASSERT_EQ(db.RunTextQuery("COMMIT TRAN"), 1);
    EXPECT_EQ(count(other), "2");
}

TEST_F(Transactions, FailingProcedureThatWritesTwiceEndsTheCallersTransaction)
{
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    ASSERT_EQ(db.RunTextQuery("insert into subjects(subjectid, lastname) values (1, 'gone too')"), 1);
    db.BindStringParam("@last", "undone");
    EXPECT_EQ(db.RunStoredProcedure("uspFailHalfway"), 0);
    db.RemoveParams();
    EXPECT_EQ(lastProviderError().number, 2627);
    // As under XACT_ABORT: nothing of the transaction stays, and it is over.
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "0");
    EXPECT_EQ(count(other), "0");
    EXPECT_EQ(db.RunTextQuery("ROLLBACK TRAN"), 0);
    EXPECT_EQ(lastProviderError().number, 3903);
    // The session goes on normally.
    EXPECT_EQ(db.RunTextQuery("insert into subjects(lastname) values ('after')"), 1);
    EXPECT_EQ(count(other), "1");
}

TEST_F(Transactions, SessionEndingInsideATransactionRollsBack)
{
    {
        MyADO temp;
        connect(temp, server, kAdmin, kAdminPassword);
        ASSERT_EQ(temp.RunTextQuery("BEGIN TRAN"), 1);
        ASSERT_EQ(temp.RunTextQuery("insert into subjects(lastname) values ('lost')"), 1);
    }
    EXPECT_EQ(count(db), "0");
    // and the server is free for writers again
    EXPECT_EQ(db.RunTextQuery("insert into subjects(lastname) values ('next')"), 1);
}

TEST_F(Transactions, OpenTransactionLeavesOtherDatabasesFreeForOtherSessions)
{
    MyADO aud;
    connect(aud, server, kAdmin, kAdminPassword, "Aud");
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    ASSERT_EQ(db.RunTextQuery("insert into subjects(lastname) values ('open')"), 1);
    // The same program saves the subject's status into the Audiogram Manager meanwhile.
    EXPECT_EQ(aud.RunTextQuery("insert into info(PatientIndex, PatientNum, Velmar) values (1, 1001, 'Yes')"), 1);
    ASSERT_EQ(db.RunTextQuery("COMMIT TRAN"), 1);
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

TEST_F(Transactions, SeveralStatementsInOneText)
{
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN; insert into subjects(lastname) values ('x'); "
                              "select @@TRANCOUNT as v; COMMIT"),
              1);
    EXPECT_EQ(db.GetStringField("v"), "1");
    EXPECT_EQ(count(other), "1");
}

} // namespace
