// The question cursor: one non-empty bank line per call, the transcript, question numbers,
// the answer prompt, the end of the program at the next header or the end line, running past
// the last slot, and the sentence-by-sentence walk.

#include "app/main_window.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"
#include "support/started_window.h"
#include "widgets/text_box.h"

#include <QTest>

using desk::MainWindow;
using desk::Value;
using desk::testing::endOfAssignmentText;
using desk::testing::startAssignmentOne;
using desk::testing::useBank;
using desk::testing::WindowFixture;

namespace {

const QString tag = QStringLiteral(" <-<-<-<-  Q/A:   ");

// The paragraphs of the compiled-in assignment 001, slots 3, 5, ... 13.
const QStringList paragraphs = desk::testing::assignmentOneParagraphs();

// One call of the cursor, run as a handler would run it; false when the program ended.
bool fetch(WindowFixture& fixture)
{
    return fixture.window->runHandler(&MainWindow::readNextQuestion);
}

} // namespace

class TestQuestionCursor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void compiledAssignmentThenPastTheLastSlot();
    void answerPromptComesBackAfterUnansweredParagraph();
    void emptySlotsSkippedAndBlankIsALine();
    void transcriptNewestFirst();
    void questionMarker_data();
    void questionMarker();
    void routineLineIsFetched_data();
    void routineLineIsFetched();
    void programEndsOnLine_data();
    void programEndsOnLine();
    void displayModeComparesAsNumber_data();
    void displayModeComparesAsNumber();
    void sentenceModeWalk();
    void nextSentence_data();
    void nextSentence();
};

void TestQuestionCursor::compiledAssignmentThenPastTheLastSlot()
{
    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    desk::ProgramState& s = fixture.window->state();
    QCOMPARE(s.bankIndex, Value::whole(1));
    QVERIFY(s.awaitingResponse.isEmpty());

    QString transcript = s.cumulativeText;
    for (int i = 0; i < paragraphs.size(); ++i) {
        QVERIFY(fetch(fixture));
        QCOMPARE(s.bankIndex, Value::whole(3 + 2 * i));
        QCOMPARE(s.currentLine, paragraphs[i]);
        QCOMPARE(s.displayText, paragraphs[i]);
        QCOMPARE(s.awaitingResponse, Value::truth(true));
        transcript = tag + paragraphs[i] + transcript;
        QCOMPARE(s.cumulativeText, transcript);
    }
    QVERIFY(fixture.dialogs.messages.isEmpty());

    s.questionNumber = QStringLiteral("4");
    for (int extra = 1; extra <= 2; ++extra) {
        fetch(fixture);
        QVERIFY(!fixture.window->hasEnded());
        QCOMPARE(fixture.dialogs.messages.size(), extra);
        QCOMPARE(fixture.dialogs.messages.last(), endOfAssignmentText());
        QCOMPARE(s.bankIndex, Value::whole(5000 + extra));
        QCOMPARE(s.awaitingResponse, Value::truth(false));
        QCOMPARE(s.currentLine, paragraphs.last());
        QCOMPARE(s.cumulativeText, transcript);
        QCOMPARE(s.questionNumber, QStringLiteral("4"));
        QCOMPARE(s.displayText, paragraphs.last());
    }
}

void TestQuestionCursor::answerPromptComesBackAfterUnansweredParagraph()
{
    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    desk::ProgramState& s = fixture.window->state();
    desk::TextBox& answer = *fixture.window->txt_answer;
    QVERIFY(!s.answerPrompt.isEmpty());

    // Nothing shown yet: the box keeps what is in it.
    answer.setText(QStringLiteral("typed"));
    QVERIFY(fetch(fixture));
    QCOMPARE(answer.text(), QStringLiteral("typed"));

    // The paragraph got no response: the prompt comes back.
    QVERIFY(fetch(fixture));
    QCOMPARE(answer.text(), s.answerPrompt);

    // A response was recorded (which clears the flag): the box is left alone.
    s.awaitingResponse = Value::truth(false);
    answer.setText(QStringLiteral("next answer"));
    QVERIFY(fetch(fixture));
    QCOMPARE(answer.text(), QStringLiteral("next answer"));
}

void TestQuestionCursor::emptySlotsSkippedAndBlankIsALine()
{
    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture,
            {QStringLiteral("001.  Part A"), QString(), QString(), QStringLiteral("A"), QString(),
             QStringLiteral(" "), QStringLiteral("B")});
    desk::ProgramState& s = fixture.window->state();

    const QStringList expected = {QStringLiteral("A"), QStringLiteral(" "), QStringLiteral("B")};
    const int slots[] = {4, 6, 7};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(fetch(fixture));
        QCOMPARE(s.bankIndex, Value::whole(slots[i]));
        QCOMPARE(s.displayText, expected[i]);
        QCOMPARE(s.currentLine, expected[i]);
        QVERIFY(s.cumulativeText.startsWith(tag + expected[i]));
    }
}

void TestQuestionCursor::transcriptNewestFirst()
{
    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture,
            {QStringLiteral("001.  Part A"), QString(), QStringLiteral("Line A"), QString(),
             QStringLiteral("Line B")});
    fixture.window->state().cumulativeText.clear();
    QVERIFY(fetch(fixture));
    QVERIFY(fetch(fixture));
    QCOMPARE(fixture.window->state().cumulativeText,
             QStringLiteral(" <-<-<-<-  Q/A:   Line B <-<-<-<-  Q/A:   Line A"));
}

void TestQuestionCursor::questionMarker_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("number");

    QTest::newRow("leading zeros") << "`q005"
                                   << "5";
    QTest::newRow("capital Q, text after") << "`Q12 Explain"
                                           << "12";
    QTest::newRow("question 7") << "`Q7 What is the speed?"
                                << "7";
    QTest::newRow("fraction kept") << "`q2.5"
                                   << "2.5";
    QTest::newRow("fraction below one") << "`q.5"
                                        << ".5";
    QTest::newRow("blank before number") << "`q 7b"
                                         << "7";
    QTest::newRow("marker only") << "`q"
                                 << "0";
    QTest::newRow("no number") << "`qx"
                               << "0";
    QTest::newRow("no grave accent: not a marker") << "q005"
                                                   << "old";
    QTest::newRow("apostrophe: not a marker") << "'q5"
                                              << "old";
}

void TestQuestionCursor::questionMarker()
{
    QFETCH(QString, line);
    QFETCH(QString, number);

    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture, {QStringLiteral("001.  Part A"), line});
    desk::ProgramState& s = fixture.window->state();
    s.questionNumber = QStringLiteral("old");

    QVERIFY(fetch(fixture));
    QCOMPARE(s.questionNumber, number);
    // A marker line is otherwise an ordinary line.
    QCOMPARE(s.displayText, line);
    QCOMPARE(s.currentLine, line);
    QCOMPARE(s.awaitingResponse, Value::truth(true));
}

void TestQuestionCursor::routineLineIsFetched_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("awaiting");

    QTest::newRow("routine graph1") << "`Routine graph1" << false;
    QTest::newRow("capitals, any separator") << "`ROUTINE:exitprog" << false;
    QTest::newRow("keyword only") << "`routine" << false;
    QTest::newRow("seven characters: ordinary") << "`routin" << true;
    QTest::newRow("no grave accent: ordinary") << "routine graph1" << true;
}

void TestQuestionCursor::routineLineIsFetched()
{
    QFETCH(QString, line);
    QFETCH(bool, awaiting);

    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture, {QStringLiteral("001.  Part A"), line, QStringLiteral("after")});
    desk::ProgramState& s = fixture.window->state();
    s.awaitingResponse = Value::truth(true);
    const QString before = s.cumulativeText;

    // The cursor alone never runs a routine, whatever it names.
    QVERIFY(fetch(fixture));
    QVERIFY(!fixture.window->hasEnded());
    QCOMPARE(s.bankIndex, Value::whole(2));
    QCOMPARE(s.displayText, line);
    QCOMPARE(s.currentLine, line);
    QCOMPARE(s.cumulativeText, tag + line + before);
    QCOMPARE(s.awaitingResponse, Value::truth(awaiting));
}

void TestQuestionCursor::programEndsOnLine_data()
{
    QTest::addColumn<QString>("nextAssignment");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ends");

    QTest::newRow("next header") << "002"
                                 << "002.  Part A" << true;
    QTest::newRow("next number alone") << "002"
                                       << "002" << true;
    QTest::newRow("two digits") << "002"
                                << "02.  Part A" << false;
    QTest::newRow("blank first") << "002"
                                 << " 002." << false;
    QTest::newRow("later assignment") << "002"
                                      << "003." << false;
    QTest::newRow("after 999: 1000 header") << "1000"
                                            << "1000.  Part A" << false;
    QTest::newRow("after 999: 100 header") << "1000"
                                           << "100." << false;
    QTest::newRow("end line") << "002"
                              << "####.#" << true;
    QTest::newRow("end line with text") << "002"
                                        << "####.# end" << true;
    QTest::newRow("end line cut short") << "002"
                                        << "####." << false;
    QTest::newRow("end line wrong sixth") << "002"
                                          << "####.x" << false;
    QTest::newRow("five hashes") << "002"
                                 << "#####.#" << false;
}

void TestQuestionCursor::programEndsOnLine()
{
    QFETCH(QString, nextAssignment);
    QFETCH(QString, line);
    QFETCH(bool, ends);

    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture, {QStringLiteral("001.  Part C"), line, QString(), QStringLiteral("after")});
    desk::ProgramState& s = fixture.window->state();
    s.nextAssignmentNumber = nextAssignment;

    QCOMPARE(fetch(fixture), !ends);
    QCOMPARE(fixture.window->hasEnded(), ends);
    QVERIFY(fixture.dialogs.messages.isEmpty());
    if (ends)
        return;
    // Shown like a paragraph, and the cursor goes on past it.
    QCOMPARE(s.displayText, line);
    QVERIFY(fetch(fixture));
    QCOMPARE(s.displayText, QStringLiteral("after"));
    QCOMPARE(s.bankIndex, Value::whole(4));
}

// The mode is compared as a number, whatever kind holds it; any other value shows nothing new.
void TestQuestionCursor::displayModeComparesAsNumber_data()
{
    QTest::addColumn<Value>("mode");
    QTest::addColumn<QString>("shown");
    const QString line = QStringLiteral("Line A");
    const QString kept = QStringLiteral("earlier");
    QTest::newRow("empty") << Value() << kept;
    QTest::newRow("0") << Value::whole(0) << kept;
    QTest::newRow("3") << Value::whole(3) << kept;
    QTest::newRow("text that is no number") << Value::text(QStringLiteral("one")) << kept;
    QTest::newRow("whole 1") << Value::whole(1) << line;
    QTest::newRow("single 1") << Value::single(1.0f) << line;
    QTest::newRow("text 1") << Value::text(QStringLiteral("1")) << line;
    QTest::newRow("single 2, one sentence") << Value::single(2.0f) << line;
    QTest::newRow("text 2, one sentence") << Value::text(QStringLiteral(" 2")) << line;
}

void TestQuestionCursor::displayModeComparesAsNumber()
{
    QFETCH(Value, mode);
    QFETCH(QString, shown);

    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture, {QStringLiteral("001.  Part A"), QStringLiteral("Line A")});
    desk::ProgramState& s = fixture.window->state();
    s.displayMode = mode;
    s.displayText = QStringLiteral("earlier");
    const QString before = s.cumulativeText;

    QVERIFY(fetch(fixture));
    QCOMPARE(s.displayText, shown);
    QCOMPARE(s.bankIndex, Value::whole(2));
    QCOMPARE(s.currentLine, QStringLiteral("Line A"));
    QCOMPARE(s.cumulativeText, tag + QStringLiteral("Line A") + before);
    QCOMPARE(s.awaitingResponse, Value::truth(true));
}

// Display mode 2: one sentence a call; the bank line is fetched once and walked in currentLine;
// the next line is fetched after its last sentence.
void TestQuestionCursor::sentenceModeWalk()
{
    WindowFixture fixture;
    QVERIFY(startAssignmentOne(fixture));
    useBank(fixture,
            {QStringLiteral("001.  Part A"), QStringLiteral("One. Two. Three"), QString(),
             QStringLiteral("Next line.")});
    desk::ProgramState& s = fixture.window->state();
    s.displayMode = Value::whole(2);
    s.cumulativeText.clear();
    const QString firstEntry = tag + QStringLiteral("One. Two. Three");

    QVERIFY(fetch(fixture));
    QCOMPARE(s.displayText, QStringLiteral("One. "));
    QCOMPARE(s.bankIndex, Value::whole(2));
    QCOMPARE(s.sentencePos, Value::whole(6));
    QCOMPARE(s.awaitingResponse, Value::truth(true));
    QCOMPARE(s.cumulativeText, firstEntry);

    QVERIFY(fetch(fixture));
    QCOMPARE(s.displayText, QStringLiteral("Two. "));
    QCOMPARE(s.bankIndex, Value::whole(2));
    QCOMPARE(s.sentencePos, Value::whole(11));
    QCOMPARE(s.awaitingResponse, Value::truth(false));
    QCOMPARE(s.currentLine, QStringLiteral("One. Two. Three"));
    QCOMPARE(s.cumulativeText, firstEntry);

    QVERIFY(fetch(fixture));
    QCOMPARE(s.displayText, QStringLiteral("Three"));
    QCOMPARE(s.bankIndex, Value::whole(2));
    QVERIFY(s.sentencePos.isEmpty());
    QCOMPARE(s.awaitingResponse, Value::truth(true));
    QCOMPARE(s.cumulativeText, firstEntry);

    QVERIFY(fetch(fixture));
    QCOMPARE(s.displayText, QStringLiteral("Next line."));
    QCOMPARE(s.bankIndex, Value::whole(4));
    QVERIFY(s.sentencePos.isEmpty());
    QCOMPARE(s.cumulativeText, tag + QStringLiteral("Next line.") + firstEntry);
    QVERIFY(!fixture.window->hasEnded());
}

void TestQuestionCursor::nextSentence_data()
{
    QTest::addColumn<Value>("position");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<Value>("nextPosition");
    QTest::addColumn<bool>("awaiting");

    const QString walked = QStringLiteral("One. Two. Three");
    QTest::newRow("first sentence") << Value() << walked << "One. " << Value::whole(6) << false;
    QTest::newRow("position 0 starts at 1") << Value::whole(0) << "A. B"
                                            << "A. " << Value::whole(4) << false;
    QTest::newRow("walk on in current line")
        << Value::whole(6) << QString() << "Two. " << Value::whole(11) << false;
    QTest::newRow("last sentence") << Value::whole(11) << QString() << "Three" << Value() << true;
    QTest::newRow("one sentence line") << Value() << "Single sentence."
                                       << "Single sentence." << Value() << true;
    QTest::newRow("one character") << Value() << "X"
                                   << "X" << Value() << true;
    QTest::newRow("period without blank") << Value() << "Dr.Who. Yes"
                                          << "Dr.Who. " << Value::whole(9) << false;
    QTest::newRow("double blank after period") << Value() << "Hi.  There"
                                               << "Hi. " << Value::whole(5) << false;
}

void TestQuestionCursor::nextSentence()
{
    QFETCH(Value, position);
    QFETCH(QString, line);
    QFETCH(QString, sentence);
    QFETCH(Value, nextPosition);
    QFETCH(bool, awaiting);

    WindowFixture fixture;
    desk::ProgramState& s = fixture.window->state();
    s.currentLine = QStringLiteral("One. Two. Three");
    s.sentencePos = position;
    s.awaitingResponse = Value::truth(false);

    QCOMPARE(fixture.window->nextSentence(line), sentence);
    QCOMPARE(s.sentencePos, nextPosition);
    QCOMPARE(s.awaitingResponse, Value::truth(awaiting));
    QCOMPARE(s.currentLine, QStringLiteral("One. Two. Three"));
}

QTEST_MAIN(TestQuestionCursor)
#include "test_question_cursor.moc"
