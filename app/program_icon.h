#pragma once
// The program's icon for its window and dialogs: the picture of packaging/assignment-desk.svg
// (a ruled sheet with a ball on an incline), drawn here so that no image plugin is needed.

#include <QIcon>

namespace desk {

QIcon programIcon();

} // namespace desk
