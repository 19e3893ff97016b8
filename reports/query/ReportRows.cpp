#include "reports/query/ReportRows.h"

#include "document/CReportList.h"

namespace quorin::rows {

int Append(CReportList& list, const QStringList& texts)
{
    const int row = list.AppendItem(texts.value(0));
    for (int column = 1; column < texts.size(); ++column)
        list.SetItemText(row, column, texts[column]);
    return row;
}

int AppendSpacer(CReportList& list)
{
    return list.AppendItem(QStringLiteral(" "));
}

} // namespace quorin::rows
