// "Next Question / Answer" and "next picture": the question box, routine lines and their
// names, the look-ahead of "next picture", and errors once the cursor is past the last slot.

#include "app/main_window.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"
#include "support/started_window.h"
#include "widgets/text_box.h"

#include <QPushButton>
#include <QTest>

using desk::MainWindow;
using desk::Value;
using desk::testing::endOfAssignmentText;
using desk::testing::generalErrorText;
using desk::testing::startAssignmentOne;
using desk::testing::useBank;
using desk::testing::WindowFixture;

namespace {

const QString tag = QStringLiteral(" <-<-<-<-  Q/A:   ");

QString questionBox(WindowFixture& fixture)
{
    return fixture.window->txt_question->text();
}

} // namespace

class TestNextQuestion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void appendsWithNothingBetween();
    void pagesThroughCompiledAssignment();
    void routineLines_data();
    void routineLines();
    void remSpaces_data();
    void remSpaces();
    void runRoutine_data();
    void runRoutine();
    void nextPicture_data();
    void nextPicture();
    void nextPictureNearLastSlot_data();
    void nextPictureNearLastSlot();
    void nextPictureAfterCursorRanPastLastSlot();
};

void TestNextQuestion::appendsWithNothingBetween()
{
    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture, {QStringLiteral("001.  Part A"), QString(), QStringLiteral("Line B")});
    fixture.window->txt_question->setText(QStringLiteral("Line A"));

    QVERIFY(fixture.window->runHandler(&MainWindow::cmdNextQuestion_Click));
    QCOMPARE(questionBox(fixture), QStringLiteral("Line ALine B"));
    QVERIFY(fixture.window->state().displayText.isEmpty());
}

void TestNextQuestion::pagesThroughCompiledAssignment()
{
    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    desk::ProgramState& s = fixture.window->state();

    QString shown;
    for (int slot = 3; slot <= 13; slot += 2) {
        fixture.window->cmdNextQuestion->click();
        shown += s.questionBank[size_t(slot)];
        QVERIFY(!s.questionBank[size_t(slot)].isEmpty());
        QCOMPARE(questionBox(fixture), shown);
        QCOMPARE(s.bankIndex, Value::whole(slot));
    }
    QVERIFY(fixture.dialogs.messages.isEmpty());
}

void TestNextQuestion::routineLines_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("bankIndex");

    const QString after = QStringLiteral("Shown after");
    QTest::newRow("graph-1 runs, next line shown")
        << "`Routine Graph-1" << after << false << "Before" + after << 3;
    QTest::newRow("graph 3 with blank")
        << "`routine graph 3" << after << false << "Before" + after << 3;
    QTest::newRow("any separator") << "`routine#graph2" << after << false << "Before" + after << 3;
    QTest::newRow("tab separator") << "`routine\tgraph1" << after << false << "Before" + after << 3;
    QTest::newRow("second routine line shown as text")
        << "`routine graph2"
        << "`routine graph2" << false << "Before`routine graph2" << 3;
    QTest::newRow("keyword only: shown as text")
        << "`routine" << after << false << "Before`routine" << 2;
    QTest::newRow("exitprog") << "`routine exitprog" << after << true << "Before" << 2;
    QTest::newRow("Exit-Prog") << "`ROUTINE:Exit-Prog" << after << true << "Before" << 2;
    QTest::newRow("unknown name") << "`routine drawit" << after << true << "Before" << 2;
    QTest::newRow("empty name") << "`routine:" << after << true << "Before" << 2;
    QTest::newRow("tab in name") << "`routine graph1\t" << after << true << "Before" << 2;
}

void TestNextQuestion::routineLines()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, ends);
    QFETCH(QString, box);
    QFETCH(int, bankIndex);

    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture, {QStringLiteral("001.  Part A"), first, second, QStringLiteral("third")});
    desk::ProgramState& s = fixture.window->state();
    fixture.window->txt_question->setText(QStringLiteral("Before"));
    s.cumulativeText.clear();

    fixture.window->cmdNextQuestion->click();
    QCOMPARE(fixture.window->hasEnded(), ends);
    QCOMPARE(questionBox(fixture), box);
    QCOMPARE(s.bankIndex, Value::whole(bankIndex));
    QVERIFY(fixture.dialogs.messages.isEmpty());
    if (ends)
        return;
    // The routine line reached the transcript, never the box.
    QCOMPARE(s.cumulativeText, bankIndex == 3 ? tag + second + tag + first : tag + first);
    QCOMPARE(s.awaitingResponse, Value::truth(bankIndex == 3 ? !second.startsWith(u'`') : false));
    QVERIFY(s.displayText.isEmpty());
}

void TestNextQuestion::remSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << "graph 1"
                           << "graph1";
    QTest::newRow("hyphen") << "Exit-Prog"
                            << "ExitProg";
    QTest::newRow("only blanks and hyphens") << " - -- "
                                             << "";
    QTest::newRow("tab kept") << "a\tb"
                              << "a\tb";
    QTest::newRow("other characters kept") << "x_y.z:1"
                                           << "x_y.z:1";
    QTest::newRow("en dash and no-break space kept")
        << QStringLiteral("a\u2013b\u00A0c") << QStringLiteral("a\u2013b\u00A0c");
}

void TestNextQuestion::remSpaces()
{
    QFETCH(QString, text);
    QFETCH(QString, result);

    WindowFixture fixture;
    const QString original = text;
    QCOMPARE(fixture.window->remSpaces(text), result);
    QCOMPARE(text, original);
}

void TestNextQuestion::runRoutine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ends");

    QTest::newRow("exitprog") << "exitprog" << true;
    QTest::newRow("EXITPROG") << "EXITPROG" << true;
    QTest::newRow("graph1") << "graph1" << false;
    QTest::newRow("graph2") << "graph2" << false;
    QTest::newRow("graph3") << "graph3" << false;
    QTest::newRow("GRAPH2 lower-cased") << "GRAPH2" << false;
    QTest::newRow("graph4") << "graph4" << true;
    QTest::newRow("graph 1: blanks not removed here") << "graph 1" << true;
    QTest::newRow("empty name") << "" << true;
}

void TestNextQuestion::runRoutine()
{
    QFETCH(QString, name);
    QFETCH(bool, ends);

    WindowFixture fixture;
    bool ended = false;
    try {
        fixture.window->runRoutine(name);
    } catch (const desk::ProgramEnd&) {
        ended = true;
    }
    QCOMPARE(ended, ends);
}

void TestNextQuestion::nextPicture_data()
{
    QTest::addColumn<QStringList>("ahead"); // slots bankIndex + 1, + 2, + 3
    QTest::addColumn<bool>("ends");
    QTest::addColumn<int>("moved");

    const QString graph1 = QStringLiteral("`routine graph1");
    const QString text = QStringLiteral("paragraph");
    QTest::newRow("at +1 and +3") << QStringList{graph1, text, graph1} << false << 3;
    QTest::newRow("at +1 and +2") << QStringList{graph1, graph1, text} << false << 1;
    QTest::newRow("at +2 only") << QStringList{text, graph1, graph1} << false << 2;
    QTest::newRow("none") << QStringList{text, QString(), graph1} << false << 0;
    QTest::newRow("keyword only") << QStringList{QStringLiteral("`routine"), text, text} << true
                                  << 0;
    QTest::newRow("exitprog at +2")
        << QStringList{text, QStringLiteral("`Routine Exit-Prog"), text} << true << 0;
    QTest::newRow("drawit at +3 after +1")
        << QStringList{graph1, text, QStringLiteral("`routine drawit")} << true << 1;
}

void TestNextQuestion::nextPicture()
{
    QFETCH(QStringList, ahead);
    QFETCH(bool, ends);
    QFETCH(int, moved);

    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture, QStringList{QStringLiteral("001.  Part A")} + ahead);
    desk::ProgramState& s = fixture.window->state();
    fixture.window->txt_question->setText(QStringLiteral("box"));
    s.cumulativeText = QStringLiteral("transcript");
    s.currentLine = QStringLiteral("current");
    s.awaitingResponse = Value::truth(true);
    s.displayText = QStringLiteral("display");

    fixture.window->cmd_next_picture->click();
    QCOMPARE(fixture.window->hasEnded(), ends);
    QCOMPARE(s.bankIndex, Value::whole(1 + moved));
    QVERIFY(fixture.dialogs.messages.isEmpty());
    QCOMPARE(questionBox(fixture), QStringLiteral("box"));
    QCOMPARE(s.cumulativeText, QStringLiteral("transcript"));
    QCOMPARE(s.currentLine, QStringLiteral("current"));
    QCOMPARE(s.awaitingResponse, Value::truth(true));
    QCOMPARE(s.displayText, QStringLiteral("display"));
}

void TestNextQuestion::nextPictureNearLastSlot_data()
{
    QTest::addColumn<int>("bankIndex");
    QTest::addColumn<QString>("lastSlot");
    QTest::addColumn<int>("movedTo");

    QTest::newRow("4999, slot 5000 empty") << 4999 << QString() << 4999;
    QTest::newRow("4999, routine in slot 5000") << 4999 << "`routine graph1" << 5000;
    QTest::newRow("5000") << 5000 << QString() << 5000;
}

// "next picture" has no trap of its own: looking past slot 5000 shows the general error
// message with number 9, and the program goes on.
void TestNextQuestion::nextPictureNearLastSlot()
{
    QFETCH(int, bankIndex);
    QFETCH(QString, lastSlot);
    QFETCH(int, movedTo);

    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    desk::ProgramState& s = fixture.window->state();
    s.questionBank[5000] = lastSlot;
    s.bankIndex = Value::whole(bankIndex);
    s.displayText = QStringLiteral("display");

    QVERIFY(!fixture.window->runHandler(&MainWindow::cmd_next_picture_Click));
    QVERIFY(!fixture.window->hasEnded());
    QCOMPARE(fixture.dialogs.messages, QStringList{generalErrorText(9)});
    QCOMPARE(s.bankIndex, Value::whole(movedTo));
    QCOMPARE(s.displayText, QStringLiteral("display"));
}

void TestNextQuestion::nextPictureAfterCursorRanPastLastSlot()
{
    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    desk::ProgramState& s = fixture.window->state();
    for (int click = 0; click < 7; ++click)
        fixture.window->cmdNextQuestion->click();
    QCOMPARE(s.bankIndex, Value::whole(5001));
    QCOMPARE(fixture.dialogs.messages, QStringList{endOfAssignmentText()});
    const QString box = questionBox(fixture);
    const QString transcript = s.cumulativeText;

    QVERIFY(!fixture.window->runHandler(&MainWindow::cmd_next_picture_Click));
    QVERIFY(!fixture.window->hasEnded());
    QCOMPARE(fixture.dialogs.messages.last(), generalErrorText(9));
    QCOMPARE(s.bankIndex, Value::whole(5001));
    QCOMPARE(questionBox(fixture), box);
    QCOMPARE(s.cumulativeText, transcript);

    // The program goes on: the next click is handled as before.
    fixture.window->cmdNextQuestion->click();
    QCOMPARE(fixture.dialogs.messages.size(), 3);
    QCOMPARE(fixture.dialogs.messages.last(), endOfAssignmentText());
    QCOMPARE(s.bankIndex, Value::whole(5002));
}

QTEST_MAIN(TestNextQuestion)
#include "test_next_question.moc"
