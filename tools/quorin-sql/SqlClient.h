#pragma once
// quorin-sql's session: a MyADO that also walks every result of a batch and reads typed
// values, so that whole results can be printed as sqlcmd prints them.

#include "dalport/MyADO.h"
#include "tools/quorin-sql/ResultPrinter.h"

#include <ostream>
#include <string>
#include <vector>

namespace quorin::tools {

class SqlClient : public MyADO {
public:
    // Runs one batch and prints each of its results; false when the server reported an
    // error.
    bool runBatch(const std::string& text, std::ostream& out, const PrintOptions& options = {});

    // Splits a script into batches at lines that hold only "GO".
    static std::vector<std::string> splitBatches(const std::string& script);

    // What the server said when SetDataSource failed.
    std::vector<dalport::ReportedError> connectionErrors() { return GetConnectionErrors(); }

    // A value as sqlcmd shows it: NULL, dates "YYYY-MM-DD HH:MM:SS.mmm", numbers plainly.
    static std::string cellText(const dalport::Value& v);
};

} // namespace quorin::tools
