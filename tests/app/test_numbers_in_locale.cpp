// Under a desktop language that writes a decimal comma (German), the program reads and writes
// numbers exactly as under English: the same folder, assignment and question numbers, and record
// lines. The locale is built for the test with localedef and applied as a desktop would, through
// the environment that QApplication hands to the C library.

#include "app/main_window.h"
#include "runtime/numbers.h"
#include "support/started_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>

#include <clocale>
#include <cstdlib>
#include <string>

using namespace desk;
using desk::testing::StartedWindow;
using desk::testing::WindowFixture;

namespace {

const char* const germanLocale = "de_DE.UTF-8";
bool localeBuilt = false;

// Compiles de_DE.UTF-8 into a folder of its own, so that no system locale needs installing.
void buildGermanLocale(const std::string& folder)
{
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + folder + "/" + germanLocale + "' 2>/dev/null";
    localeBuilt = std::system(command.c_str()) == 0;
    if (localeBuilt) {
        setenv("LOCPATH", folder.c_str(), 1);
        setenv("LC_ALL", germanLocale, 1);
    }
}

} // namespace

class TestNumbersInLocale : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void readAndWritten_data();
    void readAndWritten();
    void startUp_data();
    void startUp();
    void questionNumberAndRecordKey();
};

void TestNumbersInLocale::initTestCase()
{
    if (!localeBuilt && !QFileInfo::exists(QStringLiteral("/usr/share/i18n/locales/de_DE")))
        QSKIP("this system has no locale sources to build a decimal-comma locale from");
    QVERIFY2(localeBuilt, "localedef could not build de_DE.UTF-8");
    // Otherwise every row below would pass without a comma locale in force.
    QCOMPARE(std::localeconv()->decimal_point, ",");
    QCOMPARE(std::strtod("2.5", nullptr), 2.0);
}

void TestNumbersInLocale::readAndWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");

    QTest::newRow("fraction") << "1.5"
                              << "1.5";
    QTest::newRow("fraction without whole part") << "-.25x"
                                                 << "-.25";
    QTest::newRow("exponent") << "2.5E3"
                              << "2500";
    QTest::newRow("small fraction") << "0.00001"
                                    << ".00001";
    QTest::newRow("a comma ends the number") << "2,5"
                                             << "2";
}

void TestNumbersInLocale::readAndWritten()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QCOMPARE(decimalText(leadingNumber(text)), written);
}

void TestNumbersInLocale::startUp_data()
{
    QTest::addColumn<QString>("homeOrLan");
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QString>("baseDir");
    QTest::addColumn<QString>("nextAssignment");

    const QString home = QStringLiteral("c:\\lrnfiles");
    QTest::newRow("2.5 is not 2: home folder") << "2.5"
                                               << "1" << home << "002";
    QTest::newRow("assignment 1.5 is followed by 2.5") << "1"
                                                       << "1.5" << home << "2.5";
}

void TestNumbersInLocale::startUp()
{
    QFETCH(QString, homeOrLan);
    QFETCH(QString, assignment);
    QFETCH(QString, baseDir);
    QFETCH(QString, nextAssignment);
    WindowFixture fixture;
    fixture.start(homeOrLan, QStringLiteral("Ann Lee"), QStringLiteral("AJL"), assignment);
    QCOMPARE(fixture.window->state().baseDir, baseDir);
    QCOMPARE(fixture.window->state().nextAssignmentNumber, nextAssignment);
}

void TestNumbersInLocale::questionNumberAndRecordKey()
{
    StartedWindow t;
    QVERIFY(t.ok());
    testing::useBank(
        t.f, {QStringLiteral("001.  Part A"), QStringLiteral("`q2.5"), QStringLiteral("Line")});
    QVERIFY(t.click(&MainWindow::readNextQuestion));
    QVERIFY(t.click(&MainWindow::readNextQuestion));
    QCOMPARE(t.s().questionNumber, QStringLiteral("2.5"));
    t.answer(QStringLiteral("my answer"));
    QVERIFY(t.click(&MainWindow::cmd_enter_response_Click));
    QVERIFY(t.masterRecords().contains("`questionNumber 10002.5 \r\n"));
}

int main(int argc, char* argv[])
{
    QTemporaryDir locales;
    buildGermanLocale(locales.path().toStdString());
    QApplication app(argc, argv);
    TestNumbersInLocale test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_numbers_in_locale.moc"
