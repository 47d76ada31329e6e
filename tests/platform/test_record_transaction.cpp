// A record transaction in a folder the program does not have to itself: another user's journal
// and lock where this user's are kept, and a lock file removed while a record is written.

#include "platform/file_channels.h"
#include "platform/record_transaction.h"
#include "platform/run_time_error.h"
#include "support/expected_texts.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace desk;
using desk::testing::fileState;
using desk::testing::putFile;

namespace {

struct Folder {
    QTemporaryDir dir;
    QString master = dir.filePath(QStringLiteral("master.txt"));
    RecordSetPaths paths{dir.filePath(QStringLiteral(".lock")), dir.filePath(QStringLiteral(".journal")),
                         [](const QString& name) { return name == QLatin1String("master.txt"); }};

    // One record of `line` to the master file.
    void record(const char16_t* line)
    {
        FileChannels files;
        RecordTransaction transaction(files, paths);
        files.open(1, master, FileMode::Append);
        files.writeLine(1, line);
        files.closeTogether({1});
    }
};

} // namespace

class TestRecordTransaction : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void anotherUsersJournalCutsNothing();
    void lockRemovedBeforeTheRecordCounts();
};

// A journal in the student's place that names the master file with length 0: a classmate's, it
// is never applied. Removed where it may be, with the classmate's lock file; where it may not,
// the record is refused, naming it.
void TestRecordTransaction::anotherUsersJournalCutsNothing()
{
    if (::geteuid() != 0)
        QSKIP("only the superuser can give a file to another user");
    Folder f;
    putFile(f.master, "earlier block\r\n");
    RollbackJournal(f.paths.journal).begin({{f.master, true, 0, 100}});
    putFile(f.paths.lock, QByteArray());
    for (const QString& file : {f.paths.journal, f.paths.lock})
        QCOMPARE(::chown(QFile::encodeName(file).constData(), 4242, 4242), 0);

    f.record(u"new block");
    QCOMPARE(fileState(f.master), QByteArray("earlier block\r\nnew block\r\n"));
    QCOMPARE(fileState(f.paths.journal), QByteArray("<missing>"));
    QCOMPARE(QFileInfo(f.paths.lock).ownerId(), 0u);

    RollbackJournal(f.paths.journal).begin({{f.master, true, 0, 100}});
    QCOMPARE(::chown(QFile::encodeName(f.paths.journal).constData(), 4242, 4242), 0);
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), f.paths.journal}) != 0)
        QSKIP("cannot make a file that may not be removed here");
    auto unmark = qScopeGuard([&] { QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), f.paths.journal}); });
    try {
        f.record(u"refused");
        QFAIL("recorded over another user's journal");
    } catch (const RecordRefusal& refusal) {
        QCOMPARE(refusal.reason(), RecordRefusal::Reason::OtherUsersFile);
        QCOMPARE(refusal.paths(), QStringList{f.paths.journal});
    }
    QCOMPARE(fileState(f.master), QByteArray("earlier block\r\nnew block\r\n"));
}

// A tidying program removes the lock file in the middle of a record: another copy could have
// taken a lock of its own meanwhile, so the record does not count, and its journal takes it back
// out at the next record.
void TestRecordTransaction::lockRemovedBeforeTheRecordCounts()
{
    Folder f;
    putFile(f.master, "earlier block\r\n");
    {
        FileChannels files;
        RecordTransaction transaction(files, f.paths);
        files.open(1, f.master, FileMode::Append);
        files.writeLine(1, u"in doubt");
        QVERIFY(QFile::remove(f.paths.lock));
        try {
            files.closeTogether({1});
            QFAIL("a record without its lock counted");
        } catch (const RecordRefusal& refusal) {
            QCOMPARE(refusal.reason(), RecordRefusal::Reason::MayNotBeWhole);
            QCOMPARE(refusal.paths(), QStringList{f.master});
        }
    }
    f.record(u"next block");
    QCOMPARE(fileState(f.master), QByteArray("earlier block\r\nnext block\r\n"));
    QCOMPARE(fileState(f.paths.journal), QByteArray("<missing>"));
}

QTEST_GUILESS_MAIN(TestRecordTransaction)
#include "test_record_transaction.moc"
