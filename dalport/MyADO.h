#pragma once
// MyADO: one database session — a connection to one database, one reusable command
// with its bound parameters, and the result set of the last statement.
//
// Calling pattern: SetDataSource once; for each statement bind the parameters in the
// order the procedure declares them, RunStoredProcedure or RunTextQuery, walk the rows
// with IsEOF/MoveNext reading fields by column name, then RemoveParams.
//
// The server name chooses the backend: an empty name or a path (absolute, "./", "~/",
// "file:") opens the embedded engine (empty: the default registry); anything else goes
// to SQL Server through ODBC with the connection string
//   "driver={SQL Server}; server=%s;uid=%s;pwd=%s;database=%s".
//
// Failures never throw out of this class. Reads that fail return "", -1 or -1.0.
// While the session is not connected nothing is ever shown. Once it is, a failing
// operation shows one box per provider error ("Error number: %x\t%s\n", in the
// provider's order) and then one box for the raised error, built as
//   "Error\n" + code in lower-case hex + message text + source + description
// with these codes:
//
//   code        message text                    raised when
//   0x80004005  "Unspecified error"             the provider refused a connection or a
//                                               statement (source: the provider, description:
//                                               its last message)
//   0x80020005  "Type mismatch."                a NULL read as a number, or a text that is no
//                                               number (no source, no description); a NULL
//                                               read as text is silent and reads ""
//   0x800A0CC1  "Unknown error 0x800A0CC1"      a column the result set lacks (source
//                                               "ADODB.Fields", description "Item cannot be
//                                               found in the collection corresponding to the
//                                               requested name or ordinal.")
//   0x800A0BCD  "Unknown error 0x800A0BCD"      a read or MoveNext past the last row (source
//                                               "ADODB.Field"/"ADODB.Recordset", description
//                                               "Either BOF or EOF is True, or the current
//                                               record has been deleted. Requested operation
//                                               requires a current record.")
//   0x800A0E78  "Unknown error 0x800A0E78"      a statement or read on a session that has no
//                                               connection object (description "Operation is
//                                               not allowed when the object is closed.")
//
// A message text comes from the system's table; for a code it lacks the text is
// "IDispatch error #%d" (codes 0x80040200..0x8004FFFF except low word 0x0200, numbered
// low word minus 0x200) or "Unknown error 0x%0lX".

#include "dalport/DalportExport.h"
#include "dalport/ErrorReporter.h"
#include "dalport/Value.h"

#include <memory>
#include <string>
#include <vector>

namespace dalport {
class AdoConnection;
class AdoCommand;
class AdoRecordset;
class ComError;
} // namespace dalport

class DALPORT_EXPORT MyADO {
public:
    MyADO();
    MyADO(const MyADO& other);
    MyADO& operator=(const MyADO& other);
    virtual ~MyADO();

    int SetDataSource(const char* server, const char* uid, const char* pwd, const char* database);
    int IsConnected();

    int RunStoredProcedure(const char* name);
    int RunTextQuery(const char* sql);
    int IsEOF();
    void MoveNext();
    void RemoveParams();

    void BindIntParam(std::string name, int value);
    void BindFloatParam(std::string name, float value);
    void BindStringParam(std::string name, std::string value);

    std::string GetStringField(const char* name);
    int GetIntField(const char* name);
    float GetFloatField(const char* name);

protected:
    // For tools that show whole results (quorin-sql); the calls above are unchanged by
    // them. The last statement's results in order: result sets, and the counts of rows
    // an INSERT, UPDATE or DELETE changed.
    int GetResultCount();
    // Makes result `index` (0 first) the one IsEOF/MoveNext/Get*Field walk; 0 when absent,
    // and 0 after reporting the errors when that statement of the batch failed.
    int SelectResult(int index);
    long GetRowsAffected(); // -1 for a result set, or when the server does not say
    std::vector<std::string> GetColumnNames();
    // The current row's typed value at a column position (Kind::Null for NULL and when
    // there is no current row).
    dalport::Value GetFieldValue(int column);
    // What the server said when SetDataSource failed (nothing is shown then).
    std::vector<dalport::ReportedError> GetConnectionErrors();

    // SetDataSource's connection; with oldPwd (not null) pwd is the login's new
    // password, set as it logs in.
    int OpenSession(const char* server, const char* uid, const char* pwd, const char* database, const char* oldPwd);

    void PrintComError(const dalport::ComError& e);
    void PrintProviderError();
    void TESTHR(long hr);

    // Shared by copies, as counted references are: a copy runs on the same
    // connection and command and sees the same result.
    std::shared_ptr<dalport::AdoConnection> m_pConnection;
    std::shared_ptr<dalport::AdoCommand> m_pCommand;
    std::shared_ptr<dalport::AdoRecordset> m_pRecordset;
    int m_bConnected;

private:
    int Execute(bool storedProcedure, const char* text);
};
