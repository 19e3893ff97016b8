#pragma once
// Printing a report's list: the print dialog (printers and PDF output; all pages, no
// selection or page range), landscape, document name "QUORIN", pages as CPrintLayout
// lays them out.

#include "reports/query/PrintLayout.h"

#include <QFont>
#include <QString>

#include <map>
#include <utility>

class CQuorinDoc;
class QPaintDevice;
class CReportList;
class QPrinter;
class QWidget;

namespace quorin {

// The printer's fonts of a report ("Times New Roman" for title, date and body, bold
// "Arial" for the heading line), each made so that its line is the asked height on the
// device, and the widths of texts in them.
class PrinterFonts : public PrintMeasure {
public:
    explicit PrinterFonts(QPaintDevice* device) : m_device(device) {}
    QFont Font(PrintText::Font font, int height) const;
    int TextWidth(PrintText::Font font, int height, const QString& text) const override;

private:
    QPaintDevice* m_device;
    mutable std::map<std::pair<int, int>, QFont> m_fonts;
};

// Asks for a printer on the given one (its page setup kept); Cancel prints nothing.
void PrintList(CQuorinDoc& document, QPrinter& printer, const QString& title, const CReportList& list,
               QWidget* parent);
// The same on a printer made for this one print.
void PrintList(CQuorinDoc& document, const QString& title, const CReportList& list, QWidget* parent = nullptr);

// Prints on the printer as it is set up, without a dialog. A printer or PDF file that
// cannot be started shows "Unable to print!" (stop icon) and returns false.
bool PrintListTo(CQuorinDoc& document, QPrinter& printer, const QString& title, const CReportList& list);

} // namespace quorin
