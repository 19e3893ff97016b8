#pragma once
// Numbers added per month: the subjects entered in each calendar month, newest month
// first, months without entries left out; then "Future date of entry" and "No date of
// entry" (each only when not 0), so that the column sums to every subject. Those
// subjects give a negative or no month offset, which a walk back from this month never
// meets: the walk takes the offsets of 0 and more only.

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
