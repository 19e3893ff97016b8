#pragma once
// The narrow interface behind MyADO: a connection that runs one statement at a time
// and hands back a forward-only result. Two implementations: ODBC (a real SQL Server)
// and the embedded engine. Nothing here leaves the shared library.

#include "dalport/ComError.h"
#include "dalport/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dalport {

// One diagnostic of the server, as its error list holds it.
struct ProviderError {
    long number = 0;         // the server's native error number (SQL Server's Msg N)
    int level = 16;          // severity
    int state = 1;
    std::string message;     // the server's own text
    std::string description; // the text as the provider shows it (may carry a driver prefix)
};

enum class CommandType { StoredProcedure, Text };

// A statement of a batch that failed: the raised error and the server's messages.
struct StatementFailure {
    ComError error;
    std::vector<ProviderError> errors;
};

// Forward-only walk over the first result set of a statement. A new result stands on
// its first row (or at the end when there is none).
class Result {
public:
    virtual ~Result() = default;
    virtual bool atEnd() const = 0;
    // Advances one row; throws ComError 0x800A0BCD when already at the end.
    virtual void moveNext() = 0;
    // The current row's value of a column found by name without regard to case;
    // throws ComError 0x800A0CC1 for an unknown column, 0x800A0BCD at the end.
    virtual Value field(const std::string& name) const = 0;
    // The column names in result order (for tools that print whole results).
    virtual std::vector<std::string> columns() const = 0;

    // For tools that show a whole batch: its results in order (a result set, or the count
    // of rows a statement changed). The walk above starts on the first result set.
    virtual std::size_t resultCount() const { return 1; }
    // Makes result `index` the current one, standing on its first row.
    virtual void selectResult(std::size_t index) { (void)index; }
    // Reads whatever of the batch is still with the server, so that every result can be
    // counted and selected. Rows the walk has already passed are not kept; a tool calls
    // this right after the statement ran.
    virtual void readAll() {}
    // Why the current result's statement failed, when it did so as it ran: SQL Server
    // goes on with the rest of a batch then, so the failure takes that statement's place
    // among the results. Null for a result set or a count.
    virtual const StatementFailure* failure() const { return nullptr; }
    // Rows an INSERT, UPDATE or DELETE changed; -1 for a result set or when unknown.
    virtual long rowsAffected() const { return -1; }
    // The current row's value at a column position (names may repeat in a result).
    virtual Value fieldAt(std::size_t column) const
    {
        const std::vector<std::string> names = columns();
        if (column >= names.size())
            throw ComError(hr::ItemNotFound, "ADODB.Fields", descr::ItemNotFound);
        return field(names[column]);
    }
};

class Connection {
public:
    virtual ~Connection() = default;
    // Runs one statement with its positional parameters. On failure fills errors()
    // and throws ComError (normally 0x80004005 with the provider's last message).
    virtual std::unique_ptr<Result> execute(CommandType type, const std::string& text,
                                            const std::vector<Param>& params) = 0;
    // The errors of the last operation, in the server's order (cleared by each one).
    virtual const std::vector<ProviderError>& errors() const = 0;
};

// Opens a connection, choosing the backend by the server name. On failure throws
// ConnectError, which carries the errors the attempt produced.
struct ConnectError {
    ComError error;
    std::vector<ProviderError> errors;
};

// With `oldPassword`, `pwd` is the login's new password, set as it logs in.
std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database,
                                           const std::optional<std::string>& oldPassword = std::nullopt);

// True when the server name means the embedded engine: empty, or a path.
bool isEmbeddedServerName(const std::string& server);

} // namespace dalport
