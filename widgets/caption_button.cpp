#include "widgets/caption_button.h"

#include "widgets/focus_frame.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace desk {

void CaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.drawText(captionArea(), captionFlags, text());
    if (hasFocus())
        drawFocusFrame(painter, *this);
}

void CaptionButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !event->isAutoRepeat()) {
        animateClick();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace desk
