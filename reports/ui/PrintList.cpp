#include "reports/ui/PrintList.h"

#include "framework/ApplicationPrinter.h"

#include "document/CQuorinDoc.h"
#include "document/CReportList.h"
#include "reports/query/PrintLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>
#include <QPainter>
#include <QPen>
#include <QPrintDialog>
#include <QPrinter>

namespace quorin {

namespace {

// A font whose line (ascent plus descent) is the given height in device units, as a
// positive font height asks for on the printer the reports were designed for.
QFont FontOfHeight(const QString& family, int weight, int height, QPaintDevice* device)
{
    QFont font(family);
    font.setWeight(QFont::Weight(weight));
    font.setPixelSize(qMax(1, height));
    const int line = QFontMetrics(font, device).height();
    if (line > height && height > 0)
        font.setPixelSize(qMax(1, height * height / line));
    return font;
}

void Draw(QPainter& painter, const PrintText& text)
{
    const QFontMetrics metrics(painter.font(), painter.device());
    int x = text.x;
    if (text.centred)
        x -= metrics.horizontalAdvance(text.text) / 2;
    painter.drawText(QPoint(x, text.y + metrics.ascent()), text.text);
}

void Fail(CQuorinDoc& document)
{
    document.UI().MessageBox(QStringLiteral("Unable to print!"), UserInterface::Icon::Stop);
}

} // namespace

QFont PrinterFonts::Font(PrintText::Font font, int height) const
{
    const auto key = std::make_pair(int(font), height);
    auto found = m_fonts.find(key);
    if (found == m_fonts.end()) {
        const bool heading = font == PrintText::Heading;
        found = m_fonts
                    .emplace(key, FontOfHeight(heading ? QStringLiteral("Arial") : QStringLiteral("Times New Roman"),
                                               heading ? 700 : 400, height, m_device))
                    .first;
    }
    return found->second;
}

int PrinterFonts::TextWidth(PrintText::Font font, int height, const QString& text) const
{
    const QFontMetrics metrics(Font(font, height), m_device);
    // The drawn ink may reach past the advance (italic overhangs, a bold glyph's edge).
    return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1);
}

void PrintList(CQuorinDoc& document, QPrinter& printer, const QString& title, const CReportList& list,
               QWidget* parent)
{
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, parent);
    // All pages: no selection, no page range, no current page. Printing to a file (PDF)
    // stays offered beside the printers.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printer.setPrintRange(QPrinter::AllPages);
    PrintListTo(document, printer, title, list);
}

void PrintList(CQuorinDoc& document, const QString& title, const CReportList& list, QWidget* parent)
{
    // The printer File > Print Setup keeps, so a report prints where the user chose.
    PrintList(document, framework::ApplicationPrinter(), title, list, parent);
}

bool PrintListTo(CQuorinDoc& document, QPrinter& printer, const QString& title, const CReportList& list)
{
    // Every report prints landscape, whatever the dialog said.
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("QUORIN"));
    printer.setCreator(QStringLiteral("Quorin"));
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer)) {
        Fail(document);
        return false;
    }
    const WaitCursor wait(document.UI());
    const double width = printer.width();
    const double height = printer.height();
    const PrinterFonts fonts(&printer);
    const CPrintLayout layout(title, document.Today(), list, width, height, fonts);

    const QFont titleFont = fonts.Font(PrintText::Title, layout.TitleFontHeight());
    const QFont dateFont = fonts.Font(PrintText::Date, int(height * 0.02));
    const QFont textFont = fonts.Font(PrintText::Body, layout.TextFontHeight());
    const QFont headingFont = fonts.Font(PrintText::Heading, layout.HeadingFontHeight());
    QPen pen(Qt::black);
    pen.setWidth(layout.PenWidth());
    pen.setStyle(Qt::SolidLine);

    painter.setPen(pen);
    bool ok = true;
    for (int page = 0; page < layout.PageCount() && ok; ++page) {
        if (page > 0 && !printer.newPage()) {
            ok = false;
            break;
        }
        const std::vector<PrintText> texts = layout.PageTexts(page);
        for (const PrintText& text : texts) {
            switch (text.font) {
            case PrintText::Title: painter.setFont(titleFont); break;
            case PrintText::Date: painter.setFont(dateFont); break;
            case PrintText::Body: painter.setFont(textFont); break;
            case PrintText::Heading: painter.setFont(headingFont); break;
            }
            Draw(painter, text);
        }
        const PrintRule rule = layout.Rule();
        painter.drawLine(rule.x1, rule.y1, rule.x2, rule.y2);
    }
    if (!painter.end())
        ok = false;
    if (!ok || printer.printerState() == QPrinter::Error) {
        Fail(document);
        return false;
    }
    return true;
}

} // namespace quorin
