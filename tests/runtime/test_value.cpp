// The value that may be empty, used for counters, truth values and numbers the window keeps.

#include "runtime/run_time_error.h"
#include "runtime/value.h"
#include "support/expected_texts.h"

#include <QTest>

#include <limits>

using namespace desk;
using desk::testing::errorOf;

namespace {

constexpr qint32 maxWhole = std::numeric_limits<qint32>::max();
constexpr qint32 minWhole = std::numeric_limits<qint32>::min();

} // namespace

class TestValue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyReadsAsZeroEmptyTextAndFalse();
    void plusKeepsWholeNumbersWhole();
    void plusOnSingleGivesSingle();
    void plusOverflow_data();
    void plusOverflow();
    void truth_data();
    void truth();
    void text_data();
    void text();
    void textThatIsNoNumber_data();
    void textThatIsNoNumber();
    void toWholeRoundsHalfToEven_data();
    void toWholeRoundsHalfToEven();
};

void TestValue::emptyReadsAsZeroEmptyTextAndFalse()
{
    const Value empty;
    QVERIFY(empty.isEmpty());
    QCOMPARE(empty.toNumber(), 0.0);
    QCOMPARE(empty.toWhole(), 0);
    QCOMPARE(empty.toText(), QString());
    QVERIFY(!empty.isTrue());
}

void TestValue::plusKeepsWholeNumbersWhole()
{
    // The bank cursor starts empty and counts up one slot at a time.
    Value index;
    for (int i = 0; i < 14; ++i)
        index = index.plus(1);
    QVERIFY(index.isWhole());
    QCOMPARE(index.toWhole(), 14);
    QCOMPARE(index.toText(), QStringLiteral("14"));

    const Value back = Value::whole(-3).plus(-4);
    QVERIFY(back.isWhole());
    QCOMPARE(back.toWhole(), -7);
    QCOMPARE(back.toText(), QStringLiteral("-7"));

    QCOMPARE(Value::whole(maxWhole - 1).plus(1), Value::whole(maxWhole));
}

void TestValue::plusOnSingleGivesSingle()
{
    const Value sum = Value::single(1.5f).plus(1);
    QVERIFY(sum.isSingle());
    QCOMPARE(sum.toNumber(), 2.5);
    QCOMPARE(sum.toText(), QStringLiteral("2.5"));
}

void TestValue::plusOverflow_data()
{
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("amount");
    QTest::newRow("past the largest") << maxWhole << 1;
    QTest::newRow("past the smallest") << minWhole << -1;
}

void TestValue::plusOverflow()
{
    QFETCH(qint32, start);
    QFETCH(qint32, amount);
    QCOMPARE(errorOf([&] { Value::whole(start).plus(amount); }), err::Overflow);
}

void TestValue::truth_data()
{
    QTest::addColumn<Value>("value");
    QTest::addColumn<bool>("isTrue");

    QTest::newRow("true") << Value::truth(true) << true;
    QTest::newRow("false") << Value::truth(false) << false;
    QTest::newRow("whole 2") << Value::whole(2) << true;
    QTest::newRow("whole 0") << Value::whole(0) << false;
    QTest::newRow("single fraction") << Value::single(0.25f) << true;
    QTest::newRow("text -1") << Value::text(QStringLiteral("-1")) << true;
    QTest::newRow("text 0") << Value::text(QStringLiteral("0")) << false;
}

void TestValue::truth()
{
    QFETCH(Value, value);
    QFETCH(bool, isTrue);
    QCOMPARE(value.isTrue(), isTrue);
}

void TestValue::text_data()
{
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    QTest::newRow("true is -1") << Value::truth(true) << "-1" << -1.0;
    QTest::newRow("false is 0") << Value::truth(false) << "0" << 0.0;
    QTest::newRow("whole") << Value::whole(42) << "42" << 42.0;
    QTest::newRow("single whole") << Value::single(23.0f) << "23" << 23.0;
    QTest::newRow("single fraction") << Value::single(0.5f) << ".5" << 0.5;
    QTest::newRow("text kept as typed") << Value::text(QStringLiteral(" 12 ")) << " 12 " << 12.0;
}

void TestValue::text()
{
    QFETCH(Value, value);
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(value.toText(), text);
    QCOMPARE(value.toNumber(), number);
}

void TestValue::textThatIsNoNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty text") << "";
    QTest::newRow("number then letters") << "12abc";
}

void TestValue::textThatIsNoNumber()
{
    QFETCH(QString, text);
    const Value value = Value::text(text);
    QVERIFY(!value.isEmpty());
    QCOMPARE(value.toText(), text);
    QCOMPARE(errorOf([&] { value.toNumber(); }), err::TypeMismatch);
    QCOMPARE(errorOf([&] { value.isTrue(); }), err::TypeMismatch);
    QCOMPARE(errorOf([&] { value.plus(1); }), err::TypeMismatch);
}

void TestValue::toWholeRoundsHalfToEven_data()
{
    QTest::addColumn<Value>("value");
    QTest::addColumn<qint32>("whole");
    QTest::addColumn<int>("error");

    QTest::newRow("2.5") << Value::single(2.5f) << 2 << 0;
    QTest::newRow("3.5") << Value::single(3.5f) << 4 << 0;
    QTest::newRow("text 254.5") << Value::text(QStringLiteral("254.5")) << 254 << 0;
    QTest::newRow("too large") << Value::single(1e10f) << 0 << err::Overflow;
    QTest::newRow("text too large") << Value::text(QStringLiteral("-1e10")) << 0 << err::Overflow;
}

void TestValue::toWholeRoundsHalfToEven()
{
    QFETCH(Value, value);
    QFETCH(qint32, whole);
    QFETCH(int, error);
    qint32 result = 0;
    QCOMPARE(errorOf([&] { result = value.toWhole(); }), error);
    QCOMPARE(result, whole);
}

QTEST_GUILESS_MAIN(TestValue)
#include "test_value.moc"
