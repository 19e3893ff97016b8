#include "dalport/odbc/OdbcBackend.h"

#include "dalport/odbc/OdbcCallText.h"
#include "dalport/odbc/OdbcHandle.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <strings.h>

namespace dalport::odbc {

namespace {

constexpr const char* kSource = "Dalport ODBC Provider";
constexpr SQLULEN kLoginTimeoutSeconds = 30;

ComError providerFailure(const std::vector<ProviderError>& errors)
{
    return ComError(hr::Fail, kSource, errors.empty() ? std::string() : errors.back().description);
}

Value::Kind kindOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_INTEGER: case SQL_SMALLINT: case SQL_TINYINT: case SQL_BIGINT: case SQL_BIT:
        return Value::Kind::Int;
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: case SQL_NUMERIC: case SQL_DECIMAL:
        return Value::Kind::Double;
    case SQL_TYPE_DATE: case SQL_TYPE_TIMESTAMP: case SQL_DATE: case SQL_TIMESTAMP:
        return Value::Kind::DateTime;
    default:
        return Value::Kind::Text;
    }
}

// The environment and connection handles, kept alive by every result made on them
// so that a result outliving its session never frees a statement of a freed link.
struct Link {
    Handle environment;
    Handle connection;
    ~Link() { if (connection) SQLDisconnect(connection.get()); }
};

struct Column {
    std::string name;
    Value::Kind kind;
};

// What the driver reported when a call on the statement failed.
struct DriverFailure {
    std::vector<ProviderError> errors;
};

// One result of a statement: a result set (columns and, once read, rows), the count of
// rows a statement changed, or the failure of a statement of a batch.
struct ResultPart {
    std::vector<Column> columns;
    std::vector<std::vector<Value>> rows;
    long rowsAffected = -1;
    std::optional<StatementFailure> failure;
};

// The results of one statement (or batch). The walk MyADO does reads the first result set
// row by row from the driver and passes over the counts before it; a tool that shows the
// whole batch has every result read at once (readAll), later ones by SQLMoreResults.
class OdbcResult final : public Result {
public:
    // `executed`: what SQLExecDirect returned (SQL_NO_DATA for a change of no rows).
    OdbcResult(std::shared_ptr<Link> link, Handle statement, SQLRETURN executed)
        : m_link(std::move(link)), m_statement(std::move(statement))
    {
        if (executed == SQL_NO_DATA) {
            // A change of no rows. What follows it in a batch is not asked for: a driver
            // that refused the question would turn a change that worked into a failure.
            ResultPart none;
            none.rowsAffected = rowCount(0);
            m_parts.push_back(std::move(none));
        } else {
            for (;;) {
                ResultPart part = describeCurrent();
                if (!part.columns.empty()) {
                    m_parts.push_back(std::move(part));
                    m_current = m_parts.size() - 1;
                    m_streaming = true;
                    fetch();
                    return;
                }
                if (part.rowsAffected >= 0)
                    m_parts.push_back(std::move(part));
                if (!moreResults())
                    break;
            }
        }
        // Nothing but counts: the statement is through.
        m_pending = false;
        if (m_parts.empty())
            m_parts.emplace_back();
    }

    bool atEnd() const override { return m_streaming ? m_atEnd : m_pos >= current().rows.size(); }

    void moveNext() override
    {
        if (atEnd())
            throw ComError(hr::NoCurrentRecord, "ADODB.Recordset", descr::NoCurrentRecord);
        if (m_streaming)
            fetch();
        else
            ++m_pos;
    }

    std::vector<std::string> columns() const override
    {
        std::vector<std::string> names;
        for (const Column& c : current().columns)
            names.push_back(c.name);
        return names;
    }

    Value field(const std::string& name) const override
    {
        const std::vector<Column>& columns = current().columns;
        const auto it = std::find_if(columns.begin(), columns.end(), [&](const Column& c) {
            return strcasecmp(c.name.c_str(), name.c_str()) == 0;
        });
        if (it == columns.end())
            throw ComError(hr::ItemNotFound, "ADODB.Fields", descr::ItemNotFound);
        return fieldAt(static_cast<std::size_t>(it - columns.begin()));
    }

    Value fieldAt(std::size_t column) const override
    {
        if (column >= current().columns.size())
            throw ComError(hr::ItemNotFound, "ADODB.Fields", descr::ItemNotFound);
        if (atEnd())
            throw ComError(hr::NoCurrentRecord, "ADODB.Field", descr::NoCurrentRecord);
        return m_streaming ? m_row[column] : current().rows[m_pos][column];
    }

    std::size_t resultCount() const override { return m_parts.size(); }

    void selectResult(std::size_t index) override
    {
        readAll();
        if (index < m_parts.size()) {
            m_current = index;
            m_pos = 0;
        }
    }

    long rowsAffected() const override { return current().rowsAffected; }

    const StatementFailure* failure() const override
    {
        return current().failure ? &*current().failure : nullptr;
    }

    void readAll() override
    {
        if (!m_streaming)
            return;
        m_streaming = false;
        m_pos = 0;
        // A driver that cannot go on after a failure would fail for ever.
        constexpr int kFailuresInARow = 16;
        int failures = 0;
        bool first = true;
        while (failures < kFailuresInARow) {
            try {
                if (first) {
                    first = false;
                    ResultPart& live = m_parts[m_current];
                    if (!m_atEnd) {
                        live.rows.push_back(std::move(m_row));
                        readRows(live);
                    }
                } else {
                    if (!m_pending || !moreResults())
                        break;
                    m_parts.push_back(describeCurrent());
                    ResultPart& added = m_parts.back();
                    if (!added.columns.empty())
                        readRows(added);
                    else if (added.rowsAffected < 0)
                        m_parts.pop_back(); // nothing to show
                }
                failures = 0;
            } catch (const DriverFailure& f) {
                ResultPart failed;
                failed.failure = StatementFailure{providerFailure(f.errors), f.errors};
                m_parts.push_back(std::move(failed));
                ++failures;
            }
        }
        m_row.clear();
        m_pending = false;
    }

private:
    const ResultPart& current() const { return m_parts[m_current]; }

    [[noreturn]] void failed() const { throw DriverFailure{diagnostics(SQL_HANDLE_STMT, m_statement.get())}; }

    // The result the statement stands on: its columns, or the rows it changed.
    ResultPart describeCurrent()
    {
        ResultPart part;
        SQLSMALLINT count = 0;
        if (!succeeded(SQLNumResultCols(m_statement.get(), &count)))
            failed();
        for (SQLSMALLINT i = 1; i <= count; ++i)
            part.columns.push_back(describe(i));
        if (count == 0)
            part.rowsAffected = rowCount(-1);
        return part;
    }

    Column describe(SQLSMALLINT index)
    {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        if (!succeeded(SQLDescribeCol(m_statement.get(), static_cast<SQLUSMALLINT>(index), name, sizeof name,
                                      &nameLength, &sqlType, &size, &digits, &nullable)))
            failed();
        return Column{reinterpret_cast<const char*>(name), kindOf(sqlType)};
    }

    long rowCount(long unknown)
    {
        SQLLEN n = -1;
        if (!succeeded(SQLRowCount(m_statement.get(), &n)) || n < 0)
            return unknown;
        return static_cast<long>(n);
    }

    // Moves to the statement's next result; false when there is none.
    bool moreResults()
    {
        const SQLRETURN rc = SQLMoreResults(m_statement.get());
        if (rc == SQL_NO_DATA) {
            m_pending = false;
            return false;
        }
        if (!succeeded(rc))
            failed();
        return true;
    }

    // The rest of a result set's rows into the part; a failure in the middle keeps the
    // rows before it and takes the next place among the results.
    void readRows(ResultPart& part)
    {
        for (;;) {
            const SQLRETURN rc = SQLFetch(m_statement.get());
            if (rc == SQL_NO_DATA)
                return;
            if (!succeeded(rc))
                failed();
            part.rows.push_back(readRow(part.columns));
        }
    }

    std::vector<Value> readRow(const std::vector<Column>& columns)
    {
        std::vector<Value> row;
        for (std::size_t i = 0; i < columns.size(); ++i)
            row.push_back(read(static_cast<SQLUSMALLINT>(i + 1), columns[i].kind));
        return row;
    }

    // The walk's next row straight from the driver.
    void fetch()
    {
        const SQLRETURN rc = SQLFetch(m_statement.get());
        if (rc == SQL_NO_DATA) {
            finish();
            return;
        }
        if (!succeeded(rc)) {
            const auto errors = diagnostics(SQL_HANDLE_STMT, m_statement.get());
            finish();
            throw providerFailure(errors);
        }
        try {
            m_row = readRow(current().columns);
        } catch (const DriverFailure& f) {
            throw providerFailure(f.errors);
        }
    }

    // The walk is over: the cursor closes, and with it what else the batch had.
    void finish()
    {
        m_atEnd = true;
        m_row.clear();
        m_pending = false;
        SQLCloseCursor(m_statement.get());
    }

    Value read(SQLUSMALLINT column, Value::Kind kind)
    {
        SQLLEN indicator = 0;
        SQLHANDLE s = m_statement.get();
        if (kind == Value::Kind::Int) {
            SQLBIGINT v = 0;
            if (!succeeded(SQLGetData(s, column, SQL_C_SBIGINT, &v, sizeof v, &indicator)))
                failed();
            return indicator == SQL_NULL_DATA ? Value::null() : Value::integer(v);
        }
        if (kind == Value::Kind::Double) {
            double v = 0;
            if (!succeeded(SQLGetData(s, column, SQL_C_DOUBLE, &v, sizeof v, &indicator)))
                failed();
            return indicator == SQL_NULL_DATA ? Value::null() : Value::real(v);
        }
        bool isNull = false;
        std::string text = readText(column, isNull);
        if (isNull)
            return Value::null();
        return kind == Value::Kind::DateTime ? Value::dateTime(std::move(text)) : Value::text(std::move(text));
    }

    // Text in pieces, as long as the driver has more.
    std::string readText(SQLUSMALLINT column, bool& isNull)
    {
        std::vector<SQLWCHAR> all;
        SQLWCHAR chunk[1024];
        for (;;) {
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(m_statement.get(), column, SQL_C_WCHAR, chunk, sizeof chunk, &indicator);
            if (rc == SQL_NO_DATA)
                break;
            if (!succeeded(rc))
                failed();
            if (indicator == SQL_NULL_DATA) {
                isNull = true;
                return {};
            }
            const std::size_t capacity = sizeof chunk / sizeof chunk[0] - 1;
            std::size_t got = indicator == SQL_NO_TOTAL ? capacity
                                                         : std::min<std::size_t>(static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR), capacity);
            all.insert(all.end(), chunk, chunk + got);
            if (rc == SQL_SUCCESS)
                break;
        }
        return fromUtf16(all.data(), all.size());
    }

    std::shared_ptr<Link> m_link;
    Handle m_statement; // declared after the link: freed before it
    std::vector<ResultPart> m_parts;
    std::size_t m_current = 0;
    std::size_t m_pos = 0;        // the row of a part read whole
    bool m_streaming = false;     // the current part's rows come from the driver one by one
    bool m_atEnd = false;         // ... and it has none left
    bool m_pending = true;        // the driver may hold further results
    std::vector<Value> m_row;     // the streamed part's current row
};

class OdbcConnection final : public Connection {
public:
    explicit OdbcConnection(std::shared_ptr<Link> link) : m_link(std::move(link)) {}

    std::unique_ptr<Result> execute(CommandType type, const std::string& text,
                                    const std::vector<Param>& params) override
    {
        m_errors.clear();
        Handle statement(SQL_HANDLE_STMT, m_link->connection.get());
        if (!statement)
            fail(SQL_HANDLE_DBC, m_link->connection.get());

        // The bound buffers must live until the statement has run.
        std::vector<std::vector<SQLWCHAR>> texts;
        std::vector<SQLLEN> lengths(params.size());
        std::vector<SQLINTEGER> ints(params.size());
        std::vector<double> reals(params.size());
        texts.reserve(params.size());
        for (std::size_t i = 0; i < params.size(); ++i)
            bind(statement, i, params[i], texts, lengths, ints, reals);

        const std::string sql = type == CommandType::StoredProcedure ? callText(text, params.size()) : text;
        const SQLRETURN rc = SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                                           SQL_NTS);
        if (!succeeded(rc) && rc != SQL_NO_DATA)
            fail(SQL_HANDLE_STMT, statement.get());
        try {
            return std::make_unique<OdbcResult>(m_link, std::move(statement), rc);
        } catch (const DriverFailure& f) {
            m_errors = f.errors;
            throw providerFailure(m_errors);
        }
    }

    const std::vector<ProviderError>& errors() const override { return m_errors; }

private:
    [[noreturn]] void fail(SQLSMALLINT type, SQLHANDLE handle)
    {
        m_errors = diagnostics(type, handle);
        throw providerFailure(m_errors);
    }

    void bind(Handle& statement, std::size_t index, const Param& p, std::vector<std::vector<SQLWCHAR>>& texts,
              std::vector<SQLLEN>& lengths, std::vector<SQLINTEGER>& ints, std::vector<double>& reals)
    {
        const auto number = static_cast<SQLUSMALLINT>(index + 1);
        SQLRETURN rc = SQL_ERROR;
        switch (p.type) {
        case Param::Type::Int:
            ints[index] = static_cast<SQLINTEGER>(p.value.i);
            lengths[index] = 0;
            rc = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                                  &ints[index], 0, &lengths[index]);
            break;
        case Param::Type::Double:
            reals[index] = p.value.d;
            lengths[index] = 0;
            rc = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                                  &reals[index], 0, &lengths[index]);
            break;
        case Param::Type::String: {
            texts.push_back(toUtf16(p.value.s));
            auto& buffer = texts.back();
            lengths[index] = static_cast<SQLLEN>((buffer.size() - 1) * sizeof(SQLWCHAR));
            // SQL Server's drivers refuse a column size of 0 ("Invalid precision value").
            const SQLULEN size = std::max<SQLULEN>(1, buffer.size() - 1);
            rc = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, size, 0,
                                  buffer.data(), static_cast<SQLLEN>(buffer.size() * sizeof(SQLWCHAR)),
                                  &lengths[index]);
            break;
        }
        }
        if (!succeeded(rc))
            fail(SQL_HANDLE_STMT, statement.get());
    }

    std::shared_ptr<Link> m_link;
    std::vector<ProviderError> m_errors;
};

[[noreturn]] void connectFailure(std::vector<ProviderError> errors)
{
    if (errors.empty()) {
        ProviderError e;
        e.message = e.description = "The ODBC driver manager could not be initialised.";
        errors.push_back(e);
    }
    ComError error = providerFailure(errors);
    throw ConnectError{error, std::move(errors)};
}

} // namespace

namespace {

// A value holding ";", "{" or "}" would end its attribute early and let the rest be read
// as further attributes (a password "x;database=other" choosing the database), so it
// goes in braces with each "}" doubled, as ODBC reads them. Other values stay as typed.
std::string attributeValue(const std::string& value)
{
    if (value.find_first_of(";{}") == std::string::npos)
        return value;
    std::string braced = "{";
    for (const char c : value) {
        braced += c;
        if (c == '}')
            braced += '}';
    }
    return braced + "}";
}

// SQL Server's drivers change an expired or must-change password as they log in: the
// old one goes in this attribute, the new one in the connection string's pwd.
void setOldPassword(SQLHDBC connection, const std::string& oldPassword)
{
    constexpr SQLINTEGER kOldPasswordAttribute = 1226; // SQL_COPT_SS_OLDPWD (msodbcsql, sqlncli)
    const SQLRETURN rc = SQLSetConnectAttr(connection, kOldPasswordAttribute,
                                           const_cast<char*>(oldPassword.c_str()), SQL_NTS);
    if (succeeded(rc))
        return;
    ProviderError e;
    e.message = e.description = "This ODBC driver cannot change a password as it logs in (it lacks SQL Server's "
                                "old-password connection attribute). Ask an administrator to set a new password.";
    connectFailure({e});
}

} // namespace

std::string connectionString(const std::string& server, const std::string& uid, const std::string& pwd,
                             const std::string& database)
{
    return "driver={SQL Server}; server=" + attributeValue(server) + ";uid=" + attributeValue(uid)
           + ";pwd=" + attributeValue(pwd) + ";database=" + attributeValue(database);
}

std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database,
                                           const std::optional<std::string>& oldPassword)
{
    Handle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    if (!environment)
        connectFailure({});
    SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);

    Handle connection(SQL_HANDLE_DBC, environment.get());
    if (!connection)
        connectFailure(diagnostics(SQL_HANDLE_ENV, environment.get()));
    SQLSetConnectAttr(connection.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
    if (oldPassword)
        setOldPassword(connection.get(), *oldPassword);

    const std::string text = connectionString(server, uid, pwd, database);
    const SQLRETURN rc = SQLDriverConnect(connection.get(), nullptr,
                                          reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())), SQL_NTS,
                                          nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!succeeded(rc))
        connectFailure(diagnostics(SQL_HANDLE_DBC, connection.get()));
    auto link = std::make_shared<Link>();
    link->environment = std::move(environment);
    link->connection = std::move(connection);
    return std::make_unique<OdbcConnection>(std::move(link));
}

} // namespace dalport::odbc
