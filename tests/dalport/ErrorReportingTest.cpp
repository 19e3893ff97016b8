// The order and shape of error boxes, shown with a scripted backend where a real
// driver cannot produce the case (several diagnostics for one statement).

#include "support/ErrorRecorder.h"
#include "dalport/MyADO.h"
#include "dalport/SessionObjects.h"

#include <gtest/gtest.h>

namespace {

using dalport::ComError;
using dalport::ProviderError;

class TwoErrorsConnection final : public dalport::Connection {
public:
    std::unique_ptr<dalport::Result> execute(dalport::CommandType, const std::string&,
                                             const std::vector<dalport::Param>&) override
    {
        m_errors = {ProviderError{2812, 16, 62, "Could not find stored procedure 'uspX'.",
                                  "[Driver][SQL Server]Could not find stored procedure 'uspX'."},
                    ProviderError{8180, 16, 1, "Statement(s) could not be prepared.",
                                  "[Driver][SQL Server]Statement(s) could not be prepared."}};
        throw ComError(dalport::hr::Fail, "Provider", m_errors.back().description);
    }
    const std::vector<ProviderError>& errors() const override { return m_errors; }

private:
    std::vector<ProviderError> m_errors;
};

// A session wired to the scripted backend through the members a subclass may reach.
class ScriptedSession : public MyADO {
public:
    ScriptedSession()
    {
        m_pConnection = std::make_shared<dalport::AdoConnection>();
        m_pConnection->backend = std::make_unique<TwoErrorsConnection>();
        m_pCommand = std::make_shared<dalport::AdoCommand>();
        m_pCommand->activeConnection = m_pConnection;
        m_bConnected = 1;
    }
};

TEST(ErrorReporting, ProviderErrorsComeFirstInOrderThenTheRaisedError)
{
    ErrorRecorder recorder;
    ScriptedSession db;
    EXPECT_EQ(0, db.RunStoredProcedure("uspX"));
    EXPECT_EQ((std::vector<std::string>{
                  "Error number: afc\t[Driver][SQL Server]Could not find stored procedure 'uspX'.\n",
                  "Error number: 1ff4\t[Driver][SQL Server]Statement(s) could not be prepared.\n",
                  "Error\n80004005Unspecified errorProvider[Driver][SQL Server]Statement(s) could not be prepared.",
              }),
              recorder.texts());
    EXPECT_EQ(2812, recorder.all[0].number);
    EXPECT_EQ("Could not find stored procedure 'uspX'.", recorder.all[0].message);
}

} // namespace
