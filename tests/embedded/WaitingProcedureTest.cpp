// Procedure calls of an ordinary staff member while another program holds a write
// transaction: inside BEGIN TRAN and on their own they wait for it up to the lock
// time-out, exactly once, and fail with 1222 only then; a statement that uses no table
// never waits.

#include "ChildProcess.h"
#include "TestServer.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>

using namespace testing_embedded;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

class WaitingProcedures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(pipe(m_ready), 0);
        ASSERT_EQ(pipe(m_done), 0);
        connect(db, server, "jdoe", kStaffPassword);
    }
    void TearDown() override
    {
        if (m_holder > 0)
            Release();
        for (int fd : {m_ready[0], m_ready[1], m_done[0], m_done[1]})
            close(fd);
    }

    // Another program writes in an open transaction; it commits after `commitAfterMs`,
    // or when released (a negative time).
    void Hold(int commitAfterMs)
    {
        const std::string folder = server.folder();
        const int ready = m_ready[1];
        const int done = m_done[0];
        m_holder = spawn([folder, ready, done, commitAfterMs] {
            MyADO other;
            if (!other.SetDataSource(folder.c_str(), "boss", kStaffPassword, "Quorin"))
                return false;
            if (!other.RunTextQuery("BEGIN TRAN") || !other.RunTextQuery("insert into subjects(lastname) values ('held')"))
                return false;
            char c = 1;
            if (write(ready, &c, 1) != 1)
                return false;
            pollfd p{done, POLLIN, 0};
            poll(&p, 1, commitAfterMs);
            return other.RunTextQuery("COMMIT TRAN") == 1;
        });
        ASSERT_GT(m_holder, 0);
        char c = 0;
        ASSERT_EQ(read(m_ready[0], &c, 1), 1);
    }
    bool Release()
    {
        char c = 1;
        const bool told = write(m_done[1], &c, 1) == 1;
        const int status = exitStatus(m_holder);
        m_holder = -1;
        return told && status == 0;
    }

    int AddSubject(const char* last)
    {
        db.BindStringParam("@last", last);
        db.BindStringParam("@first", "Sam");
        db.BindStringParam("@birth", "7/4/1976");
        const int ok = db.RunStoredProcedure("uspAddSubject");
        db.RemoveParams();
        return ok;
    }
    long LastNumber() const
    {
        const auto p = boxes.provider();
        return p.empty() ? 0 : p.back().number;
    }

    TestServer server;
    Boxes boxes;
    MyADO db;
    pid_t m_holder = -1;
    int m_ready[2] = {-1, -1};
    int m_done[2] = {-1, -1};
};

TEST_F(WaitingProcedures, ACallInATransactionWaitsForTheOtherProgramsCommit)
{
    Hold(1000);
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    const auto start = Clock::now();
    EXPECT_EQ(AddSubject("waited"), 1);
    EXPECT_GE(Clock::now() - start, milliseconds(700));
    EXPECT_EQ(db.RunTextQuery("COMMIT TRAN"), 1);
    EXPECT_TRUE(boxes.provider().empty());
    EXPECT_TRUE(Release());
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects"), "2");
}

TEST_F(WaitingProcedures, ACallInATransactionHeldPastTheTimeOutGives1222OnceAndTheTransactionStaysOpen)
{
    ASSERT_EQ(db.RunTextQuery("SET LOCK_TIMEOUT 800"), 1);
    Hold(-1);
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    auto start = Clock::now();
    EXPECT_EQ(AddSubject("too late"), 0);
    EXPECT_GE(Clock::now() - start, milliseconds(800));
    EXPECT_EQ(LastNumber(), 1222);
    // Asking whether the transaction is open uses no table: it answers at once.
    start = Clock::now();
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "1");
    EXPECT_LT(Clock::now() - start, milliseconds(500));
    EXPECT_EQ(db.RunTextQuery("ROLLBACK TRAN"), 1);
    EXPECT_TRUE(Release());
    // The session goes on: the call now succeeds at once, in a transaction and without.
    boxes.clear();
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    EXPECT_EQ(AddSubject("in a transaction"), 1);
    EXPECT_EQ(db.RunTextQuery("COMMIT TRAN"), 1);
    EXPECT_EQ(AddSubject("on its own"), 1);
    EXPECT_TRUE(boxes.provider().empty());
    EXPECT_EQ(column(db, "select lastname from subjects order by subjectid", "lastname"),
              (std::vector<std::string>{"held", "in a transaction", "on its own"}));
}

// On its own a call is its own transaction: it waits once for the time-out, not once
// per retry, and leaves nothing behind.
TEST_F(WaitingProcedures, ACallOnItsOwnWaitsTheTimeOutOnceThenGives1222)
{
    ASSERT_EQ(db.RunTextQuery("SET LOCK_TIMEOUT 800"), 1);
    Hold(-1);
    const auto start = Clock::now();
    EXPECT_EQ(AddSubject("too late"), 0);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, milliseconds(800));
    EXPECT_LT(waited, milliseconds(3000));
    EXPECT_EQ(LastNumber(), 1222);
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "0");
    // A reader outside a transaction does not wait for the holder.
    const auto read = Clock::now();
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects"), "0");
    EXPECT_LT(Clock::now() - read, milliseconds(500));
    EXPECT_TRUE(Release());
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname = 'too late'"), "0");
}

} // namespace
