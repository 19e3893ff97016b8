#include "dalport/odbc/OdbcBackend.h"

#include "dalport/odbc/OdbcCallText.h"
#include "dalport/odbc/OdbcHandle.h"

#include <algorithm>
#include <cstdio>
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

class OdbcResult final : public Result {
public:
    OdbcResult(std::shared_ptr<Link> link, Handle statement, std::vector<Column> columns)
        : m_link(std::move(link)), m_statement(std::move(statement)), m_columns(std::move(columns))
    {
        fetch();
    }
    // A statement without a result set: an empty result.
    OdbcResult() : m_atEnd(true) {}

    bool atEnd() const override { return m_atEnd; }

    void moveNext() override
    {
        if (m_atEnd)
            throw ComError(hr::NoCurrentRecord, "ADODB.Recordset", descr::NoCurrentRecord);
        fetch();
    }

    std::vector<std::string> columns() const override
    {
        std::vector<std::string> names;
        for (const Column& c : m_columns)
            names.push_back(c.name);
        return names;
    }

    Value field(const std::string& name) const override
    {
        const auto it = std::find_if(m_columns.begin(), m_columns.end(), [&](const Column& c) {
            return strcasecmp(c.name.c_str(), name.c_str()) == 0;
        });
        if (it == m_columns.end())
            throw ComError(hr::ItemNotFound, "ADODB.Fields", descr::ItemNotFound);
        if (m_atEnd)
            throw ComError(hr::NoCurrentRecord, "ADODB.Field", descr::NoCurrentRecord);
        return m_row[static_cast<std::size_t>(it - m_columns.begin())];
    }

private:
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
        m_row.clear();
        for (std::size_t i = 0; i < m_columns.size(); ++i)
            m_row.push_back(read(static_cast<SQLUSMALLINT>(i + 1), m_columns[i].kind));
    }

    void finish()
    {
        m_atEnd = true;
        m_row.clear();
        SQLCloseCursor(m_statement.get());
    }

    Value read(SQLUSMALLINT column, Value::Kind kind)
    {
        SQLLEN indicator = 0;
        SQLHANDLE s = m_statement.get();
        if (kind == Value::Kind::Int) {
            SQLBIGINT v = 0;
            if (!succeeded(SQLGetData(s, column, SQL_C_SBIGINT, &v, sizeof v, &indicator)))
                throw providerFailure(diagnostics(SQL_HANDLE_STMT, s));
            return indicator == SQL_NULL_DATA ? Value::null() : Value::integer(v);
        }
        if (kind == Value::Kind::Double) {
            double v = 0;
            if (!succeeded(SQLGetData(s, column, SQL_C_DOUBLE, &v, sizeof v, &indicator)))
                throw providerFailure(diagnostics(SQL_HANDLE_STMT, s));
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
                throw providerFailure(diagnostics(SQL_HANDLE_STMT, m_statement.get()));
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
    std::vector<Column> m_columns;
    std::vector<Value> m_row;
    bool m_atEnd = false;
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
        if (rc == SQL_NO_DATA)
            return std::make_unique<OdbcResult>();
        if (!succeeded(rc))
            fail(SQL_HANDLE_STMT, statement.get());
        return firstResultSet(std::move(statement));
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

    // The first result that has columns; row counts before it are passed over.
    std::unique_ptr<Result> firstResultSet(Handle statement)
    {
        for (;;) {
            SQLSMALLINT count = 0;
            if (!succeeded(SQLNumResultCols(statement.get(), &count)))
                fail(SQL_HANDLE_STMT, statement.get());
            if (count > 0) {
                std::vector<Column> columns;
                for (SQLSMALLINT i = 1; i <= count; ++i)
                    columns.push_back(describe(statement, i));
                return std::make_unique<OdbcResult>(m_link, std::move(statement), std::move(columns));
            }
            const SQLRETURN more = SQLMoreResults(statement.get());
            if (more == SQL_NO_DATA)
                return std::make_unique<OdbcResult>();
            if (!succeeded(more))
                fail(SQL_HANDLE_STMT, statement.get());
        }
    }

    Column describe(Handle& statement, SQLSMALLINT index)
    {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        if (!succeeded(SQLDescribeCol(statement.get(), static_cast<SQLUSMALLINT>(index), name, sizeof name,
                                      &nameLength, &sqlType, &size, &digits, &nullable)))
            fail(SQL_HANDLE_STMT, statement.get());
        return Column{reinterpret_cast<const char*>(name), kindOf(sqlType)};
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

} // namespace

std::string connectionString(const std::string& server, const std::string& uid, const std::string& pwd,
                             const std::string& database)
{
    return "driver={SQL Server}; server=" + attributeValue(server) + ";uid=" + attributeValue(uid)
           + ";pwd=" + attributeValue(pwd) + ";database=" + attributeValue(database);
}

std::unique_ptr<Connection> openConnection(const std::string& server, const std::string& uid,
                                           const std::string& pwd, const std::string& database)
{
    Handle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    if (!environment)
        connectFailure({});
    SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);

    Handle connection(SQL_HANDLE_DBC, environment.get());
    if (!connection)
        connectFailure(diagnostics(SQL_HANDLE_ENV, environment.get()));
    SQLSetConnectAttr(connection.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);

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
