// Transactions of two programs on one registry wait for each other instead of failing;
// one that waits too long fails with 1222 once its lock time-out has passed and stays
// open for a ROLLBACK; a transaction that only reads holds nothing.

#include "ChildProcess.h"
#include "TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace testing_embedded;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(WaitingTransactions, TwoProgramsReadThenWriteTwoHundredTimesEachWithoutError)
{
    TestServer server;
    constexpr int kTransactions = 200;
    const auto program = [&](int who) {
        return spawn([&, who] {
            Boxes quiet;
            MyADO db;
            if (!db.SetDataSource(server.folder.c_str(), "jdoe", kStaffPassword, "Quorin"))
                return false;
            for (int i = 0; i < kTransactions; ++i) {
                // Read, then write what was read: the other program commits in between.
                if (!db.RunTextQuery("BEGIN TRAN") || !db.RunTextQuery("select count(*) as n from subjects") || db.IsEOF())
                    return false;
                const std::string insert = "insert into subjects(lastname, unit) values ('p" + std::to_string(who)
                    + "-" + std::to_string(i) + "', " + std::to_string(db.GetIntField("n")) + ")";
                if (!db.RunTextQuery(insert.c_str()) || !db.RunTextQuery("COMMIT TRAN"))
                    return false;
            }
            return quiet.provider().empty();
        });
    };
    const pid_t a = program(1), b = program(2);
    EXPECT_EQ(exitStatus(a), 0);
    EXPECT_EQ(exitStatus(b), 0);
    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    // Each read saw committed data only (READ COMMITTED, as on SQL Server: what another
    // program commits between the read and the write is not kept out).
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects"), std::to_string(2 * kTransactions));
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where unit >= 2 * " + std::to_string(kTransactions)), "0");
}

// A transaction that only reads holds nothing: another program commits a hundred writes
// meanwhile without waiting at all (LOCK_TIMEOUT 0 fails any wait at once). Whoever
// reads: a member without any role (whose attempt to write is refused, which must not
// lock either), or a staff member, who then writes and commits after all.
TEST(WaitingTransactions, AReadingTransactionNeverBlocksAWriter)
{
    TestServer server;
    for (const char* reader : {"norole", "jdoe"}) {
        const Signal reading, written;
        const bool mayWrite = std::string(reader) == "jdoe";
        const pid_t holder = spawn([&] {
            Boxes quiet;
            MyADO db;
            if (!db.SetDataSource(server.folder.c_str(), reader, kStaffPassword, "Quorin"))
                return false;
            // A savepoint before the first write is only remembered.
            if (!db.RunTextQuery("BEGIN TRAN") || !db.RunTextQuery("SAVE TRAN before_write"))
                return false;
            if (!mayWrite && db.RunTextQuery("insert into subjects(lastname) values ('refused')"))
                return false;
            const char* longRead = "select count(*) as n from sys.database_permissions a, sys.database_permissions b, "
                                   "sys.database_permissions c, sys.database_permissions d, sys.database_permissions e";
            if (!db.RunTextQuery(longRead) || !reading.send() || !db.RunTextQuery(longRead) || !written.wait())
                return false;
            if (!mayWrite)
                return db.RunTextQuery("COMMIT TRAN") == 1;
            return db.RunTextQuery("select count(*) as n from subjects") && db.GetIntField("n") == 100
                && db.RunTextQuery("insert into subjects(lastname) values ('undone')")
                && db.RunTextQuery("ROLLBACK TRAN before_write")
                && db.RunTextQuery("insert into subjects(lastname) values ('after reading')")
                && db.RunTextQuery("COMMIT TRAN") == 1;
        });
        ASSERT_TRUE(reading.wait());
        Boxes boxes;
        MyADO db;
        connect(db, server, "jdoe", kStaffPassword);
        ASSERT_EQ(db.RunTextQuery("delete from subjects"), 1);
        ASSERT_EQ(db.RunTextQuery("SET LOCK_TIMEOUT 0"), 1);
        for (int i = 0; i < 100; ++i) {
            const std::string insert = "insert into subjects(lastname) values ('w" + std::to_string(i) + "')";
            ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
            ASSERT_EQ(db.RunTextQuery(insert.c_str()), 1) << reader << ", write " << i;
            ASSERT_EQ(db.RunTextQuery("COMMIT TRAN"), 1);
        }
        ASSERT_TRUE(written.send());
        EXPECT_EQ(exitStatus(holder), 0) << reader;
        EXPECT_TRUE(boxes.provider().empty());
        EXPECT_EQ(scalar(db, "select count(*) as v from subjects"), mayWrite ? "101" : "100");
        EXPECT_EQ(scalar(db, "select count(*) as v from subjects where lastname = 'undone'"), "0");
    }
}

TEST(WaitingTransactions, LockHeldPastTheTimeOutGives1222AfterTheTimeOutAndTheTransactionStaysUsable)
{
    TestServer server;
    const Signal holding, release;
    const pid_t holder = spawn([&] {
        MyADO db;
        return db.SetDataSource(server.folder.c_str(), kAdmin, kAdminPassword, "Quorin") && db.RunTextQuery("BEGIN TRAN")
            && db.RunTextQuery("insert into subjects(lastname) values ('held')") && holding.send() && release.wait()
            && db.RunTextQuery("COMMIT TRAN") == 1;
    });
    ASSERT_TRUE(holding.wait());

    Boxes boxes;
    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    const auto took = [&](const std::string& sql, const std::string& expected) {
        const auto start = Clock::now();
        EXPECT_EQ(answer(db, boxes, sql), expected) << sql;
        return Clock::now() - start;
    };
    ASSERT_EQ(db.RunTextQuery("SET LOCK_TIMEOUT 700"), 1);
    // BEGIN TRAN itself never waits, as on SQL Server; its first statement does.
    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    EXPECT_GE(took("insert into subjects(lastname) values ('waited')", "error 1222"), milliseconds(700));
    // The transaction stays open for the caller's ROLLBACK; asking uses no table: no wait.
    EXPECT_LT(took("select @@TRANCOUNT as v", "1"), milliseconds(500));
    EXPECT_EQ(db.RunTextQuery("ROLLBACK TRAN"), 1);
    EXPECT_EQ(scalar(db, "select @@TRANCOUNT as v"), "0");
    // Outside a transaction, a write waits for the holder as long as the time-out too.
    EXPECT_GE(took("insert into subjects(lastname) values ('alone')", "error 1222"), milliseconds(700));
    // So does a procedure call on its own, once, not once per try of its body.
    const auto call = took("EXEC uspAddWithId 5", "error 1222");
    EXPECT_GE(call, milliseconds(700));
    EXPECT_LT(call, milliseconds(3000));
    // A read outside a transaction does not wait: it sees what is committed.
    EXPECT_LT(took("select count(*) as v from subjects", "0"), milliseconds(500));

    ASSERT_TRUE(release.send());
    EXPECT_EQ(exitStatus(holder), 0);
    // Once the holder is gone the same session writes in a transaction at once.
    expectAnswers(db, boxes, {{"BEGIN TRAN", "done"}, {"insert into subjects(lastname) values ('after')", "done"},
                              {"COMMIT TRAN", "done"}});
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects"), "2");
}

} // namespace
