// Two programs on one registry, and a writer killed in the middle of its work.

#include "ChildProcess.h"
#include "TestServer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_embedded;

namespace {

TEST(Concurrency, TwoProcessesWriteOneRegistryAndNothingIsLost)
{
    TestServer server;
    constexpr int kRows = 40;
    auto writer = [&](int who) {
        return [&, who] {
            MyADO db;
            if (!db.SetDataSource(server.folder().c_str(), "jdoe", kStaffPassword, "Quorin"))
                return false;
            for (int i = 0; i < kRows; ++i) {
                const std::string name = "w" + std::to_string(who) + "-" + std::to_string(i);
                // Half the rows in explicit transactions, half as single statements.
                if (i % 2 == 0 && !db.RunTextQuery("BEGIN TRAN"))
                    return false;
                if (!db.RunTextQuery(("insert into subjects(lastname) values ('" + name + "')").c_str()))
                    return false;
                if (i % 2 == 0 && !db.RunTextQuery("COMMIT TRAN"))
                    return false;
            }
            return true;
        };
    };
    const pid_t a = spawn(writer(1));
    const pid_t b = spawn(writer(2));
    EXPECT_EQ(exitStatus(a), 0);
    EXPECT_EQ(exitStatus(b), 0);
    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects"), std::to_string(2 * kRows));
    EXPECT_EQ(scalar(db, "select count(distinct lastname) as v from subjects"), std::to_string(2 * kRows));
}

TEST(Concurrency, WriterKilledMidWorkLosesNothingCommitted)
{
    TestServer server;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    constexpr int kRowsPerBatch = 5;
    const pid_t child = spawn([&] {
        close(fds[0]);
        MyADO db;
        if (!db.SetDataSource(server.folder().c_str(), kAdmin, kAdminPassword, "Quorin"))
            return false;
        for (int batch = 1;; ++batch) {
            db.RunTextQuery("BEGIN TRAN");
            for (int r = 0; r < kRowsPerBatch; ++r)
                db.RunTextQuery(("insert into subjects(lastname, unit) values ('batch', " + std::to_string(batch) + ")").c_str());
            if (!db.RunTextQuery("COMMIT TRAN"))
                return false;
            // Told only once the commit has returned.
            if (write(fds[1], &batch, sizeof batch) != sizeof batch)
                return false;
        }
    });
    close(fds[1]);
    int confirmed = 0;
    while (confirmed < 25) {
        int batch = 0;
        ASSERT_EQ(read(fds[0], &batch, sizeof batch), static_cast<ssize_t>(sizeof batch));
        confirmed = batch;
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(fds[0]);
    EXPECT_TRUE(WIFSIGNALED(status));

    MyADO db;
    connect(db, server, kAdmin, kAdminPassword);
    // Every confirmed batch is there whole; no batch is there in part.
    const auto counts = column(db, "select count(*) as num from subjects group by unit order by unit", "num");
    ASSERT_GE(counts.size(), static_cast<std::size_t>(confirmed));
    for (const std::string& c : counts)
        EXPECT_EQ(c, std::to_string(kRowsPerBatch));
    EXPECT_EQ(scalar(db, "select count(*) as v from subjects where unit <= " + std::to_string(confirmed)),
              std::to_string(confirmed * kRowsPerBatch));
    // and the registry takes writes again
    EXPECT_EQ(db.RunTextQuery("insert into subjects(lastname) values ('after')"), 1);
}

} // namespace
