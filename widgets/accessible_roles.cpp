#include "widgets/accessible_roles.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

namespace desk {

namespace {

QHash<QString, QAccessible::Role>& roles()
{
    static QHash<QString, QAccessible::Role> byClass;
    return byClass;
}

QAccessibleInterface* withOwnRole(const QString& className, QObject* object)
{
    const auto role = roles().constFind(className);
    auto* widget = qobject_cast<QWidget*>(object);
    return role != roles().cend() && widget ? new QAccessibleWidget(widget, *role) : nullptr;
}

} // namespace

void setAccessibleRole(const char* className, QAccessible::Role role)
{
    if (roles().isEmpty())
        QAccessible::installFactory(withOwnRole);
    roles().insert(QString::fromLatin1(className), role);
}

} // namespace desk
