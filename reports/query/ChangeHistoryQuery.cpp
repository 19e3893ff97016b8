#include "reports/query/ChangeHistoryQuery.h"

#include "document/CReportList.h"
#include "reports/query/ChangeHistoryWords.h"
#include "reports/query/ReportFill.h"
#include "reports/query/ReportRows.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include <cstdint>

namespace quorin {

namespace {

// A date as the log writes values ("2026-12-08T10:11:12.345") or as SQL Server gives
// ChangedAt ("2026-12-08 10:11:12.345"), shown as the program shows dates: "12/8/2026",
// or "12/8/2026 10:11:12 AM" with a time; the empty date 1900-01-01 as nothing. Any other
// text stays as it is.
QString Shown(const QString& value)
{
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d\\d)-(\\d\\d)(?:[T ](\\d\\d):(\\d\\d)(?::(\\d\\d)(?:\\.\\d+)?)?)?$"));
    const QRegularExpressionMatch match = iso.match(value);
    if (!match.hasMatch())
        return value;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return value;
    if (time == QTime(0, 0) && date == QDate(1900, 1, 1))
        return QString();
    const QString day = QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
    if (time == QTime(0, 0))
        return day;
    return day + QLatin1Char(' ') + QLocale::c().toString(time, QStringLiteral("h:mm:ss AP"));
}

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
        const int row = rows::Append(list, {Shown(query.Text("ChangedAt")), query.Text("ChangedBy"),
                                            ChangeWhat(table, query.Text("ColumnName"), query.Text("ChangeKind")),
                                            Shown(query.Text("OldValue")), Shown(query.Text("NewValue"))});
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
