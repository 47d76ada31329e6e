// The code line: one group per unit of the coding number, each an optional filler ("B" to "t")
// and a high character (code 118 to 255), drawn from the program's one random generator.

#include "app/main_window.h"
#include "runtime/windows1252.h"
#include "support/scripted_services.h"
#include "system/random_source.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using desk::Value;
using desk::testing::WindowFixture;

Q_DECLARE_METATYPE(desk::Value)

namespace {

// A window drawing from the program's real generator.
struct RealRandomWindow {
    desk::StandardRandom random;
    WindowFixture fixture{{.random = &random}};
    desk::MainWindow& window = *fixture.window;
};

QList<int> codesOf(const QString& line)
{
    QList<int> codes;
    for (QChar c : line)
        codes << desk::windows1252::codeOf(c).value_or(-1);
    return codes;
}

// The smallest float r in [0, 1) with r * factor + offset (in double precision) >= bound.
float smallestReaching(double factor, double offset, double bound)
{
    float r = float((bound - offset) / factor);
    while (double(std::nextafter(r, 0.f)) * factor + offset >= bound)
        r = std::nextafter(r, 0.f);
    while (double(r) * factor + offset < bound)
        r = std::nextafter(r, 1.f);
    return r;
}

} // namespace

class TestCodeLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void invariantsOverManySeeds();
    void sameSeedSameLine();
    void oneGroup_data();
    void oneGroup();
    void drawsInOrderGroupAfterGroup();
    void noGroupsNoDraws_data();
    void noGroupsNoDraws();
};

void TestCodeLine::invariantsOverManySeeds()
{
    RealRandomWindow w;
    int groups = 0, fillers = 0;
    int lowestFiller = 255, highestFiller = 0, lowestHigh = 255, highestHigh = 0;
    for (int n = 19; n <= 28; ++n) {
        for (int seed = 0; seed < 300; ++seed) {
            w.random.seed(seed * 97.125 + n);
            const QString line = w.window.makeCodeLine(Value::single(float(n)));
            const QList<int> codes = codesOf(line);
            QVERIFY2(codes.size() >= n && codes.size() <= 2 * n, qPrintable(line));
            int highs = 0;
            for (qsizetype i = 0; i < codes.size(); ++i) {
                const int code = codes[i];
                if (code >= 118) {
                    QVERIFY(code <= 255);
                    ++highs;
                    lowestHigh = std::min(lowestHigh, code);
                    highestHigh = std::max(highestHigh, code);
                } else {
                    // A filler opens its group: the next character closes it.
                    QVERIFY2(code >= 66 && code <= 116, qPrintable(QString::number(code)));
                    QVERIFY(i + 1 < codes.size() && codes[i + 1] >= 118);
                    ++fillers;
                    lowestFiller = std::min(lowestFiller, code);
                    highestFiller = std::max(highestFiller, code);
                }
            }
            QCOMPARE(highs, n);
            groups += n;
        }
    }
    // About one group in ten carries a filler, and both ranges are reached at both ends.
    QVERIFY2(fillers > groups * 0.08 && fillers < groups * 0.12,
             qPrintable(QStringLiteral("%1 fillers in %2 groups").arg(fillers).arg(groups)));
    QCOMPARE(lowestFiller, 66);
    QCOMPARE(highestFiller, 116);
    QCOMPARE(lowestHigh, 118);
    QCOMPARE(highestHigh, 255);
}

void TestCodeLine::sameSeedSameLine()
{
    RealRandomWindow w;
    w.random.seed(50607.25);
    w.random.next(); // the draw of start-up's coding number
    const QString first = w.window.makeCodeLine(Value::whole(28));
    w.random.seed(50607.25);
    w.random.next();
    QCOMPARE(w.window.makeCodeLine(Value::whole(28)), first);
    QVERIFY(w.window.makeCodeLine(Value::whole(28)) != first);
}

void TestCodeLine::oneGroup_data()
{
    QTest::addColumn<QList<float>>("draws");
    QTest::addColumn<QList<int>>("codes");

    const float belowTenth = std::nextafter(0.1f, 0.f);
    const float belowOne = std::nextafter(1.f, 0.f);
    const float r2Half = smallestReaching(50, 66, 115.5);
    // 136.5 / 137 is no binary fraction, so no float r3 gives exactly 254.5; the floats on
    // either side of it pin the step from 254 to 255.
    const float r3Half = smallestReaching(137, 118, 254.5);
    QVERIFY(double(r3Half) * 137 + 118 > 254.5);

    QTest::newRow("r1 at 0.1: no filler") << QList<float>{0.1f, 0.f} << QList<int>{118};
    QTest::newRow("r1 just below 0.1: filler")
        << QList<float>{belowTenth, 0.f, 0.f} << QList<int>{66, 118};
    QTest::newRow("r1 zero: filler") << QList<float>{0.f, 0.f, 0.f} << QList<int>{66, 118};
    QTest::newRow("r1 just below 1: no filler") << QList<float>{belowOne, 0.f} << QList<int>{118};
    QTest::newRow("r2 reaching 115.5 gives 116")
        << QList<float>{0.f, r2Half, 0.f} << QList<int>{116, 118};
    QTest::newRow("r2 just below 115.5 gives 115")
        << QList<float>{0.f, std::nextafter(r2Half, 0.f), 0.f} << QList<int>{115, 118};
    QTest::newRow("r2 just below 1 gives 116")
        << QList<float>{0.f, belowOne, 0.f} << QList<int>{116, 118};
    QTest::newRow("r2 0.25: 78.5 rounds to 78")
        << QList<float>{0.f, 0.25f, 0.f} << QList<int>{78, 118};
    QTest::newRow("r2 0.75: 103.5 rounds to 104")
        << QList<float>{0.f, 0.75f, 0.f} << QList<int>{104, 118};
    QTest::newRow("r3 0.5: 186.5 rounds to 186") << QList<float>{0.5f, 0.5f} << QList<int>{186};
    QTest::newRow("r3 just below 254.5 gives 254")
        << QList<float>{0.5f, std::nextafter(r3Half, 0.f)} << QList<int>{254};
    QTest::newRow("r3 just above 254.5 gives 255") << QList<float>{0.5f, r3Half} << QList<int>{255};
    QTest::newRow("r3 just below 1 gives 255") << QList<float>{0.5f, belowOne} << QList<int>{255};
    QTest::newRow("r3 giving 128, the euro sign")
        << QList<float>{0.5f, float(10.0 / 137)} << QList<int>{128};
    QTest::newRow("r3 giving 129, unassigned")
        << QList<float>{0.5f, float(11.0 / 137)} << QList<int>{129};
    QTest::newRow("r3 giving 147, a left quote")
        << QList<float>{0.5f, float(29.0 / 137)} << QList<int>{147};
}

void TestCodeLine::oneGroup()
{
    QFETCH(QList<float>, draws);
    QFETCH(QList<int>, codes);
    WindowFixture fixture;
    fixture.random.script.assign(draws.begin(), draws.end());
    fixture.random.fallback = 0.05f;
    const QString line = fixture.window->makeCodeLine(Value::whole(1));
    QCOMPARE(codesOf(line), codes);
    QCOMPARE(fixture.random.draws, int(draws.size()));
}

void TestCodeLine::drawsInOrderGroupAfterGroup()
{
    WindowFixture fixture;
    fixture.random.script = {0.1f,
                             0.f, // no filler, 118
                             0.05f,
                             0.25f,
                             0.5f, // 78, 186
                             0.f,
                             0.f,
                             std::nextafter(1.f, 0.f), // 66, 255
                             0.9f,
                             float(10.0 / 137)}; // 128
    fixture.random.fallback = 0.05f;
    const QString line = fixture.window->makeCodeLine(Value::single(4.f));
    QCOMPARE(codesOf(line), (QList<int>{118, 78, 186, 66, 255, 128}));
    QCOMPARE(fixture.random.draws, 10);
}

void TestCodeLine::noGroupsNoDraws_data()
{
    QTest::addColumn<Value>("codeNbr");
    QTest::newRow("empty") << Value();
    QTest::newRow("zero") << Value::whole(0);
    QTest::newRow("negative") << Value::whole(-3);
    QTest::newRow("negative single") << Value::single(-0.5f);
    QTest::newRow("below one") << Value::single(0.9f);
}

void TestCodeLine::noGroupsNoDraws()
{
    QFETCH(Value, codeNbr);
    WindowFixture fixture;
    QCOMPARE(fixture.window->makeCodeLine(codeNbr), QString());
    QCOMPARE(fixture.random.draws, 0);
}

QTEST_MAIN(TestCodeLine)
#include "test_code_line.moc"
