#pragma once
// The Participation report: for a period, how many datasets, requests, releases and
// participation records there are, how often subjects took part, and the participants
// by age, sex, ethnicity, race and hearing loss.

#include <QString>

class CReportList;

namespace quorin {

class CReportQuery;

enum { kParticipationColumns = 3 };

// The statements and rows of one fill, from a spacer row 0 down to the share of active
// subjects who took part. From and To go into the statements as typed (quoted safely).
// A failed statement ends it (ReportFill.h).
void BuildParticipationList(CReportQuery& query, CReportList& list, const QString& from, const QString& to);

} // namespace quorin
