#pragma once
// Every report fills its list through one helper, so that all of them fail alike: the
// fill stops at its first failed statement (after the session has shown its own boxes)
// and leaves the list empty. A failed statement keeps the session's previous result, so
// reading on would show the rows or the count of the statement before; nothing is read
// after a failure.

#include <QString>

#include <functional>

class CQuorinDoc;
class CReportList;
class MyADO;

namespace quorin {

// The statements of one fill, on the document's session. A failed statement ends the
// builder at once; the helper below catches that and empties the list.
class CReportQuery {
public:
    explicit CReportQuery(MyADO& db) : m_db(db) {}

    // Runs SQL text. Values go into it through app/SqlText.h.
    void Run(const QString& sql);
    // Runs a stored procedure with the parameters bound before; they are removed after.
    void RunProcedure(const char* name);
    void BindInt(const char* name, int value);
    void BindString(const char* name, const QString& value);

    // A count statement names its column num; no row counts 0.
    int Count(const QString& sql);

    bool IsEOF();
    void MoveNext();
    QString Text(const char* column);
    int Int(const char* column);

private:
    MyADO& m_db;
};

using ReportBuilder = std::function<void(CReportQuery& query, CReportList& list)>;

// Deletes all rows, shows the wait cursor and runs the builder. Returns false, with the
// list empty, when a statement failed.
bool FillReport(CQuorinDoc& document, CReportList& list, const ReportBuilder& build);

} // namespace quorin
