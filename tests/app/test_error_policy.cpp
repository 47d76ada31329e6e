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
    // Every other number gets the general message, with its number.
    QTest::newRow("76, path not found") << 76 << generalErrorText(76) << generalErrorText(76);
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

// Each reason a record is refused, or may not be whole, told once: its cause and the files.
void TestErrorPolicy::refusalsNameTheCauseAndTheFiles_data()
{
    QTest::addColumn<RecordRefusal::Reason>("reason");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("said");    // the cause and the files, as the message puts them
    QTest::addColumn<QString>("notSaid"); // a cause that is not this one

    using Reason = RecordRefusal::Reason;
    const QString master = QStringLiteral("/f/masterFile_Ann_Lee.txt");
    const QString send = QStringLiteral("/f/send_0105Ann_Lee.txt");
    const QString lock = QStringLiteral("/f/.desk-lock_Ann_Lee");
    QTest::newRow("another copy recording")
        << Reason::AnotherCopyRecording << QStringList{lock} << 75
        << QStringLiteral("Another copy of the program is recording for this name just now, on "
                          "this computer or on another one that uses the same folder.  Nothing "
                          "was recorded: please try again in a moment.")
        << QStringLiteral("/f/");
    QTest::newRow("not a file where a hidden file belongs")
        << Reason::NotAFile << QStringList{lock} << 75
        << QStringLiteral("hidden file of its own at /f/.desk-lock_Ann_Lee, beside the record "
                          "files, and something that is not a file (a folder, a link or another "
                          "kind of entry) stands there.  The program leaves it alone")
        << QStringLiteral("another user");
    QTest::newRow("another user's hidden file")
        << Reason::OtherUsersFile << QStringList{lock} << 70
        << QStringLiteral("at /f/.desk-lock_Ann_Lee, beside the record files, and a file of "
                          "another user's that you may not remove stands there.")
        << QStringLiteral("not a file");
    QTest::newRow("another user's record file")
        << Reason::OtherUsersRecordFile << QStringList{master} << 70
        << QStringLiteral("The record file /f/masterFile_Ann_Lee.txt belongs to another user")
        << QStringLiteral("hidden");
    QTest::newRow("an earlier record to take back out of the record files")
        << Reason::EarlierRecordUnfinished << QStringList{master} << 75
        << QStringLiteral("is still to be taken back out of /f/masterFile_Ann_Lee.txt, and")
        << QStringLiteral("journal");
    QTest::newRow("the journal unreadable")
        << Reason::JournalUnreadable << QStringList{QStringLiteral("/f")} << 75
        << QStringLiteral("your record files in /f, and the folder did not let the program read "
                          "the hidden journal")
        << QStringLiteral("/f/");
    QTest::newRow("a lock or record file moved, taken back")
        << Reason::ChangedMeanwhile << QStringList{} << 75
        << QStringLiteral("moved or removed the hidden lock file that the program keeps beside "
                          "the record files, or one of the record files, so the record does not "
                          "count and is taken back out of the files.  Please record it again.")
        << QStringLiteral("may not be whole");
    QTest::newRow("a record file moved, the record not taken back")
        << Reason::RecordFileMoved << QStringList{send} << 75
        << QStringLiteral("moved or removed one of your record files, and the record could not "
                          "be taken back out of /f/send_0105Ann_Lee.txt.  Please look at the end "
                          "of that file")
        << QStringLiteral("lock or journal");
    QTest::newRow("a lock or the journal replaced")
        << Reason::MayNotBeWhole << QStringList{master, send} << 75
        << QStringLiteral("the hidden lock or journal file that the program keeps beside the "
                          "record files, so the program cannot tell whether the record is whole "
                          "in /f/masterFile_Ann_Lee.txt and /f/send_0105Ann_Lee.txt.  Please look "
                          "at the end of those files")
        << QStringLiteral("one of your record files");
}

void TestErrorPolicy::refusalsNameTheCauseAndTheFiles()
{
    QFETCH(RecordRefusal::Reason, reason);
    QFETCH(QStringList, paths);
    QFETCH(int, number);
    QFETCH(QString, said);
    QFETCH(QString, notSaid);
    // The student reads paths the system's way ("\f\masterFile_Ann_Lee.txt" on Windows).
    said.replace(u'/', QDir::separator());
    notSaid.replace(u'/', QDir::separator());
    const QString message = trapMessage(RecordRefusal(reason, paths));
    QVERIFY2(message.startsWith(generalErrorText(number) + QStringLiteral("\n\n")),
             qPrintable(message));
    QVERIFY2(message.contains(said), qPrintable(message));
    QVERIFY2(!message.contains(notSaid), qPrintable(message));
}

QTEST_GUILESS_MAIN(TestErrorPolicy)
#include "test_error_policy.moc"
