// The rollback journal: what taking a record back does to each file, and a journal that was
// itself cut off by a crash or applied by another copy.

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

class TestRollbackJournal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rollBack_data();
    void rollBack();
    void recoverAppliesAWholeJournalOnly();
};

void TestRollbackJournal::rollBack_data()
{
    QTest::addColumn<bool>("existed");
    QTest::addColumn<QByteArray>("before"); // the file when the record began; "-" for none
    QTest::addColumn<QByteArray>("now");    // the file when it is taken back; "-" for none
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("takenBack");

    // The record appends "REC\r\n" (5 bytes).
    QTest::newRow("the record in full")
        << true << QByteArray("old\r\n") << QByteArray("old\r\nREC\r\n") << QByteArray("old\r\n")
        << true;
    QTest::newRow("the record torn") << true << QByteArray("old\r\n") << QByteArray("old\r\nRE")
                                     << QByteArray("old\r\n") << true;
    QTest::newRow("nothing of it")
        << true << QByteArray("old\r\n") << QByteArray("old\r\n") << QByteArray("old\r\n") << true;
    // Never shorter than before the record, never what someone else wrote.
    QTest::newRow("shorter than before")
        << true << QByteArray("old\r\n") << QByteArray("ol") << QByteArray("ol") << true;
    QTest::newRow("more than the record")
        << true << QByteArray("old\r\n") << QByteArray("old\r\nREC\r\nOTHER\r\n")
        << QByteArray("old\r\nREC\r\nOTHER\r\n") << false;
    QTest::newRow("created by the record")
        << false << QByteArray("-") << QByteArray("REC\r\n") << QByteArray("<missing>") << true;
    QTest::newRow("created, then another's note")
        << false << QByteArray("-") << QByteArray("REC\r\nNOTE\r\n")
        << QByteArray("REC\r\nNOTE\r\n") << false;
    QTest::newRow("gone meanwhile")
        << true << QByteArray("old\r\n") << QByteArray("-") << QByteArray("<missing>") << true;
}

void TestRollbackJournal::rollBack()
{
    QFETCH(bool, existed);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, now);
    QFETCH(QByteArray, after);
    QFETCH(bool, takenBack);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("notes.txt"));
    if (now != "-")
        QVERIFY(putFile(file, now));
    const JournalEntry entry{file, existed, before == "-" ? 0 : before.size(), 5};

    const QStringList failed = RollbackJournal::rollBack({entry}).notTakenBack;

    QCOMPARE(failed.isEmpty(), takenBack);
    QCOMPARE(fileState(file), after);
}

void TestRollbackJournal::recoverAppliesAWholeJournalOnly()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("lrnfiles"));
    QVERIFY(QDir().mkpath(folder));
    const QString master = folder + QStringLiteral("/master.txt");
    const QString send = folder + QStringLiteral("/send.txt");
    const QString other = folder + QStringLiteral("/other.txt");
    auto ours = [](const QString& name) {
        return name == QLatin1String("master.txt") || name == QLatin1String("send.txt");
    };

    // Left by a kill between the two files, then the folder moved (a renamed home): the master
    // file has the block, the send file not. Another file named in it is not the journal's.
    QVERIFY(putFile(master, "old\r\nREC\r\n"));
    QVERIFY(putFile(send, "old\r\n"));
    QVERIFY(putFile(other, "thesis\r\n"));
    RollbackJournal(folder + QStringLiteral("/.journal"))
        .begin({{master, true, 5, 5}, {send, true, 5, 5}, {other, true, 0, 100}});
    const QString moved = dir.filePath(QStringLiteral("moved"));
    QVERIFY(QDir().rename(folder, moved));
    RollbackJournal journal(moved + QStringLiteral("/.journal"));
    journal.recover(ours);
    QCOMPARE(fileState(moved + QStringLiteral("/master.txt")), QByteArray("old\r\n"));
    QCOMPARE(fileState(moved + QStringLiteral("/send.txt")), QByteArray("old\r\n"));
    QCOMPARE(fileState(moved + QStringLiteral("/other.txt")), QByteArray("thesis\r\n"));
    QCOMPARE(fileState(journal.hostPath()), QByteArray()); // emptied, kept for the next record

    // Applied meanwhile by another copy, which empties it: no longer the record's own.
    journal.begin({{moved + QStringLiteral("/master.txt"), true, 5, 0}});
    QVERIFY(journal.isInPlace());
    RollbackJournal(journal.hostPath()).recover(ours);
    QVERIFY(!journal.isInPlace());
    journal.release();

    // Cut off while it was written, before any record file was touched: it means nothing.
    journal.begin({{moved + QStringLiteral("/master.txt"), true, 0, 5}});
    QFile torn(journal.hostPath());
    QVERIFY(torn.open(QIODevice::ReadWrite));
    QVERIFY(torn.resize(torn.size() - 4));
    torn.close();
    journal.recover(ours);
    QCOMPARE(fileState(moved + QStringLiteral("/master.txt")), QByteArray("old\r\n"));
    QCOMPARE(fileState(journal.hostPath()), QByteArray()); // emptied, kept for the next record
    journal.recover(ours);                                 // none at all

    // A file edited since the crash holds more than the record: it is left alone and named once,
    // and the journal goes, so that it does not refuse every later record.
    QVERIFY(putFile(moved + QStringLiteral("/send.txt"), "old\r\nREC\r\nedited afterwards\r\n"));
    journal.begin({{moved + QStringLiteral("/send.txt"), true, 5, 5}});
    try {
        journal.recover(ours);
        QFAIL("an edited file was taken back");
    } catch (const desk::PartlyWrittenError& error) {
        QCOMPARE(error.files(), QStringList{moved + QStringLiteral("/send.txt")});
    }
    QCOMPARE(fileState(moved + QStringLiteral("/send.txt")),
             QByteArray("old\r\nREC\r\nedited afterwards\r\n"));
    QCOMPARE(fileState(journal.hostPath()), QByteArray()); // emptied, kept for the next record
}

QTEST_GUILESS_MAIN(TestRollbackJournal)
#include "test_rollback_journal.moc"
