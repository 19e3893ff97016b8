#include "dalport/MyADO.h"

#include "dalport/ComError.h"
#include "dalport/Report.h"
#include "dalport/SessionObjects.h"
#include "dalport/ValueConversion.h"

#include <cstdint>
#include <optional>
#include <cstdio>

using namespace dalport;

namespace {

constexpr long kConnectionInvalid = static_cast<long>(0x800A0E7D); // adErrInvalidConnection

ComError closedObject()
{
    return ComError(hr::ObjectClosed, "ADODB.Recordset", descr::ObjectClosed);
}

std::string trimRight(std::string s)
{
    const auto end = s.find_last_not_of(" \t\r\n\f\v");
    s.erase(end == std::string::npos ? 0 : end + 1);
    return s;
}

std::size_t utf16Length(const std::string& utf8)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) != 0x80)
            n += c >= 0xF0 ? 2 : 1; // four-byte sequences need a surrogate pair
    }
    return n;
}

} // namespace

MyADO::MyADO() : m_bConnected(0) {}

MyADO::MyADO(const MyADO& other) = default;

MyADO& MyADO::operator=(const MyADO& other)
{
    if (m_pConnection != other.m_pConnection)
        m_pConnection = other.m_pConnection;
    if (m_pCommand != other.m_pCommand)
        m_pCommand = other.m_pCommand;
    if (m_pRecordset != other.m_pRecordset)
        m_pRecordset = other.m_pRecordset;
    m_bConnected = other.m_bConnected;
    return *this;
}

MyADO::~MyADO()
{
    // Released in the order the objects depend on each other.
    m_pRecordset.reset();
    m_pCommand.reset();
    m_pConnection.reset();
}

int MyADO::SetDataSource(const char* server, const char* uid, const char* pwd, const char* database)
{
    return OpenSession(server, uid, pwd, database, nullptr);
}

int MyADO::OpenSession(const char* server, const char* uid, const char* pwd, const char* database, const char* oldPwd)
{
    m_pConnection = std::make_shared<AdoConnection>();
    m_pCommand = std::make_shared<AdoCommand>();
    m_pRecordset = std::make_shared<AdoRecordset>();
    try {
        m_pConnection->backend = openConnection(server ? server : "", uid ? uid : "", pwd ? pwd : "",
                                                database ? database : "",
                                                oldPwd ? std::optional<std::string>(oldPwd) : std::nullopt);
    } catch (const ConnectError& failure) {
        m_pConnection->errors = failure.errors;
        PrintProviderError();
        PrintComError(failure.error);
        return 0;
    }
    m_pCommand->activeConnection = m_pConnection;
    m_bConnected = 1;
    return 1;
}

int MyADO::IsConnected() { return m_bConnected; }

int MyADO::Execute(bool storedProcedure, const char* text)
{
    try {
        if (!m_pCommand)
            throw closedObject();
        const auto& connection = m_pCommand->activeConnection;
        if (!connection || !connection->backend)
            throw ComError(kConnectionInvalid, "ADODB.Command",
                           "The connection cannot be used to perform this operation. It is either closed or invalid in this context.");
        connection->errors.clear();
        std::unique_ptr<Result> result;
        try {
            result = connection->backend->execute(storedProcedure ? CommandType::StoredProcedure : CommandType::Text,
                                                  text ? text : "", m_pCommand->parameters);
        } catch (const ComError&) {
            connection->errors = connection->backend->errors();
            throw;
        }
        // Copies made earlier keep the result they had; this session moves on.
        auto fresh = std::make_shared<AdoRecordset>();
        fresh->result = std::move(result);
        m_pRecordset = std::move(fresh);
        return 1;
    } catch (const ComError& e) {
        PrintProviderError();
        PrintComError(e);
        return 0;
    }
}

int MyADO::RunStoredProcedure(const char* name) { return Execute(true, name); }

int MyADO::RunTextQuery(const char* sql) { return Execute(false, sql); }

int MyADO::IsEOF()
{
    // A session without a result (never connected, or nothing run yet) reads as at the
    // end, so that a caller's read loop ends at once.
    if (!m_pRecordset || !m_pRecordset->result) {
        PrintComError(closedObject());
        return -1;
    }
    return m_pRecordset->result->atEnd() ? -1 : 0;
}

void MyADO::MoveNext()
{
    try {
        if (!m_pRecordset || !m_pRecordset->result)
            throw closedObject();
        m_pRecordset->result->moveNext();
    } catch (const ComError& e) {
        PrintProviderError();
        PrintComError(e);
    }
}

void MyADO::RemoveParams()
{
    if (m_pCommand)
        m_pCommand->parameters.clear();
}

namespace {

void appendParameter(const std::shared_ptr<AdoCommand>& command, Param p)
{
    // A session that never connected has no command: the value is dropped, and the
    // statement that would use it fails (and reports) in its turn.
    if (command)
        command->parameters.push_back(std::move(p));
}

} // namespace

void MyADO::BindIntParam(std::string name, int value)
{
    appendParameter(m_pCommand, Param{std::move(name), Param::Type::Int, 4, Value::integer(value)});
}

void MyADO::BindFloatParam(std::string name, float value)
{
    appendParameter(m_pCommand, Param{std::move(name), Param::Type::Double, 8, Value::real(static_cast<double>(value))});
}

void MyADO::BindStringParam(std::string name, std::string value)
{
    const std::size_t size = utf16Length(value);
    appendParameter(m_pCommand, Param{std::move(name), Param::Type::String, size, Value::text(std::move(value))});
}

namespace {

Value readField(const std::shared_ptr<AdoRecordset>& recordset, const char* name)
{
    if (!recordset || !recordset->result)
        throw closedObject();
    // Callers read the same columns row after row: the names are looked up once per
    // result set, each read is then a probe and a read by position.
    if (!recordset->positions)
        recordset->positions.emplace(recordset->result->columns());
    const int column = recordset->positions->find(name ? name : "");
    if (column < 0)
        throw ComError(hr::ItemNotFound, "ADODB.Fields", descr::ItemNotFound);
    return recordset->result->fieldAt(static_cast<std::size_t>(column));
}

// The text of a value, taking a text's characters rather than copying them.
std::string takeText(Value&& value)
{
    return value.kind == Value::Kind::Text ? std::move(value.s) : toText(value);
}

} // namespace

std::string MyADO::GetStringField(const char* name)
{
    if (!m_bConnected)
        return "";
    try {
        std::string text = trimRight(takeText(readField(m_pRecordset, name)));
        if (text == "01/01/1900")
            text.clear();
        return text;
    } catch (const ComError& e) {
        // A NULL column is an empty text, not an error.
        if (e.ErrorMessage() == "Type mismatch.")
            return "";
        PrintProviderError();
        PrintComError(e);
        return "";
    }
}

int MyADO::GetIntField(const char* name)
{
    if (!m_bConnected)
        return -1;
    try {
        return toInt(readField(m_pRecordset, name));
    } catch (const ComError& e) {
        PrintProviderError();
        PrintComError(e);
        return -1;
    }
}

float MyADO::GetFloatField(const char* name)
{
    if (!m_bConnected)
        return -1.0f;
    try {
        return toFloat(readField(m_pRecordset, name));
    } catch (const ComError& e) {
        PrintProviderError();
        PrintComError(e);
        return -1.0f;
    }
}

int MyADO::GetResultCount()
{
    if (!m_pRecordset || !m_pRecordset->result)
        return 0;
    m_pRecordset->result->readAll();
    m_pRecordset->positions.reset();
    return static_cast<int>(m_pRecordset->result->resultCount());
}

int MyADO::SelectResult(int index)
{
    if (index < 0 || index >= GetResultCount())
        return 0;
    m_pRecordset->result->selectResult(static_cast<std::size_t>(index));
    m_pRecordset->positions.reset(); // another result set, other columns
    // A statement of the batch that failed reports now, in its place among the results.
    if (const StatementFailure* failed = m_pRecordset->result->failure()) {
        if (m_pConnection)
            m_pConnection->errors = failed->errors;
        PrintProviderError();
        PrintComError(failed->error);
        return 0;
    }
    return 1;
}

long MyADO::GetRowsAffected()
{
    return m_pRecordset && m_pRecordset->result ? m_pRecordset->result->rowsAffected() : -1;
}

std::vector<std::string> MyADO::GetColumnNames()
{
    return m_pRecordset && m_pRecordset->result ? m_pRecordset->result->columns() : std::vector<std::string>{};
}

Value MyADO::GetFieldValue(int column)
{
    if (!m_pRecordset || !m_pRecordset->result || column < 0)
        return Value::null();
    try {
        return m_pRecordset->result->fieldAt(static_cast<std::size_t>(column));
    } catch (const ComError&) {
        return Value::null();
    }
}

std::vector<ReportedError> MyADO::GetConnectionErrors()
{
    std::vector<ReportedError> out;
    if (!m_pConnection)
        return out;
    for (const ProviderError& e : m_pConnection->errors) {
        ReportedError r;
        r.kind = ReportedError::Kind::Provider;
        r.number = e.number;
        r.level = e.level;
        r.state = e.state;
        r.message = e.message;
        r.text = e.description;
        out.push_back(std::move(r));
    }
    return out;
}

void MyADO::PrintComError(const ComError& e)
{
    if (!m_bConnected)
        return;
    char code[16];
    std::snprintf(code, sizeof code, "%lx", static_cast<unsigned long>(e.Error()) & 0xFFFFFFFFUL);
    ReportedError box;
    box.kind = ReportedError::Kind::Com;
    box.number = e.Error();
    box.text = std::string("Error\n") + code + e.ErrorMessage() + e.Source() + e.Description();
    box.message = e.Description();
    report(box);
}

void MyADO::PrintProviderError()
{
    if (!m_bConnected || !m_pConnection)
        return;
    for (const auto& error : m_pConnection->errors) {
        char head[64];
        std::snprintf(head, sizeof head, "Error number: %lx\t", static_cast<unsigned long>(error.number) & 0xFFFFFFFFUL);
        ReportedError box;
        box.kind = ReportedError::Kind::Provider;
        box.text = head + error.description + "\n";
        box.number = error.number;
        box.level = error.level;
        box.state = error.state;
        box.message = error.message;
        report(box);
    }
}

void MyADO::TESTHR(long hr)
{
    // A status code is 32 bits wide whatever the width of long.
    if (static_cast<std::int32_t>(static_cast<std::uint32_t>(hr)) < 0)
        throw ComError(hr);
}
