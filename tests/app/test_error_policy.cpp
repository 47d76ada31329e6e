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

// Each reason a record is refused, or may not be whole, told once, in full: its cause, the files
// it names and what the student is to do.
void TestErrorPolicy::refusalsNameTheCauseAndTheFiles_data()
{
    QTest::addColumn<RecordRefusal::Reason>("reason");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("why"); // after the general message

    using Reason = RecordRefusal::Reason;
    const QString master = QStringLiteral("/f/masterFile_Ann_Lee.txt");
    const QString send = QStringLiteral("/f/send_0105Ann_Lee.txt");
    const QString lock = QStringLiteral("/f/.desk-lock_Ann_Lee");
    const QString hidden = QStringLiteral("Nothing was recorded.  The program keeps a hidden file "
                                          "of its own at /f/.desk-lock_Ann_Lee, beside the record "
                                          "files, and ");
    const QString earlier = QStringLiteral("Nothing was recorded.  An earlier record that was "
                                           "interrupted (by a crash or a lost connection) ");
    const QString tryAgain = QStringLiteral("The program tries again at every record: please "
                                            "record again in a moment.");
    QTest::newRow("another copy recording")
        << Reason::AnotherCopyRecording << QStringList{lock} << 75
        << QStringLiteral("Another copy of the program is recording for this name just now, on "
                          "this computer or on another one that uses the same folder.  Nothing "
                          "was recorded: please try again in a moment.");
    QTest::newRow("not a file where a hidden file belongs")
        << Reason::NotAFile << QStringList{lock} << 75
        << hidden
            + QStringLiteral("something that is not a file (a folder, a link or another kind of "
                             "entry) stands there.  The program leaves it alone: please have it "
                             "moved away, then record again.");
    QTest::newRow("another user's hidden file") << Reason::OtherUsersFile << QStringList{lock} << 70
                                                << hidden
            + QStringLiteral("a file of another user's that you may not remove stands there.  The "
                             "program does not rely on it: please ask its owner or the instructor "
                             "to remove it, then record again.");
    QTest::newRow("another user's record file")
        << Reason::OtherUsersRecordFile << QStringList{master} << 70
        << QStringLiteral(
               "Nothing was recorded.  The record file /f/masterFile_Ann_Lee.txt belongs "
               "to another user, who could change or empty it at any time, so the "
               "program does not record into it.  Please ask the instructor to have it "
               "removed or given to you, then record again.");
    QTest::newRow("an earlier record to take back out of the record files")
        << Reason::EarlierRecordUnfinished << QStringList{master} << 75
        << earlier
            + QStringLiteral("is still to be taken back out of /f/masterFile_Ann_Lee.txt, and the "
                             "folder did not let the program do it just now.  ")
            + tryAgain;
    QTest::newRow("the journal unreadable")
        << Reason::JournalUnreadable << QStringList{QStringLiteral("/f")} << 75
        << earlier
            + QStringLiteral("may still be to be taken back out of your record files in /f, and "
                             "the folder did not let the program read the hidden journal that "
                             "says so just now.  ")
            + tryAgain;
    QTest::newRow("a lock or record file moved, taken back")
        << Reason::ChangedMeanwhile << QStringList{} << 75
        << QStringLiteral("Nothing was recorded.  While the record was written, another program "
                          "moved or removed the hidden lock file that the program keeps beside "
                          "the record files, or one of the record files, so the record does not "
                          "count and is taken back out of the files.  Please record it again.");
    QTest::newRow("a record file moved, the record not taken back")
        << Reason::RecordFileMoved << QStringList{send} << 75
        << QStringLiteral("The record may not be whole.  While it was written, another program "
                          "moved or removed one of your record files, and the record could not be "
                          "taken back out of /f/send_0105Ann_Lee.txt.  Please look at the end of "
                          "that file before you record it again.");
    QTest::newRow("a lock or the journal replaced")
        << Reason::MayNotBeWhole << QStringList{master, send} << 75
        << QStringLiteral("The record may not be whole.  While it was written, another program "
                          "removed or replaced the hidden lock or journal file that the program "
                          "keeps beside the record files, so the program cannot tell whether the "
                          "record is whole in /f/masterFile_Ann_Lee.txt and "
                          "/f/send_0105Ann_Lee.txt.  Please look at the end of those files before "
                          "you record it again.");
}

void TestErrorPolicy::refusalsNameTheCauseAndTheFiles()
{
    QFETCH(RecordRefusal::Reason, reason);
    QFETCH(QStringList, paths);
    QFETCH(int, number);
    QFETCH(QString, why);
    // The student reads paths the system's way ("\f\masterFile_Ann_Lee.txt" on Windows).
    why.replace(u'/', QDir::separator());
    QCOMPARE(trapMessage(RecordRefusal(reason, paths)),
             generalErrorText(number) + QStringLiteral("\n\n") + why);
}

QTEST_GUILESS_MAIN(TestErrorPolicy)
#include "test_error_policy.moc"
