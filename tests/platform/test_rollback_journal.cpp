// The rollback journal: what taking a record back does to each file, and a journal that was
// itself cut off by a crash.

#include "platform/rollback_journal.h"
#include "support/expected_texts.h"

#include <QTemporaryDir>
#include <QTest>

using desk::JournalEntry;
using desk::RollbackJournal;
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
    QTest::addColumn<QByteArray>("before");  // the file when the record began; "-" for none
    QTest::addColumn<QByteArray>("now");      // the file when it is taken back; "-" for none
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("takenBack");

    // The record appends "REC\r\n" (5 bytes).
    QTest::newRow("the record in full") << true << QByteArray("old\r\n") << QByteArray("old\r\nREC\r\n")
                                        << QByteArray("old\r\n") << true;
    QTest::newRow("the record torn") << true << QByteArray("old\r\n") << QByteArray("old\r\nRE")
                                     << QByteArray("old\r\n") << true;
    QTest::newRow("nothing of it") << true << QByteArray("old\r\n") << QByteArray("old\r\n") << QByteArray("old\r\n")
                                   << true;
    // Never shorter than before the record, never what someone else wrote.
    QTest::newRow("shorter than before") << true << QByteArray("old\r\n") << QByteArray("ol") << QByteArray("ol")
                                         << true;
    QTest::newRow("more than the record") << true << QByteArray("old\r\n") << QByteArray("old\r\nREC\r\nOTHER\r\n")
                                          << QByteArray("old\r\nREC\r\nOTHER\r\n") << false;
    QTest::newRow("created by the record") << false << QByteArray("-") << QByteArray("REC\r\n") << QByteArray("<missing>")
                                           << true;
    QTest::newRow("created, then another's note") << false << QByteArray("-") << QByteArray("REC\r\nNOTE\r\n")
                                                  << QByteArray("REC\r\nNOTE\r\n") << false;
    QTest::newRow("gone meanwhile") << true << QByteArray("old\r\n") << QByteArray("-") << QByteArray("<missing>") << true;
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
        putFile(file, now);
    const JournalEntry entry{file, existed, before == "-" ? 0 : before.size(), 5};

    const QStringList failed = RollbackJournal::rollBack({entry});

    QCOMPARE(failed.isEmpty(), takenBack);
    QCOMPARE(fileState(file), after);
}

void TestRollbackJournal::recoverAppliesAWholeJournalOnly()
{
    QTemporaryDir dir;
    const QString master = dir.filePath(QStringLiteral("master.txt"));
    const QString send = dir.filePath(QStringLiteral("send.txt"));
    RollbackJournal journal(dir.filePath(QStringLiteral(".journal")));

    // Left by a kill between the two files: the master file has the block, the send file not.
    putFile(master, "old\r\nREC\r\n");
    putFile(send, "old\r\n");
    journal.begin({{master, true, 5, 5}, {send, true, 5, 5}});
    journal.recover();
    QCOMPARE(fileState(master), QByteArray("old\r\n"));
    QCOMPARE(fileState(send), QByteArray("old\r\n"));
    QCOMPARE(fileState(journal.hostPath()), QByteArray("<missing>"));

    // Cut off while it was written, before any record file was touched: it means nothing.
    journal.begin({{master, true, 0, 5}});
    QFile torn(journal.hostPath());
    QVERIFY(torn.open(QIODevice::ReadWrite));
    QVERIFY(torn.resize(torn.size() - 4));
    torn.close();
    journal.recover();
    QCOMPARE(fileState(master), QByteArray("old\r\n"));
    QCOMPARE(fileState(journal.hostPath()), QByteArray("<missing>"));
    journal.recover();  // none at all
}

QTEST_GUILESS_MAIN(TestRollbackJournal)
#include "test_rollback_journal.moc"
