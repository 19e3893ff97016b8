#pragma once
// Field exchanges of the implant pages: a duration in whole months typed as years and
// months, and a date that must be a real day.

#include "framework/DataExchange.h"

#include <QString>

namespace quorin {

// Shows months as years (months / 12) and months (months % 12) and stores years × 12 +
// months. Years take 0-150 and months 0-13, each with the framework's range message. A
// negative (unknown) duration shows two empty fields, and two empty fields store -1, so
// an unknown duration neither blocks the save nor turns into 0; one empty field counts
// as 0.
void DDX_YearsMonths(CDataExchange* pDX, int yearsId, int monthsId, int& months);

// The program's date field, refusing also a day the month does not have (2/31/2001),
// which the date field lets through and the database would refuse at the save, with
// the date field's own message.
void DDX_RealDateField(CDataExchange* pDX, int id, QString& value);

} // namespace quorin
