#pragma once
// The Contact report: participation records whose subject could not be contacted
// (code 1), under a heading row, each row holding the subject's id in the hidden column
// 0. Staff take a subject off the list, which marks every such record of it with 4.

#include <QString>

#include <utility>
#include <vector>

class CQuorinDoc;
class CReportList;

namespace quorin {

class CReportQuery;

// Every heading is empty; the heading row names the columns.
std::vector<std::pair<QString, int>> ContactColumns();

void BuildContactList(CReportQuery& query, CReportList& list);

// For the picked row: no row, or the heading row (no subject), is no selection;
// otherwise asks "Do you want to remove this person from the list?" and on Yes marks the
// subject's code-1 records with 4 and fills the list again. True when records changed.
bool RemoveFromContactList(CQuorinDoc& document, CReportList& list);

} // namespace quorin
