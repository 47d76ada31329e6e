// Numbers read from texts (start-up answers, assignment and question numbers) and written into
// record lines.

#include "runtime/numbers.h"
#include "runtime/run_time_error.h"
#include "support/expected_texts.h"

#include <QTest>

#include <cmath>

using namespace desk;
using desk::testing::errorOf;

class TestNumbers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void leadingNumberTooLarge_data();
    void leadingNumberTooLarge();
    void readAsNumber_data();
    void readAsNumber();
    void readAsNumberRejects_data();
    void readAsNumberRejects();
    void decimalText_data();
    void decimalText();
    void numberItem_data();
    void numberItem();
    void roundHalfEven_data();
    void roundHalfEven();
};

void TestNumbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("digits then letters") << "12abc" << 12.0;
    QTest::newRow("blank inside") << "1 2" << 12.0;
    QTest::newRow("tabs and line feeds anywhere") << "\t1\n2 3\t" << 123.0;
    QTest::newRow("carriage return is not skipped") << "\r5" << 0.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("minus") << "  -7" << -7.0;
    QTest::newRow("blank after sign") << "- 7" << -7.0;
    QTest::newRow("plus and fraction") << "+3.25" << 3.25;
    QTest::newRow("fraction without whole part") << ".5" << 0.5;
    QTest::newRow("negative fraction") << "-.5x" << -0.5;
    QTest::newRow("second point stops") << "1.5.3" << 1.5;
    QTest::newRow("comma stops") << "1,000" << 1.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("exponent") << "2.5E3" << 2500.0;
    QTest::newRow("small e, negative exponent") << "2.5e-2" << 0.025;
    QTest::newRow("blanks in exponent") << "1 e 2" << 100.0;
    QTest::newRow("E without digits") << "3E" << 3.0;
    QTest::newRow("E and sign without digits") << "3E+x" << 3.0;
    QTest::newRow("hexadecimal") << "&HFF" << 255.0;
    QTest::newRow("hexadecimal lower case") << "&h1fz" << 31.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O18" << 1.0;
    QTest::newRow("unknown radix") << "&X1" << 0.0;
    QTest::newRow("assignment number") << "012" << 12.0;
    QTest::newRow("assignment with fraction") << "1.5" << 1.5;
    // Too small to hold rounds to zero, whichever way the digits put it.
    QTest::newRow("too small") << "-1e-400" << 0.0;
    QTest::newRow("too small with digits before the point") << "123.4E-400" << 0.0;
    QTest::newRow("large digits, small exponent") << (QString(330, u'9') + "e-300") << 1e30;
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(desk::leadingNumber(text), expected);
}

void TestNumbers::leadingNumberTooLarge_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("1e400") << "1e400";
    QTest::newRow("-1E400") << "-1E400";
    QTest::newRow("400 digits") << QString(400, u'9');
    QTest::newRow("300 hex digits") << "&H" + QString(300, u'F');
}

void TestNumbers::leadingNumberTooLarge()
{
    QFETCH(QString, text);
    QCOMPARE(errorOf([&] { desk::leadingNumber(text); }), err::Overflow);
}

void TestNumbers::readAsNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("2") << "2" << 2.0;
    QTest::newRow("blank 2") << " 2" << 2.0;
    QTest::newRow("2.0") << "2.0" << 2.0;
    QTest::newRow("blank 2 blank") << " 2 " << 2.0;
    QTest::newRow("tabs around") << "\t2\t" << 2.0;
    QTest::newRow("1") << "1" << 1.0;
    QTest::newRow("0") << "0" << 0.0;
    QTest::newRow("7") << "7" << 7.0;
    QTest::newRow("negative fraction") << "-3.5" << -3.5;
    QTest::newRow("exponent") << "2E1" << 20.0;
    QTest::newRow("hexadecimal") << "&H10" << 16.0;
}

void TestNumbers::readAsNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(desk::readAsNumber(text), expected);
}

void TestNumbers::readAsNumberRejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");

    QTest::newRow("letters") << "abc" << err::TypeMismatch;
    QTest::newRow("empty") << "" << err::TypeMismatch;
    QTest::newRow("blanks only") << "   " << err::TypeMismatch;
    QTest::newRow("trailing letter") << "2x" << err::TypeMismatch;
    QTest::newRow("blank inside") << "1 2" << err::TypeMismatch;
    QTest::newRow("sign only") << "-" << err::TypeMismatch;
    QTest::newRow("too large") << "1e400" << err::Overflow;
}

void TestNumbers::readAsNumberRejects()
{
    QFETCH(QString, text);
    QFETCH(int, error);
    QCOMPARE(errorOf([&] { desk::readAsNumber(text); }), error);
}

void TestNumbers::decimalText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("question key") << 30005.0 << "30005";
    QTest::newRow("assignment 012, no question") << 120000.0 << "120000";
    QTest::newRow("next assignment from 1.5") << 2.5 << "2.5";
    QTest::newRow("half") << 0.5 << ".5";
    QTest::newRow("minus half") << -0.5 << "-.5";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("two thirds, 15 digits") << 2.0 / 3.0 << ".666666666666667";
    QTest::newRow("15 digits whole") << 123456789012345.0 << "123456789012345";
    QTest::newRow("largest without exponent") << 999999999999999.0 << "999999999999999";
    QTest::newRow("1E14 written out") << 1e14 << "100000000000000";
    QTest::newRow("fraction kept") << 1234567.125 << "1234567.125";
    QTest::newRow("1E15") << 1e15 << "1E+15";
    QTest::newRow("-1E15") << -1e15 << "-1E+15";
    QTest::newRow("1.5E16") << 1.5e16 << "1.5E+16";
    QTest::newRow("one ten-thousandth") << 0.0001 << ".0001";
    QTest::newRow("small, 15 digits") << 1.0 / 30000000.0 << ".0000000333333333333333";
    QTest::newRow("rounds up to 1E-4") << 9.999999999999998e-5 << ".0001";
    QTest::newRow("below 1E15, rounds up to it") << 999999999999999.9 << "1000000000000000";
    QTest::newRow("below 1E15, negative") << -999999999999999.9 << "-1000000000000000";
    QTest::newRow("far below 1") << 1.5e-20 << ".000000000000000000015";
}

void TestNumbers::decimalText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(desk::decimalText(value), expected);
}

void TestNumbers::numberItem_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("question key") << 30005.0 << " 30005 ";
    QTest::newRow("assignment 012") << 120000.0 << " 120000 ";
    QTest::newRow("zero") << 0.0 << " 0 ";
    QTest::newRow("half") << 0.5 << " .5 ";
    QTest::newRow("negative") << -2.5 << "-2.5 ";
    QTest::newRow("exponent form") << 1e15 << " 1E+15 ";
    QTest::newRow("small fraction") << 0.00001 << " .00001 ";
    QTest::newRow("small negative fraction") << -0.00005 << "-.00005 ";
}

void TestNumbers::numberItem()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(desk::numberItem(value), expected);
}

void TestNumbers::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("254.5") << 254.5 << 254.0;
    QTest::newRow("115.5") << 115.5 << 116.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("below half") << 2.4 << 2.0;
    QTest::newRow("above half") << 2.6 << 3.0;
}

void TestNumbers::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(desk::roundHalfEven(value), expected);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
