#include "widgets/status_announcer.h"

#include "widgets/accessible_roles.h"

namespace desk {

StatusAnnouncer::StatusAnnouncer(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleRole(staticMetaObject.className(), QAccessible::Notification);
    setObjectName(QStringLiteral("statusAnnouncer"));
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    hide();
}

void StatusAnnouncer::announce(const QString& message)
{
    hide();
    setAccessibleName(message);
    show();
}

} // namespace desk
