#include "app/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace desk {

namespace {

// In the 64 by 64 units of the SVG.
QPixmap drawn(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(0x3b, 0x4a, 0x5a), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(8, 4, 44, 56), 3, 3);
    p.setPen(QPen(QColor(0x9d, 0xb4, 0xcc), 1.5));
    p.drawLine(QLineF(14, 14, 46, 14));
    p.drawLine(QLineF(14, 21, 46, 21));
    p.drawLine(QLineF(14, 28, 38, 28));
    QPainterPath incline;
    incline.moveTo(14, 52);
    incline.lineTo(46, 52);
    incline.lineTo(14, 36);
    incline.closeSubpath();
    p.setPen(QPen(QColor(0x7a, 0x5c, 0x22), 1.5));
    p.setBrush(QColor(0xd9, 0xc0, 0x8a));
    p.drawPath(incline);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc0, 0x39, 0x2b));
    p.drawEllipse(QPointF(24, 37), 4.5, 4.5);
    return pixmap;
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawn(size));
    return icon;
}

} // namespace desk
