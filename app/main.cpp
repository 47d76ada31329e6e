// Assignment Desk: a student works through one assignment and leaves a record for the instructor.

#include "app/main_window.h"
#include "system/clock.h"
#include "system/random_source.h"
#include "widgets/dialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Assignment Desk"));

    desk::QtDialogs dialogs;
    desk::SystemClock clock;
    desk::StandardRandom random;
    desk::MainWindow window({dialogs, clock, random, desk::HostPaths::forThisHost()});
    dialogs.setOwner(&window);
    QObject::connect(&window, &desk::MainWindow::programEnded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    window.load();
    if (window.hasEnded())
        return 0;
    window.show();
    return app.exec();
}
