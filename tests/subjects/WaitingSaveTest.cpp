// A staff member's save while another program holds a write transaction past the lock
// time-out: it fails with 1222 only after the time-out, stores nothing half, and the
// session saves once the other program is gone. (The engine's tests hold the other waits.)

#include "embedded/ChildProcess.h"
#include "app/DocumentFixture.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::test::kTestAdminLogin;
using quorin::test::kTestAdminPassword;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

const std::string kLockTimeOut = "Lock request time out period exceeded.";

class WaitingSave : public DocumentTest {
protected:
    void TearDown() override
    {
        if (m_holder > 0)
            Release();
        DocumentTest::TearDown();
    }

    // Another program opens a transaction that writes the subjects and commits it when
    // released. Returns once it holds the lock.
    void Hold()
    {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        ASSERT_EQ(pipe(m_done), 0);
        const std::string folder = registry.Folder();
        const int done = m_done[0];
        m_holder = testing_embedded::spawn([folder, ready, done] {
            MyADO db;
            if (!db.SetDataSource(folder.c_str(), kTestAdminLogin, kTestAdminPassword, "Quorin"))
                return false;
            if (!db.RunTextQuery("BEGIN TRAN")
                || !db.RunTextQuery("insert into subjects(lastname, firstname) values ('Other', 'Program')"))
                return false;
            char c = 1;
            if (write(ready[1], &c, 1) != 1)
                return false;
            pollfd p{done, POLLIN, 0};
            poll(&p, 1, -1);
            return db.RunTextQuery("COMMIT TRAN") == 1;
        });
        ASSERT_GT(m_holder, 0);
        char c = 0;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
        close(ready[0]);
        close(ready[1]);
    }

    // Lets the other program commit; true when it did.
    bool Release()
    {
        char c = 1;
        const bool told = write(m_done[1], &c, 1) == 1;
        const int status = testing_embedded::exitStatus(m_holder);
        m_holder = -1;
        close(m_done[0]);
        close(m_done[1]);
        return told && status == 0;
    }

    QString StoredNotes() const { return Scalar("Quorin", "select notes from subjects where lastname = 'Lee'", "notes"); }

    static bool Mentions(const std::vector<std::string>& errors, const std::string& text)
    {
        return std::any_of(errors.begin(), errors.end(),
                           [&](const std::string& e) { return e.find(text) != std::string::npos; });
    }

    pid_t m_holder = -1;
    int m_done[2] = {-1, -1};
};

TEST_F(WaitingSave, HeldPastTheLockTimeOutTheSaveFailsOnlyAfterItStoresNothingAndTheSessionGoesOn)
{
    // A stored subject with implant history, as after File Open.
    doc->m_subject = DistinctSubject();
    doc->m_ciData.HasCiData = 1;
    doc->m_ciData.NatureL = "Progressive";
    ASSERT_EQ(doc->SaveSubject(), 1);
    doc->m_subject.Notes = "Typed while the other program held the registry";
    doc->m_subject.Modified = 1;
    Hold();

    // The set written in a session transaction, at the default time-out of 5 seconds.
    // Its rollback asks SELECT @@TRANCOUNT first, which uses no table and so never waits.
    auto start = Clock::now();
    EXPECT_EQ(doc->WriteCiData(), 0);
    const auto setWaited = Clock::now() - start;
    EXPECT_GE(setWaited, milliseconds(5000));
    EXPECT_LT(setWaited, milliseconds(8000));
    const std::vector<std::string> errors = TakeErrors();
    EXPECT_TRUE(Mentions(errors, kLockTimeOut));
    EXPECT_FALSE(Mentions(errors, "3903")) << "the rollback found the transaction";
    MyADO& db = doc->m_db;
    ASSERT_EQ(db.RunTextQuery("select @@TRANCOUNT as n"), 1);
    EXPECT_EQ(db.GetIntField("n"), 0);

    // The subject's own row, written by a procedure outside any transaction, with the
    // session's time-out shortened.
    ASSERT_EQ(db.RunTextQuery("SET LOCK_TIMEOUT 1500"), 1);
    start = Clock::now();
    EXPECT_EQ(doc->SaveSubject(), 0);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, milliseconds(1500));
    EXPECT_LT(waited, milliseconds(5000));
    EXPECT_TRUE(Mentions(TakeErrors(), kLockTimeOut));
    EXPECT_EQ(doc->m_subject.Modified, 1) << "what was typed stays marked unsaved";

    // Nothing of the failed save is stored.
    EXPECT_EQ(StoredNotes(), DistinctSubject().Notes);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from cidata"), 1);

    // Once the other program is gone the same session saves at once.
    ASSERT_TRUE(Release());
    start = Clock::now();
    EXPECT_EQ(doc->SaveSubject(), 1);
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
    EXPECT_EQ(StoredNotes(), "Typed while the other program held the registry");
    EXPECT_EQ(Count("Quorin", "select count(*) as num from subjects"), 2);
}

} // namespace
