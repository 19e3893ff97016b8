#include "audiograms/ui/ChartPrinting.h"

#include "subjects/record/CSubject.h"

#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace quorin {

namespace {
// Logical chart height on paper, and the band above it for the subject's line.
constexpr int kChartHeight = 600;
constexpr int kBand = 30;
} // namespace

QString PrintedSubjectLine(const CSubject& subject)
{
    QString line = QStringLiteral("%1, %2").arg(subject.Lastname, subject.Firstname);
    const QString unit = subject.Unit == QLatin1String("0") ? QString() : subject.Unit;
    if (!unit.isEmpty() || !subject.Birth.isEmpty())
        line += QStringLiteral("    ") + QStringLiteral("%1, %2").arg(unit, subject.Birth);
    return line;
}

void PaintAudiogramPage(QPainter& painter, QSize pageSize, const ChartContent& content, const QString& subjectLine)
{
    if (pageSize.isEmpty())
        return;
    const int logicalHeight = kChartHeight + kBand;
    const int logicalWidth =
        static_cast<int>(std::lround(double(logicalHeight) * pageSize.width() / pageSize.height()));
    painter.save();
    // Lines and fonts scale together, so the chart keeps its proportions on any page.
    painter.setWindow(0, 0, logicalWidth, logicalHeight);
    painter.setViewport(0, 0, pageSize.width(), pageSize.height());
    painter.setPen(Qt::black);
    SelectChartFont(painter, 17);
    painter.drawText(QPoint(10, 5 + painter.fontMetrics().ascent()), subjectLine);
    painter.translate(0, kBand);
    PaintAudiogramChart(painter, QSize(logicalWidth, kChartHeight), content);
    painter.restore();
}

bool PrintAudiogram(QPrinter& printer, const ChartContent& content, const QString& subjectLine)
{
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFromTo(0, 0);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    PaintAudiogramPage(painter, printer.pageRect(QPrinter::DevicePixel).size().toSize(), content, subjectLine);
    return painter.end();
}

} // namespace quorin
