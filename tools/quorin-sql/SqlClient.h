#pragma once
// quorin-sql's session: a MyADO that can also name the columns of its result, so that
// whole result sets can be printed.

#include "dalport/Backend.h"
#include "dalport/MyADO.h"

#include <ostream>
#include <string>
#include <vector>

namespace quorin::tools {

class SqlClient : public MyADO {
public:
    // Runs one batch and prints its result set; false when the server reported an error.
    bool runBatch(const std::string& text, std::ostream& out);

    // Splits a script into batches at lines that hold only "GO".
    static std::vector<std::string> splitBatches(const std::string& script);

    // What the server said when SetDataSource failed: a first connection shows nothing
    // through the reporter, but the errors stay with the connection.
    std::vector<dalport::ProviderError> connectionErrors() const;

private:
    std::vector<std::string> columnNames() const;
};

} // namespace quorin::tools
