// The mechanism of errors: the trap of the start-up and question procedures, and the dispatcher
// every handler runs through.

#include "runtime/error_trap.h"
#include "runtime/handler_dispatcher.h"
#include "runtime/run_time_error.h"

#include <QTest>

#include <new>
#include <stdexcept>
#include <vector>

using namespace desk;

namespace {

// The numbers of the errors handed on, in order.
struct Reports {
    std::vector<int> numbers;
    HandlerDispatcher::Report report()
    {
        return [this](const RunTimeError& error) { numbers.push_back(error.number()); };
    }
};

} // namespace

class TestErrorTrap : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trapHandsOnTheError();
    void programEndPassesThroughTheTrap();

    void handlerErrors_data();
    void handlerErrors();
    void reportThatFailsStaysInside();
    void endOfProgramInAHandler();
};

void TestErrorTrap::trapHandsOnTheError()
{
    Reports reports;
    int steps = 0;
    QCOMPARE(runTrapped([&] { ++steps; }, reports.report()), 0);
    QCOMPARE(steps, 1);
    QVERIFY(reports.numbers.empty());

    // A run-time error ends the steps, which ran once, and is handed on with its number.
    QStringList done;
    const int number = runTrapped(
        [&] {
            done << "step 3";
            throw RunTimeError(err::TypeMismatch, QStringLiteral("detail"));
        },
        reports.report());
    QCOMPARE(number, err::TypeMismatch);
    QCOMPARE(done, QStringList{"step 3"});
    QCOMPARE(reports.numbers, std::vector<int>{err::TypeMismatch});
}

void TestErrorTrap::programEndPassesThroughTheTrap()
{
    Reports reports;
    QVERIFY_THROWS_EXCEPTION(ProgramEnd, runTrapped([] { throw ProgramEnd{}; }, reports.report()));
    QVERIFY(reports.numbers.empty());
}

void TestErrorTrap::handlerErrors_data()
{
    QTest::addColumn<int>("kind"); // 0 run-time error, 1 other exception, 2 out of memory
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("reported");

    QTest::newRow("9") << 0 << 9 << 9;
    QTest::newRow("62 past the end") << 0 << 62 << 62;
    QTest::newRow("other exception") << 1 << 0 << 51;
    QTest::newRow("out of memory") << 2 << 0 << 7;
}

void TestErrorTrap::handlerErrors()
{
    QFETCH(int, kind);
    QFETCH(int, number);
    QFETCH(int, reported);

    Reports reports;
    HandlerDispatcher dispatcher;
    const HandlerOutcome outcome = dispatcher.run(
        [&] {
            if (kind == 0)
                throw RunTimeError(number);
            if (kind == 1)
                throw std::runtime_error("unexpected");
            throw std::bad_alloc();
        },
        reports.report());
    QCOMPARE(outcome, HandlerOutcome::Failed);
    QCOMPARE(reports.numbers, std::vector<int>{reported});

    // The program goes on: the next handlers run to their end.
    int runs = 0;
    QCOMPARE(dispatcher.run([&] { ++runs; }, reports.report()), HandlerOutcome::Completed);
    QCOMPARE(dispatcher.run([&] { ++runs; }, reports.report()), HandlerOutcome::Completed);
    QCOMPARE(runs, 2);
    QCOMPARE(reports.numbers.size(), size_t(1));
    QVERIFY(!dispatcher.hasEnded());
}

void TestErrorTrap::reportThatFailsStaysInside()
{
    // Showing the message can fail too; nothing may reach the event loop.
    HandlerDispatcher dispatcher;
    const auto failingReport = [](const RunTimeError&) { throw std::bad_alloc(); };
    HandlerOutcome outcome = HandlerOutcome::Completed;
    try {
        outcome = dispatcher.run([] { throw RunTimeError(err::DiskFull); }, failingReport);
    } catch (...) {
        QFAIL("an exception left the dispatcher");
    }
    QCOMPARE(outcome, HandlerOutcome::Failed);
}

void TestErrorTrap::endOfProgramInAHandler()
{
    Reports reports;
    HandlerDispatcher dispatcher;
    const HandlerOutcome outcome = dispatcher.run([] { throw ProgramEnd{}; }, reports.report());
    QCOMPARE(outcome, HandlerOutcome::EndedProgram);
    QVERIFY(dispatcher.hasEnded());

    // Ended once: no handler runs any more, nor ends the program again.
    bool later = false;
    QCOMPARE(dispatcher.run([&] { later = true; }, reports.report()), HandlerOutcome::NotRun);
    QCOMPARE(dispatcher.run(
                 [&] {
                     later = true;
                     throw ProgramEnd{};
                 },
                 reports.report()),
             HandlerOutcome::NotRun);
    QVERIFY(!later);
    QVERIFY(reports.numbers.empty());

    // A handler already running when another (run from its message box) ended the program may
    // end it too: the end is carried out once.
    HandlerDispatcher nested;
    HandlerOutcome inner = HandlerOutcome::Completed;
    const HandlerOutcome outer = nested.run(
        [&] {
            inner = nested.run([] { throw ProgramEnd{}; }, reports.report());
            throw ProgramEnd{};
        },
        reports.report());
    QCOMPARE(inner, HandlerOutcome::EndedProgram);
    QCOMPARE(outer, HandlerOutcome::NotRun);
}

QTEST_GUILESS_MAIN(TestErrorTrap)
#include "test_error_trap.moc"
