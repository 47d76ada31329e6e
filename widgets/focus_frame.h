#pragma once
// The focus as the window shows it on every control that takes it: a frame of the highlight
// colour, two pixels wide, round the control's edge. Styles draw it faintly or, on boxes with
// a caret, not at all; a student working with the keyboard must see where the focus is.

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace desk {

inline void drawFocusFrame(QPainter& painter, const QWidget& widget)
{
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(widget.palette().color(QPalette::Highlight), 2));
    painter.drawRect(QRectF(widget.rect()).adjusted(1, 1, -1, -1));
}

// A widget of `Base` that draws the focus frame over its own border (a box whose inside is a
// scrolled viewport, such as a text box or a list).
template<typename Base> class WithFocusFrame : public Base {
public:
    using Base::Base;

protected:
    bool event(QEvent* event) override
    {
        const bool handled = Base::event(event);
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            this->update();
        if (event->type() == QEvent::Paint && this->hasFocus()) {
            QPainter painter(this);
            drawFocusFrame(painter, *this);
        }
        return handled;
    }
};

} // namespace desk
