// What the student is told when something goes wrong: under the error trap, and in a handler
// without one.

#include "app/error_policy.h"
#include "runtime/run_time_error.h"
#include "support/expected_texts.h"

#include <QTest>

using namespace desk;
using desk::testing::generalErrorText;
using desk::testing::invalidAssignmentText;

class TestErrorPolicy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void messages_data();
    void messages();
    void unencodableTextNamesTheCharacters();
};

void TestErrorPolicy::messages_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("trapped");
    QTest::addColumn<QString>("untrapped");

    // A handler's own error 9 must not claim that the program ends.
    QTest::newRow("9, invalid assignment") << 9 << invalidAssignmentText() << generalErrorText(9);
    QTest::newRow("76, path not found") << 76 << generalErrorText(76) << generalErrorText(76);
    QTest::newRow("13, type mismatch") << 13 << generalErrorText(13) << generalErrorText(13);
    QTest::newRow("6, overflow") << 6 << generalErrorText(6) << generalErrorText(6);
    QTest::newRow("53, file not found") << 53 << generalErrorText(53) << generalErrorText(53);
    QTest::newRow("62, past the end") << 62 << generalErrorText(62) << generalErrorText(62);
    QTest::newRow("51, internal") << 51 << generalErrorText(51) << generalErrorText(51);
    QTest::newRow("7, out of memory") << 7 << generalErrorText(7) << generalErrorText(7);
}

void TestErrorPolicy::messages()
{
    QFETCH(int, number);
    QFETCH(QString, trapped);
    QFETCH(QString, untrapped);
    const RunTimeError error(number, QStringLiteral("detail"));
    QCOMPARE(trapMessage(error), trapped);
    QCOMPARE(untrappedMessage(error), untrapped);
}

void TestErrorPolicy::unencodableTextNamesTheCharacters()
{
    const QStringList characters{QStringLiteral("\u03B1"), QStringLiteral("\U0001F600")};
    const UnencodableTextError error(characters);
    for (const QString& message : {trapMessage(error), untrappedMessage(error)}) {
        QVERIFY2(message.contains(QStringLiteral("\u03B1")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\U0001F600")), qPrintable(message));
        QVERIFY(!message.startsWith(QStringLiteral("You have encountered an error.")));
    }
}

QTEST_GUILESS_MAIN(TestErrorPolicy)
#include "test_error_policy.moc"
