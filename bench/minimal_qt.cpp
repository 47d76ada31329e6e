// The smallest Qt Widgets program that does what Assignment Desk does first: one input box, then
// an empty window. Its start-up time and memory are the yardstick for the program's own.

#include <QApplication>
#include <QInputDialog>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QInputDialog box;
    box.setWindowTitle(QStringLiteral("Assignment Desk"));
    box.setLabelText(QStringLiteral("Enter 1 for home user, 2 for MERO LAN user"));
    box.exec();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Form1"));
    window.resize(725, 573);
    window.show();
    return app.exec();
}
