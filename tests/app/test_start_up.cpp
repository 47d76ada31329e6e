// Start-up: the four questions, the base directory, the record-file names, the assignment
// numbers, the coding number, the fixed texts and the compiled-in question bank.
//
// These tests run setUpProgram alone, with the answers queued beforehand, so that they see
// start-up without assignment opening. Those about the answers then open the assignment, as the
// Load handler goes on to, to see where the answers lead.

#include "app/main_window.h"
#include "widgets/picture_box.h"
#include "storage/record_transaction.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"
#include "support/started_window.h"
#include "widgets/text_box.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <unistd.h>

using desk::MainWindow;
using desk::Value;
using desk::testing::filesUnder;
using desk::testing::generalErrorText;
using desk::testing::invalidAssignmentText;
using desk::testing::masterResponse;
using desk::testing::sendResponse;
using desk::testing::WindowFixture;

namespace {

const QString localDir = QStringLiteral("c:\\lrnfiles");
const QString lanDir =
    QStringLiteral("i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1");

void setUp(WindowFixture& fixture)
{
    fixture.setUp(QStringLiteral("1"), QStringLiteral("Ann  Lee"), QStringLiteral("ABL"),
                  QStringLiteral("1"));
}

bool bankIsEmpty(const desk::ProgramState& s)
{
    return std::all_of(s.questionBank.begin(), s.questionBank.end(),
                       [](const QString& slot) { return slot.isEmpty(); });
}

// Opens the assignment after start-up, as the Load handler does, and checks where the answers
// led; a test's last check. `refusal` is what the opening shows: nothing, the invalid-assignment
// message (the program ends) or an error that leaves the record files unmade. Whatever was
// typed, nothing is made but the master and send files and their locks, and those only in
// c:\lrnfiles; a response is then recorded, or the student is told again and keeps it.
void openAfterStartUp(WindowFixture& fixture, const QString& refusal)
{
    MainWindow& w = *fixture.window;
    const desk::ProgramState& s = w.state();
    const QStringList shownBefore = fixture.dialogs.messages;
    const qsizetype asked = fixture.dialogs.prompts.size();
    w.runHandler(&MainWindow::openAssignment);
    const bool made = refusal.isEmpty();
    QCOMPARE(fixture.dialogs.messages, made ? shownBefore : shownBefore + QStringList{refusal});
    QCOMPARE(fixture.dialogs.prompts.size(), asked);
    QCOMPARE(w.hasEnded(), refusal == invalidAssignmentText());
    QVERIFY(!desk::testing::anyChannelOpen(w));

    auto inBase = [](const QString& hostPath) {
        return QStringLiteral("c/lrnfiles/") + QFileInfo(hostPath).fileName();
    };
    const QString master = inBase(fixture.host(s.masterFileName));
    const QString send = inBase(fixture.host(s.sendFileName));
    const desk::RecordSetPaths paths = w.recordSetPaths();
    QStringList expected{QStringLiteral("c/"), QStringLiteral("c/lrnfiles/"),
                         QStringLiteral("mnt/")};
    if (made)
        expected << master << send << inBase(paths.lock) << inBase(paths.userLock)
                 << inBase(paths.journal);
    expected.sort();
    const QMap<QString, QByteArray> files = filesUnder(fixture.root());
    QCOMPARE(files.keys(), expected);
    QVERIFY(!made || (!files.value(master).isEmpty() && !files.value(send).isEmpty()));
    QVERIFY(files.value(inBase(paths.journal)).isEmpty());
    if (w.hasEnded())
        return;

    const qsizetype shown = fixture.dialogs.messages.size();
    QVERIFY(w.runHandler(&MainWindow::cmdNextQuestion_Click));
    w.txt_answer->setText(QStringLiteral("OK"));
    QCOMPARE(w.runHandler(&MainWindow::cmd_enter_response_Click), made);
    if (made) {
        QCOMPARE(fixture.dialogs.messages.size(), shown);
        const QByteArray line = desk::testing::assignmentOneParagraphs().front().toLatin1();
        QCOMPARE(fixture.bytes(s.masterFileName),
                 files.value(master) + masterResponse("14:03:27", " 10000 ", line, "OK"));
        QCOMPARE(fixture.bytes(s.sendFileName),
                 files.value(send) + sendResponse("14:03:27", line, "OK"));
    } else {
        QCOMPARE(fixture.dialogs.messages.size(), shown + 1);
        QCOMPARE(fixture.dialogs.messages.back(), refusal);
        QCOMPARE(w.txt_answer->text(), QStringLiteral("OK"));
        QCOMPARE(filesUnder(fixture.root()).keys(), expected);
    }
    QVERIFY(!w.hasEnded());
}

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stateBeforeStartUp();
    void homeOrLanAnswer_data();
    void homeOrLanAnswer();
    void promptsInOrder();
    void assignmentNumbers_data();
    void assignmentNumbers();
    void assignmentNumberTooLarge();
    void recordFileNames();
    void sendFileNameReadsTheDateTwice();
    void namesStayInTheBaseDirectory_data();
    void namesStayInTheBaseDirectory();
    void answersTheFilesCannotHoldAreAskedAgain_data();
    void answersTheFilesCannotHoldAreAskedAgain();
    void codingNumber_data();
    void codingNumber();
    void fixedTextsAndScales();
    void questionBank();
};

void TestStartUp::stateBeforeStartUp()
{
    WindowFixture fixture;
    const desk::ProgramState& s = fixture.window->state();
    for (const QString* text :
         {&s.displayText, &s.currentLine, &s.masterFileName, &s.sendFileName, &s.notesFileName,
          &s.assignmentNumber, &s.nextAssignmentNumber, &s.answerPrompt, &s.questionNumber,
          &s.workText, &s.cumulativeText, &s.questionTag, &s.answerTag, &s.queryFileId, &s.baseDir,
          &s.studentName, &s.studentInitials})
        QVERIFY(text->isEmpty());
    for (const Value* value : {&s.sentencePos, &s.awaitingResponse, &s.displayMode,
                               &s.startQuestion, &s.bankIndex, &s.codeNbr})
        QVERIFY(value->isEmpty());
    QVERIFY(!s.awaitingResponse.isTrue());

    QCOMPARE(s.startQuestions.size(), std::size_t(101));
    for (const auto& row : s.startQuestions) {
        QCOMPARE(row.size(), std::size_t(51));
        for (const Value& entry : row)
            QVERIFY(entry.isEmpty());
    }
    QCOMPARE(s.questionBank.size(), std::size_t(5001));
    QVERIFY(bankIsEmpty(s));
    QCOMPARE(fixture.dialogs.prompts, QStringList());
}

void TestStartUp::homeOrLanAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("baseDir"); // empty: the answer is not a number

    QTest::newRow("2") << "2" << lanDir;
    QTest::newRow("blank 2") << " 2" << lanDir;
    QTest::newRow("blank 2 blank") << " 2 " << lanDir;
    QTest::newRow("2.0") << "2.0" << lanDir;
    QTest::newRow("1") << "1" << localDir;
    QTest::newRow("0") << "0" << localDir;
    QTest::newRow("7") << "7" << localDir;
    QTest::newRow("abc") << "abc" << QString();
    QTest::newRow("empty (cancelled)") << "" << QString();
}

void TestStartUp::homeOrLanAnswer()
{
    QFETCH(QString, answer);
    QFETCH(QString, baseDir);
    WindowFixture fixture;
    fixture.setUp(answer, QStringLiteral("Ann Lee"), QStringLiteral("ABL"), QStringLiteral("1"));
    const desk::ProgramState& s = fixture.window->state();

    // The local data directory is made before the first question, for every user.
    QVERIFY(QFileInfo(fixture.driveC() + QStringLiteral("/lrnfiles")).isDir());
    QCOMPARE(s.baseDir, baseDir);

    if (baseDir.isEmpty()) {
        // Error 13: the general error message, and the rest of start-up is skipped.
        QCOMPARE(fixture.dialogs.messages, QStringList{generalErrorText(13)});
        QVERIFY(fixture.dialogs.messages.front().endsWith(QStringLiteral("The error is:  13")));
        QCOMPARE(fixture.dialogs.prompts.size(), 1);
        QVERIFY(s.studentName.isEmpty());
        QVERIFY(s.masterFileName.isEmpty());
        QVERIFY(s.assignmentNumber.isEmpty());
        QVERIFY(s.answerPrompt.isEmpty());
        QVERIFY(s.bankIndex.isEmpty());
        QVERIFY(bankIsEmpty(s));
    } else {
        QCOMPARE(fixture.dialogs.messages, QStringList());
        QCOMPARE(fixture.dialogs.prompts.size(), 4);
        QCOMPARE(s.masterFileName, baseDir + QStringLiteral("\\masterFile_Ann_Lee.txt"));
        QCOMPARE(s.bankIndex.toWhole(), 14);
    }
    QVERIFY(!fixture.window->hasEnded());
    // Without a base directory no assignment was asked for; the LAN folder is on drive i, which
    // does not exist here.
    openAfterStartUp(fixture,
                     baseDir.isEmpty()       ? invalidAssignmentText()
                         : baseDir == lanDir ? generalErrorText(76)
                                             : QString());
}

void TestStartUp::promptsInOrder()
{
    WindowFixture fixture;
    setUp(fixture);
    const QStringList expected{
        QStringLiteral("Enter 1 for home user, 2 for MERO LAN user"),
        QStringLiteral("Your full name:  "),
        QStringLiteral("Your initials (use all 3 initials and always use the same three initials "
                       "when submitting work):  "),
        QStringLiteral("Assignment Number:  "),
    };
    QCOMPARE(fixture.dialogs.prompts, expected);
    QCOMPARE(fixture.window->state().studentName, QStringLiteral("Ann  Lee"));
    QCOMPARE(fixture.window->state().studentInitials, QStringLiteral("ABL"));
}

void TestStartUp::assignmentNumbers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("assignmentNumber");
    QTest::addColumn<QString>("nextAssignmentNumber");

    QTest::newRow("7") << "7"
                       << "007"
                       << "008";
    QTest::newRow("12") << "12"
                        << "012"
                        << "013";
    QTest::newRow("99") << "99"
                        << "099"
                        << "100";
    QTest::newRow("0") << "0"
                       << "000"
                       << "001";
    QTest::newRow("007") << "007"
                         << "007"
                         << "008";
    QTest::newRow("999") << "999"
                         << "999"
                         << "1000";
    QTest::newRow("leading blank") << " 1"
                                   << "0 1"
                                   << "002";
    QTest::newRow("1000") << "1000"
                          << "1000"
                          << "1001";
    QTest::newRow("empty") << ""
                           << ""
                           << "001";
    QTest::newRow("a") << "a"
                       << "00a"
                       << "001";
    QTest::newRow("1.5") << "1.5"
                         << "1.5"
                         << "2.5";
}

void TestStartUp::assignmentNumbers()
{
    QFETCH(QString, answer);
    QFETCH(QString, assignmentNumber);
    QFETCH(QString, nextAssignmentNumber);
    WindowFixture fixture;
    fixture.setUp(QStringLiteral("1"), QStringLiteral("Ann"), QStringLiteral("A"), answer);
    QCOMPARE(fixture.window->state().assignmentNumber, assignmentNumber);
    QCOMPARE(fixture.window->state().nextAssignmentNumber, nextAssignmentNumber);
    QCOMPARE(fixture.dialogs.messages, QStringList());
    QCOMPARE(fixture.dialogs.prompts.size(), 4);
    QCOMPARE(fixture.window->state().bankIndex.toWhole(), 14);
    // None of these is an assignment of the bank.
    openAfterStartUp(fixture, invalidAssignmentText());
}

void TestStartUp::assignmentNumberTooLarge()
{
    WindowFixture fixture;
    fixture.setUp(QStringLiteral("1"), QStringLiteral("Ann"), QStringLiteral("A"),
                  QStringLiteral("1e400"));
    const desk::ProgramState& s = fixture.window->state();
    QCOMPARE(fixture.dialogs.messages, QStringList{generalErrorText(6)});
    QCOMPARE(s.assignmentNumber, QStringLiteral("1e400"));
    QVERIFY(s.nextAssignmentNumber.isEmpty());
    QVERIFY(s.bankIndex.isEmpty());
    QVERIFY(bankIsEmpty(s));
    QCOMPARE(fixture.dialogs.prompts.size(), 4);
    openAfterStartUp(fixture, invalidAssignmentText());
}

void TestStartUp::recordFileNames()
{
    WindowFixture fixture;
    setUp(fixture);
    const desk::ProgramState& s = fixture.window->state();
    QCOMPARE(s.baseDir, localDir);
    QCOMPARE(s.masterFileName, QStringLiteral("c:\\lrnfiles\\masterFile_Ann__Lee.txt"));
    QCOMPARE(s.sendFileName, QStringLiteral("c:\\lrnfiles\\send_0105Ann__Lee.txt"));
    QCOMPARE(s.notesFileName, QStringLiteral("c:\\lrnfiles\\notes_Ann__Lee.txt"));
    // No record file is made by start-up.
    QCOMPARE(QDir(fixture.driveC() + QStringLiteral("/lrnfiles")).entryList(QDir::Files),
             QStringList());

    WindowFixture lan;
    lan.setUp(QStringLiteral("2"), QString(), QStringLiteral("X"), QStringLiteral("1"));
    QCOMPARE(lan.window->state().masterFileName, lanDir + QStringLiteral("\\masterFile_.txt"));
    QCOMPARE(lan.window->state().sendFileName, lanDir + QStringLiteral("\\send_0105.txt"));
    QCOMPARE(lan.window->state().notesFileName, lanDir + QStringLiteral("\\notes_.txt"));
}

void TestStartUp::sendFileNameReadsTheDateTwice()
{
    // The month comes from the first reading, the day from the second.
    WindowFixture fixture;
    fixture.clock.dates = {QStringLiteral("01-05-2026"), QStringLiteral("02-09-2026")};
    setUp(fixture);
    QCOMPARE(fixture.clock.dateReads, 2);
    QCOMPARE(fixture.window->state().sendFileName,
             QStringLiteral("c:\\lrnfiles\\send_0109Ann__Lee.txt"));
}

void TestStartUp::namesStayInTheBaseDirectory_data()
{
    QTest::addColumn<QString>("homeOrLan");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("inFileNames");

    QTest::newRow("slash") << "1"
                           << "Ann/Lee"
                           << "Ann_Lee";
    QTest::newRow("backslash") << "1"
                               << "Ann\\Lee"
                               << "Ann_Lee";
    QTest::newRow("climbing up with /") << "1"
                                        << "../../../etc/passwd"
                                        << ".._.._.._etc_passwd";
    QTest::newRow("climbing up with \\") << "1"
                                         << "..\\..\\x"
                                         << ".._.._x";
    QTest::newRow("climbing up on the LAN") << "2"
                                            << "a\\..\\..\\b"
                                            << "a_.._.._b";
    QTest::newRow("dots alone") << "1"
                                << ".."
                                << "..";
    QTest::newRow("empty (cancelled)") << "1"
                                       << ""
                                       << "";
    QTest::newRow("tab") << "1"
                         << "Ann\tLee"
                         << "Ann_Lee";
    QTest::newRow("blanks") << "1"
                            << " Ann Lee "
                            << "_Ann_Lee_";
    QTest::newRow("nothing else changes") << "1" << QStringLiteral("O'Neil-Smith, Jr. Zoë")
                                          << QStringLiteral("O'Neil-Smith,_Jr._Zoë");
}

void TestStartUp::namesStayInTheBaseDirectory()
{
    QFETCH(QString, homeOrLan);
    QFETCH(QString, name);
    QFETCH(QString, inFileNames);
    WindowFixture fixture;
    fixture.setUp(homeOrLan, name, QStringLiteral("ABL"), QStringLiteral("1"));
    const desk::ProgramState& s = fixture.window->state();
    QCOMPARE(s.studentName, name);
    QCOMPARE(s.masterFileName,
             s.baseDir + QStringLiteral("\\masterFile_") + inFileNames + QStringLiteral(".txt"));
    QCOMPARE(s.sendFileName,
             s.baseDir + QStringLiteral("\\send_0105") + inFileNames + QStringLiteral(".txt"));
    QCOMPARE(s.notesFileName,
             s.baseDir + QStringLiteral("\\notes_") + inFileNames + QStringLiteral(".txt"));

    const QString hostBase = QDir::cleanPath(fixture.host(s.baseDir));
    for (const QString& file : {s.masterFileName, s.sendFileName, s.notesFileName}) {
        const QFileInfo onHost(QDir::cleanPath(fixture.host(file)));
        QCOMPARE(onHost.path(), hostBase);
        QVERIFY(onHost.fileName().endsWith(inFileNames + QStringLiteral(".txt")));
    }
    QCOMPARE(fixture.dialogs.messages, QStringList());
    QCOMPARE(fixture.dialogs.prompts.size(), 4);
    // The LAN folder is on drive i, which does not exist here.
    openAfterStartUp(fixture, homeOrLan == QLatin1String("2") ? generalErrorText(76) : QString());
}

void TestStartUp::answersTheFilesCannotHoldAreAskedAgain_data()
{
    QTest::addColumn<QStringList>("nameAnswers");
    QTest::addColumn<QStringList>("initialsAnswers");
    // What the message for each refused answer must show, in order.
    QTest::addColumn<QStringList>("shown");

    const QString ann = QStringLiteral("Ann Lee");
    const QString ajl = QStringLiteral("AJL");
    QTest::newRow("a letter outside Windows-1252")
        << QStringList{QStringLiteral("Łukasz Nowak"), QStringLiteral("Lukasz Nowak")}
        << QStringList{ajl}
        << QStringList{QStringLiteral("\"Ł\"  U+0141 LATIN CAPITAL LETTER L WITH STROKE")};
    QTest::newRow("a look-alike letter")
        << QStringList{QStringLiteral("\u0410nn Lee"), ann} << QStringList{ajl}
        << QStringList{QStringLiteral("U+0410 CYRILLIC CAPITAL LETTER A")};
    QTest::newRow("an invisible mark pasted into the initials")
        << QStringList{ann} << QStringList{QStringLiteral("AJL\u200F"), ajl}
        << QStringList{QStringLiteral("\n    U+200F RIGHT-TO-LEFT MARK")};
    QTest::newRow("control characters")
        << QStringList{QStringLiteral("A\tB\r\nC\x01"
                                      "D\x7f"),
                       ann}
        << QStringList{ajl} << QStringList{QStringLiteral("U+000D CARRIAGE RETURN")};
    QTest::newRow("a name wholly outside Windows-1252")
        << QStringList{QStringLiteral("Σίσυφος"), ann} << QStringList{ajl}
        << QStringList{QStringLiteral("Σ")};
    QTest::newRow("an arrow in the initials")
        << QStringList{ann} << QStringList{QStringLiteral("A→B"), ajl}
        << QStringList{QStringLiteral("→")};
    QTest::newRow("an emoji, twice, then cancelled")
        << QStringList{QStringLiteral("Ann 😀"), QStringLiteral("😀"), QString()} << QStringList{ajl}
        << QStringList{QStringLiteral("U+1F600 GRINNING FACE"),
                       QStringLiteral("U+1F600 GRINNING FACE")};
    // The file system takes names of at most 255 bytes. The longest name the student's goes into,
    // ".desk-journal_<name>.<user number>", has 15 bytes and the user's number around it.
    const int fits = 255 - 15 - int(QByteArray::number(::geteuid()).size());
    QTest::newRow("a name too long for a file name")
        << QStringList{QString(10000, u'n'), ann} << QStringList{ajl}
        << QStringList{QStringLiteral("too long for the names of the record files: this folder "
                                      "takes %1 of its 10000 characters")
                           .arg(fits)};
    // Two bytes each in a file name.
    QTest::newRow("a name of accented letters too long")
        << QStringList{QString(fits / 2 + 1, u'é'), ann} << QStringList{ajl}
        << QStringList{
               QStringLiteral("takes %1 of its %2 characters").arg(fits / 2).arg(fits / 2 + 1)};
    QTest::newRow("the longest name that fits")
        << QStringList{QString(fits, u'n')} << QStringList{ajl} << QStringList{};
    QTest::newRow("initials cancelled")
        << QStringList{ann} << QStringList{QString()} << QStringList{};
}

// A name or initials that the record files cannot hold would make every header impossible to
// write: the student is told why, and the question is asked again until the answer fits.
void TestStartUp::answersTheFilesCannotHoldAreAskedAgain()
{
    QFETCH(QStringList, nameAnswers);
    QFETCH(QStringList, initialsAnswers);
    QFETCH(QStringList, shown);
    WindowFixture fixture;
    fixture.dialogs.answers = {QStringLiteral("1")};
    fixture.dialogs.answers.insert(fixture.dialogs.answers.end(), nameAnswers.begin(),
                                   nameAnswers.end());
    fixture.dialogs.answers.insert(fixture.dialogs.answers.end(), initialsAnswers.begin(),
                                   initialsAnswers.end());
    fixture.dialogs.answers.push_back(QStringLiteral("1"));
    fixture.window->setUpProgram();

    const desk::ProgramState& s = fixture.window->state();
    QCOMPARE(s.studentName, nameAnswers.back());
    QCOMPARE(s.studentInitials, initialsAnswers.back());
    QCOMPARE(s.assignmentNumber, QStringLiteral("001"));
    const QString namePrompt = QStringLiteral("Your full name:  ");
    QCOMPARE(fixture.dialogs.prompts.count(namePrompt), nameAnswers.size());
    QCOMPARE(fixture.dialogs.prompts.size(), 2 + nameAnswers.size() + initialsAnswers.size());
    QCOMPARE(fixture.dialogs.messages.size(), shown.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QString& message = fixture.dialogs.messages[i];
        QVERIFY2(message.contains(shown[i]) && !message.contains(QStringLiteral("The error is")),
                 qPrintable(message));
    }
    openAfterStartUp(fixture, QString());
}

void TestStartUp::codingNumber_data()
{
    QTest::addColumn<float>("draw");
    QTest::addColumn<float>("codeNbr");

    QTest::newRow("0") << 0.0f << 19.0f;
    QTest::newRow("0.25") << 0.25f << 21.0f;
    QTest::newRow("0.5") << 0.5f << 24.0f;
    QTest::newRow("largest below 1") << 0.99999994f << 28.0f;
}

void TestStartUp::codingNumber()
{
    QFETCH(float, draw);
    QFETCH(float, codeNbr);
    QVERIFY(draw < 1.0f);
    WindowFixture fixture;
    fixture.clock.seconds = 3723.5;
    fixture.random.script = {draw};
    setUp(fixture);
    const Value& drawn = fixture.window->state().codeNbr;
    QVERIFY(drawn.isSingle());
    QCOMPARE(drawn, Value::single(codeNbr));
    QCOMPARE(fixture.random.draws, 1);
    // One generator, seeded once from the seconds since midnight.
    QCOMPARE(fixture.random.seeds, std::vector<double>{3723.5});
}

void TestStartUp::fixedTextsAndScales()
{
    WindowFixture fixture;
    setUp(fixture);
    const desk::ProgramState& s = fixture.window->state();
    const QString firstPart = QStringLiteral(
        "Enter, as appropriate, an answer to the question, a critique of your answer in response "
        "to a given answer, your insights regarding the situation at this point, notes to "
        "yourself, or just an OK.");
    const QString secondPart = QStringLiteral(
        "Always critique your solutions by describing any insights you had or errors you makde, "
        "and by explaining how you can make use of the insight or how you now know how to avoid "
        "certain errors.  Also pose for the instructor any question or questions that you have "
        "related to the problem or series of problems.");
    QCOMPARE(s.answerPrompt, firstPart + QStringLiteral("\r\n\r\n") + secondPart);
    QCOMPARE(s.questionTag, QStringLiteral(" <-<-<-<-  Q/A:   "));
    QCOMPARE(s.answerTag, QStringLiteral(" YOUR ANSWER  ->->->->  "));

    for (desk::PictureBox* box : {fixture.window->Picture1, fixture.window->Picture2}) {
        QCOMPARE(box->scaleWidth(), 1000.0);
        QCOMPARE(box->scaleHeight(), 1000.0);
    }
}

void TestStartUp::questionBank()
{
    WindowFixture fixture;
    setUp(fixture);
    const desk::ProgramState& s = fixture.window->state();
    QVERIFY(s.bankIndex.isWhole());
    QCOMPARE(s.bankIndex.toWhole(), 14);

    const QStringList paragraphs = desk::testing::assignmentOneParagraphs();
    QCOMPARE(s.questionBank.size(), std::size_t(5001));
    QCOMPARE(s.questionBank[1], QStringLiteral("001.  Part C"));
    for (int i = 0; i < paragraphs.size(); ++i)
        QCOMPARE(s.questionBank[std::size_t(3 + 2 * i)], paragraphs[i]);
    for (std::size_t slot = 0; slot <= 14; slot += 2)
        QVERIFY2(s.questionBank[slot].isEmpty(), qPrintable(QString::number(slot)));
    for (std::size_t slot = 15; slot <= 5000; ++slot)
        QVERIFY2(s.questionBank[slot].isEmpty(), qPrintable(QString::number(slot)));
}

QTEST_MAIN(TestStartUp)
#include "test_start_up.moc"
