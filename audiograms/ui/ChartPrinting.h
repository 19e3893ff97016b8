#pragma once
// Printing the audiogram: one landscape page, the chart painted at a logical size of
// the page's shape and scaled to it, under a line naming the subject.

#include "audiograms/ui/ChartPainter.h"

#include <QString>

class CSubject;
class QPainter;
class QPrinter;
class QRect;

namespace quorin {

// The line above the printed chart: name, then KV Number and birth date.
QString PrintedSubjectLine(const CSubject& subject);

// Paints the page on a device whose printable area is pageSize device pixels.
void PaintAudiogramPage(QPainter& painter, QSize pageSize, const ChartContent& content, const QString& subjectLine);

// Prints the page; false when the printer or output file could not be started.
bool PrintAudiogram(QPrinter& printer, const ChartContent& content, const QString& subjectLine);

} // namespace quorin
