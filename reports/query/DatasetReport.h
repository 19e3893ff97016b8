#pragma once
// The Dataset and IRB report: every dataset requested between two dates with its IRB,
// latest request date, how many subjects were requested, contacted and participated,
// and whether it is still open; and the reminders mailed to the researchers who still
// hold an open dataset.

#include "reports/query/MailSettings.h"

#include <QString>

class CQuorinDoc;
class CReportList;

namespace quorin {

class CReportQuery;
class UserInterface;

// One dataset row while the list is built.
struct CDatasetCount {
    QString dataset;
    QString irb;
    QString requestDate;
    int subjects = 0;
    int contacted = 0;
    int participated = 0;
};

struct DatasetReportOptions {
    QString from;
    QString to;
    int order = 0;         // 0 by latest request date, 1 by IRB
    bool openOnly = false;
};

enum { kDatasetColumns = 7, kDatasetStateColumn = 6 };

// The statements and rows of one fill: the orphaned call-log rows purged, the heading
// row, one row per dataset, the TOTAL row. A failed statement ends it (ReportFill.h).
void BuildDatasetList(CReportQuery& query, CReportList& list, const DatasetReportOptions& options);

// The fill through the common helper; false, with the list empty, when a statement
// failed.
bool FillDatasetReport(CQuorinDoc& document, CReportList& list, const DatasetReportOptions& options);

// Email: the selected data row, or every row when the mark is on the heading or on no
// row. A "Closed" row loses its call-log rows; an open one reminds its first requester.
// Stops when a statement fails (the session has shown its boxes). The reminders go off
// the window's thread with progress and Cancel (DatasetReminderRun.h); a closing message
// says who was mailed and who was not, and why (the information icon when every reminder
// went, else the stop icon).
void SendDatasetReminders(CQuorinDoc& document, const CReportList& list);

} // namespace quorin
