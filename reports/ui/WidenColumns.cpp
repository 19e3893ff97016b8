#include "reports/ui/WidenColumns.h"

#include "framework/ReportListCtrl.h"

#include <QFontMetrics>
#include <QStyle>

#include <algorithm>

namespace quorin {

namespace {

// The widest text of the column with the cell's margins, as the tree view measures it
// and as the font draws it (the larger of the two, so neither view nor font cuts it).
int NeededWidth(const CReportListCtrl& list, int column)
{
    const QFontMetrics metrics(list.font());
    const int padding = 2 * list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 10;
    int needed = static_cast<const QAbstractItemView&>(list).sizeHintForColumn(column);
    for (int row = 0; row < list.GetItemCount(); ++row)
        needed = std::max(needed, metrics.horizontalAdvance(list.GetItemText(row, column)) + padding);
    return needed;
}

} // namespace

void WidenColumnsToContents(CReportListCtrl& list, const std::vector<int>& givenWidths)
{
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        const bool given = column < static_cast<int>(givenWidths.size());
        const int width = given ? givenWidths[static_cast<std::size_t>(column)] : list.GetColumnWidth(column);
        if (width <= 0)
            continue;
        list.SetColumnWidth(column, std::max(width, NeededWidth(list, column)));
    }
}

} // namespace quorin
