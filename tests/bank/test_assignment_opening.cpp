// Assignment opening: the header search, the six-line header appended to the master and send
// files, and what happens when the assignment is not in the bank or a file cannot be written.

#include "app/main_window.h"
#include "support/breakage.h"
#include "support/expected_texts.h"
#include "support/record_faults.h"
#include "support/scripted_services.h"
#include "support/started_window.h"
#include "widgets/text_box.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cmath>

using desk::MainWindow;
using desk::Value;
using desk::testing::anyChannelOpen;
using desk::testing::Breakage;
using desk::testing::generalErrorText;
using desk::testing::invalidAssignmentText;
using desk::testing::masterResponse;
using desk::testing::sendResponse;
using desk::testing::WindowFixture;

namespace {

const QString masterFile = QStringLiteral("c:\\lrnfiles\\masterFile_Ann_Lee.txt");
const QString sendFile = QStringLiteral("c:\\lrnfiles\\send_0105Ann_Lee.txt");

// Scripts the random numbers of one run: the draw that makes codeNbr 19, then 19 groups of four
// kinds in turn. Gives the code line's bytes.
QByteArray scriptRun(desk::testing::ScriptedRandom& random)
{
    const float belowOne = std::nextafter(1.f, 0.f);
    struct Group {
        QList<float> draws;
        QByteArray bytes;
    };
    const QList<Group> kinds{
        {{0.5f, 0.f}, QByteArray("\x76")},                           // 118
        {{0.05f, 0.25f, float(10.0 / 137)}, QByteArray("\x4e\x80")}, // 78, 128 (euro sign)
        {{0.1f, belowOne}, QByteArray("\xff")},                      // 255
        {{0.f, 0.f, 0.5f}, QByteArray("\x42\xba")},                  // 66, 186
    };
    random.script = {0.f};
    random.fallback = 0.05f;
    QByteArray line;
    for (int g = 0; g < 19; ++g) {
        const Group& group = kinds[g % kinds.size()];
        random.script.insert(random.script.end(), group.draws.begin(), group.draws.end());
        line += group.bytes;
    }
    return line;
}

QByteArray header(const QByteArray& codeLine, const QByteArray& dateAndTime)
{
    return codeLine
        + "\r\n"
          "Student Name:  Ann Lee\r\n"
          "assignment #001\r\n"
          "001.  Part C\r\n"
          "Initials:  AJL\r\n"
          "Date and Time "
        + dateAndTime + "\r\n";
}

QStringList recordFiles(const WindowFixture& fixture)
{
    return QDir(fixture.driveC() + QStringLiteral("/lrnfiles")).entryList(QDir::Files);
}

} // namespace

class TestAssignmentOpening : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void headerBlock_data();
    void headerBlock();
    void invalidAssignment_data();
    void invalidAssignment();
    void assignmentBeyondRow100();
    void secondRunAppends();
    void missingBaseDirectory();
    void dateAndTimeReadForEachFile();
    void unwrittenHeaderComesWithTheFirstRecord_data();
    void unwrittenHeaderComesWithTheFirstRecord();
};

void TestAssignmentOpening::headerBlock_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("1") << QStringLiteral("1");
    QTest::newRow("01") << QStringLiteral("01");
    QTest::newRow("001") << QStringLiteral("001");
}

void TestAssignmentOpening::headerBlock()
{
    QFETCH(QString, answer);
    WindowFixture fixture;
    const QByteArray codeLine = scriptRun(fixture.random);
    const int scripted = int(fixture.random.script.size());

    fixture.start(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"), answer);

    QCOMPARE(fixture.dialogs.messages, QStringList());
    QVERIFY(!fixture.window->hasEnded());
    QCOMPARE(fixture.random.draws, scripted);
    QCOMPARE(fixture.bytes(masterFile), header(codeLine, "01-05-202614:03:27"));
    QCOMPARE(fixture.bytes(sendFile), header(codeLine, "01-05-2026 14:03:27"));
    QCOMPARE(recordFiles(fixture).size(), 2); // no notes file yet

    const desk::ProgramState& s = fixture.window->state();
    QCOMPARE(s.bankIndex, Value::whole(1));
    QCOMPARE(s.displayMode, Value::whole(1));
    QVERIFY(s.startQuestion.isEmpty());
    QVERIFY(s.currentLine.isEmpty());
    QVERIFY(!anyChannelOpen(*fixture.window));
}

void TestAssignmentOpening::invalidAssignment_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("2") << QStringLiteral("2");
    QTest::newRow("leading blank") << QStringLiteral(" 1");
    QTest::newRow("trailing blank") << QStringLiteral("1 ");
    QTest::newRow("empty") << QString();
    QTest::newRow("four digits") << QStringLiteral("0001");
    QTest::newRow("letter") << QStringLiteral("a");
}

void TestAssignmentOpening::invalidAssignment()
{
    QFETCH(QString, answer);
    WindowFixture fixture;
    fixture.start(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"), answer);

    QCOMPARE(fixture.dialogs.messages, QStringList{invalidAssignmentText()});
    QVERIFY(fixture.window->hasEnded());
    QVERIFY(!fixture.window->isVisible());
    QCOMPARE(recordFiles(fixture), QStringList());
    QCOMPARE(fixture.random.draws, 1); // only start-up's draw: no code line was made
    QVERIFY(!anyChannelOpen(*fixture.window));
}

void TestAssignmentOpening::assignmentBeyondRow100()
{
    // A header found in the bank for an assignment above 100 fails after the master file has
    // been created, before any header line is written.
    WindowFixture fixture;
    fixture.setUp(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"),
                  QStringLiteral("101"));
    fixture.window->state().questionBank[20] = QStringLiteral("101.  Part Z");

    fixture.window->runHandler(&MainWindow::openAssignment);

    QCOMPARE(fixture.dialogs.messages, QStringList{invalidAssignmentText()});
    QVERIFY(fixture.window->hasEnded());
    QCOMPARE(fixture.window->state().bankIndex, Value::whole(20));
    QCOMPARE(recordFiles(fixture), QStringList{QStringLiteral("masterFile_Ann_Lee.txt")});
    QCOMPARE(fixture.bytes(masterFile), QByteArray());
    QVERIFY(!anyChannelOpen(*fixture.window));
}

void TestAssignmentOpening::secondRunAppends()
{
    WindowFixture fixture;
    const QByteArray firstLine = scriptRun(fixture.random);
    fixture.start(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"),
                  QStringLiteral("1"));

    // A second run of the program on the same drive, later the same day.
    fixture.replaceWindow();
    fixture.clock.times = {QStringLiteral("16:20:05")};
    fixture.random.script = {0.95f}; // codeNbr 28, every group then "v" with a filler "B"
    fixture.random.fallback = 0.f;
    fixture.start(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"),
                  QStringLiteral("001"));
    const QByteArray secondLine = QByteArray("Bv").repeated(28);

    QCOMPARE(fixture.dialogs.messages, QStringList());
    QCOMPARE(fixture.bytes(masterFile),
             header(firstLine, "01-05-202614:03:27") + header(secondLine, "01-05-202616:20:05"));
    QCOMPARE(fixture.bytes(sendFile),
             header(firstLine, "01-05-2026 14:03:27") + header(secondLine, "01-05-2026 16:20:05"));
}

void TestAssignmentOpening::missingBaseDirectory()
{
    // The LAN directory is on drive i, which does not exist here.
    WindowFixture fixture;
    fixture.start(QStringLiteral("2"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"),
                  QStringLiteral("1"));

    QCOMPARE(fixture.dialogs.messages, QStringList{generalErrorText(76)});
    QVERIFY(generalErrorText(76).endsWith(QStringLiteral("The error is:  76")));
    QVERIFY(!fixture.window->hasEnded());
    QCOMPARE(fixture.window->state().bankIndex, Value::whole(1));
    QCOMPARE(fixture.window->state().displayMode, Value::whole(1));
    QCOMPARE(recordFiles(fixture), QStringList());
    QVERIFY(!anyChannelOpen(*fixture.window));
}

void TestAssignmentOpening::dateAndTimeReadForEachFile()
{
    WindowFixture fixture;
    fixture.setUp(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"),
                  QStringLiteral("1"));
    fixture.clock.dateReads = fixture.clock.timeReads = 0;
    fixture.clock.dates = {QStringLiteral("12-08-2026"), QStringLiteral("12-09-2026")};
    fixture.clock.times = {QStringLiteral("01:41:15"), QStringLiteral("01:41:16")};

    fixture.window->runHandler(&MainWindow::openAssignment);

    QCOMPARE(fixture.clock.dateReads, 2);
    QCOMPARE(fixture.clock.timeReads, 2);
    QVERIFY(fixture.bytes(masterFile).endsWith("\r\nDate and Time 12-08-202601:41:15\r\n"));
    QVERIFY(fixture.bytes(sendFile).endsWith("\r\nDate and Time 12-09-2026 01:41:16\r\n"));
}

void TestAssignmentOpening::unwrittenHeaderComesWithTheFirstRecord_data()
{
    using enum Breakage;
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<int>("error");
    QTest::newRow("folder unreachable at start") << BaseDirectoryRemoved << 76;
    QTest::newRow("send file on a full disk at start") << SendDiskFull << 61;
    QTest::newRow("another copy holding the lock") << LockHeld << 75;
}

// A header that cannot be written at start-up is not lost: the first record that succeeds writes
// it, with the date and time of the start-up, before its own block, so that the instructor never
// gets a block without the name of its student above it.
void TestAssignmentOpening::unwrittenHeaderComesWithTheFirstRecord()
{
    QFETCH(Breakage, breakage);
    QFETCH(int, error);
    WindowFixture fixture;
    const QByteArray codeLine = scriptRun(fixture.random);
    MainWindow& w = *fixture.window;
    fixture.setUp(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"),
                  QStringLiteral("1"));
    desk::testing::BrokenRecords broken;
    QVERIFY(broken.make(breakage, fixture));

    w.runHandler(&MainWindow::openAssignment);

    QCOMPARE(fixture.dialogs.messages.size(), 1);
    const QString& message = fixture.dialogs.messages.front();
    QVERIFY2(message == generalErrorText(error)
                 || message.startsWith(generalErrorText(error) + QStringLiteral("\n\n")),
             qPrintable(message));
    QVERIFY(!w.hasEnded());
    QCOMPARE(w.state().displayMode, Value::whole(1));
    QVERIFY(!anyChannelOpen(w));
    QCOMPARE(fixture.bytes(masterFile), QByteArray());
    const bool full = breakage == Breakage::SendDiskFull;
    QCOMPARE(fixture.bytes(sendFile).size(), full ? desk::testing::FullFile::Size : 0);

    broken.undo();
    QVERIFY(QDir().mkpath(fixture.driveC() + QStringLiteral("/lrnfiles")));
    fixture.clock.times = {QStringLiteral("15:10:00")};
    QVERIFY(w.runHandler(&MainWindow::cmdNextQuestion_Click));
    w.txt_answer->setText(QStringLiteral("OK"));
    QVERIFY(w.runHandler(&MainWindow::cmd_enter_response_Click));
    QVERIFY(w.runHandler(&MainWindow::cmd_enter_response_Click));

    // The header written once, above the first block: the second record finds it in place.
    const QByteArray line = desk::testing::assignmentOneParagraphs().front().toLatin1();
    QCOMPARE(fixture.bytes(masterFile),
             header(codeLine, "01-05-202614:03:27")
                 + masterResponse("15:10:00", " 10000 ", line, "OK")
                 + masterResponse("15:10:00", " 10000 ", line, ""));
    QCOMPARE(fixture.bytes(sendFile),
             header(codeLine, "01-05-2026 14:03:27") + sendResponse("15:10:00", line, "OK")
                 + sendResponse("15:10:00", line, ""));
}

QTEST_MAIN(TestAssignmentOpening)
#include "test_assignment_opening.moc"
