#pragma once
// The Change History report: who added, changed and removed what of one subject's rows,
// and when, newest first, as uspLoadChangeHistory gives it to administrators. Columns:
// When, Who, What (in the forms' words, ChangeHistoryWords.h), Old, New; dates, in
// When as in the values, as the program shows them.

#include <optional>

class CReportList;

namespace quorin {

class CReportQuery;

inline constexpr int kChangeHistoryColumns = 5;

// One row per change of the subject. A row of an audiogram (aud, audpoints) carries its
// test's TestId as item data, every other row 0. A subject id below 1 lists nothing: the
// procedure would take 0 for every subject.
void BuildChangeHistory(CReportQuery& query, CReportList& list, int subjectId);

// The TestId of an audiogram's row; nothing for other rows and for no row (-1).
std::optional<int> AudiogramTestOfRow(const CReportList& list, int row);

} // namespace quorin
