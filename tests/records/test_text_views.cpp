// "display notes", "display everything" and "clear box".

#include "app/main_window.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"
#include "support/started_window.h"

#include <QFile>
#include <QTest>

using desk::MainWindow;
using desk::Value;

namespace {

// The first two paragraphs of assignment 001.
const QString firstLine = desk::testing::assignmentOneParagraphs().at(0);
const QString secondLine = desk::testing::assignmentOneParagraphs().at(1);

// The clock reads 09-15-2003 14:05:10 for the notes saved after start-up.
struct Desk : desk::testing::StartedWindow {
    Desk()
    {
        f.clock.dates = {QStringLiteral("09-15-2003")};
        f.clock.times = {QStringLiteral("14:05:10")};
    }
    bool writeNotes(const QByteArray& bytes) { return desk::testing::putFile(notesPath(), bytes); }
    bool displayNotes() { return click(&MainWindow::cmd_display_note_file_Click); }
    bool nextQuestion() { return click(&MainWindow::cmdNextQuestion_Click); }
};

} // namespace

class TestTextViews : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void displayNotes_data();
    void displayNotes();
    void displayNotesAfterNextQuestion();
    void displayNotesAfterSavingNote();
    void displayNotesWithoutNotesFile();
    void displayEverything();
    void clearBox();
};

void TestTextViews::displayNotes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("workText");
    QTest::addColumn<QByteArray>("notesFile");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("expectedBox");
    QTest::addColumn<QString>("expectedWork");

    const QByteArray ab("a\r\nb\r\n");
    QTest::newRow("lines run together") << "Q"
                                        << "" << ab << 1 << "Qab"
                                        << "ab";
    QTest::newRow("twice in a row") << "Q"
                                    << "" << ab << 2 << "Qababab"
                                    << "abab";
    QTest::newRow("left-over work text") << "Q"
                                         << "W" << ab << 1 << "QWab"
                                         << "Wab";
    QTest::newRow("empty file, left-over work text") << "Q"
                                                     << "W" << QByteArray() << 1 << "QW"
                                                     << "W";
    QTest::newRow("empty file, nothing left over") << "Q"
                                                   << "" << QByteArray() << 1 << "Q"
                                                   << "";
    QTest::newRow("last line without line end") << "Q"
                                                << "" << QByteArray("a\r\nb") << 1 << "Qab"
                                                << "ab";
    QTest::newRow("lone LF stays in the line") << "Q"
                                               << "" << QByteArray("a\nb\r\n") << 1 << "Qa\r\nb"
                                               << "a\nb";
    QTest::newRow("empty lines between") << ""
                                         << "" << QByteArray("a\r\n\r\n\r\nb\r\n") << 1 << "ab"
                                         << "ab";
    QTest::newRow("Windows-1252 bytes")
        << ""
        << "" << QByteArray("caf\xE9 \x80\r\n\x93q\x94\r\n") << 1 << QStringLiteral("café €“q”")
        << QStringLiteral("café €“q”");
}

void TestTextViews::displayNotes()
{
    QFETCH(QString, box);
    QFETCH(QString, workText);
    QFETCH(QByteArray, notesFile);
    QFETCH(int, clicks);
    QFETCH(QString, expectedBox);
    QFETCH(QString, expectedWork);

    Desk d;
    QVERIFY(d.ok());
    QVERIFY(d.writeNotes(notesFile));
    d.question(box);
    d.s().workText = workText;
    d.s().awaitingResponse = Value::truth(true);
    d.answer(QStringLiteral("typing"));

    for (int i = 0; i < clicks; ++i)
        QVERIFY(d.displayNotes());

    QCOMPARE(d.questionBox(), expectedBox);
    QCOMPARE(d.s().workText, expectedWork);
    QCOMPARE(d.answerBox(), QStringLiteral("typing"));
    QVERIFY(d.s().awaitingResponse == Value::truth(true));
    QVERIFY(!d.f.window->files().isOpen(3));
    QVERIFY(d.f.dialogs.messages.isEmpty());
    QCOMPARE(desk::testing::fileState(d.notesPath()), notesFile);
}

// The next-question command leaves the shown line in workText as well as in the box, so the
// line appears twice.
void TestTextViews::displayNotesAfterNextQuestion()
{
    Desk d;
    QVERIFY(d.ok());
    QVERIFY(d.writeNotes("a\r\nb\r\n"));
    QVERIFY(d.nextQuestion());
    QCOMPARE(d.questionBox(), firstLine);

    QVERIFY(d.displayNotes());

    QCOMPARE(d.questionBox(), firstLine + firstLine + QStringLiteral("ab"));
    QCOMPARE(d.s().workText, firstLine + QStringLiteral("ab"));
}

void TestTextViews::displayNotesAfterSavingNote()
{
    Desk d;
    QVERIFY(d.ok());
    QVERIFY(d.nextQuestion());
    QVERIFY(d.nextQuestion());
    d.answer(QStringLiteral("x"));
    QVERIFY(d.click(&MainWindow::cmd_save_as_notes_Click));
    QCOMPARE(d.questionBox(), QString());

    QVERIFY(d.displayNotes());

    // The notes file's lines, run together without their line ends.
    const QByteArray block =
        desk::testing::notesBlock("09-15-2003", "14:05:10", secondLine.toLatin1(), "x");
    const QString notesLines = QString::fromLatin1(block).remove(QStringLiteral("\r\n"));
    QCOMPARE(d.questionBox(), desk::testing::notesLabel() + QStringLiteral("x") + notesLines);
    QCOMPARE(d.s().workText, desk::testing::notesLabel() + QStringLiteral("x") + notesLines);
}

// Before any note exists there is nothing to show: the student is told the error's number and
// the program goes on.
void TestTextViews::displayNotesWithoutNotesFile()
{
    Desk d;
    QVERIFY(d.ok());
    d.question(QStringLiteral("Q"));
    d.s().workText = QStringLiteral("W");

    QVERIFY(!d.displayNotes());

    QCOMPARE(d.f.dialogs.messages.size(), 1);
    const QString message = d.f.dialogs.messages.front();
    QVERIFY2(message.startsWith(QStringLiteral("You have encountered an error.")),
             qPrintable(message));
    QVERIFY2(message.endsWith(QStringLiteral("The error is:  53")), qPrintable(message));
    QVERIFY(!d.f.window->hasEnded());
    QCOMPARE(d.questionBox(), QStringLiteral("Q"));
    QCOMPARE(d.s().workText, QStringLiteral("W"));
    QVERIFY(!d.f.window->files().isOpen(3));
    QVERIFY(!QFile::exists(d.notesPath()));

    // Once a notes file is there, the same command works.
    QVERIFY(d.writeNotes("a\r\n"));
    QVERIFY(d.displayNotes());
    QCOMPARE(d.questionBox(), QStringLiteral("QWa"));
}

void TestTextViews::displayEverything()
{
    Desk d;
    QVERIFY(d.ok());
    d.question(QStringLiteral("something shown"));
    QVERIFY(d.click(&MainWindow::cmd_displayCumulativeText_Click));
    QCOMPARE(d.questionBox(), QString());

    QVERIFY(d.nextQuestion());
    QVERIFY(d.nextQuestion());
    d.answer(QStringLiteral("x"));
    QVERIFY(d.click(&MainWindow::cmd_enter_response_Click));
    d.question(QStringLiteral("replaced"));
    QVERIFY(d.click(&MainWindow::cmd_displayCumulativeText_Click));

    const QString transcript = d.s().answerTag + QStringLiteral("x") + d.s().questionTag
        + secondLine + d.s().questionTag + firstLine;
    QCOMPARE(d.questionBox(), transcript);
    QCOMPARE(d.s().cumulativeText, transcript);

    // The next line shown goes right after the transcript.
    QVERIFY(d.nextQuestion());
    QVERIFY(d.questionBox().startsWith(
        transcript + QStringLiteral("Calculate the average rate of change of position")));
}

void TestTextViews::clearBox()
{
    Desk d;
    QVERIFY(d.ok());
    QVERIFY(d.nextQuestion());
    QVERIFY(d.nextQuestion());
    QCOMPARE(d.answerBox(), d.s().answerPrompt);
    const QString shown = d.questionBox();

    QVERIFY(d.click(&MainWindow::cmd_clear_answer_box_Click));

    QCOMPARE(d.answerBox(), QString());
    QCOMPARE(d.questionBox(), shown);
    QVERIFY(d.s().awaitingResponse == Value::truth(true));

    // The response is still awaited, so the next line brings the instruction text back.
    QVERIFY(d.nextQuestion());
    QCOMPARE(d.answerBox(), d.s().answerPrompt);
}

QTEST_MAIN(TestTextViews)
#include "test_text_views.moc"
