#pragma once
// The Letters report: for the letters sent between two dates, how many came back, how
// many of those returned in the period stayed active or withdrew, and how many got no
// answer, each also as a share of all subjects in the registry.

#include <QString>

#include <utility>
#include <vector>

class CReportList;

namespace quorin {

class CReportQuery;

std::vector<std::pair<QString, int>> LettersColumns();

// From and To as typed; they go into the statements as text values. With no subject in
// the registry the share column stays empty.
void BuildLettersList(CReportQuery& query, CReportList& list, const QString& from, const QString& to);

} // namespace quorin
