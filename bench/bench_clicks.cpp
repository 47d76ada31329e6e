// Times the clicks a student makes most, inside the program: a main window on the tests' steady
// services (fixed clock, fixed random numbers, answered input boxes) with its record files in a
// temporary folder, and a question bank filled to its last slot.
//
// Prints one row per figure for bench/run.sh: label, value, target, met ("yes", "NO" or "-"),
// separated by tabs.

#include "app/main_window.h"
#include "bank/compiled_bank.h"
#include "support/scripted_services.h"
#include "widgets/text_box.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <vector>

namespace {

// Every sync of a file or a folder the program makes, counted and timed (see fsync below).
long syncCalls = 0;
double syncMs = 0;

} // namespace

// The program's own calls to fsync land here, in the benchmark's executable, before the system's.
extern "C" int fsync(int fd)
{
    static const auto system = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    QElapsedTimer timer;
    timer.start();
    const int result = system(fd);
    syncMs += timer.nsecsElapsed() / 1e6;
    ++syncCalls;
    return result;
}

namespace {

using desk::MainWindow;
using Handler = void (MainWindow::*)();

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "bench_clicks: %s\n", what);
    std::exit(1);
}

// A shown window, started on assignment 001 by a home user, on the tests' steady services.
struct Desk : desk::testing::WindowFixture {
    Desk()
    {
        start(QStringLiteral("1"), QStringLiteral("Bench User"), QStringLiteral("BUA"),
              QStringLiteral("1"));
        if (window->hasEnded() || !dialogs.messages.isEmpty())
            fail("the program did not start");
        window->show();
        QCoreApplication::processEvents();
    }
};

// Bank paragraphs of about 150 characters, in the manner of the compiled-in assignment.
QString paragraph(int n)
{
    static const char* const sentences[] = {
        "Time the ball as it rolls down the incline and record each time.",
        "Give the times you obtained and explain how you obtained them.",
        "Calculate the average rate of change of position with respect to clock time.",
        "Sketch a graph of velocity vs. clock time for the first half of the run.",
        "What is the area under your graph and what does it mean?",
        "How would the result change if the incline were twice as steep?",
        "Estimate the uncertainty in each of your measurements.",
    };
    const int count = int(std::size(sentences));
    QString text = QStringLiteral("Problem %1.  ").arg(n);
    for (int i = n; text.size() < 140; i += 3)
        text += QString::fromLatin1(sentences[i % count]) + u' ';
    return text.trimmed();
}

QString answer(int n)
{
    return QStringLiteral("The ball took %1.%2 seconds; OK.").arg(2 + n % 3).arg(n % 10);
}

// Header in slot 1, then a paragraph in every even slot up to 5000 and empty odd slots.
void fillBank(desk::ProgramState& s)
{
    s.questionBank[1] = QStringLiteral("001.  Bench");
    for (int slot = 2; slot <= desk::LastBankSlot; ++slot)
        s.questionBank[slot] = slot % 2 == 0 ? paragraph(slot / 2) : QString();
    s.bankIndex = desk::Value::whole(1);
}

// The paragraphs of the compiled-in assignment over and over in every even slot, as
// fillBank: they run together on one line of the question box, as in a real session.
void fillBankWithAssignmentOne(desk::ProgramState& s)
{
    fillBank(s);
    QStringList paragraphs;
    for (std::u16string_view line : desk::compiledInBank.subspan(1))
        if (!line.empty() && line.front() != u'`')
            paragraphs << QString::fromRawData(reinterpret_cast<const QChar*>(line.data()),
                                               qsizetype(line.size()));
    for (int slot = 2; slot <= desk::LastBankSlot; slot += 2)
        s.questionBank[slot] = paragraphs[(slot / 2) % paragraphs.size()];
}

// One click as the event loop would run it, with the layout and painting it causes.
double clickMs(MainWindow& window, Handler handler)
{
    QElapsedTimer timer;
    timer.start();
    window.runHandler(handler);
    QCoreApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

void typeAnswer(MainWindow& window, const QString& text)
{
    window.txt_answer->setText(text);
    QCoreApplication::processEvents();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The median of `window` values centred on `centre`.
double medianAround(const std::vector<double>& v, size_t centre, size_t window = 50)
{
    const size_t first = std::min(centre - std::min(centre, window / 2), v.size() - window);
    return median(
        std::vector<double>(v.begin() + qsizetype(first), v.begin() + qsizetype(first + window)));
}

void row(const QString& label, const QString& value, const QString& target = QStringLiteral("-"),
         int met = -1)
{
    const char* verdict = met < 0 ? "-" : met ? "yes" : "NO";
    std::printf("%s\t%s\t%s\t%s\n", qPrintable(label), qPrintable(value), qPrintable(target),
                verdict);
}

QString ms(double value)
{
    return QStringLiteral("%1 ms").arg(value, 0, 'f', 3);
}

struct Paging {
    std::vector<double> next, enter;
    std::vector<double> enterSyncs, enterSyncMs; // of each Enter Response click
};

qsizetype questionBoxSize = 0; // what the question box held at the end of the last paging

// Pages a fresh window through the whole bank, recording a response for each paragraph or none,
// and gives the time of every click.
Paging pageWholeBank(bool syncToDisk, int paragraphs, bool respond = true)
{
    Desk desk;
    MainWindow& w = *desk.window;
    w.files().setSyncToDisk(syncToDisk);
    if (respond) {
        fillBank(w.state());
    } else {
        fillBankWithAssignmentOne(w.state());
        w.hide();
    }
    Paging times;
    for (int i = 0; i < paragraphs; ++i) {
        times.next.push_back(clickMs(w, &MainWindow::cmdNextQuestion_Click));
        if (!respond)
            continue;
        typeAnswer(w, answer(i));
        const long callsBefore = syncCalls;
        const double msBefore = syncMs;
        times.enter.push_back(clickMs(w, &MainWindow::cmd_enter_response_Click));
        times.enterSyncs.push_back(double(syncCalls - callsBefore));
        times.enterSyncMs.push_back(syncMs - msBefore);
    }
    questionBoxSize = w.txt_question->text().size();
    if (!respond && w.txt_question->text().contains(u'\n'))
        fail("the paragraphs did not run together on one line");
    if (paragraphs == desk::LastBankSlot / 2 && w.state().bankIndex.toWhole() != desk::LastBankSlot)
        fail("the bank was not paged to its end");
    if (!desk.dialogs.messages.isEmpty() || w.hasEnded())
        fail("paging the bank showed a message or ended the program");
    return times;
}

// A transcript as the cursor and the record commands build it, newest first.
QString transcript(const desk::ProgramState& s, int entries)
{
    QString text;
    for (int i = entries / 2; i > 0; --i)
        text += s.answerTag + answer(i) + s.questionTag + paragraph(i);
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int paragraphs = desk::LastBankSlot / 2;
    if (argc == 2 && QByteArray(argv[1]) == "unanswered") {
        for (double click : pageWholeBank(false, paragraphs, false).next)
            std::printf("%f\n", click);
        std::printf("%lld\n", static_cast<long long>(questionBoxSize));
        return 0;
    }
    const size_t passes = 3; // a busy machine slows one pass, seldom all three at the same place

    // Paging the whole bank, a response for each paragraph, without syncing to the disk: for
    // each place the median of 50 clicks, then the median over the passes.
    std::vector<Paging> paging;
    for (size_t pass = 0; pass < passes; ++pass)
        paging.push_back(pageWholeBank(false, paragraphs));
    const size_t centres[] = {25, size_t(paragraphs / 2), size_t(paragraphs - 25)};
    auto figure = [&](std::vector<double> Paging::*clicks, size_t centre) {
        std::vector<double> medians;
        for (const Paging& p : paging)
            medians.push_back(medianAround(p.*clicks, centre));
        return median(medians);
    };
    const struct {
        const char* name;
        std::vector<double> Paging::*clicks;
    } commands[] = {{"Next Question / Answer", &Paging::next}, {"Enter Response", &Paging::enter}};
    const char* places[] = {"start", "middle", "end"};
    for (auto command : commands) {
        for (size_t i = 0; i < 3; ++i) {
            const double m = figure(command.clicks, centres[i]);
            row(QStringLiteral("%1 click, %2 (median of 50, %3 passes)")
                    .arg(QLatin1String(command.name), QLatin1String(places[i]))
                    .arg(passes),
                ms(m), QStringLiteral("< 2 ms"), m < 2.0);
        }
        const double ratio =
            figure(command.clicks, centres[2]) / figure(command.clicks, centres[0]);
        row(QStringLiteral("%1 click, end / start").arg(QLatin1String(command.name)),
            QString::number(ratio, 'f', 2), QStringLiteral("<= 2"), ratio <= 2.0);
    }

    // Paging without a response: the question box collects every paragraph, all on one line,
    // and adding one costs the same at the end as at the start. The window is hidden, so that
    // painting it does not hide what the click itself costs; each pass is a fresh copy of this
    // program, whose memory has not yet been grown by the passes above.
    std::vector<Paging> unanswered;
    for (size_t pass = 0; pass < passes; ++pass) {
        QProcess copy;
        copy.start(QCoreApplication::applicationFilePath(), {QStringLiteral("unanswered")});
        if (!copy.waitForFinished(300000) || copy.exitCode() != 0)
            fail("a pass without responses failed");
        Paging p;
        for (const QByteArray& line : copy.readAllStandardOutput().trimmed().split('\n'))
            p.next.push_back(line.toDouble());
        questionBoxSize = qsizetype(p.next.back());
        p.next.pop_back();
        unanswered.push_back(p);
    }
    auto unansweredFigure = [&](size_t centre) {
        std::vector<double> medians;
        for (const Paging& p : unanswered)
            medians.push_back(medianAround(p.next, centre));
        return median(medians);
    };
    const double first = unansweredFigure(25);
    const double last = unansweredFigure(size_t(paragraphs - 25));
    row(QStringLiteral("No responses, hidden: Next Question / Answer, first 50 (%1 passes)")
            .arg(passes),
        ms(first));
    row(QStringLiteral("No responses, hidden: Next Question / Answer, last 50 (box %1 chars)")
            .arg(questionBoxSize),
        ms(last));
    row(QStringLiteral("No responses, hidden: Next Question / Answer, last 50 / first 50"),
        QString::number(last / first, 'f', 2), QStringLiteral("<= 1.5"), last / first <= 1.5);

    // The first 50 responses again, each synced to the disk as the program does by default: the
    // whole click, the syncs it makes (journal, master file, send file, journal emptied) and the
    // time they take, and what the click costs beyond them.
    const Paging synced = pageWholeBank(true, 50);
    std::vector<double> beyond;
    for (size_t i = 0; i < synced.enter.size(); ++i)
        beyond.push_back(synced.enter[i] - synced.enterSyncMs[i]);
    const double syncs = median(synced.enterSyncs);
    row(QStringLiteral("Enter Response click with sync to disk (median of 50)"),
        ms(median(synced.enter)));
    row(QStringLiteral("  its syncs: fsync calls per record (median of 50)"),
        QString::number(syncs), QStringLiteral("<= 4"), syncs <= 4);
    row(QStringLiteral("  its syncs: time in them (median of 50)"), ms(median(synced.enterSyncMs)));
    row(QStringLiteral("  the click beyond its syncs (median of 50)"), ms(median(beyond)),
        QStringLiteral("< 2 ms"), median(beyond) < 2.0);

    // "display everything" with a transcript of 10,000 entries; each click replaces a question
    // box that holds one paragraph.
    Desk desk;
    MainWindow& w = *desk.window;
    w.state().cumulativeText = transcript(w.state(), 10000);
    std::vector<double> display;
    for (int i = 0; i < 7; ++i) {
        w.txt_question->setText(paragraph(i));
        QCoreApplication::processEvents();
        display.push_back(clickMs(w, &MainWindow::cmd_displayCumulativeText_Click));
    }
    if (w.txt_question->text() != w.state().cumulativeText)
        fail("display everything did not show the transcript");
    const double shown = median(display);
    row(QStringLiteral("display everything, 10,000 entries (median of 7)"), ms(shown),
        QStringLiteral("<= 50 ms"), shown <= 50.0);
    return 0;
}
