// "Enter Response": the response block in the master and send files, the transcript entry, the
// emptied boxes, and a record that cannot be written losing nothing the student typed.

#include "app/main_window.h"
#include "storage/record_transaction.h"
#include "storage/rollback_journal.h"
#include "support/breakage.h"
#include "support/expected_texts.h"
#include "support/record_faults.h"
#include "support/scripted_services.h"
#include "support/started_window.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <unistd.h>

using desk::MainWindow;
using desk::Value;
using desk::testing::Breakage;
using desk::testing::closingLine;
using desk::testing::leaveUnrecordedQuestion;
using desk::testing::otherUsersJournalText;
using desk::testing::masterResponse;
using desk::testing::sendResponse;

namespace {

const QString exampleLine = QStringLiteral(
    "Calculate the average rate of change of velocity with respect to clock time for the first "
    "run and for the second.");

// The clock reads 14:03:27 for the records written after start-up.
struct Desk : desk::testing::StartedWindow {
    Desk() { f.clock.times = {QStringLiteral("14:03:27")}; }
    bool enter() { return click(&MainWindow::cmd_enter_response_Click); }
};

} // namespace

class TestResponseRecording : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void responseBlock_data();
    void responseBlock();
    void promptComparison_data();
    void promptComparison();
    void secondClickRecordsEmptyAnswer();
    void missingFilesGetTheHeaderFirst();
    void unencodableAnswerRecordsNothing();
    void unwritableRecordLosesNothing_data();
    void unwritableRecordLosesNothing();
    void recordThatCannotBeTakenBackIsNamed();
    void earlierRecordNotTakenBackLeavesThisOneUnwritten();
    void otherUsersJournalIsToldOnce();
};

void TestResponseRecording::responseBlock_data()
{
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("answerBytes");

    QTest::newRow("example") << "003"
                             << "5" << exampleLine << "OK" << QByteArray(" 30005 ")
                             << QByteArray("OK");
    QTest::newRow("no question number")
        << "012"
        << "" << exampleLine << "OK" << QByteArray(" 120000 ") << QByteArray("OK");
    QTest::newRow("two-digit question")
        << "003"
        << "12" << exampleLine << "OK" << QByteArray(" 30012 ") << QByteArray("OK");
    QTest::newRow("fraction") << "003"
                              << "2.5" << exampleLine << "OK" << QByteArray(" 30002.5 ")
                              << QByteArray("OK");
    QTest::newRow("fraction below one")
        << "001"
        << ".25" << exampleLine << "OK" << QByteArray(" 10000.25 ") << QByteArray("OK");
    QTest::newRow("no line fetched yet") << "001"
                                         << ""
                                         << ""
                                         << "OK" << QByteArray(" 10000 ") << QByteArray("OK");
    QTest::newRow("multi-line answer")
        << "003"
        << "5" << exampleLine << "first\r\nsecond\r\n\r\nfourth" << QByteArray(" 30005 ")
        << QByteArray("first\r\nsecond\r\n\r\nfourth");
    QTest::newRow("Windows-1252 characters")
        << "003"
        << "5" << exampleLine << QStringLiteral("café € “x” ‘y’ — ½") << QByteArray(" 30005 ")
        << QByteArray("caf\xE9 \x80 \x93x\x94 \x91y\x92 \x97 \xBD");
    QTest::newRow("leading blanks kept")
        << "003"
        << "5" << exampleLine << "  indented" << QByteArray(" 30005 ") << QByteArray("  indented");
}

void TestResponseRecording::responseBlock()
{
    QFETCH(QString, assignment);
    QFETCH(QString, question);
    QFETCH(QString, line);
    QFETCH(QString, answer);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, answerBytes);

    Desk d;
    QVERIFY(d.ok());
    d.s().assignmentNumber = assignment;
    d.s().questionNumber = question;
    d.typeAnswerTo(line, answer);

    QVERIFY(d.enter());

    const QByteArray lineBytes = line.toLatin1();
    QCOMPARE(d.masterRecords(), masterResponse("14:03:27", key, lineBytes, answerBytes));
    QCOMPARE(d.sendRecords(), sendResponse("14:03:27", lineBytes, answerBytes));
    QCOMPARE(d.questionBox(), QString());
    QCOMPARE(d.answerBox(), QString());
    QVERIFY(d.s().awaitingResponse == Value::truth(false));
    QCOMPARE(d.s().workText, answer);
    QCOMPARE(d.s().cumulativeText, d.s().answerTag + answer + QStringLiteral("older"));
    QVERIFY(!d.anyChannelOpen());
    QVERIFY(d.f.dialogs.messages.isEmpty());
}

void TestResponseRecording::promptComparison_data()
{
    QTest::addColumn<bool>("exactPrompt");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("lowerCase");

    QTest::newRow("the prompt itself") << true << "" << false;
    QTest::newRow("a blank added") << false << " " << false;
    QTest::newRow("lower-cased") << false << "" << true;
}

// The prompt records nothing; anything else, however close, is the student's answer.
void TestResponseRecording::promptComparison()
{
    QFETCH(bool, exactPrompt);
    QFETCH(QString, suffix);
    QFETCH(bool, lowerCase);

    Desk d;
    QVERIFY(d.ok());
    const QString text = (lowerCase ? d.s().answerPrompt.toLower() : d.s().answerPrompt) + suffix;
    d.typeAnswerTo(exampleLine, text);

    QVERIFY(d.enter());

    QCOMPARE(d.questionBox(), QString());
    QCOMPARE(d.answerBox(), QString());
    if (exactPrompt) {
        QCOMPARE(d.masterRecords(), QByteArray());
        QCOMPARE(d.sendRecords(), QByteArray());
        QVERIFY(d.s().awaitingResponse == Value::truth(true));
        QCOMPARE(d.s().workText, QStringLiteral("work"));
        QCOMPARE(d.s().cumulativeText, QStringLiteral("older"));
    } else {
        QVERIFY(d.masterRecords().endsWith(text.toLatin1() + "\r\n" + closingLine()));
        QVERIFY(d.sendRecords().endsWith(text.toLatin1() + "\r\n" + closingLine()));
        QVERIFY(d.s().awaitingResponse == Value::truth(false));
        QCOMPARE(d.s().cumulativeText, d.s().answerTag + text + QStringLiteral("older"));
    }
}

void TestResponseRecording::secondClickRecordsEmptyAnswer()
{
    Desk d;
    QVERIFY(d.ok());
    d.s().assignmentNumber = QStringLiteral("003");
    d.s().questionNumber = QStringLiteral("5");
    d.s().currentLine = exampleLine;
    d.s().cumulativeText = QStringLiteral("older");
    d.answer(QStringLiteral("OK"));
    QVERIFY(d.enter());
    d.f.clock.times = {QStringLiteral("14:04:00")};
    QVERIFY(d.enter());

    const QByteArray line = exampleLine.toLatin1();
    QCOMPARE(d.masterRecords(),
             masterResponse("14:03:27", " 30005 ", line, "OK")
                 + masterResponse("14:04:00", " 30005 ", line, ""));
    QCOMPARE(d.sendRecords(),
             sendResponse("14:03:27", line, "OK") + sendResponse("14:04:00", line, ""));
    QCOMPARE(d.s().workText, QString());
    QCOMPARE(d.s().cumulativeText, d.s().answerTag + d.s().answerTag + QStringLiteral("OKolder"));
}

// The day's send file sent away and the master file removed during the run: the files made anew
// start with the run's header, as start-up wrote it, so that no block stands without its student.
void TestResponseRecording::missingFilesGetTheHeaderFirst()
{
    Desk d;
    QVERIFY(d.ok());
    const QByteArray masterHeader = d.master(), sendHeader = d.send();
    QVERIFY(QFile::rename(d.sendPath(), d.f.root() + QStringLiteral("/sent.txt")));
    QVERIFY(QFile::remove(d.masterPath()));
    d.f.clock.times = {QStringLiteral("15:30:00")};
    d.s().assignmentNumber = QStringLiteral("003");
    d.s().questionNumber = QStringLiteral("5");
    d.s().currentLine = exampleLine;
    d.answer(QStringLiteral("OK"));

    QVERIFY(d.enter());

    const QByteArray line = exampleLine.toLatin1();
    QCOMPARE(d.master(), masterHeader + masterResponse("15:30:00", " 30005 ", line, "OK"));
    QCOMPARE(d.send(), sendHeader + sendResponse("15:30:00", line, "OK"));
}

// Greek letters, arrows and emoji have no place in the files: the student is told which
// characters to write another way, and nothing is lost or half-recorded.
void TestResponseRecording::unencodableAnswerRecordsNothing()
{
    Desk d;
    QVERIFY(d.ok());
    d.typeAnswerTo(exampleLine, QStringLiteral("café: Δv → 2 m/s 😀, Δt twice"));

    d.enter();

    QCOMPARE(d.f.dialogs.messages.size(), 1);
    const QString message = d.f.dialogs.messages.front();
    QVERIFY2(message.contains(QStringLiteral("Δ")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("→")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("😀")), qPrintable(message));
    QVERIFY2(!message.contains(QStringLiteral("é")), qPrintable(message));
    QVERIFY(!message.contains(QStringLiteral("The error is")));
    QVERIFY(!d.w().hasEnded());
    d.checkNothingLost();
}

void TestResponseRecording::unwritableRecordLosesNothing_data()
{
    using enum Breakage;
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("why"); // what the message says after the number

    QTest::newRow("base directory removed") << BaseDirectoryRemoved << 76 << QString();
    QTest::newRow("master file is a directory") << MasterIsDirectory << 75 << QString();
    QTest::newRow("master file read-only") << MasterReadOnly << 70 << QString();
    // A classmate who made the file could empty it, records and all.
    QTest::newRow("master file of another user's")
        << MasterOfAnotherUser << 70 << QStringLiteral("belongs to another user");
    QTest::newRow("send file is a directory") << SendIsDirectory << 75 << QString();
    QTest::newRow("send file on a full disk") << SendDiskFull << 61 << QString();
    // Another copy of the program in the middle of its own record, for longer than a record waits.
    QTest::newRow("lock held by another copy")
        << LockHeld << 75
        << QStringLiteral("Another copy of the program is recording for this name");
}

void TestResponseRecording::unwritableRecordLosesNothing()
{
    QFETCH(Breakage, breakage);
    QFETCH(int, error);
    QFETCH(QString, why);
    Desk d;
    QVERIFY(d.ok());
    desk::testing::BrokenRecords broken;
    const bool made = broken.make(breakage, d.f);
    if (broken.notHere)
        QSKIP(broken.notHere);
    QVERIFY(made);

    d.s().assignmentNumber = QStringLiteral("003");
    d.s().questionNumber = QStringLiteral("5");
    d.typeAnswerTo(exampleLine, QStringLiteral("v = 1.5 m/s\r\nfrom 95 cm in 1.3 s"));

    QVERIFY(!d.enter());

    QCOMPARE(d.f.dialogs.messages.size(), 1);
    const QString message = d.f.dialogs.messages.front();
    const QString general = desk::testing::generalErrorText(error);
    QVERIFY2(why.isEmpty()
                 ? message == general
                 : message.startsWith(general + QStringLiteral("\n\n")) && message.contains(why),
             qPrintable(message));
    QVERIFY(!d.w().hasEnded());
    // The block reached neither file, not even the one that could be written.
    d.checkNothingLost();
}

// A master file marked append-only takes the block and cannot give it back when the send file
// then fails: the student must not be told that nothing was recorded.
void TestResponseRecording::recordThatCannotBeTakenBackIsNamed()
{
    Desk d;
    QVERIFY(d.ok());
    auto appendOnly = [&](const char* flag) {
        return QProcess::execute(QStringLiteral("chattr"),
                                 {QString::fromLatin1(flag), d.masterPath()})
            == 0;
    };
    if (!appendOnly("+a"))
        QSKIP("cannot mark a file append-only here");
    auto unmark = qScopeGuard([&] { appendOnly("-a"); });
    desk::testing::FullFile fullDisk(d.sendPath());
    QVERIFY(fullDisk.ok());
    d.s().currentLine = exampleLine;
    d.answer(QStringLiteral("OK"));

    QVERIFY(!d.enter());

    QCOMPARE(d.f.dialogs.messages.size(), 1);
    QCOMPARE(
        d.f.dialogs.messages.front(),
        desk::testing::generalErrorText(61)
            + QStringLiteral(
                "\n\nA record could not be taken back out of masterFile_Ann_Lee.txt: that file "
                "may hold part of it."));
    QVERIFY(d.masterRecords().endsWith("OK\r\n" + closingLine()));
    QCOMPARE(d.answerBox(), QStringLiteral("OK"));
    // Nor asked, on the way to the next paragraph, to leave a text that "could not be recorded".
    QVERIFY(d.w().runHandler(&desk::MainWindow::cmdNextQuestion_Click));
    QCOMPARE(d.f.dialogs.questions,
             QStringList{leaveUnrecordedQuestion(desk::testing::LeftText::MayBeInFiles)});
}

// An earlier record that can never be taken back (its file grew since) refuses this one before
// a byte of it is written: the question on Next does not say that it may be in the files.
void TestResponseRecording::earlierRecordNotTakenBackLeavesThisOneUnwritten()
{
    Desk d;
    QVERIFY(d.ok());
    desk::RollbackJournal(d.w().recordSetPaths().journal)
        .begin({{d.masterPath(), true, QFileInfo(d.masterPath()).size() - 20, 5}});
    d.s().currentLine = exampleLine;
    d.answer(QStringLiteral("OK"));
    QVERIFY(!d.enter());
    QVERIFY(d.w().runHandler(&desk::MainWindow::cmdNextQuestion_Click));
    QCOMPARE(d.f.dialogs.questions,
             QStringList{leaveUnrecordedQuestion(desk::testing::LeftText::Refused)});
}

// A classmate's journal holding a record where the name's journal is kept: never applied, and the
// student is told of it once a run, however many records follow.
void TestResponseRecording::otherUsersJournalIsToldOnce()
{
    if (::geteuid() != 0)
        QSKIP("only the superuser can give a file to another user");
    Desk d;
    QVERIFY(d.ok());
    const QString journal = d.w().recordSetPaths().journal;
    desk::RollbackJournal(journal).begin({{d.masterPath(), true, 0, 1}});
    QCOMPARE(::chown(QFile::encodeName(journal).constData(), 4242, 4242), 0);
    for (const char* answer : {"one", "two", "three"}) {
        d.s().currentLine = exampleLine;
        d.answer(QString::fromLatin1(answer));
        QVERIFY(d.enter());
    }
    QCOMPARE(d.f.dialogs.messages, QStringList{otherUsersJournalText(journal)});
    QVERIFY(d.masterRecords().endsWith("three\r\n" + closingLine()));
}

QTEST_MAIN(TestResponseRecording)
#include "test_response_recording.moc"
