// The error trap of the start-up and question procedures, and the error policy of the handlers.

#include "platform/error_trap.h"
#include "platform/handler_dispatcher.h"
#include "platform/run_time_error.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"

#include <QTest>

#include <new>
#include <stdexcept>

using namespace desk;
using desk::testing::ScriptedDialogs;
using desk::testing::generalErrorText;
using desk::testing::invalidAssignmentText;

class TestErrorTrap : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noErrorShowsNothing();
    void trapMessage_data();
    void trapMessage();
    void remainingStepsAreSkipped();
    void programEndPassesThroughTheTrap();
    void unencodableTextNamesTheCharacters();

    void handlerErrors_data();
    void handlerErrors();
    void handlerRunsToItsEnd();
    void endOfProgramInAHandler();
    void endOfProgramThroughATrap();
};

void TestErrorTrap::noErrorShowsNothing()
{
    ScriptedDialogs dialogs;
    int steps = 0;
    QCOMPARE(runTrapped(dialogs, [&] { ++steps; }), 0);
    QCOMPARE(steps, 1);
    QVERIFY(dialogs.messages.isEmpty());
}

void TestErrorTrap::trapMessage_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("message");

    QTest::newRow("9, invalid assignment") << 9 << invalidAssignmentText();
    QTest::newRow("76, path not found") << 76 << generalErrorText(76);
    QTest::newRow("13, type mismatch") << 13 << generalErrorText(13);
    QTest::newRow("6, overflow") << 6 << generalErrorText(6);
    QTest::newRow("53, file not found") << 53 << generalErrorText(53);
}

void TestErrorTrap::trapMessage()
{
    QFETCH(int, number);
    QFETCH(QString, message);
    ScriptedDialogs dialogs;
    QCOMPARE(runTrapped(dialogs, [&] { throw RunTimeError(number, QStringLiteral("detail")); }), number);
    QCOMPARE(dialogs.messages, QStringList{message});
}

void TestErrorTrap::remainingStepsAreSkipped()
{
    ScriptedDialogs dialogs;
    QStringList done;
    const int number = runTrapped(dialogs, [&] {
        done << "step 3";
        throw RunTimeError(err::TypeMismatch);
        done << "step 6";
    });
    QCOMPARE(number, err::TypeMismatch);
    QCOMPARE(done, QStringList{"step 3"});
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.front().endsWith(QStringLiteral("The error is:  13")));
}

void TestErrorTrap::programEndPassesThroughTheTrap()
{
    ScriptedDialogs dialogs;
    QVERIFY_THROWS_EXCEPTION(ProgramEnd, runTrapped(dialogs, [] { endProgramNow(); }));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestErrorTrap::unencodableTextNamesTheCharacters()
{
    ScriptedDialogs dialogs;
    const QStringList characters{QStringLiteral("\u03B1"), QStringLiteral("\U0001F600")};
    runTrapped(dialogs, [&] { throw UnencodableTextError(characters); });
    QCOMPARE(dialogs.messages.size(), 1);
    const QString& message = dialogs.messages.front();
    QVERIFY2(message.contains(QStringLiteral("\u03B1")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("\U0001F600")), qPrintable(message));
    QVERIFY(!message.startsWith(QStringLiteral("You have encountered an error.")));
}

void TestErrorTrap::handlerErrors_data()
{
    QTest::addColumn<int>("kind"); // 0 run-time error, 1 other exception, 2 out of memory
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("message");

    // A handler's own error 9 must not claim that the program ends.
    QTest::newRow("9 without a trap") << 0 << 9 << generalErrorText(9);
    QTest::newRow("62 past the end") << 0 << 62 << generalErrorText(62);
    QTest::newRow("other exception") << 1 << 0 << generalErrorText(51);
    QTest::newRow("out of memory") << 2 << 0 << generalErrorText(7);
}

void TestErrorTrap::handlerErrors()
{
    QFETCH(int, kind);
    QFETCH(int, number);
    QFETCH(QString, message);

    ScriptedDialogs dialogs;
    int ends = 0;
    HandlerDispatcher dispatcher(dialogs, [&] { ++ends; });
    bool rest = false;
    QVERIFY(!dispatcher.run([&] {
        if (kind == 0)
            throw RunTimeError(number);
        if (kind == 1)
            throw std::runtime_error("unexpected");
        throw std::bad_alloc();
        rest = true;
    }));
    QVERIFY(!rest);
    QCOMPARE(dialogs.messages, QStringList{message});

    // The program goes on: the next handler runs.
    bool ran = false;
    QVERIFY(dispatcher.run([&] { ran = true; }));
    QVERIFY(ran);
    QCOMPARE(ends, 0);
    QVERIFY(!dispatcher.hasEnded());
}

void TestErrorTrap::handlerRunsToItsEnd()
{
    ScriptedDialogs dialogs;
    HandlerDispatcher dispatcher(dialogs, [] {});
    int runs = 0;
    QVERIFY(dispatcher.run([&] { ++runs; }));
    QVERIFY(dispatcher.run([&] { ++runs; }));
    QCOMPARE(runs, 2);
    QVERIFY(dialogs.messages.isEmpty());
}

void TestErrorTrap::endOfProgramInAHandler()
{
    ScriptedDialogs dialogs;
    int ends = 0;
    HandlerDispatcher dispatcher(dialogs, [&] { ++ends; });
    bool rest = false;
    QVERIFY(!dispatcher.run([&] {
        endProgramNow();
        rest = true;
    }));
    QVERIFY(!rest);
    QCOMPARE(ends, 1);
    QVERIFY(dispatcher.hasEnded());

    bool later = false;
    QVERIFY(!dispatcher.run([&] { later = true; }));
    QVERIFY(!dispatcher.run([&] { later = true; endProgramNow(); }));
    QVERIFY(!later);
    QCOMPARE(ends, 1);
    QVERIFY(dialogs.messages.isEmpty());
}

void TestErrorTrap::endOfProgramThroughATrap()
{
    // Assignment opening ends the program from inside its trap, after its message.
    ScriptedDialogs dialogs;
    int ends = 0;
    HandlerDispatcher dispatcher(dialogs, [&] { ++ends; });
    QVERIFY(!dispatcher.run([&] {
        if (runTrapped(dialogs, [] { throw RunTimeError(err::SubscriptOutOfRange); })
            == err::SubscriptOutOfRange)
            endProgramNow();
    }));
    QCOMPARE(dialogs.messages, QStringList{invalidAssignmentText()});
    QCOMPARE(ends, 1);
}

QTEST_GUILESS_MAIN(TestErrorTrap)
#include "test_error_trap.moc"
