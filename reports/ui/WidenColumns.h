#pragma once
// Summary lists keep their columns at the widths given, but a column whose sentences,
// names or numbers are wider than that grows to show them whole: a summary read with its
// counts cut off ("662 subjects in 25 requests for 1…") says nothing. A hidden key column
// (width 0) stays hidden.

#include <vector>

class CReportListCtrl;

namespace quorin {

// Each column at least as wide as its text. With `givenWidths` a column is first set back
// to its given width (so it narrows again after a refill with shorter texts); without them
// columns never shrink.
void WidenColumnsToContents(CReportListCtrl& list, const std::vector<int>& givenWidths = {});

} // namespace quorin
