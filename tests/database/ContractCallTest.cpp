// Every procedure of the contract, called through MyADO with exactly the parameters the
// program binds, runs on a demo registry; every reader returns a row carrying every
// column the program reads.
#include "database/ContractCallFixture.h"

#include <gtest/gtest.h>

namespace quorin::test {
namespace {

TEST_F(ContractCall, EveryReaderReturnsEveryColumnTheProgramReads)
{
    for (const auto& proc : loadContract()) {
        if (proc.columns.empty())
            continue;
        SCOPED_TRACE(proc.name);
        ASSERT_EQ(call(proc), 1) << errorText();
        ASSERT_FALSE(m_db.IsEOF()) << "no row";
        for (const auto& column : proc.columns)
            m_db.GetStringField(column.c_str());
        m_db.RemoveParams();
        EXPECT_TRUE(errors().empty()) << errorText();
    }
}

TEST_F(ContractCall, EveryWriterRunsWithTheProgramsParameters)
{
    for (const auto& proc : loadContract()) {
        if (!proc.columns.empty())
            continue;
        SCOPED_TRACE(proc.name);
        EXPECT_EQ(call(proc), 1) << errorText();
        m_db.RemoveParams();
        EXPECT_TRUE(errors().empty()) << errorText();
    }
}

} // namespace
} // namespace quorin::test
