// The record transaction among other users' and programs' files: the student's own locks and
// journals count, others' never do, and a lock or record file moved while a record is written
// makes it not count.

#include "runtime/run_time_error.h"
#include "storage/record_transaction.h"
#include "support/expected_texts.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <unistd.h>

using namespace desk;
using desk::testing::fileState;
using desk::testing::putFile;

class TestRecordTransaction : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyTheStudentsOwnLockAndJournalCount();
};

namespace {

// A folder with a master file and the lock and journal of its records.
struct RecordFolder {
    QTemporaryDir dir;
    QString master = dir.filePath(QStringLiteral("master.txt"));
    RecordSetPaths paths{
        dir.filePath(QStringLiteral(".lock")), dir.filePath(QStringLiteral(".journal")),
        dir.filePath(QStringLiteral(".lock.me")), dir.filePath(QStringLiteral(".journal.me")),
        [](const QString&) { return true; }};

    // One record of `line`, or the reason it was refused; `meanwhile` runs before it is written.
    std::optional<RecordRefusal::Reason> record(const char16_t* line,
                                                const std::function<void()>& meanwhile = {})
    {
        try {
            FileChannels files;
            RecordTransaction transaction(files, paths);
            files.open(1, master, FileMode::Append);
            files.writeLine(1, line);
            if (meanwhile)
                meanwhile();
            transaction.closeTogether({1});
        } catch (const RecordRefusal& refusal) {
            return refusal.reason();
        }
        return std::nullopt;
    }
};

} // namespace

// Where the student's locks and journals belong, files of other people's and programs' count for
// nothing.
void TestRecordTransaction::onlyTheStudentsOwnLockAndJournalCount()
{
    RecordFolder f;
    // A master file the record makes, moved away meanwhile: the record is taken back out of it
    // where it went.
    const QString moved = f.dir.filePath(QStringLiteral("moved.txt"));
    QCOMPARE(f.record(u"moved", [&] { QFile::rename(f.master, moved); }),
             RecordRefusal::Reason::ChangedMeanwhile);
    QCOMPARE(fileState(moved), QByteArray());
    QVERIFY(putFile(f.master, "earlier\r\n"));
    // A tidying program removes a lock file during a record: another copy could have taken a lock
    // of its own meanwhile, so the record does not count, and the next record takes it back out.
    QCOMPARE(f.record(u"in doubt", [&] { QFile::remove(f.paths.lock); }),
             RecordRefusal::Reason::ChangedMeanwhile);
    QVERIFY(!f.record(u"new"));
    QCOMPARE(fileState(f.master), QByteArray("earlier\r\nnew\r\n"));
    // A folder where a lock belongs is named in the refusal, and stays.
    QVERIFY(QFile::remove(f.paths.lock) && QDir().mkdir(f.paths.lock));
    QCOMPARE(f.record(u"refused"), RecordRefusal::Reason::NotAFile);
    QVERIFY(QFileInfo(f.paths.lock).isDir() && QDir().rmdir(f.paths.lock));

    if (::geteuid() != 0)
        QSKIP("only the superuser can give a file to another user");
    auto giveTo = [](const QString& file, uint user) {
        return ::chown(QFile::encodeName(file).constData(), user, user) == 0;
    };
    QVERIFY(putFile(f.paths.lock, ""));
    QVERIFY(giveTo(f.paths.lock, 4242));
    // The student's own journal at the name's place, left by a crash, is applied under the
    // user's lock, whoever holds the name's.
    RollbackJournal(f.paths.journal).begin({{f.master, true, QFileInfo(f.master).size(), 100}});
    QFile torn(f.master);
    QVERIFY(torn.open(QIODevice::Append) && torn.write("torn") == 4);
    torn.close();
    QVERIFY(!f.record(u"next"));
    // A classmate's journal for the name, naming the master file with length 0, is never applied
    // and stays where it is, beside the classmate's lock or the student's.
    RollbackJournal(f.paths.journal).begin({{f.master, true, 0, 100}});
    QVERIFY(giveTo(f.paths.journal, 4242));
    QVERIFY(!f.record(u"more"));
    QVERIFY(giveTo(f.paths.lock, 0));
    QVERIFY(!f.record(u"last"));
    QCOMPARE(fileState(f.master), QByteArray("earlier\r\nnew\r\nnext\r\nmore\r\nlast\r\n"));
    QCOMPARE(QFileInfo(f.paths.journal).ownerId(), 4242u);
}

QTEST_GUILESS_MAIN(TestRecordTransaction)
#include "test_record_transaction.moc"
