#pragma once
// Rows of the summary reports (Participation, Feedback): a row of texts column by column,
// and the spacer row that separates sections (a single blank in column 0).

#include <QStringList>

class CReportList;

namespace quorin::rows {

int Append(CReportList& list, const QStringList& texts);
int AppendSpacer(CReportList& list);

} // namespace quorin::rows
