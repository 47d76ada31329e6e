#pragma once
// Screen readers learn what a control is from its role. Qt gives a widget class of the program's
// own the role of its nearest Qt base, which for a plain widget is a filler.

#include <QAccessible>

namespace desk {

// From now on widgets of the class `className` (as its Q_OBJECT names it, "desk::PictureBox")
// have the role `role`.
void setAccessibleRole(const char* className, QAccessible::Role role);

} // namespace desk
