#include "subjects/ui/SubjectArtwork.h"

#include <QPainter>
#include <QPainterPath>

namespace quorin {

QPixmap NoticeIcon()
{
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(16, 2);
    triangle.lineTo(30, 29);
    triangle.lineTo(2, 29);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(128, 0, 0), 2));
    p.setBrush(QColor(255, 255, 0));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(QRectF(14.5, 10, 3, 11));
    p.drawEllipse(QRectF(14.5, 23, 3, 3));
    return icon;
}

} // namespace quorin
