#include "reports/query/ReportFill.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "document/CReportList.h"

namespace quorin {

namespace {
// Thrown by a failed statement, caught by FillReport only.
struct StatementFailed {};
} // namespace

void CReportQuery::Run(const QString& sql)
{
    if (!RunText(m_db, sql))
        throw StatementFailed{};
}

void CReportQuery::RunProcedure(const char* name)
{
    const int ran = m_db.RunStoredProcedure(name);
    m_db.RemoveParams();
    if (!ran)
        throw StatementFailed{};
}

void CReportQuery::BindInt(const char* name, int value)
{
    m_db.BindIntParam(name, value);
}

void CReportQuery::BindString(const char* name, const QString& value)
{
    quorin::BindString(m_db, name, value);
}

int CReportQuery::Count(const QString& sql)
{
    Run(sql);
    return m_db.IsEOF() ? 0 : m_db.GetIntField("num");
}

bool CReportQuery::IsEOF()
{
    return m_db.IsEOF() != 0;
}

void CReportQuery::MoveNext()
{
    m_db.MoveNext();
}

QString CReportQuery::Text(const char* column)
{
    return StringField(m_db, column);
}

int CReportQuery::Int(const char* column)
{
    return m_db.GetIntField(column);
}

bool FillReport(CQuorinDoc& document, CReportList& list, const ReportBuilder& build)
{
    const WaitCursor wait(document.UI());
    list.DeleteAllItems();
    CReportQuery query(document.m_db);
    try {
        build(query, list);
        return true;
    } catch (const StatementFailed&) {
        // Parameters bound for a statement never run must not reach the next one.
        document.m_db.RemoveParams();
        list.DeleteAllItems();
        return false;
    }
}

} // namespace quorin
