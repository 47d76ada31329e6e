// The numbered file channels through which the record, notes and query files are written and read.

#include "runtime/run_time_error.h"
#include "storage/file_channels.h"
#include "support/expected_texts.h"
#include "support/full_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace desk;
using desk::testing::errorOf;
using desk::testing::fileState;
using desk::testing::putFile;

class TestFileChannels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void closeWritesTheLines_data();
    void closeWritesTheLines();
    void linesStayInMemoryUntilClose();
    void unencodableLineAddsNothing();
    void closeTogetherWritesNoneOnDiskFull_data();
    void closeTogetherWritesNoneOnDiskFull();
    void readLine_data();
    void readLine();
    void openErrors_data();
    void openErrors();
    void readOnlyFileIsPermissionDenied();
    void channelAlreadyOpen();
    void channelMustBeOpen();
    void discardWritesNothing();
    void failedOperationLeavesNoNewFile();
    void notAPlainFileIsRefused_data();
    void notAPlainFileIsRefused();
    void closeAllWritesWhatIsPending();
    void closingAChannelNotOpenDoesNothing();

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestFileChannels::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestFileChannels::closeWritesTheLines_data()
{
    QTest::addColumn<QByteArray>("before"); // "<missing>" for no file
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("after");

    const int out = int(FileMode::Output), app = int(FileMode::Append);
    QTest::newRow("append creates")
        << QByteArray("<missing>") << app << QStringList{"first"} << QByteArray("first\r\n");
    QTest::newRow("append appends") << QByteArray("first\r\n") << app << QStringList{"second", ""}
                                    << QByteArray("first\r\nsecond\r\n\r\n");
    QTest::newRow("output truncates") << QByteArray("old line\r\nold line\r\n") << out
                                      << QStringList{"new"} << QByteArray("new\r\n");
    // A text with a line break inside becomes two lines of the file.
    QTest::newRow("Windows-1252, CR LF")
        << QByteArray("<missing>") << app
        << QStringList{QStringLiteral("\u20AC \u201Ccaf\u00E9\u201D\u00A0"), "line 1\r\nline 2"}
        << QByteArray("\x80 \x93"
                      "caf\xE9\x94\xA0\r\nline 1\r\nline 2\r\n");
}

void TestFileChannels::closeWritesTheLines()
{
    QFETCH(QByteArray, before);
    QFETCH(int, mode);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, after);
    const QString file = path(QStringLiteral("masterFile_Ann.txt"));
    if (before != "<missing>")
        QVERIFY(putFile(file, before));

    FileChannels files;
    files.open(1, file, FileMode(mode));
    QVERIFY(files.isOpen(1));
    for (const QString& line : lines)
        files.writeLine(1, line);
    files.close(1);
    QVERIFY(!files.isOpen(1));
    QCOMPARE(fileState(file), after);
}

// Closing one channel writes none of the others; closing several together writes them all.
void TestFileChannels::linesStayInMemoryUntilClose()
{
    const QString master = path(QStringLiteral("master.txt"));
    const QString send = path(QStringLiteral("send.txt"));
    const QString notes = path(QStringLiteral("notes.txt"));
    QVERIFY(putFile(master, "m\r\n"));

    FileChannels files;
    files.open(1, master, FileMode::Append);
    files.open(2, send, FileMode::Append);
    files.open(3, notes, FileMode::Append);
    files.writeLine(1, u"to master");
    files.writeLine(2, u"to send");
    files.writeLine(3, u"note");
    QCOMPARE(fileState(master), QByteArray("m\r\n"));
    QCOMPARE(fileState(notes), QByteArray());

    files.close(3);
    QCOMPARE(fileState(notes), QByteArray("note\r\n"));
    QCOMPARE(fileState(master), QByteArray("m\r\n"));
    QCOMPARE(fileState(send), QByteArray());
    files.closeTogether({1, 2});
    QVERIFY(!files.isOpen(1));
    QVERIFY(!files.isOpen(2));
    QCOMPARE(fileState(master), QByteArray("m\r\nto master\r\n"));
    QCOMPARE(fileState(send), QByteArray("to send\r\n"));
}

void TestFileChannels::unencodableLineAddsNothing()
{
    const QString file = path(QStringLiteral("a.txt"));
    FileChannels files;
    files.open(1, file, FileMode::Append);
    files.writeLine(1, u"ok");
    QVERIFY_THROWS_EXCEPTION(UnencodableTextError,
                             files.writeLine(1, QStringLiteral("v = \u03B1t")));
    files.close(1);
    QCOMPARE(fileState(file), QByteArray("ok\r\n"));
}

void TestFileChannels::closeTogetherWritesNoneOnDiskFull_data()
{
    QTest::addColumn<int>("goodChannel");
    QTest::addColumn<int>("fullChannel");
    // Written first and then taken back, or never written at all.
    QTest::newRow("full file closed second") << 1 << 2;
    QTest::newRow("full file closed first") << 2 << 1;
}

void TestFileChannels::closeTogetherWritesNoneOnDiskFull()
{
    QFETCH(int, goodChannel);
    QFETCH(int, fullChannel);
    const QString good = path(QStringLiteral("master.txt"));
    const QString full = path(QStringLiteral("send.txt"));
    QVERIFY(putFile(good, "earlier block\r\n"));
    desk::testing::FullFile fullDisk(full);
    QVERIFY(fullDisk.ok());

    FileChannels files;
    files.open(goodChannel, good, FileMode::Append);
    files.open(fullChannel, full, FileMode::Append);
    files.writeLine(goodChannel, u"response");
    files.writeLine(fullChannel, u"response");
    QCOMPARE(errorOf([&] { files.closeTogether({1, 2}); }), err::DiskFull);

    QCOMPARE(fileState(good), QByteArray("earlier block\r\n"));
    QVERIFY(!files.isOpen(1));
    QVERIFY(!files.isOpen(2));
    // The channels are free again.
    files.open(goodChannel, good, FileMode::Append);
    files.close(goodChannel);
    QCOMPARE(fileState(good), QByteArray("earlier block\r\n"));
}

void TestFileChannels::readLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n") << QStringList{"one", "two"};
    QTest::newRow("CR") << QByteArray("one\rtwo\r") << QStringList{"one", "two"};
    QTest::newRow("lone LF belongs to the line")
        << QByteArray("one\ntwo\n") << QStringList{"one\ntwo\n"};
    QTest::newRow("no line end at the end")
        << QByteArray("one\r\ntwo") << QStringList{"one", "two"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nx\r\n\r\n") << QStringList{"", "", "x", ""};
    QTest::newRow("mixed") << QByteArray("a\nb\r\nc\rd") << QStringList{"a\nb", "c", "d"};
    QTest::newRow("LF CR: the CR ends the line") << QByteArray("a\n\rb") << QStringList{"a\n", "b"};
    QTest::newRow("LF after CR LF starts the next")
        << QByteArray("a\r\n\nb") << QStringList{"a", "\nb"};
    QTest::newRow("tab and blanks kept") << QByteArray(" \ta  \r\n") << QStringList{" \ta  "};
    QTest::newRow("Windows-1252") << QByteArray("\x80 \x93x\x94\r\n")
                                  << QStringList{QStringLiteral("\u20AC \u201Cx\u201D")};
    // More than one read takes in.
    QTest::newRow("long file") << QByteArray(70000, 'x') + "\r\nend"
                               << QStringList{QString(70000, u'x'), "end"};
}

void TestFileChannels::readLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const QString file = path(QStringLiteral("notes.txt"));
    QVERIFY(putFile(file, bytes));

    FileChannels files;
    files.open(3, file, FileMode::Input);
    QStringList read;
    while (!files.atEnd(3) && read.size() <= lines.size())
        read << files.readLine(3);
    QCOMPARE(read, lines);
    QVERIFY(files.atEnd(3));
    QCOMPARE(errorOf([&] { files.readLine(3); }), err::InputPastEnd);
    files.close(3);
    QCOMPARE(fileState(file), bytes);
}

void TestFileChannels::openErrors_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>(
        "name"); // inside the temporary folder, which holds folder/ and plain.txt
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("error");

    const int in = int(FileMode::Input), out = int(FileMode::Output), app = int(FileMode::Append);
    QTest::newRow("missing file, reading") << 3 << "folder/notes.txt" << in << err::FileNotFound;
    QTest::newRow("missing directory, appending")
        << 1 << "nowhere/master.txt" << app << err::PathNotFound;
    QTest::newRow("missing directory, writing")
        << 1 << "nowhere/queri.txt" << out << err::PathNotFound;
    QTest::newRow("missing directory, reading")
        << 3 << "nowhere/notes.txt" << in << err::PathNotFound;
    QTest::newRow("file used as directory")
        << 1 << "plain.txt/master.txt" << app << err::PathNotFound;
    QTest::newRow("directory as file, appending") << 1 << "folder" << app << err::PathFileAccess;
    QTest::newRow("directory as file, reading") << 3 << "folder" << in << err::PathFileAccess;
    QTest::newRow("channel 0") << 0 << "plain.txt" << app << err::BadFileName;
    QTest::newRow("channel 4") << 4 << "plain.txt" << in << err::BadFileName;
    QTest::newRow("channel -1") << -1 << "plain.txt" << app << err::BadFileName;
}

void TestFileChannels::openErrors()
{
    QFETCH(int, channel);
    QFETCH(QString, name);
    QFETCH(int, mode);
    QFETCH(int, error);
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(putFile(path(QStringLiteral("plain.txt")), "plain\r\n"));

    FileChannels files;
    QCOMPARE(errorOf([&] { files.open(channel, path(name), FileMode(mode)); }), error);
    if (channel >= 1 && channel <= FileChannels::Count)
        QVERIFY(!files.isOpen(channel));
    QVERIFY(!QFile::exists(path(QStringLiteral("nowhere"))));
    QCOMPARE(fileState(path(QStringLiteral("plain.txt"))), QByteArray("plain\r\n"));
}

void TestFileChannels::readOnlyFileIsPermissionDenied()
{
    if (::geteuid() == 0)
        QSKIP("file permissions do not bind the superuser");
    const QString file = path(QStringLiteral("master.txt"));
    QVERIFY(putFile(file, "kept\r\n"));
    QVERIFY(QFile::setPermissions(
        file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    FileChannels files;
    QCOMPARE(errorOf([&] { files.open(1, file, FileMode::Append); }), err::PermissionDenied);
    QCOMPARE(errorOf([&] { files.open(1, file, FileMode::Output); }), err::PermissionDenied);
    QVERIFY(!files.isOpen(1));
    QCOMPARE(fileState(file), QByteArray("kept\r\n"));
    // Reading it is allowed.
    files.open(1, file, FileMode::Input);
    QCOMPARE(files.readLine(1), QStringLiteral("kept"));
}

void TestFileChannels::channelAlreadyOpen()
{
    const QString master = path(QStringLiteral("master.txt"));
    const QString other = path(QStringLiteral("other.txt"));
    FileChannels files;
    files.open(1, master, FileMode::Append);
    files.writeLine(1, u"pending");
    QCOMPARE(errorOf([&] { files.open(1, other, FileMode::Append); }), err::FileAlreadyOpen);
    QCOMPARE(errorOf([&] { files.open(1, master, FileMode::Input); }), err::FileAlreadyOpen);
    QVERIFY(!QFile::exists(other));

    // The channel still belongs to the first file, with its line.
    QVERIFY(files.isOpen(1));
    files.close(1);
    QCOMPARE(fileState(master), QByteArray("pending\r\n"));
}

void TestFileChannels::channelMustBeOpen()
{
    FileChannels files;
    QCOMPARE(errorOf([&] { files.writeLine(2, u"x"); }), err::BadFileName);
    QCOMPARE(errorOf([&] { files.readLine(3); }), err::BadFileName);
    QCOMPARE(errorOf([&] { files.writeLine(4, u"x"); }), err::BadFileName);
    QCOMPARE(errorOf([&] { files.isOpen(0); }), err::BadFileName);
}

void TestFileChannels::discardWritesNothing()
{
    const QString file = path(QStringLiteral("master.txt"));
    QVERIFY(putFile(file, "kept\r\n"));
    FileChannels files;
    files.open(1, file, FileMode::Append);
    files.writeLine(1, u"thrown away");
    files.discard(1);
    QVERIFY(!files.isOpen(1));
    files.close(1);
    QCOMPARE(fileState(file), QByteArray("kept\r\n"));
}

void TestFileChannels::failedOperationLeavesNoNewFile()
{
    const QString created = path(QStringLiteral("notes.txt"));
    const QString full = path(QStringLiteral("send.txt"));
    desk::testing::FullFile fullDisk(full);
    QVERIFY(fullDisk.ok());

    FileChannels files;
    // Discarded after a failure elsewhere: the file that opening created goes again.
    files.open(3, created, FileMode::Append);
    QVERIFY(QFile::exists(created));
    files.discard(3);
    QVERIFY(!QFile::exists(created));

    // Taken back when another file of the same record cannot be written.
    files.open(3, created, FileMode::Append);
    files.open(2, full, FileMode::Append);
    files.writeLine(3, u"note");
    files.writeLine(2, u"note");
    QCOMPARE(errorOf([&] { files.closeTogether({3, 2}); }), err::DiskFull);
    QVERIFY(!QFile::exists(created));
}

void TestFileChannels::notAPlainFileIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind :
         {"link to a plain file", "link to /dev/null", "device", "FIFO", "socket", "directory"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// Nothing but a plain file holds a record: a link (to /dev/null, say) would acknowledge a
// record written nowhere, a FIFO would freeze the window waiting for a reader. Refused at once,
// for reading and writing alike, and left as it was.
void TestFileChannels::notAPlainFileIsRefused()
{
    QFETCH(QString, kind);
    const QString file = path(QStringLiteral("notes.txt"));
    const QByteArray name = QFile::encodeName(file);
    int socketFd = -1;
    if (kind == QLatin1String("link to a plain file")) {
        QVERIFY(putFile(path(QStringLiteral("elsewhere.txt")), "kept\r\n"));
        QVERIFY(QFile::link(path(QStringLiteral("elsewhere.txt")), file));
    } else if (kind == QLatin1String("link to /dev/null")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), file));
    } else if (kind == QLatin1String("device")) {
        if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("cannot make a device node here");
    } else if (kind == QLatin1String("FIFO")) {
        QCOMPARE(::mkfifo(name.constData(), 0666), 0);
    } else if (kind == QLatin1String("socket")) {
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, name.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    } else {
        QVERIFY(QDir().mkdir(file));
    }
    struct stat before { };
    QCOMPARE(::lstat(name.constData(), &before), 0);

    FileChannels files;
    for (FileMode mode : {FileMode::Append, FileMode::Output, FileMode::Input}) {
        QCOMPARE(errorOf([&] { files.open(3, file, mode); }), err::PathFileAccess);
        QVERIFY(!files.isOpen(3));
    }
    struct stat after { };
    QCOMPARE(::lstat(name.constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(fileState(path(QStringLiteral("elsewhere.txt"))),
             QByteArray(kind == QLatin1String("link to a plain file") ? "kept\r\n" : "<missing>"));
    if (socketFd >= 0)
        ::close(socketFd);
}

void TestFileChannels::closeAllWritesWhatIsPending()
{
    const QStringList names{path("master.txt"), path("send.txt"), path("notes.txt")};
    {
        FileChannels files;
        for (int channel = 1; channel <= 3; ++channel) {
            files.open(channel, names[channel - 1], FileMode::Append);
            files.writeLine(channel, QStringLiteral("line %1").arg(channel));
        }
        files.closeAll();
        for (int channel = 1; channel <= 3; ++channel) {
            QVERIFY(!files.isOpen(channel));
            QCOMPARE(fileState(names[channel - 1]),
                     QStringLiteral("line %1\r\n").arg(channel).toLatin1());
        }
        // The end of the channels' owner writes what is still pending as well.
        files.open(2, names[1], FileMode::Append);
        files.writeLine(2, u"at the end");
    }
    QCOMPARE(fileState(names[1]), QByteArray("line 2\r\nat the end\r\n"));
}

void TestFileChannels::closingAChannelNotOpenDoesNothing()
{
    const QString file = path(QStringLiteral("master.txt"));
    QVERIFY(putFile(file, "kept\r\n"));
    FileChannels files;
    files.close(2);
    files.closeTogether({1, 2, 3});
    files.open(1, file, FileMode::Append);
    files.close(1);
    files.close(1);
    QVERIFY(!files.isOpen(1));
    QCOMPARE(fileState(file), QByteArray("kept\r\n"));
    QCOMPARE(errorOf([&] { files.close(0); }), err::BadFileName);
}

QTEST_GUILESS_MAIN(TestFileChannels)
#include "test_file_channels.moc"
