#pragma once
// A summary report's list saved as shown: every row, every column, through the one CSV
// writer (the file name offered is the report's print title), for IRB and grant reports.

#include <QString>

class CReportList;

namespace quorin {

class UserInterface;

void SaveListAsShown(UserInterface& ui, const QString& defaultName, const CReportList& list);

} // namespace quorin
