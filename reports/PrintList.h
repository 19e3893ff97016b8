#pragma once
// Printing a report's list: the print dialog (printers and PDF output; all pages, no
// selection or page range), landscape, document name "QUORIN", pages as CPrintLayout
// lays them out.

#include <QString>

class CQuorinDoc;
class CReportList;
class QPrinter;
class QWidget;

namespace quorin {

// Asks for a printer on the given one (its page setup kept); Cancel prints nothing.
void PrintList(CQuorinDoc& document, QPrinter& printer, const QString& title, const CReportList& list,
               QWidget* parent);
// The same on a printer made for this one print.
void PrintList(CQuorinDoc& document, const QString& title, const CReportList& list, QWidget* parent = nullptr);

// Prints on the printer as it is set up, without a dialog. A printer or PDF file that
// cannot be started shows "Unable to print!" (stop icon) and returns false.
bool PrintListTo(CQuorinDoc& document, QPrinter& printer, const QString& title, const CReportList& list);

} // namespace quorin
