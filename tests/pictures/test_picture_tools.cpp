// "copy picture" and the "pend exp" timer on the main window: beeps, circles of random size on
// Picture1, the clipboard copy into Picture2, and a failing tick reported once.

#include "app/main_window.h"
#include "widgets/picture_box.h"
#include "runtime/run_time_error.h"
#include "support/expected_texts.h"
#include "support/images.h"
#include "support/scripted_services.h"
#include "support/started_window.h"
#include "widgets/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cmath>

using desk::MainWindow;
using desk::PictureBox;
using desk::testing::blank;
using desk::testing::filesUnder;
using desk::testing::inked;
using desk::testing::solid;
using desk::testing::WindowFixture;

namespace {

QImage comparable(const QImage& image)
{
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

// The helpers below return false when they fail, for the caller's QVERIFY.

// One tick, as the timer delivers it.
[[nodiscard]] bool tick(MainWindow& window)
{
    return QMetaObject::invokeMethod(window.tmr_pend_exp, "timeout", Qt::DirectConnection);
}

// Waits until the spy has seen `count` timeouts in all.
[[nodiscard]] bool waitForTicks(QSignalSpy& ticks, int count)
{
    while (ticks.size() < count)
        if (!ticks.wait(5000))
            return false;
    return true;
}

// Starts the program with a student and assignment 001, shows the window, and forgets the
// random numbers that start-up drew.
[[nodiscard]] bool startShown(WindowFixture& fixture)
{
    if (!desk::testing::startAssignmentOne(fixture))
        return false;
    fixture.window->show();
    if (!QTest::qWaitForWindowExposed(fixture.window.get()))
        return false;
    fixture.random.script.clear();
    fixture.random.draws = 0;
    return true;
}

bool sameState(const desk::ProgramState& a, const desk::ProgramState& b)
{
    return a.displayText == b.displayText && a.sentencePos == b.sentencePos
        && a.awaitingResponse == b.awaitingResponse && a.currentLine == b.currentLine
        && a.masterFileName == b.masterFileName && a.sendFileName == b.sendFileName
        && a.notesFileName == b.notesFileName && a.assignmentNumber == b.assignmentNumber
        && a.nextAssignmentNumber == b.nextAssignmentNumber && a.answerPrompt == b.answerPrompt
        && a.displayMode == b.displayMode && a.questionNumber == b.questionNumber
        && a.workText == b.workText && a.cumulativeText == b.cumulativeText
        && a.questionTag == b.questionTag && a.answerTag == b.answerTag
        && a.queryFileId == b.queryFileId && a.startQuestions == b.startQuestions
        && a.startQuestion == b.startQuestion && a.baseDir == b.baseDir
        && a.bankIndex == b.bankIndex && a.questionBank == b.questionBank
        && a.studentName == b.studentName && a.codeNbr == b.codeNbr
        && a.studentInitials == b.studentInitials;
}

} // namespace

class TestPictureTools : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nothingBeforePendExp();
    void ticksDrawCirclesOfRandomSize();
    void repeatedClicksKeepOneTimer();
    void copyPicture_data();
    void copyPicture();
    void toolsLeaveStateAndFilesAlone();
    void failingTickIsReportedOnce();
};

void TestPictureTools::nothingBeforePendExp()
{
    WindowFixture fixture;
    QVERIFY(startShown(fixture));
    MainWindow& window = *fixture.window;

    // "Trigger Timer" is not wired to the timer.
    window.cmd_timerTrigger->click();
    // A timer that is not running cannot tick later; what the click queued has run.
    QCoreApplication::processEvents();

    QVERIFY(!window.tmr_pend_exp->isActive());
    QCOMPARE(fixture.dialogs.beeps, 0);
    QCOMPARE(fixture.random.draws, 0);
    QVERIFY(blank(window.Picture1->drawing()));
    QVERIFY(window.Picture1->picture().isNull());
    // On screen the inner area is plain white.
    const QImage shot = window.Picture1->grab().toImage();
    const QRect inner = window.Picture1->contentsRect();
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            QCOMPARE(shot.pixel(x, y), qRgb(255, 255, 255));
}

void TestPictureTools::ticksDrawCirclesOfRandomSize()
{
    WindowFixture fixture;
    QVERIFY(startShown(fixture));
    MainWindow& window = *fixture.window;
    const std::vector<float> script{0.0f, 0.25f, 0.5f, 0.999f};
    fixture.random.script.assign(script.begin(), script.end());

    const QRect inner = window.Picture1->contentsRect();
    const double cx = 500.0 * inner.width() / 1000.0;
    const double cy = 500.0 * inner.height() / 1000.0;
    QImage before = window.Picture1->drawing();
    if (before.isNull()) {
        before = QImage(inner.size(), QImage::Format_ARGB32_Premultiplied);
        before.fill(Qt::transparent);
    }

    for (std::size_t i = 0; i < script.size(); ++i) {
        QVERIFY(tick(window));
        QCOMPARE(fixture.dialogs.beeps, int(i + 1));
        QCOMPARE(fixture.random.draws, int(i + 1));

        // What this tick added to the drawing surface.
        const QImage after = window.Picture1->drawing();
        QCOMPARE(after.size(), inner.size());
        const double r = script[i] * 500.0 * inner.width() / 1000.0;
        int left = -1, right = -1, added = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                if (!inked(after, x, y) || inked(before, x, y))
                    continue;
                ++added;
                if (r == 0)
                    QVERIFY(std::hypot(x - cx, y - cy) <= 1.5);
                if (y == int(cy)) {
                    left = left < 0 ? x : left;
                    right = x;
                }
            }
        if (r > 0) {
            const QString at = QStringLiteral("r=%1: %2..%3").arg(script[i]).arg(left).arg(right);
            QVERIFY2(std::abs(left - (cx - r)) <= 1.5, qPrintable(at));
            QVERIFY2(std::abs(right - (cx + r)) <= 1.5, qPrintable(at));
            QVERIFY(!inked(after, int(cx), int(cy)));
        } else {
            QVERIFY(added <= 4);
        }
        before = after;
    }
    // Drawing never becomes Picture1's picture, and Picture2 is not touched.
    QVERIFY(window.Picture1->picture().isNull());
    QVERIFY(window.Picture2->picture().isNull());
    QVERIFY(blank(window.Picture2->drawing()));
    QCOMPARE(fixture.dialogs.messages.size(), 0);
}

void TestPictureTools::repeatedClicksKeepOneTimer()
{
    WindowFixture fixture;
    QVERIFY(startShown(fixture));
    MainWindow& window = *fixture.window;
    QSignalSpy ticks(window.tmr_pend_exp, &QTimer::timeout);

    window.cmd_pend_exp->click();
    QVERIFY(window.tmr_pend_exp->isActive());
    QCOMPARE(window.tmr_pend_exp->interval(), 15);
    window.cmd_pend_exp->click();
    window.cmd_pend_exp->click();
    QVERIFY(window.tmr_pend_exp->isActive());
    QCOMPARE(window.tmr_pend_exp->interval(), 15);
    QCOMPARE(window.findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);

    QVERIFY(waitForTicks(ticks, 10));
    // Each tick runs the handler once: one beep and one random number, no more.
    QCOMPARE(fixture.dialogs.beeps, ticks.size());
    QCOMPARE(fixture.random.draws, ticks.size());
    QVERIFY(!blank(window.Picture1->drawing()));
    QVERIFY(window.tmr_pend_exp->isActive());
}

void TestPictureTools::copyPicture_data()
{
    QTest::addColumn<QImage>("assigned");    // Picture1's picture
    QTest::addColumn<QImage>("onClipboard"); // what the clipboard holds beforehand
    QTest::addColumn<QImage>("expected");    // Picture2's picture and the clipboard afterwards

    const QImage red = solid(QSize(40, 20), Qt::red);
    QImage twoTone = solid(QSize(30, 30), Qt::yellow);
    twoTone.setPixelColor(3, 4, Qt::blue);
    const QImage held = solid(QSize(12, 8), Qt::cyan);

    QTest::newRow("assigned picture, empty clipboard") << red << QImage() << red;
    QTest::newRow("assigned picture replaces what the clipboard held")
        << twoTone << held << twoTone;
    QTest::newRow("no picture, clipboard holds one") << QImage() << held << held;
    QTest::newRow("no picture, empty clipboard") << QImage() << QImage() << QImage();
}

void TestPictureTools::copyPicture()
{
    QFETCH(QImage, assigned);
    QFETCH(QImage, onClipboard);
    QFETCH(QImage, expected);

    WindowFixture fixture;
    QVERIFY(startShown(fixture));
    MainWindow& window = *fixture.window;
    // Circles on Picture1's drawing surface, and an old picture in Picture2.
    for (int i = 0; i < 3; ++i)
        QVERIFY(tick(window));
    window.Picture2->setPicture(solid(QSize(16, 16), Qt::magenta));
    if (!assigned.isNull())
        window.Picture1->setPicture(assigned);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!onClipboard.isNull())
        clipboard->setImage(onClipboard);
    const QImage drawingBefore = window.Picture1->drawing();
    QVERIFY(!blank(drawingBefore));

    window.cmd_copy_picture->click();

    QCOMPARE(comparable(window.Picture2->picture()), comparable(expected));
    QCOMPARE(comparable(clipboard->image()), comparable(expected));
    // Picture1 keeps its picture and its circles; Picture2's own drawing is not touched.
    QCOMPARE(window.Picture1->picture(), assigned);
    QCOMPARE(window.Picture1->drawing(), drawingBefore);
    QVERIFY(blank(window.Picture2->drawing()));
    QCOMPARE(fixture.dialogs.messages.size(), 0);
    QVERIFY(!window.hasEnded());
}

void TestPictureTools::toolsLeaveStateAndFilesAlone()
{
    WindowFixture fixture;
    QVERIFY(startShown(fixture));
    MainWindow& window = *fixture.window;
    const desk::ProgramState state = window.state();
    const auto files = filesUnder(fixture.root());
    QVERIFY(files.contains(
        QStringLiteral("c/lrnfiles/masterFile_Ann_Lee.txt"))); // start-up wrote the record headers
    const QString question = window.txt_question->text();
    const QString answer = window.txt_answer->text();
    const QStringList prompts = fixture.dialogs.prompts;
    const QStringList messages = fixture.dialogs.messages;

    window.Picture1->setPicture(solid(QSize(20, 20), Qt::darkGreen));
    QSignalSpy ticks(window.tmr_pend_exp, &QTimer::timeout);
    window.cmd_pend_exp->click();
    QVERIFY(waitForTicks(ticks, 4));
    window.cmd_copy_picture->click();
    QVERIFY(waitForTicks(ticks, 6));
    QVERIFY(fixture.dialogs.beeps > 0);

    QVERIFY(sameState(window.state(), state));
    QVERIFY(filesUnder(fixture.root()) == files);
    QCOMPARE(window.txt_question->text(), question);
    QCOMPARE(window.txt_answer->text(), answer);
    QCOMPARE(fixture.dialogs.prompts, prompts);
    QCOMPARE(fixture.dialogs.messages, messages);
}

void TestPictureTools::failingTickIsReportedOnce()
{
    // The beep is the platform's; here it fails at every tick.
    WindowFixture fixture;
    fixture.dialogs.beepError = desk::err::InvalidProcedureCall;
    QVERIFY(desk::testing::startAssignmentOne(fixture));
    MainWindow& window = *fixture.window;
    const desk::testing::ScriptedDialogs& dialogs = fixture.dialogs;
    QCOMPARE(dialogs.messages, QStringList());

    window.cmd_pend_exp->click();
    for (int i = 0; i < 5; ++i)
        QVERIFY(tick(window));
    QCOMPARE(dialogs.beeps, 5);
    QCOMPARE(dialogs.messages,
             QStringList{desk::testing::generalErrorText(desk::err::InvalidProcedureCall)});
    QVERIFY(!window.hasEnded());

    // The timer keeps running and stays quiet.
    QSignalSpy ticks(window.tmr_pend_exp, &QTimer::timeout);
    QVERIFY(waitForTicks(ticks, 6));
    QCOMPARE(dialogs.beeps, 5 + ticks.size());
    QVERIFY(window.tmr_pend_exp->isActive());
    QCOMPARE(dialogs.messages.size(), 1);

    // The program goes on: the other tools still work.
    const QImage picture = solid(QSize(8, 8), Qt::red);
    window.Picture1->setPicture(picture);
    window.cmd_copy_picture->click();
    QCOMPARE(comparable(window.Picture2->picture()), comparable(picture));
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(!window.hasEnded());
}

QTEST_MAIN(TestPictureTools)
#include "test_picture_tools.moc"
