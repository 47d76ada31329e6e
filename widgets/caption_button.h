#pragma once
// A command button as the window's controls need it: its caption wraps within the button, as
// long captions must at the described sizes; Return and Enter click it when it has the focus,
// as Space does, as a student who works by keyboard expects of a dialog's buttons; and the focus
// shows as a clear frame.

#include <QPushButton>

namespace desk {

class CaptionButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    // Where the caption is drawn, inside the button's frame and its focus frame.
    QRect captionArea() const { return rect().adjusted(3, 2, -3, -2); }
    static constexpr int captionFlags = Qt::AlignCenter | Qt::TextWordWrap;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace desk
