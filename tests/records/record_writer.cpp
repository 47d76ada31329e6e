// A copy of the program that records as fast as it can, for the tests that run several copies
// at once: the real window on scripted start-up answers, recording responses and notes, two
// responses to a note, and telling on its output what it was told of each record.
//
//   record_writer <drive root> <initials> <records> <lines per answer>
//
// Prints "ack N" when the program acknowledged record N or "refused N" when it refused it;
// "done" at the end. Each line goes out in one write of its own, so that a trace of the program's
// calls (support/trace_calls.cpp) sees it among the calls for the files.

#include "app/main_window.h"
#include "support/scripted_services.h"
#include "system/clock.h"
#include "system/random_source.h"
#include "widgets/text_box.h"

#include <QApplication>

#include <cstdio>
#include <unistd.h>

namespace {

void tell(const QByteArray& line)
{
    const QByteArray text = line + '\n';
    if (::write(STDOUT_FILENO, text.constData(), size_t(text.size())) != text.size())
        std::exit(3);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: record_writer <drive root> <initials> <records> <lines per answer>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString initials = QString::fromLocal8Bit(argv[2]);
    const int records = QByteArray(argv[3]).toInt();
    const int lines = QByteArray(argv[4]).toInt();

    // The program's own clock and generator, as a copy of the program has.
    desk::SystemClock clock;
    desk::StandardRandom random;
    desk::testing::WindowFixture fixture({.clock = &clock, .random = &random, .root = root});
    fixture.start(QStringLiteral("1"), QStringLiteral("Ann Lee"), initials, QStringLiteral("1"));
    desk::MainWindow& window = *fixture.window;

    // A pasted table of measurements, the same for every record but for its first line.
    QString table;
    for (int k = 0; k < lines; ++k)
        table += QStringLiteral("\r\n  run %1   t = 1.%2 s   d = 95.0 cm")
                     .arg(k, 6)
                     .arg(k % 1000, 3, 10, QLatin1Char('0'));

    for (int n = 1; n <= records; ++n) {
        if (n <= 6) // the paragraphs of assignment 001
            window.runHandler(&desk::MainWindow::cmdNextQuestion_Click);
        window.txt_answer->setText(initials + u'-' + QString::number(n) + table);
        const bool asNote = n % 3 == 0;
        window.runHandler(asNote ? &desk::MainWindow::cmd_save_as_notes_Click
                                 : &desk::MainWindow::cmd_enter_response_Click);
        const bool acknowledged = window.txt_answer->text().isEmpty();
        tell((acknowledged ? "ack " : "refused ") + QByteArray::number(n));
        if (!acknowledged)
            window.txt_answer->setText(QString());
    }
    tell("done");
    return 0;
}
