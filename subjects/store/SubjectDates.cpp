// The document's date operations: the program's one date rule (controls/DateText.h)
// under the names the forms and storage call.

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"

int CQuorinDoc::IsValidDate(const QString& text) const
{
    return quorin::IsValidDateText(text) ? 1 : 0;
}

QString CQuorinDoc::Today() const
{
    return quorin::TodayText();
}

int CQuorinDoc::CompareDates(const QString& a, const QString& b)
{
    return quorin::CompareDateTexts(a, b);
}
