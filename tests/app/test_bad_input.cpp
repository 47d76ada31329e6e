// Bad answers to the four start-up questions, each through the real Load handler: the student
// sees the message the program gives for it, the program ends only where an invalid assignment
// ends it, and no record file is ever made anywhere but in the base directory.

#include "app/main_window.h"
#include "storage/record_transaction.h"
#include "widgets/text_box.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"

#include <QTest>

using desk::MainWindow;
using desk::testing::WindowFixture;

using desk::testing::filesUnder;
using desk::testing::generalErrorText;
using desk::testing::invalidAssignmentText;

namespace {

// Marks a message that names characters the record files cannot hold; the row gives them.
const QString namesCharacters = QStringLiteral("<names:");

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpAnswers_data();
    void startUpAnswers();
};

void TestBadInput::startUpAnswers_data()
{
    QTest::addColumn<QString>("homeOrLan");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("initials");
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<int>("questionsAsked");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("ends");
    // File names expected in c:\lrnfiles with their size: "-1" any size above zero, "0" empty.
    QTest::addColumn<QStringList>("files");

    const QStringList none;
    const QStringList ann{QStringLiteral("masterFile_Ann.txt"), QStringLiteral("send_0105Ann.txt")};

    // Cancel on each question.
    QTest::newRow("cancel: home or LAN") << "" << "Ann" << "AJL" << "1" << 1
                                         << QStringList{generalErrorText(13), invalidAssignmentText()} << true << none;
    QTest::newRow("cancel: name") << "1" << "" << "AJL" << "1" << 4 << none << false
                                  << QStringList{"masterFile_.txt", "send_0105.txt"};
    QTest::newRow("cancel: initials") << "1" << "Ann" << "" << "1" << 4 << none << false << ann;
    QTest::newRow("cancel: assignment") << "1" << "Ann" << "AJL" << "" << 4 << QStringList{invalidAssignmentText()}
                                        << true << none;

    // Names: whatever the student types, the record files stay in the base directory.
    QTest::newRow("10,000-character name") << "1" << QString(10000, u'n') << "AJL" << "1" << 5
                                           << QStringList{namesCharacters + QStringLiteral("too long")} << false
                                           << ann;
    QTest::newRow("slash") << "1" << "Ann/Lee" << "AJL" << "1" << 4 << none << false
                           << QStringList{"masterFile_Ann_Lee.txt", "send_0105Ann_Lee.txt"};
    QTest::newRow("backslash") << "1" << "Ann\\Lee" << "AJL" << "1" << 4 << none << false
                               << QStringList{"masterFile_Ann_Lee.txt", "send_0105Ann_Lee.txt"};
    QTest::newRow("climbing out") << "1" << "../../../etc/passwd" << "AJL" << "1" << 4 << none << false
                                  << QStringList{"masterFile_.._.._.._etc_passwd.txt",
                                                 "send_0105.._.._.._etc_passwd.txt"};
    QTest::newRow("climbing out, Windows style") << "1" << "..\\..\\x" << "AJL" << "1" << 4 << none << false
                                                 << QStringList{"masterFile_.._.._x.txt", "send_0105.._.._x.txt"};
    QTest::newRow("dots alone") << "1" << ".." << "AJL" << "1" << 4 << none << false
                                << QStringList{"masterFile_...txt", "send_0105...txt"};
    // A name or initials that the record files cannot hold is asked again (then answered Ann or
    // AJL): the header names the student.
    QTest::newRow("control characters") << "1" << QStringLiteral("A\tB\r\nC\x01" "D\x7f") << "AJL" << "1" << 5
                                        << QStringList{namesCharacters + QStringLiteral("U+000D CARRIAGE RETURN")}
                                        << false << ann;
    QTest::newRow("name Windows-1252 cannot hold") << "1" << QStringLiteral("Σίσυφος") << "AJL" << "1" << 5
                                                   << QStringList{namesCharacters + QStringLiteral("Σ")}
                                                   << false << ann;
    QTest::newRow("initials Windows-1252 cannot hold") << "1" << "Ann" << QStringLiteral("A→B") << "1" << 5
                                                       << QStringList{namesCharacters + QStringLiteral("→")}
                                                       << false << ann;
    // An unreachable network folder: nothing is created, not even beside it.
    QTest::newRow("LAN folder missing, name climbing out") << "2" << "..\\..\\..\\x" << "AJL" << "1" << 4
                                                           << QStringList{generalErrorText(76)} << false << none;

    // Assignment answers that name no assignment of the bank.
    for (const char* answer : {"a", " 1", "1.5", "999", "1000"})
        QTest::addRow("assignment \"%s\"", answer) << "1" << "Ann" << "AJL" << answer << 4
                                                   << QStringList{invalidAssignmentText()} << true << none;
    QTest::newRow("assignment 1e400") << "1" << "Ann" << "AJL" << "1e400" << 4
                                      << QStringList{generalErrorText(6), invalidAssignmentText()} << true << none;
}

void TestBadInput::startUpAnswers()
{
    QFETCH(QString, homeOrLan);
    QFETCH(QString, name);
    QFETCH(QString, initials);
    QFETCH(QString, assignment);
    QFETCH(int, questionsAsked);
    QFETCH(QStringList, messages);
    QFETCH(bool, ends);
    QFETCH(QStringList, files);

    WindowFixture f;
    // The answers a refused name or initials are given when asked again.
    const bool askedAgain = questionsAsked == 5;
    const bool initialsRefused = askedAgain && name == QLatin1String("Ann");
    f.dialogs.answers = {homeOrLan, name};
    if (askedAgain && !initialsRefused)
        f.dialogs.answers.push_back(QStringLiteral("Ann"));
    f.dialogs.answers.push_back(initials);
    if (initialsRefused)
        f.dialogs.answers.push_back(QStringLiteral("AJL"));
    f.dialogs.answers.push_back(assignment);
    f.window->load();
    MainWindow& w = *f.window;

    QCOMPARE(f.dialogs.prompts.size(), questionsAsked);
    QCOMPARE(f.dialogs.messages.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i) {
        const QString& shown = f.dialogs.messages[i];
        if (messages[i].startsWith(namesCharacters)) {
            const QString characters = messages[i].mid(namesCharacters.size());
            QVERIFY2(shown.contains(characters) && !shown.contains(QStringLiteral("The error is")), qPrintable(shown));
        } else {
            QCOMPARE(shown, messages[i]);
        }
    }
    QCOMPARE(w.hasEnded(), ends);
    for (int channel = 1; channel <= 3; ++channel)
        QVERIFY(!w.files().isOpen(channel));

    // Nothing but the expected record files and their locks, and those only in c:\lrnfiles.
    QStringList expected{QStringLiteral("c/"), QStringLiteral("c/lrnfiles/"), QStringLiteral("mnt/")};
    for (const QString& file : files)
        expected << QStringLiteral("c/lrnfiles/") + file.section(u':', 0, 0);
    if (!files.isEmpty())
        for (const QString& lock : {w.recordSetPaths().lock, w.recordSetPaths().userLock})
            expected << QStringLiteral("c/lrnfiles/") + QFileInfo(lock).fileName();
    expected.sort();
    const QMap<QString, QByteArray> made = filesUnder(f.root());
    QCOMPARE(made.keys(), expected);
    for (const QString& file : files) {
        const QByteArray bytes = made.value(QStringLiteral("c/lrnfiles/") + file.section(u':', 0, 0));
        if (file.endsWith(QLatin1String(":0")))
            QCOMPARE(bytes.size(), 0);
        else
            QVERIFY(bytes.size() > 0);
    }
    if (ends)
        return;

    // The program goes on: a response is recorded where the files could be made, and where they
    // could not the student is told again and keeps the answer.
    const qsizetype shownBefore = f.dialogs.messages.size();
    QVERIFY(w.runHandler(&MainWindow::cmdNextQuestion_Click));
    w.txt_answer->setText(QStringLiteral("OK"));
    const bool recorded = w.runHandler(&MainWindow::cmd_enter_response_Click);
    QCOMPARE(recorded, !files.isEmpty());
    if (recorded) {
        QCOMPARE(f.dialogs.messages.size(), shownBefore);
        const QByteArray line = desk::testing::assignmentOneParagraphs().front().toLatin1();
        QVERIFY(f.bytes(w.state().masterFileName).endsWith(desk::testing::masterResponse("14:03:27", " 10000 ", line, "OK")));
        QVERIFY(f.bytes(w.state().sendFileName).endsWith(desk::testing::sendResponse("14:03:27", line, "OK")));
    } else {
        QCOMPARE(f.dialogs.messages.size(), shownBefore + 1);
        QCOMPARE(f.dialogs.messages.back(), messages.back());
        QCOMPARE(w.txt_answer->text(), QStringLiteral("OK"));
        QCOMPARE(filesUnder(f.root()).keys(), expected);
    }
    QVERIFY(!w.hasEnded());
}

QTEST_MAIN(TestBadInput)
#include "test_bad_input.moc"
