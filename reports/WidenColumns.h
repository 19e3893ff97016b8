#pragma once
// The summary lists (Participation, Feedback) keep their columns at the widths given,
// but a column whose sentences or names are wider than that grows to show them whole:
// a summary read with its counts cut off ("662 subjects in 25 requests for 1…") says
// nothing. Columns never shrink.

class CReportListCtrl;

namespace quorin {

void WidenColumnsToContents(CReportListCtrl& list);

} // namespace quorin
