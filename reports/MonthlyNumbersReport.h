#pragma once
// Numbers added per month: the subjects entered in each calendar month, newest month
// first, months without entries left out; then the subjects whose date of entry lies in
// the future and those without one, so that the column sums to every subject.

#include <QString>

#include <utility>
#include <vector>

class CReportList;

namespace quorin {

class CReportQuery;

// Three columns, every heading empty; row 0 names them.
std::vector<std::pair<QString, int>> MonthlyNumbersColumns();

// The months count back from the current month of the system's clock.
void BuildMonthlyNumbersList(CReportQuery& query, CReportList& list);

} // namespace quorin
