#pragma once
// Tells a screen reader what a click did where nothing on the screen says it in words (a record
// that went through leaves two empty boxes). Screen readers speak a notification as it appears:
// the announcer is one, shown afresh for each message, and it takes no room, no click and no
// focus, so the student who looks at the window sees nothing of it.

#include <QString>
#include <QWidget>

class QLabel;

namespace desk {

class StatusAnnouncer : public QWidget {
    Q_OBJECT

public:
    explicit StatusAnnouncer(QWidget* parent);

    void announce(const QString& message);

private:
    QLabel* text_;
};

} // namespace desk
