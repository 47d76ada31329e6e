// Query file conversion: query.txt in the base directory becomes queri.txt, line by line
// ("assign" lines copied, "query " lines relabelled, all others coded whole), and the coding
// number becomes the length of the first line. Both channels are free afterwards.

#include "app/main_window.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFile>
#include <QTest>

using desk::Value;
using desk::testing::errorOf;
using desk::testing::putFile;
using desk::testing::WindowFixture;

namespace {

const QString queryFile = QStringLiteral("c:\\lrnfiles\\query.txt");
const QString codedFile = QStringLiteral("c:\\lrnfiles\\queri.txt");

// False when the base directory could not be made, for the caller's QVERIFY.
[[nodiscard]] bool prepare(WindowFixture& fixture)
{
    fixture.window->state().baseDir = QStringLiteral("c:\\lrnfiles");
    fixture.window->state().codeNbr = Value::single(23.f);
    return QDir(fixture.driveC()).mkpath(QStringLiteral("lrnfiles"));
}

} // namespace

class TestQueryFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversion_data();
    void conversion();
    void existingCodedFileIsReplaced();
    void failures_data();
    void failures();
    void callersChannelsAreLeftAlone_data();
    void callersChannelsAreLeftAlone();
};

void TestQueryFile::conversion_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("coded");
    QTest::addColumn<int>("codeNbr");

    QTest::newRow("line rules") << QByteArray("Assignment 3 part A\r\n"
                                              "ASSIGNMENT 4\r\n"
                                              "assign\r\n"
                                              "Query x: what is v?\r\n"
                                              "query 7\r\n"
                                              "query \r\n"
                                              "QUERY  two blanks\r\n"
                                              "query\r\n"
                                              "queryX rest\r\n"
                                              " query x: leading blank\r\n"
                                              "abc\r\n"
                                              "\r\n"
                                              "Assig\r\n")
                                << QByteArray("Assignment 3 part A\r\n"
                                              "ASSIGNMENT 4\r\n"
                                              "assign\r\n"
                                              "query: what is v?\r\n"
                                              "query\r\n"
                                              "query\r\n"
                                              "querytwo blanks\r\n"
                                              "query\r\n"
                                              "queryX rest\r\n"
                                              " query x: leading blank\r\n"
                                              "abc\r\n"
                                              "\r\n"
                                              "Assig\r\n")
                                << 19;
    QTest::newRow("first line is converted too")
        << QByteArray("Query a: b\r\nplain\r\n") << QByteArray("query: b\r\nplain\r\n") << 10;
    QTest::newRow("empty first line")
        << QByteArray("\r\nabc\r\n") << QByteArray("\r\nabc\r\n") << 0;
    QTest::newRow("one line without line end") << QByteArray("abc") << QByteArray("abc\r\n") << 3;
    QTest::newRow("CR line ends") << QByteArray("Assign 1\rquery x rest\r")
                                  << QByteArray("Assign 1\r\nquery rest\r\n") << 8;
    QTest::newRow("lone LF stays in the line, and counts")
        << QByteArray("ab\ncd\r\nquery x\ny\r\n") << QByteArray("ab\ncd\r\nquery\ny\r\n") << 5;
    QTest::newRow("trailing empty line") << QByteArray("a\r\n\r\n") << QByteArray("a\r\n\r\n") << 1;
    QTest::newRow("Windows-1252 bytes kept, one character each")
        << QByteArray("\x80 caf\xe9\r\nquery q\x93quoted\x94\r\n")
        << QByteArray("\x80 caf\xe9\r\nquery\x93quoted\x94\r\n") << 6;
}

void TestQueryFile::conversion()
{
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, coded);
    QFETCH(int, codeNbr);
    WindowFixture fixture;
    QVERIFY(prepare(fixture));
    QVERIFY(putFile(fixture.host(queryFile), query));

    fixture.window->codeFile();

    QCOMPARE(fixture.bytes(codedFile), coded);
    QCOMPARE(fixture.bytes(queryFile), query);
    QCOMPARE(fixture.window->state().codeNbr, Value::whole(codeNbr));
    QVERIFY(!fixture.window->files().isOpen(1));
    QVERIFY(!fixture.window->files().isOpen(2));
}

void TestQueryFile::existingCodedFileIsReplaced()
{
    WindowFixture fixture;
    QVERIFY(prepare(fixture));
    const QByteArray older =
        QByteArray("an older and much longer coded query file\r\n").repeated(5);
    QVERIFY(putFile(fixture.host(codedFile), older));
    QVERIFY(putFile(fixture.host(queryFile), QByteArray("Query 1: x\r\n")));

    fixture.window->codeFile();
    QCOMPARE(fixture.bytes(codedFile), QByteArray("query: x\r\n"));

    // A second conversion replaces it again rather than appending.
    QVERIFY(putFile(fixture.host(queryFile), QByteArray("abc\r\n")));
    fixture.window->codeFile();
    QCOMPARE(fixture.bytes(codedFile), QByteArray("abc\r\n"));
    QCOMPARE(fixture.window->state().codeNbr, Value::whole(3));
}

void TestQueryFile::failures_data()
{
    QTest::addColumn<bool>("baseDirExists");
    QTest::addColumn<bool>("queryExists");
    QTest::addColumn<int>("error");

    QTest::newRow("missing query file") << true << false << 53;
    QTest::newRow("empty query file") << true << true << 62;
    QTest::newRow("missing base directory") << false << false << 76;
}

void TestQueryFile::failures()
{
    QFETCH(bool, baseDirExists);
    QFETCH(bool, queryExists);
    QFETCH(int, error);
    WindowFixture fixture;
    QVERIFY(prepare(fixture));
    if (!baseDirExists)
        fixture.window->state().baseDir = QStringLiteral("c:\\nowhere");
    if (queryExists)
        QVERIFY(putFile(fixture.host(queryFile), QByteArray()));

    QCOMPARE(errorOf([&] { fixture.window->codeFile(); }), error);
    QVERIFY(!fixture.window->files().isOpen(1));
    QVERIFY(!fixture.window->files().isOpen(2));
    QVERIFY(!QFile::exists(fixture.host(codedFile)));
    QCOMPARE(fixture.window->state().codeNbr, Value::single(23.f));

    // Nothing is left open: once the base directory and query file are there, the next
    // conversion runs through.
    fixture.window->state().baseDir = QStringLiteral("c:\\lrnfiles");
    QVERIFY(putFile(fixture.host(queryFile), QByteArray("Assign 2\r\n")));
    QCOMPARE(errorOf([&] { fixture.window->codeFile(); }), 0);
    QCOMPARE(fixture.bytes(codedFile), QByteArray("Assign 2\r\n"));
}

void TestQueryFile::callersChannelsAreLeftAlone_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("error");
    QTest::newRow("channel 1 in use") << 1 << 55;
    QTest::newRow("channel 2 in use") << 2 << 55;
    QTest::newRow("another channel in use") << 3 << 0;
}

// The conversion closes only what it opened: a channel the caller holds keeps its file and lines.
void TestQueryFile::callersChannelsAreLeftAlone()
{
    QFETCH(int, channel);
    QFETCH(int, error);
    WindowFixture fixture;
    QVERIFY(prepare(fixture));
    QVERIFY(putFile(fixture.host(queryFile), QByteArray("Assign 2\r\n")));
    const QString callers = fixture.host(QStringLiteral("c:\\lrnfiles\\callers.txt"));
    desk::FileChannels& files = fixture.window->files();
    files.open(channel, callers, desk::FileMode::Output);
    files.writeLine(channel, u"the caller's line");

    QCOMPARE(errorOf([&] { fixture.window->codeFile(); }), error);
    QVERIFY(files.isOpen(channel));
    files.close(channel);
    QCOMPARE(fixture.bytes(QStringLiteral("c:\\lrnfiles\\callers.txt")),
             QByteArray("the caller's line\r\n"));
    QVERIFY(!files.isOpen(1));
    QVERIFY(!files.isOpen(2));
}

QTEST_MAIN(TestQueryFile)
#include "test_query_file.moc"
