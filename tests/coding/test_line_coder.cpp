// The line coder: `code` hands every line back unchanged; `decode` reads coded text character
// by character (blank, low coded, filler, high coded), with Windows-1252 character codes.

#include "app/main_window.h"
#include "runtime/windows1252.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"

#include <QTest>

#include <initializer_list>

using desk::Value;
using desk::testing::errorOf;
using desk::testing::WindowFixture;

Q_DECLARE_METATYPE(desk::Value)

namespace {

// The text made of the characters with these Windows-1252 codes.
QString chars(std::initializer_list<int> codes)
{
    QString text;
    for (int code : codes)
        text += desk::windows1252::fromCode(code);
    return text;
}

} // namespace

class TestLineCoder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void codeReturnsItsInput_data();
    void codeReturnsItsInput();
    void decode_data();
    void decode();
    void decodeRejectsCodesOutsideTheSet_data();
    void decodeRejectsCodesOutsideTheSet();
};

void TestLineCoder::codeReturnsItsInput_data()
{
    QTest::addColumn<QString>("line");

    QString everyCode;
    for (int code = 0; code < 256; ++code)
        everyCode += desk::windows1252::fromCode(code);

    QTest::newRow("empty") << QString();
    QTest::newRow("header line") << QStringLiteral("Student Name:  Ann Lee");
    QTest::newRow("line breaks inside") << QStringLiteral("first\r\nsecond\r\n\r\nthird");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  OK  ");
    QTest::newRow("every Windows-1252 character") << everyCode;
}

void TestLineCoder::codeReturnsItsInput()
{
    QFETCH(QString, line);
    WindowFixture fixture;
    const QList<Value> codeNumbers{Value(),
                                   Value::whole(19),
                                   Value::whole(28),
                                   Value::single(23.f),
                                   Value::single(19.5f),
                                   Value::whole(0),
                                   Value::whole(-4),
                                   Value::text(QStringLiteral("abc"))};
    for (const Value& codeNbr : codeNumbers)
        QCOMPARE(fixture.window->code(line, codeNbr), line);
}

void TestLineCoder::decode_data()
{
    QTest::addColumn<QString>("coded");
    QTest::addColumn<Value>("codeNbr");
    QTest::addColumn<QString>("plain");

    const Value c19 = Value::whole(19);
    const Value c28 = Value::single(28.f);

    QTest::newRow("empty line") << QString() << c19 << QString();
    QTest::newRow("A is low coded, 19") << QStringLiteral("A") << c19 << chars({255});
    QTest::newRow("A is low coded, 28") << QStringLiteral("A") << c28 << chars({246});
    QTest::newRow("B is filler") << QStringLiteral("B") << c19 << QString();
    QTest::newRow("v is filler") << QStringLiteral("v") << c19 << QString();
    QTest::newRow("only fillers") << QStringLiteral("BCDtuvabc") << c28 << QString();
    QTest::newRow("w is high coded") << QStringLiteral("w") << c19 << chars({0});
    QTest::newRow("x is high coded, 19") << QStringLiteral("x") << c19 << chars({1});
    QTest::newRow("highest code, 28") << chars({255}) << c28 << chars({127});
    QTest::newRow("lowest code is low coded") << chars({0}) << c19 << chars({190});
    QTest::newRow("blank comes before the low rule")
        << QStringLiteral(" ") << c19 << QStringLiteral(" ");
    QTest::newRow("code 31 and 33 around the blank")
        << chars({31, 32, 33}) << c19 << chars({221, 32, 223});
    QTest::newRow("high result is the euro sign") << chars({247}) << c19 << chars({128});
    QTest::newRow("high result is a left quote, empty codeNbr")
        << chars({247}) << Value() << chars({147});
    QTest::newRow("mixed kinds in order")
        << (QStringLiteral("A B") + chars({119, 200}) + QStringLiteral("vC!")) << c19
        << chars({255, 32, 0, 81, 223});
    QTest::newRow("CR LF are low coded") << QStringLiteral("\r\n") << c19 << chars({203, 200});

    for (const auto& [name, codeNbr] :
         {std::pair{"blanks, empty codeNbr", Value()}, std::pair{"blanks, 19", c19},
          std::pair{"blanks, 28", c28},
          std::pair{"blanks, text codeNbr", Value::text(QStringLiteral("7"))},
          std::pair{"blanks, fraction", Value::single(19.5f)}})
        QTest::newRow(name) << QStringLiteral("   ") << codeNbr << QStringLiteral("   ");

    // With an empty codeNbr the rules are k + 209 and k - 100.
    QTest::newRow("empty codeNbr, low 46 gives 255") << chars({46}) << Value() << chars({255});
    QTest::newRow("empty codeNbr, low 0") << chars({0}) << Value() << chars({209});
    QTest::newRow("empty codeNbr, high 119") << QStringLiteral("w") << Value() << chars({19});
    QTest::newRow("empty codeNbr, high 255") << chars({255}) << Value() << chars({155});

    // A fractional coding number: the code is rounded to the nearest, a half to the even one.
    const Value half = Value::single(19.5f);
    QTest::newRow("254.5 rounds to 254") << QStringLiteral("A") << half << chars({254});
    QTest::newRow("253.5 rounds to 254") << QStringLiteral("@") << half << chars({254});
    QTest::newRow("0.5 rounds to 0") << QStringLiteral("x") << half << chars({0});
    QTest::newRow("1.5 rounds to 2") << QStringLiteral("y") << half << chars({2});
    QTest::newRow("254.6 rounds to 255")
        << QStringLiteral("A") << Value::single(19.4f) << chars({255});
    QTest::newRow("255.4 rounds to 255")
        << QStringLiteral("A") << Value::single(18.6f) << chars({255});
}

void TestLineCoder::decode()
{
    QFETCH(QString, coded);
    QFETCH(Value, codeNbr);
    QFETCH(QString, plain);
    WindowFixture fixture;
    const QString decoded = fixture.window->decode(coded, codeNbr);
    QCOMPARE(decoded, plain);
    QVERIFY(decoded.size() <= coded.size());
}

void TestLineCoder::decodeRejectsCodesOutsideTheSet_data()
{
    QTest::addColumn<QString>("coded");
    QTest::addColumn<Value>("codeNbr");

    QTest::newRow("empty codeNbr, low 47 gives 256") << chars({47}) << Value();
    QTest::newRow("empty codeNbr, A") << QStringLiteral("A") << Value();
    QTest::newRow("codeNbr 0, low 47") << chars({47}) << Value::whole(0);
    QTest::newRow("codeNbr 18, A gives 256") << QStringLiteral("A") << Value::whole(18);
    QTest::newRow("w with 20 gives -1") << QStringLiteral("w") << Value::whole(20);
    QTest::newRow("w with 28 gives -9") << QStringLiteral("w") << Value::single(28.f);
    QTest::newRow("fraction rounding to 256") << QStringLiteral("A") << Value::single(18.4f);
    QTest::newRow("stops at the bad character")
        << (QStringLiteral("A w") + chars({0})) << Value::whole(25);
}

void TestLineCoder::decodeRejectsCodesOutsideTheSet()
{
    QFETCH(QString, coded);
    QFETCH(Value, codeNbr);
    WindowFixture fixture;
    QString result;
    const int error = errorOf([&] { result = fixture.window->decode(coded, codeNbr); });
    QVERIFY2(error != 0, qPrintable(QStringLiteral("no error; decoded to \"%1\"").arg(result)));
    QCOMPARE(error, 5);
}

QTEST_MAIN(TestLineCoder)
#include "test_line_coder.moc"
