#pragma once
// The Consent report: active subjects whose database consent is due for renewal (more
// than 24 months old with no participation or contact since, or given as a minor by
// someone now 19 or older), or, switched over, those whose update letter is still out.
// The list shows one row per subject; the mail-merge file is made from the
// values the rows came from, so a name holding a comma stays one field.

#include "reports/query/CsvExport.h"

#include <QString>

#include <utility>
#include <vector>

class CReportList;

namespace quorin {

class CReportQuery;
class UserInterface;

// What the mail-merge file needs of one list row.
struct ConsentRow {
    QString lastname;
    QString firstname;
    QString parent;
    QString address; // as column 3 shows it
    QString lastConsent;
};

// Heading (kept as stored, trailing blank and all) and width of each column.
std::vector<std::pair<QString, int>> ConsentColumns();

// The full list: renewal due, then consented as a minor and adult now ("19" in column
// 5); a subject matching both keeps the row of the first. rows gets one entry per
// list row.
void BuildConsentList(CReportQuery& query, CReportList& list, std::vector<ConsentRow>& rows);
// Active subjects whose letter is not back yet, "NR" in column 7.
void BuildNotReturnedList(CReportQuery& query, CReportList& list, std::vector<ConsentRow>& rows);

// The address label of the picked row: "name \n address"; no row is no selection.
void ShowAddressLabel(UserInterface& ui, const CReportList& list);

// The lines of the mail-merge file for the rows the list shows: title, empty line,
// header, then per row last name, first name, parent, address, last consent and an
// empty last field.
std::vector<QStringList> ConsentCsvLines(const CReportList& list, const std::vector<ConsentRow>& rows);
// Asks where to save ("ConsentList") and writes those lines.
CsvResult SaveConsentCsv(UserInterface& ui, const CReportList& list, const std::vector<ConsentRow>& rows);

} // namespace quorin
