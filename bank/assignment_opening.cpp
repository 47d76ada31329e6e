// Assignment opening: finds the assignment in the bank and writes the record-file headers.

#include "app/main_window.h"

namespace desk {

void MainWindow::openAssignment()
{
}

} // namespace desk
