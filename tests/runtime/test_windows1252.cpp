// The record files' single-byte character set.

#include "runtime/run_time_error.h"
#include "runtime/windows1252.h"

#include <QTest>

using namespace desk;

class TestWindows1252 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyByteRoundTrips();
    void characters_data();
    void characters();
    void unencodableCharacters_data();
    void unencodableCharacters();
};

void TestWindows1252::everyByteRoundTrips()
{
    QByteArray all;
    for (int code = 0; code < 256; ++code)
        all.append(char(code));
    const QString text = windows1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(windows1252::encode(text), all);
    QVERIFY(windows1252::unencodable(text).isEmpty());
    for (int code = 0; code < 256; ++code)
        QCOMPARE(windows1252::codeOf(windows1252::fromCode(code)), std::optional<int>(code));
}

void TestWindows1252::characters_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("unicode");

    QTest::newRow("euro sign") << 128 << 0x20AC;
    QTest::newRow("left double quote") << 147 << 0x201C;
    QTest::newRow("right double quote") << 148 << 0x201D;
    QTest::newRow("right single quote") << 146 << 0x2019;
    QTest::newRow("en dash") << 150 << 0x2013;
    QTest::newRow("unassigned 129 is its control") << 129 << 0x81;
    QTest::newRow("no-break space") << 160 << 0xA0;
    QTest::newRow("e acute") << 233 << 0xE9;
    QTest::newRow("grave accent") << 96 << 0x60;
    QTest::newRow("y diaeresis") << 255 << 0xFF;
}

void TestWindows1252::characters()
{
    QFETCH(int, code);
    QFETCH(int, unicode);
    const QChar c{char16_t(unicode)};
    QCOMPARE(windows1252::fromCode(code), c);
    QCOMPARE(windows1252::codeOf(c), std::optional<int>(code));
    QCOMPARE(windows1252::decode(QByteArray(1, char(code))), QString(c));
    QCOMPARE(windows1252::encode(QString(c)), QByteArray(1, char(code)));
}

void TestWindows1252::unencodableCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("offending");

    // U+0080 is a control character in Unicode, not the euro sign the byte 128 stands for.
    QTest::newRow("U+0080") << QString(QChar(0x80)) << QStringList{QString(QChar(0x80))};
    QTest::newRow("Greek, each letter once")
        << QStringLiteral("v = \u03B1 t + \u03B2 t, \u03B1 again") // alpha, beta, alpha
        << QStringList{QStringLiteral("\u03B1"), QStringLiteral("\u03B2")};
    QTest::newRow("arrows") << QStringLiteral("a \u2192 b \u2190 c \u2192 d")
                            << QStringList{QStringLiteral("\u2192"), QStringLiteral("\u2190")};
    QTest::newRow("emoji is one character")
        << QStringLiteral("ok \U0001F600 \U0001F600 \u2713")
        << QStringList{QStringLiteral("\U0001F600"), QStringLiteral("\u2713")};
}

void TestWindows1252::unencodableCharacters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, offending);

    QCOMPARE(windows1252::unencodable(text), offending);
    QVERIFY(!windows1252::codeOf(offending.first().front()));
    try {
        windows1252::encode(text);
        QFAIL("encode accepted a character the set cannot hold");
    } catch (const UnencodableTextError& error) {
        QCOMPARE(error.characters(), offending);
    }
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "test_windows1252.moc"
