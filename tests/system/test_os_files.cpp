// The calls for files on POSIX systems: only plain files open, never through a link and never
// blocking on a pipe; the journal's own file is the user's alone; reading and cutting at a place
// leave the file's position alone; a name check that a power cut interrupted is cleared.

#include "system/os_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace desk;

class TestOsFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opening_data();
    void opening();
    void positionsAndLeftovers();
};

void TestOsFiles::opening_data()
{
    QTest::addColumn<QString>("there"); // what stands at the path
    QTest::addColumn<int>("access");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("created");

    const int read = int(os::Access::Read), append = int(os::Access::Append);
    QTest::newRow("a file") << "file" << read << 0 << false;
    QTest::newRow("nothing, to read") << "" << read << ENOENT << false;
    QTest::newRow("nothing, to append") << "" << append << 0 << true;
    QTest::newRow("a folder") << "folder" << read << os::NotRegularFile << false;
    QTest::newRow("a link to a file") << "link" << append << os::NotRegularFile << false;
    QTest::newRow("a pipe, without blocking") << "fifo" << read << os::NotRegularFile << false;
    QTest::newRow("the journal's own file") << "" << int(os::Access::Private) << 0 << true;
}

void TestOsFiles::opening()
{
    QFETCH(QString, there);
    QFETCH(int, access);
    QFETCH(int, error);
    QFETCH(bool, created);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x"));
    const QByteArray name = QFile::encodeName(path);
    if (there == QLatin1String("file") || there == QLatin1String("link")) {
        QFile file(dir.filePath(QStringLiteral("target")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(there == QLatin1String("file") ? QFile::rename(file.fileName(), path)
                                               : QFile::link(file.fileName(), path));
    } else if (there == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (there == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    }
    const os::OpenedFile opened = os::openRegularFile(path, os::Access(access));
    QCOMPARE(opened.error, error);
    QCOMPARE(opened.created, created);
    if (opened.fd >= 0) {
        struct stat info { };
        QCOMPARE(::fstat(opened.fd, &info), 0);
        if (access == int(os::Access::Private))
            QCOMPARE(info.st_mode & 0777, mode_t(0600));
        os::closeFile(opened.fd);
    }
}

void TestOsFiles::positionsAndLeftovers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal"));
    const os::OpenedFile file = os::openRegularFile(path, os::Access::Private);
    QCOMPARE(file.error, 0);
    QCOMPARE(os::writeAll(file.fd, "0123456789", 10), 0);
    // Reading at a place and cutting leave the position where writing left it, as pread and
    // ftruncate do.
    QByteArray read;
    QCOMPARE(os::readAt(file.fd, 2, read, 3), 0);
    QCOMPARE(read, QByteArray("234"));
    QCOMPARE(os::truncateFile(file.fd, 4), 0);
    QCOMPARE(::lseek(file.fd, 0, SEEK_CUR), off_t(10));
    os::closeFile(file.fd);

    // An empty name-check file of this user's, left by a power cut, is cleared by the next check;
    // a file with something in it is somebody's and stays.
    const QString check = dir.filePath(QStringLiteral(".desk-name_Ann"));
    QFile leftover(check);
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    QVERIFY(!os::nameRefused(check));
    QVERIFY(!QFile::exists(check));
    QVERIFY(leftover.open(QIODevice::WriteOnly) && leftover.write("x") == 1);
    leftover.close();
    QVERIFY(!os::nameRefused(check));
    QVERIFY(QFile::exists(check));

    // A folder made again where one stands is no failure.
    const QString folder = dir.filePath(QStringLiteral("lrnfiles"));
    QCOMPARE(os::makeFolder(folder), 0);
    QCOMPARE(os::makeFolder(folder), 0);
    QVERIFY(QFileInfo(folder).isDir());
}

QTEST_GUILESS_MAIN(TestOsFiles)
#include "test_os_files.moc"
