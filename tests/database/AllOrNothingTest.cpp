// A procedure that fails part-way leaves nothing of its work behind, and the program's
// transaction helper copes with a server that ended the caller's transaction because of
// it (SQL Server does under SET XACT_ABORT ON): no second ROLLBACK, no error box.
#include "support/RawRegistry.h"
#include "database/RegistryFixture.h"

#include "document/SessionTransaction.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

class AllOrNothing : public RegistryTest {
protected:
    void SetUp() override
    {
        RegistryTest::SetUp();
        if (HasFatalFailure())
            return;
        // Stale implant data, so that the update has something to replace, and a speech
        // row that cannot be stored (as a value too long for its column on SQL Server):
        // the update fails after it has replaced histories and devices.
        rawExec("UPDATE subjects SET CochlearImplant = 'No'");
        rawExec("DELETE FROM CiDevice WHERE SubjectId = 1");
        rawExec("UPDATE cidata SET Processor1 = 'Stale' WHERE SubjectId = 1");
        rawExec("CREATE TRIGGER refuse_cispeech BEFORE INSERT ON cispeech "
                "BEGIN SELECT RAISE(ABORT, 'String or binary data would be truncated.'); END");
        m_before = implantData();
        ASSERT_NE(RawRegistry(folder()).number("SELECT count(*) FROM CID.speech"), 0) << "the failure would not happen";
    }

    void rawExec(const std::string& sql) { ExecRaw(folder(), "Quorin", sql); }

    std::string implantData() const
    {
        RawRegistry raw(folder());
        return raw.dump("SELECT * FROM cidata ORDER BY SubjectId") + "|"
               + raw.dump("SELECT * FROM CiDevice ORDER BY SubjectId, Ear, Device") + "|"
               + raw.dump("SELECT * FROM cispeech ORDER BY SubjectId, TestName, Score") + "|"
               + raw.dump("SELECT SubjectId, CochlearImplant FROM subjects ORDER BY SubjectId");
    }

    int tranCount() { return queryInt("SELECT @@TRANCOUNT AS num"); }

    std::string m_before;
};

TEST_F(AllOrNothing, AFailingCiUpdateChangesNothing)
{
    EXPECT_EQ(m_db.RunStoredProcedure("uspUpdateQuorinCI"), 0);
    EXPECT_FALSE(errors().empty());
    EXPECT_EQ(implantData(), m_before);

    // Once the cause is gone the same update goes through.
    rawExec("DROP TRIGGER refuse_cispeech");
    ASSERT_EQ(m_db.RunStoredProcedure("uspUpdateQuorinCI"), 1) << errorText();
    EXPECT_NE(implantData(), m_before);
}

// SQL Server ends the caller's transaction when a procedure under XACT_ABORT fails, as
// the engine does; a ROLLBACK after that is error 3903, which the user would see as an
// error box, so the program's rollback asks the server first.
TEST_F(AllOrNothing, AFailureInsideTheProgramsTransactionLeavesNothingAndNoSecondError)
{
    std::size_t reported = 0;
    {
        SessionTransaction transaction(m_db);
        ASSERT_TRUE(transaction.Started()) << errorText();
        ASSERT_EQ(m_db.RunTextQuery("DELETE FROM cispeech WHERE SubjectId = 1"), 1) << errorText();
        EXPECT_EQ(m_db.RunStoredProcedure("uspUpdateQuorinCI"), 0);
        reported = errors().size();
        ASSERT_NE(reported, 0u);
    } // rolled back here, whether or not the failure already ended the transaction
    EXPECT_EQ(errors().size(), reported) << errorText();
    EXPECT_EQ(tranCount(), 0);
    EXPECT_EQ(implantData(), m_before);

    // A transaction still open is rolled back.
    {
        SessionTransaction transaction(m_db);
        ASSERT_EQ(m_db.RunTextQuery("DELETE FROM cispeech WHERE SubjectId = 1"), 1) << errorText();
    }
    EXPECT_EQ(tranCount(), 0);
    EXPECT_EQ(errors().size(), reported) << errorText();
    EXPECT_EQ(implantData(), m_before);
}

} // namespace
} // namespace quorin::test
