#include "reports/query/ChangeHistoryQuery.h"

#include "document/CReportList.h"
#include "reports/query/ChangeHistoryWords.h"
#include "reports/query/ReportFill.h"
#include "reports/query/ReportRows.h"
#include "rules/DateText.h"

#include <cstdint>

namespace quorin {

namespace {

bool IsAudiogramTable(const QString& table)
{
    return table.compare(QLatin1String("aud"), Qt::CaseInsensitive) == 0
           || table.compare(QLatin1String("audpoints"), Qt::CaseInsensitive) == 0;
}

// An audiogram row's key starts with its TestId ("123", or "123:4:1005" for a symbol).
int TestIdOfKey(const QString& key)
{
    return key.section(QLatin1Char(':'), 0, 0).trimmed().toInt();
}

} // namespace

void BuildChangeHistory(CReportQuery& query, CReportList& list, int subjectId)
{
    if (subjectId < 1)
        return;
    query.BindInt("@SubjectId", subjectId);
    query.BindString("@ChangedBy", QString());
    query.BindString("@Since", QStringLiteral("1900-01-01"));
    query.RunProcedure("uspLoadChangeHistory");
    for (; !query.IsEOF(); query.MoveNext()) {
        const QString table = query.Text("TableName");
        const int row = rows::Append(list, {ShownDateTime(query.Text("ChangedAt")), query.Text("ChangedBy"),
                                            ChangeWhat(table, query.Text("ColumnName"), query.Text("ChangeKind")),
                                            ShownDateTime(query.Text("OldValue")), ShownDateTime(query.Text("NewValue"))});
        list.SetItemData(row, IsAudiogramTable(table) ? TestIdOfKey(query.Text("RowKey")) : 0);
    }
}

std::optional<int> AudiogramTestOfRow(const CReportList& list, int row)
{
    if (row < 0 || row >= list.GetItemCount())
        return std::nullopt;
    const std::intptr_t testId = list.GetItemData(row);
    if (testId <= 0)
        return std::nullopt;
    return static_cast<int>(testId);
}

} // namespace quorin
