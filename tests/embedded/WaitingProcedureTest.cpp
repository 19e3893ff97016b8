// A procedure call of an ordinary staff member inside BEGIN TRAN while another program
// holds a write transaction: it waits for that program's commit instead of failing.
// (1222 after the time-out: WaitingTransactions for statements, WaitingSave for a save.)

#include "ChildProcess.h"
#include "TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace testing_embedded;

namespace {

TEST(WaitingProcedures, ACallInATransactionWaitsForTheOtherProgramsCommit)
{
    TestServer server;
    Boxes boxes;
    MyADO db;
    connect(db, server, "jdoe", kStaffPassword);
    const Signal holding;
    const pid_t holder = spawn([&] {
        MyADO other;
        const bool held = other.SetDataSource(server.folder.c_str(), "boss", kStaffPassword, "Quorin")
            && other.RunTextQuery("BEGIN TRAN") && other.RunTextQuery("insert into subjects(lastname) values ('held')")
            && holding.send();
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        return held && other.RunTextQuery("COMMIT TRAN") == 1;
    });
    ASSERT_TRUE(holding.wait());

    ASSERT_EQ(db.RunTextQuery("BEGIN TRAN"), 1);
    const auto start = std::chrono::steady_clock::now();
    db.BindStringParam("@last", "waited");
    db.BindStringParam("@first", "Sam");
    db.BindStringParam("@birth", "7/4/1976");
    EXPECT_EQ(db.RunStoredProcedure("uspAddSubject"), 1);
    db.RemoveParams();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(700));
    EXPECT_EQ(db.RunTextQuery("COMMIT TRAN"), 1);
    EXPECT_TRUE(boxes.provider().empty());
    EXPECT_EQ(exitStatus(holder), 0);
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects"), "2");
}

} // namespace
