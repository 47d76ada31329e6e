#include "widgets/status_announcer.h"

#include "widgets/accessible_roles.h"

#include <QLabel>

namespace desk {

StatusAnnouncer::StatusAnnouncer(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleRole(staticMetaObject.className(), QAccessible::Notification);
    setObjectName(QStringLiteral("statusAnnouncer"));
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    // Braille displays, and a screen reader's list of past messages, take a notification's text
    // from its label.
    text_ = new QLabel(this);
    text_->setGeometry(0, 0, 0, 0);
    hide();
}

void StatusAnnouncer::announce(const QString& message)
{
    hide();
    text_->setText(message);
    setAccessibleName(message);
    show();
}

} // namespace desk
