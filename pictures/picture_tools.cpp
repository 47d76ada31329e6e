// "copy picture" and the "pend exp" timer. Neither touches the program state or any file.

#include "app/main_window.h"

#include "widgets/picture_box.h"
#include "system/random_source.h"
#include "widgets/dialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

namespace desk {

void MainWindow::cmd_copy_picture_Click()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage picture = Picture1->picture();
    // An empty picture is not put on the clipboard: the student's clipboard keeps what it holds.
    if (!picture.isNull())
        clipboard->setImage(picture);
    Picture2->setPicture(clipboard->image());
}

void MainWindow::cmd_pend_exp_Click()
{
    if (!tmr_pend_exp->isActive())
        tmr_pend_exp->start();
}

void MainWindow::tmr_pend_exp_Timer()
{
    services_.dialogs.beep();
    const float r = services_.random.next();
    const float radius = r * 500.0f;
    Picture1->circle(500.0f, 500.0f, radius);
}

} // namespace desk
