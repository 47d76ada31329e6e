// The lock on a student's record files: taken, waited for and refused while another copy holds
// it, refused where something else stands in its place, and no longer in place once its file is
// removed or replaced under it.

#include "runtime/run_time_error.h"
#include "storage/record_lock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <unistd.h>

using desk::RecordLock;
using Reason = desk::RecordRefusal::Reason;

class TestRecordLock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lock_data();
    void lock();
};

void TestRecordLock::lock_data()
{
    QTest::addColumn<QString>("before");     // what stands at the lock's place
    QTest::addColumn<QString>("afterwards"); // what happens to it once taken
    QTest::addColumn<QString>("outcome");    // "held", "not in place", or the refusal

    QTest::newRow("free") << ""
                          << ""
                          << "held";
    QTest::newRow("another copy holds it") << "held"
                                           << ""
                                           << "AnotherCopyRecording";
    QTest::newRow("a folder there") << "folder"
                                    << ""
                                    << "NotAFile";
    QTest::newRow("a link there") << "link"
                                  << ""
                                  << "NotAFile";
    QTest::newRow("another user's file there") << "another user's"
                                               << ""
                                               << "OtherUsersFile";
    QTest::newRow("removed meanwhile") << ""
                                       << "removed"
                                       << "not in place";
    QTest::newRow("replaced meanwhile") << ""
                                        << "replaced"
                                        << "not in place";
}

void TestRecordLock::lock()
{
    QFETCH(QString, before);
    QFETCH(QString, afterwards);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral(".lock"));
    std::optional<RecordLock> other;
    if (before == QLatin1String("held"))
        other.emplace(path, std::chrono::milliseconds(0));
    else if (before == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (before == QLatin1String("link"))
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere")), path));
    else if (before == QLatin1String("another user's")) {
        if (::geteuid() != 0)
            QSKIP("only the superuser can give a file to another user");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 4242, 4242), 0);
    }
    try {
        RecordLock lock(path, std::chrono::milliseconds(50));
        QVERIFY(lock.held() && lock.isInPlace());
        if (afterwards == QLatin1String("removed") || afterwards == QLatin1String("replaced"))
            QVERIFY(QFile::remove(path));
        if (afterwards == QLatin1String("replaced")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(lock.isInPlace() ? QStringLiteral("held") : QStringLiteral("not in place"),
                 outcome);
    } catch (const desk::RecordRefusal& refusal) {
        const char* names[] = {"AnotherCopyRecording", "NotAFile", "OtherUsersFile"};
        const Reason reasons[] = {Reason::AnotherCopyRecording, Reason::NotAFile,
                                  Reason::OtherUsersFile};
        QString refused;
        for (int i = 0; i < 3; ++i)
            if (refusal.reason() == reasons[i])
                refused = QString::fromLatin1(names[i]);
        QCOMPARE(refused, outcome);
        QCOMPARE(refusal.paths(), QStringList{path});
    }
}

QTEST_GUILESS_MAIN(TestRecordLock)
#include "test_record_lock.moc"
