// What the student is told when something goes wrong: under the error trap, and in a handler
// without one.

#include "app/error_policy.h"
#include "runtime/run_time_error.h"
#include "support/expected_texts.h"

#include <QDir>
#include <QTest>

using namespace desk;
using desk::testing::generalErrorText;
using desk::testing::invalidAssignmentText;

class TestErrorPolicy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void messages_data();
    void messages();
    void unencodableTextNamesTheCharacters();
    void refusalsNameTheCauseAndTheFiles_data();
    void refusalsNameTheCauseAndTheFiles();
};

void TestErrorPolicy::messages_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("trapped");
    QTest::addColumn<QString>("untrapped");

    // A handler's own error 9 must not claim that the program ends.
    QTest::newRow("9, invalid assignment") << 9 << invalidAssignmentText() << generalErrorText(9);
    QTest::newRow("76, path not found") << 76 << generalErrorText(76) << generalErrorText(76);
    QTest::newRow("13, type mismatch") << 13 << generalErrorText(13) << generalErrorText(13);
    QTest::newRow("6, overflow") << 6 << generalErrorText(6) << generalErrorText(6);
    QTest::newRow("53, file not found") << 53 << generalErrorText(53) << generalErrorText(53);
    QTest::newRow("62, past the end") << 62 << generalErrorText(62) << generalErrorText(62);
    QTest::newRow("51, internal") << 51 << generalErrorText(51) << generalErrorText(51);
    QTest::newRow("7, out of memory") << 7 << generalErrorText(7) << generalErrorText(7);
}

void TestErrorPolicy::messages()
{
    QFETCH(int, number);
    QFETCH(QString, trapped);
    QFETCH(QString, untrapped);
    const RunTimeError error(number, QStringLiteral("detail"));
    QCOMPARE(trapMessage(error), trapped);
    QCOMPARE(untrappedMessage(error), untrapped);
}

void TestErrorPolicy::unencodableTextNamesTheCharacters()
{
    const QStringList characters{QStringLiteral("\u03B1"), QStringLiteral("\U0001F600")};
    const UnencodableTextError error(characters);
    for (const QString& message : {trapMessage(error), untrappedMessage(error)}) {
        QVERIFY2(message.contains(QStringLiteral("\u03B1")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\U0001F600")), qPrintable(message));
        QVERIFY(!message.startsWith(QStringLiteral("You have encountered an error.")));
    }
}

void TestErrorPolicy::refusalsNameTheCauseAndTheFiles_data()
{
    QTest::addColumn<RecordRefusal::Reason>("reason");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("said");    // the cause and the files, as the message puts them
    QTest::addColumn<QString>("notSaid"); // a cause that is not this one

    using Reason = RecordRefusal::Reason;
    const QString master = QStringLiteral("/f/masterFile_Ann_Lee.txt");
    const QString send = QStringLiteral("/f/send_0105Ann_Lee.txt");
    QTest::newRow("a record file moved, the record not taken back")
        << Reason::RecordFileMoved << QStringList{send}
        << QStringLiteral("moved or removed one of your record files, and the record could not "
                          "be taken back out of /f/send_0105Ann_Lee.txt.  Please look at the end "
                          "of that file")
        << QStringLiteral("lock or journal");
    QTest::newRow("a lock or the journal replaced")
        << Reason::MayNotBeWhole << QStringList{master, send}
        << QStringLiteral("the hidden lock or journal file that the program keeps beside the "
                          "record files, so the program cannot tell whether the record is whole "
                          "in /f/masterFile_Ann_Lee.txt and /f/send_0105Ann_Lee.txt.  Please look "
                          "at the end of those files")
        << QStringLiteral("one of your record files");
    QTest::newRow("an earlier record to take back out of the record files")
        << Reason::EarlierRecordUnfinished << QStringList{master}
        << QStringLiteral("is still to be taken back out of /f/masterFile_Ann_Lee.txt, and")
        << QStringLiteral("journal");
    QTest::newRow("the journal unreadable") << Reason::JournalUnreadable << QStringList{"/f"}
                                            << QStringLiteral("your record files in /f, and the "
                                                              "folder did not let the program "
                                                              "read the hidden journal")
                                            << QStringLiteral("/f/");
}

void TestErrorPolicy::refusalsNameTheCauseAndTheFiles()
{
    QFETCH(RecordRefusal::Reason, reason);
    QFETCH(QStringList, paths);
    QFETCH(QString, said);
    QFETCH(QString, notSaid);
    // The student reads paths the system's way ("\f\masterFile_Ann_Lee.txt" on Windows).
    said.replace(u'/', QDir::separator());
    notSaid.replace(u'/', QDir::separator());
    const QString message = trapMessage(RecordRefusal(reason, paths));
    QVERIFY2(message.startsWith(generalErrorText(75) + QStringLiteral("\n\n")),
             qPrintable(message));
    QVERIFY2(message.contains(said), qPrintable(message));
    QVERIFY2(!message.contains(notSaid), qPrintable(message));
}

QTEST_GUILESS_MAIN(TestErrorPolicy)
#include "test_error_policy.moc"
