#include "resources/Artwork.h"

#include "resources/Resource.h"

#include <QPainter>
#include <QPainterPath>

namespace res {
namespace {

constexpr QSize kButtonSize(16, 15);

QPixmap Blank(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Draws with the painter on a transparent pixmap of the given size.
template <class Draw>
QPixmap Paint(QSize size, Draw draw)
{
    QPixmap pixmap = Blank(size);
    QPainter painter(&pixmap);
    draw(painter);
    return pixmap;
}

void Page(QPainter& p, int x, int y)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(x, y), QPoint(x + 6, y), QPoint(x + 9, y + 3), QPoint(x + 9, y + 12), QPoint(x, y + 12)}));
}

void Arrow(QPainter& p, bool left)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    const QPolygon head = left ? QPolygon({QPoint(2, 7), QPoint(8, 1), QPoint(8, 13)})
                               : QPolygon({QPoint(13, 7), QPoint(7, 1), QPoint(7, 13)});
    p.drawPolygon(head);
    p.drawRect(left ? 8 : 2, 5, 6, 4);
}

void Letter(QPainter& p, const QString& text, const QColor& color)
{
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, text);
}

void Ring(QPainter& p, const QColor& color, bool filledCentre)
{
    p.setPen(QPen(color, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(3, 2, 10, 10));
    if (filledCentre) {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QRect(7, 6, 3, 3));
    }
}

void Cross(QPainter& p, const QColor& color, bool boxed)
{
    p.setPen(QPen(color, 2));
    p.drawLine(3, 2, 12, 12);
    p.drawLine(12, 2, 3, 12);
    if (boxed) {
        p.setPen(QPen(color, 1));
        p.drawRect(1, 0, 13, 14);
    }
}

QPixmap Button(unsigned id)
{
    const QColor red(200, 0, 0), blue(0, 0, 200);
    switch (id) {
    case ID_FILE_NEW: return Paint(kButtonSize, [](QPainter& p) { Page(p, 3, 1); });
    case ID_FILE_OPEN:
        return Paint(kButtonSize, [](QPainter& p) {
            p.setPen(Qt::black);
            p.setBrush(QColor(255, 255, 0));
            p.drawPolygon(QPolygon({QPoint(1, 4), QPoint(6, 4), QPoint(7, 5), QPoint(13, 5), QPoint(13, 13), QPoint(1, 13)}));
        });
    case ID_FILE_SAVE:
        return Paint(kButtonSize, [](QPainter& p) {
            p.setPen(Qt::black);
            p.setBrush(QColor(0, 0, 128));
            p.drawRect(1, 1, 13, 13);
            p.setBrush(Qt::white);
            p.drawRect(4, 2, 7, 5);
            p.setBrush(QColor(192, 192, 192));
            p.drawRect(4, 9, 7, 5);
        });
    case ID_EDIT_CUT:
        return Paint(kButtonSize, [](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(5, 1, 10, 9);
            p.drawLine(10, 1, 5, 9);
            p.setPen(QPen(QColor(0, 0, 128), 2));
            p.drawEllipse(QRect(2, 9, 4, 4));
            p.drawEllipse(QRect(9, 9, 4, 4));
        });
    case ID_EDIT_COPY:
        return Paint(kButtonSize, [](QPainter& p) {
            Page(p, 1, 0);
            Page(p, 6, 2);
        });
    case ID_EDIT_PASTE:
        return Paint(kButtonSize, [](QPainter& p) {
            p.setPen(Qt::black);
            p.setBrush(QColor(128, 64, 0));
            p.drawRect(1, 2, 10, 12);
            Page(p, 6, 2);
        });
    case ID_FILE_PRINT:
        return Paint(kButtonSize, [](QPainter& p) {
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(4, 1, 7, 5);
            p.setBrush(QColor(192, 192, 192));
            p.drawRect(1, 6, 13, 6);
            p.setBrush(Qt::white);
            p.drawRect(4, 10, 7, 4);
        });
    case ID_APP_ABOUT: return Paint(kButtonSize, [](QPainter& p) { Letter(p, QStringLiteral("?"), QColor(0, 0, 128)); });
    case ID_PAGE_PREV: return Paint(kButtonSize, [](QPainter& p) { Arrow(p, true); });
    case ID_PAGE_NEXT: return Paint(kButtonSize, [](QPainter& p) { Arrow(p, false); });
    case ID_PAGE_HOME:
        return Paint(kButtonSize, [](QPainter& p) {
            p.setPen(Qt::black);
            p.setBrush(QColor(200, 0, 0));
            p.drawPolygon(QPolygon({QPoint(1, 7), QPoint(7, 1), QPoint(14, 7)}));
            p.setBrush(QColor(255, 255, 192));
            p.drawRect(3, 7, 9, 7);
        });
    case 32795: return Paint(kButtonSize, [red](QPainter& p) { Ring(p, red, false); });
    case 32796: return Paint(kButtonSize, [red](QPainter& p) { Ring(p, red, true); });
    case 32797: return Paint(kButtonSize, [blue](QPainter& p) { Cross(p, blue, false); });
    case 32798: return Paint(kButtonSize, [blue](QPainter& p) { Cross(p, blue, true); });
    case 32799: return Paint(kButtonSize, [red](QPainter& p) { Letter(p, QStringLiteral("["), red); });
    case 32800: return Paint(kButtonSize, [blue](QPainter& p) { Letter(p, QStringLiteral("]"), blue); });
    case 32801: return Paint(kButtonSize, [](QPainter& p) { Letter(p, QStringLiteral("^"), Qt::black); });
    case 32802: return Paint(kButtonSize, [](QPainter& p) { Letter(p, QStringLiteral("S"), Qt::black); });
    case 32803: return Paint(kButtonSize, [](QPainter& p) { Letter(p, QStringLiteral("W"), Qt::black); });
    case 32804: return Paint(kButtonSize, [](QPainter& p) { Letter(p, QStringLiteral("V"), Qt::black); });
    case ID_SYMBOL_ERASER:
        return Paint(kButtonSize, [](QPainter& p) {
            p.setPen(Qt::black);
            p.setBrush(QColor(255, 160, 192));
            p.drawPolygon(QPolygon({QPoint(1, 10), QPoint(8, 3), QPoint(14, 7), QPoint(7, 14)}));
        });
    case ID_AUD_EDIT:
        return Paint(kButtonSize, [](QPainter& p) {
            p.setPen(QPen(QColor(128, 64, 0), 3));
            p.drawLine(3, 12, 12, 3);
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(1, 14, 3, 12);
        });
    default: return QPixmap();
    }
}

// The ear with its sound arcs, in the logo's coordinates (it fills about x 12-102,
// y 15-125): the logo's left half, and scaled, the program's icon.
void DrawEar(QPainter& p)
{
    p.setPen(QPen(QColor(0, 0, 128), 5));
    p.setBrush(QColor(0, 128, 128));
    QPainterPath ear;
    ear.moveTo(40, 122);
    ear.cubicTo(6, 112, 6, 18, 40, 18);
    ear.cubicTo(72, 18, 74, 64, 50, 76);
    ear.cubicTo(42, 82, 52, 112, 40, 122);
    p.drawPath(ear);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(128, 0, 0), 4));
    for (int r = 14; r <= 38; r += 12)
        p.drawArc(QRect(62 - r, 62 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
}

QPixmap Icon(int id)
{
    const QSize size(32, 32);
    switch (id) {
    case IDR_MAINFRAME: return QPixmap::fromImage(ApplicationIcon(size.width()));
    case IDI_SUBJECT:
        return Paint(size, [](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 96, 160));
            p.drawEllipse(QRect(10, 2, 12, 12));
            p.drawRoundedRect(QRect(5, 16, 22, 15), 6, 6);
        });
    case IDI_AUDIOGRAM:
        return Paint(size, [](QPainter& p) {
            p.fillRect(QRect(1, 1, 30, 30), Qt::white);
            p.setPen(QColor(160, 160, 160));
            for (int i = 6; i < 30; i += 6) {
                p.drawLine(i, 1, i, 30);
                p.drawLine(1, i, 30, i);
            }
            p.setPen(QPen(QColor(200, 0, 0), 3));
            p.drawPolyline(QPolygon({QPoint(3, 8), QPoint(10, 10), QPoint(17, 16), QPoint(24, 22), QPoint(29, 27)}));
        });
    case IDI_PAGE:
        return Paint(size, [](QPainter& p) {
            p.setPen(QPen(Qt::black, 2));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({QPoint(5, 2), QPoint(20, 2), QPoint(27, 9), QPoint(27, 30), QPoint(5, 30)}));
            p.setPen(QPen(QColor(0, 96, 0), 2));
            for (int y = 12; y <= 26; y += 5)
                p.drawLine(9, y, 23, y);
        });
    case IDI_CIDATA:
        return Paint(size, [](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(96, 96, 96), 3));
            p.setBrush(QColor(200, 200, 200));
            p.drawEllipse(QRect(3, 3, 16, 16));
            p.drawLine(17, 17, 29, 29);
            p.setBrush(QColor(0, 128, 0));
            p.drawEllipse(QRect(8, 8, 6, 6));
        });
    default: return QPixmap();
    }
}

} // namespace

QImage LogoImage()
{
    QImage image(203, 140, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // The dialog shows the left half: an ear with sound arcs. The right half carries the
    // institute's initial, for places that show the whole bitmap. Colours of the
    // 16-colour palette only.
    DrawEar(p);
    p.setPen(QColor(0, 0, 128));
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(72);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(110, 20, 90, 100), Qt::AlignCenter, QStringLiteral("T"));
    p.end();
    // A 16-colour bitmap, as the logo has always been.
    static const QList<QRgb> vga = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return image.convertToFormat(QImage::Format_Indexed8, vga, Qt::ThresholdDither | Qt::AvoidDither);
}

QImage ApplicationIcon(int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The ear's box (x 12-102, y 15-125 with its pen) centred in a square of 120; drawn
    // as vectors at every size, so no size is a blurred copy of another.
    const double scale = pixels / 120.0;
    p.scale(scale, scale);
    p.translate(3, -10);
    DrawEar(p);
    return image;
}

QPixmap ToolbarImage(unsigned commandId)
{
    return Button(commandId);
}

QPixmap ImageResource(int resourceId)
{
    if (resourceId == IDB_LOGO)
        return QPixmap::fromImage(LogoImage());
    return Icon(resourceId);
}

QImage LogoOnBackground(const QImage& logo, const QColor& background)
{
    if (logo.isNull())
        return {};
    QImage half = logo.copy(0, 0, logo.width() / 2, logo.height()).convertToFormat(QImage::Format_RGB32);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb fill = background.rgb();
    for (int y = 0; y < half.height(); ++y) {
        auto line = reinterpret_cast<QRgb*>(half.scanLine(y));
        for (int x = 0; x < half.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (white & 0xFFFFFF))
                line[x] = fill;
        }
    }
    return half;
}

} // namespace res
