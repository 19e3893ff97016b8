#include "reports/WidenColumns.h"

#include "framework/ReportListCtrl.h"

namespace quorin {

void WidenColumnsToContents(CReportListCtrl& list)
{
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        const int width = list.GetColumnWidth(column);
        if (width <= 0)
            continue; // a hidden key column stays hidden
        // Public on the view base; the tree view measures every row of the column.
        const int needed = static_cast<const QAbstractItemView&>(list).sizeHintForColumn(column);
        if (needed > width)
            list.SetColumnWidth(column, needed);
    }
}

} // namespace quorin
