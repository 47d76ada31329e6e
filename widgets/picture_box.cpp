#include "widgets/picture_box.h"

#include "widgets/accessible_roles.h"
#include "widgets/focus_frame.h"

#include <QPainter>

namespace desk {

PictureBox::PictureBox(QWidget* parent)
    : QFrame(parent)
{
    // A picture, not a frame, to a screen reader.
    setAccessibleRole(staticMetaObject.className(), QAccessible::Graphic);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::TabFocus);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    scaleWidth_ = contentsRect().width();
    scaleHeight_ = contentsRect().height();
}

void PictureBox::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void PictureBox::circle(double x, double y, double radius)
{
    const QRect inner = contentsRect();
    if (surface_.size() != inner.size())
        resizeEvent(nullptr);
    if (surface_.isNull() || scaleWidth_ == 0 || scaleHeight_ == 0)
        return;
    const double unitX = inner.width() / scaleWidth_;
    const double unitY = inner.height() / scaleHeight_;
    const double r = radius * unitX;
    QPainter painter(&surface_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(x * unitX, y * unitY), r, r);
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    painter.setClipRect(inner);
    if (!picture_.isNull())
        painter.drawImage(inner.topLeft(), picture_);
    if (!surface_.isNull())
        painter.drawImage(inner.topLeft(), surface_);
    // A picture box takes the focus in the tab order; it shows it like the buttons do.
    if (hasFocus())
        drawFocusFrame(painter, *this);
}

void PictureBox::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    update();
}

void PictureBox::resizeEvent(QResizeEvent*)
{
    // The box is never resized by the program; keep what is drawn should the size change.
    const QSize size = contentsRect().size();
    if (size.isEmpty() || surface_.size() == size)
        return;
    QImage grown(size, QImage::Format_ARGB32_Premultiplied);
    grown.fill(Qt::transparent);
    if (!surface_.isNull()) {
        QPainter painter(&grown);
        painter.drawImage(0, 0, surface_);
    }
    surface_ = grown;
}

} // namespace desk
