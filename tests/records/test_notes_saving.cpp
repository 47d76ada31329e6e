// "Save as Notes": the notes block in the master, send and notes files, the transcript entry,
// the emptied boxes, and a note that cannot be written losing nothing.

#include "app/main_window.h"
#include "support/breakage.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"
#include "support/started_window.h"

#include <QTest>

using desk::MainWindow;
using desk::Value;
using desk::testing::Breakage;
using desk::testing::masterResponse;
using desk::testing::notesBlock;
using desk::testing::putFile;
using desk::testing::sendResponse;

namespace {

const QString timesLine = QStringLiteral("GIve the times you obtained and how you obtained them.");

// The clock reads 09-15-2003 14:05:10 for the records written after start-up.
struct Desk : desk::testing::StartedWindow {
    Desk()
    {
        f.clock.dates = {QStringLiteral("09-15-2003")};
        f.clock.times = {QStringLiteral("14:05:10")};
    }
    bool save() { return click(&MainWindow::cmd_save_as_notes_Click); }
};

} // namespace

class TestNotesSaving : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void blockInAllThreeFiles_data();
    void blockInAllThreeFiles();
    void untouchedPromptSavesNothing();
    void notesFileGrowsByBlocks();
    void noteAndResponseInOrder();
    void unwritableNoteLosesNothing_data();
    void unwritableNoteLosesNothing();
};

void TestNotesSaving::blockInAllThreeFiles_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QByteArray>("noteBytes");

    QTest::newRow("example") << timesLine << "remember the incline length"
                             << QByteArray("remember the incline length");
    QTest::newRow("empty note") << timesLine << "" << QByteArray();
    QTest::newRow("multi-line note")
        << timesLine << "first\r\nsecond\r\nthird" << QByteArray("first\r\nsecond\r\nthird");
    QTest::newRow("no line fetched yet") << ""
                                         << "remember" << QByteArray("remember");
    QTest::newRow("Windows-1252 characters") << timesLine << QStringLiteral("“½ s” – naïve €")
                                             << QByteArray("\x93\xBD s\x94 \x96 na\xEFve \x80");
}

// The block goes to all three files alike; the new notes file holds it and nothing else.
void TestNotesSaving::blockInAllThreeFiles()
{
    QFETCH(QString, line);
    QFETCH(QString, note);
    QFETCH(QByteArray, noteBytes);

    Desk d;
    QVERIFY(d.ok());
    QCOMPARE(d.notes(), QByteArray("<missing>"));
    d.typeAnswerTo(line, note);

    QVERIFY(d.save());

    const QByteArray block = notesBlock("09-15-2003", "14:05:10", line.toLatin1(), noteBytes);
    QCOMPARE(d.masterRecords(), block);
    QCOMPARE(d.sendRecords(), block);
    QCOMPARE(d.notes(), block);
    QCOMPARE(d.questionBox(), QString());
    QCOMPARE(d.answerBox(), QString());
    QVERIFY(d.s().awaitingResponse == Value::truth(false));
    const QString workText = desk::testing::notesLabel() + note;
    QCOMPARE(d.s().workText, workText);
    QCOMPARE(d.s().cumulativeText, d.s().answerTag + workText + QStringLiteral("older"));
    QVERIFY(!d.anyChannelOpen());
    QVERIFY(d.f.dialogs.messages.isEmpty());
}

void TestNotesSaving::untouchedPromptSavesNothing()
{
    Desk d;
    QVERIFY(d.ok());
    d.typeAnswerTo(timesLine, d.s().answerPrompt);

    QVERIFY(d.save());

    QCOMPARE(d.masterRecords(), QByteArray());
    QCOMPARE(d.sendRecords(), QByteArray());
    QCOMPARE(d.notes(), QByteArray("<missing>"));
    QCOMPARE(d.questionBox(), QString());
    QCOMPARE(d.answerBox(), QString());
    QVERIFY(d.s().awaitingResponse == Value::truth(true));
    QCOMPARE(d.s().workText, QStringLiteral("work"));
    QCOMPARE(d.s().cumulativeText, QStringLiteral("older"));
}

// A notes file left by an earlier run is appended to, never rewritten.
void TestNotesSaving::notesFileGrowsByBlocks()
{
    Desk d;
    QVERIFY(d.ok());
    const QByteArray earlier =
        notesBlock("09-14-2003", "09:00:00", "earlier line", "from yesterday");
    QVERIFY(putFile(d.notesPath(), earlier));
    d.s().currentLine = timesLine;
    d.s().cumulativeText = QStringLiteral("older");
    d.answer(QStringLiteral("one"));
    QVERIFY(d.save());
    d.f.clock.times = {QStringLiteral("14:06:00")};
    d.answer(QStringLiteral("two"));
    QVERIFY(d.save());

    const QByteArray line = timesLine.toLatin1();
    const QByteArray today = notesBlock("09-15-2003", "14:05:10", line, "one")
        + notesBlock("09-15-2003", "14:06:00", line, "two");
    QCOMPARE(d.notes(), earlier + today);
    QCOMPARE(d.masterRecords(), today);
    QCOMPARE(d.s().cumulativeText,
             d.s().answerTag + desk::testing::notesLabel() + QStringLiteral("two") + d.s().answerTag
                 + desk::testing::notesLabel() + QStringLiteral("one") + QStringLiteral("older"));
}

void TestNotesSaving::noteAndResponseInOrder()
{
    Desk d;
    QVERIFY(d.ok());
    d.s().assignmentNumber = QStringLiteral("001");
    d.s().questionNumber = QStringLiteral("2");
    d.s().currentLine = timesLine;
    d.answer(QStringLiteral("remember the incline length"));
    QVERIFY(d.save());
    d.f.clock.times = {QStringLiteral("14:07:45")};
    d.answer(QStringLiteral("1.9 s and 2.7 s"));
    QVERIFY(d.f.window->runHandler(&MainWindow::cmd_enter_response_Click));

    const QByteArray line = timesLine.toLatin1();
    const QByteArray note =
        notesBlock("09-15-2003", "14:05:10", line, "remember the incline length");
    QCOMPARE(d.masterRecords(),
             note + masterResponse("14:07:45", " 10002 ", line, "1.9 s and 2.7 s"));
    QCOMPARE(d.sendRecords(), note + sendResponse("14:07:45", line, "1.9 s and 2.7 s"));
    QCOMPARE(d.notes(), note);
}

void TestNotesSaving::unwritableNoteLosesNothing_data()
{
    using enum Breakage;
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("messagePart");

    const QString note = QStringLiteral("remember the incline length");
    QTest::newRow("notes file on a full disk") << NotesDiskFull << note << "The error is:  61";
    QTest::newRow("notes file is a directory") << NotesIsDirectory << note << "The error is:  75";
    // Opening it would wait for a reader; writing to it, with the reader gone, would end the program.
    QTest::newRow("notes file is a FIFO") << NotesIsFifo << note << "The error is:  75";
    QTest::newRow("base directory removed") << BaseDirectoryRemoved << note << "The error is:  76";
    QTest::newRow("Greek letter in the note")
        << None << QStringLiteral("θ is the incline angle") << QStringLiteral("θ");
}

void TestNotesSaving::unwritableNoteLosesNothing()
{
    QFETCH(Breakage, breakage);
    QFETCH(QString, note);
    QFETCH(QString, messagePart);

    Desk d;
    QVERIFY(d.ok());
    // An earlier note, so that the notes file has something to lose.
    d.s().currentLine = timesLine;
    d.answer(QStringLiteral("earlier"));
    QVERIFY(d.save());

    desk::testing::BrokenRecords broken;
    QVERIFY(broken.make(breakage, d.f));

    d.typeAnswerTo(timesLine, note);

    QVERIFY(!d.save());

    QCOMPARE(d.f.dialogs.messages.size(), 1);
    QVERIFY2(d.f.dialogs.messages.front().contains(messagePart),
             qPrintable(d.f.dialogs.messages.front()));
    QVERIFY(!d.f.window->hasEnded());
    d.checkNothingLost();
}

QTEST_MAIN(TestNotesSaving)
#include "test_notes_saving.moc"
