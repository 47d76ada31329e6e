// Whose a file is: the user's own files count, another user's never do; a name with nothing
// there, or a link, is nobody else's.

#include "storage/file_owner.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestFileOwner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void otherUsersFile_data();
    void otherUsersFile();
};

void TestFileOwner::otherUsersFile_data()
{
    QTest::addColumn<int>("owner"); // -1: the name is left empty, -2: a link to another's file
    QTest::addColumn<bool>("others");
    QTest::newRow("mine") << int(::geteuid()) << false;
    QTest::newRow("nothing there") << -1 << false;
    QTest::newRow("another user's") << 4242 << true;
    QTest::newRow("my link to another user's file") << -2 << false;
}

void TestFileOwner::otherUsersFile()
{
    QFETCH(int, owner);
    QFETCH(bool, others);
    if ((owner == 4242 || owner == -2) && ::geteuid() != 0)
        QSKIP("only the superuser can give a file to another user");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    const QString theirs = dir.filePath(QStringLiteral("theirs"));
    if (owner != -1) {
        QFile file(owner == -2 ? theirs : path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const int user = owner == -2 ? 4242 : owner;
        QCOMPARE(::chown(QFile::encodeName(file.fileName()).constData(), uid_t(user), gid_t(user)),
                 0);
    }
    if (owner == -2)
        QVERIFY(QFile::link(theirs, path));
    QCOMPARE(desk::isOtherUsersFile(path), others);
}

QTEST_GUILESS_MAIN(TestFileOwner)
#include "test_file_owner.moc"
