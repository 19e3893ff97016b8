#pragma once
// Database Numbers: the registry's population by status, audiograms, age and patient
// impression, sex, ethnicity, race and recruitment method, with shares of all subjects.
// With active-only every count but the first and the status rows is of active subjects;
// the shares stay shares of the whole registry. With no subjects at all the shares stay
// empty and the status rows show the count alone. A failed count is not shown as 0: the
// fill fails as every report's does (ReportFill.h), the list left empty.

#include <QString>

#include <utility>
#include <vector>

class CReportList;

namespace quorin {

class CReportQuery;

// Five columns, every heading empty; row 0 is a spacer, so the printed heading is empty.
std::vector<std::pair<QString, int>> DatabaseNumbersColumns();

void BuildDatabaseNumbersList(CReportQuery& query, CReportList& list, bool activeOnly);

} // namespace quorin
