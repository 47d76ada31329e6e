#include "app/student_texts.h"

#include <QDir>
#include <QFileInfo>

namespace desk::texts {

const QString homeOrLanPrompt = QStringLiteral("Enter 1 for home user, 2 for MERO LAN user");
const QString namePrompt = QStringLiteral("Your full name:  ");
const QString initialsPrompt = QStringLiteral("Your initials (use all 3 initials and always use "
                                              "the same three initials when submitting work):  ");
const QString assignmentPrompt = QStringLiteral("Assignment Number:  ");

QString answerPrompt()
{
    return QStringLiteral(
        "Enter, as appropriate, an answer to the question, a critique of your answer in response "
        "to a given answer, your insights regarding the situation at this point, notes to "
        "yourself, or just an OK.\r\n\r\n"
        "Always critique your solutions by describing any insights you had or errors you makde, "
        "and by explaining how you can make use of the insight or how you now know how to avoid "
        "certain errors.  Also pose for the instructor any question or questions that you have "
        "related to the problem or series of problems.");
}

QString unheldCharacters(const QString& what, const QStringList& characters)
{
    return QStringLiteral("Your %1 cannot go into the record files as typed, because of:\n")
               .arg(what)
        + QStringLiteral("\n    ") + characters.join(QStringLiteral("\n    "))
        + QStringLiteral(
               "\n\nThe files the instructor reads give it one line of one-byte characters "
               "(Windows-1252), with no place for these.  Please type it again without them, for "
               "example with a plain letter for one the files do not have (\"L\" for \"\u0141\").  "
               "An invisible character may have come in with pasted text.");
}

QString nameTooLong(qsizetype fits, qsizetype length)
{
    return QStringLiteral("Your full name is too long for the names of the record files: this "
                          "folder takes %1 of its %2 characters.  Please type it again, shorter.")
        .arg(fits)
        .arg(length);
}

QString nameRefusedByFolder()
{
    return QStringLiteral(
        "The folder of the record files does not take your full name in a file name: it may not "
        "take some of its characters.  Please type it again, for example without punctuation.");
}

QString invalidAssignment()
{
    return QStringLiteral(
        "You have probably not entered a valid assignment number.  Make sure the assignment "
        "number is a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is "
        "supposed to be in the current drillkit.  This program will end and you will need to "
        "start over.  If you are sure you have entered a valid assignment number email the "
        "instructor and specify that you have received a 'subscript out of range' error");
}

QString endOfAssignment(bool textLeft)
{
    const QString recorded = textLeft
        ? QStringLiteral("Every answer and note that the program told you it recorded is in your "
                         "record files; the text you chose to leave unrecorded is not.  ")
        : QStringLiteral("Your work is recorded: every answer and note you recorded with \"Enter "
                         "Response\" or \"Save as Notes\" is in your record files.  ");
    return QStringLiteral(
               "You have reached the end of this assignment: there are no more paragraphs.  ")
        + recorded + QStringLiteral("Click \"quit program\" to end the program.");
}

QString generalError(int number)
{
    return QStringLiteral(
               "You have encountered an error.  If you are encountering this error repeatedly you "
               "should report the error number to the instructor and explain exactly what you were "
               "doing, keystroke by keystroke, when the error occurred.  The error is:  ")
        + QString::number(number);
}

QString unencodableText(const QStringList& characters)
{
    return QStringLiteral("Nothing was recorded.  The record files cannot hold these characters: ")
        + characters.join(u' ')
        + QStringLiteral("\n\nPlease write them another way (for example \"alpha\" for the "
                         "Greek letter or \"->\" for an arrow) and record again.  Your text is "
                         "still in the box.");
}

QString partlyWritten(int number, const QStringList& files)
{
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    return generalError(number) + QStringLiteral("\n\nA record could not be taken back out of ")
        + names.join(QStringLiteral(" and "))
        + (names.size() == 1 ? QStringLiteral(": that file may hold part of it.")
                             : QStringLiteral(": those files may hold part of it."));
}

namespace {

// Why a record was refused, or may not be whole; {files} stands for the paths the refusal names,
// {that file} for "that file" or "those files".
QString refusalReason(RecordRefusal::Reason reason)
{
    const QString inTheWay = QStringLiteral(
        "Nothing was recorded.  The program keeps a hidden file of its own at {files}, beside the "
        "record files, and ");
    const QString earlier = QStringLiteral(
        "Nothing was recorded.  An earlier record that was interrupted (by a crash or a lost "
        "connection) ");
    const QString tryAgain =
        QStringLiteral("The program tries again at every record: please record again in a moment.");
    const QString lookAtTheEnd =
        QStringLiteral("Please look at the end of {that file} before you record it again.");
    using Reason = RecordRefusal::Reason;
    switch (reason) {
    case Reason::AnotherCopyRecording:
        return QStringLiteral(
            "Another copy of the program is recording for this name just now, on this computer or "
            "on another one that uses the same folder.  Nothing was recorded: please try again in "
            "a moment.");
    case Reason::NotAFile:
        return inTheWay
            + QStringLiteral("something that is not a file (a folder, a link or another kind of "
                             "entry) stands there.  The program leaves it alone: please have it "
                             "moved away, then record again.");
    case Reason::OtherUsersFile:
        return inTheWay
            + QStringLiteral("a file of another user's that you may not remove stands there.  The "
                             "program does not rely on it: please ask its owner or the instructor "
                             "to remove it, then record again.");
    case Reason::OtherUsersRecordFile:
        return QStringLiteral(
            "Nothing was recorded.  The record file {files} belongs to another user, who could "
            "change or empty it at any time, so the program does not record into it.  Please ask "
            "the instructor to have it removed or given to you, then record again.");
    case Reason::EarlierRecordUnfinished:
        return earlier
            + QStringLiteral("is still to be taken back out of {files}, and the folder did not let "
                             "the program do it just now.  ")
            + tryAgain;
    case Reason::JournalUnreadable:
        return earlier
            + QStringLiteral("may still be to be taken back out of your record files in {files}, "
                             "and the folder did not let the program read the hidden journal that "
                             "says so just now.  ")
            + tryAgain;
    case Reason::ChangedMeanwhile:
        return QStringLiteral(
            "Nothing was recorded.  While the record was written, another program moved or removed "
            "the hidden lock file that the program keeps beside the record files, or one of the "
            "record files, so the record does not count and is taken back out of the files.  "
            "Please record it again.");
    case Reason::RecordFileMoved:
        return QStringLiteral(
                   "The record may not be whole.  While it was written, another program moved or "
                   "removed one of your record files, and the record could not be taken back out "
                   "of {files}.  ")
            + lookAtTheEnd;
    case Reason::MayNotBeWhole:
        return QStringLiteral(
                   "The record may not be whole.  While it was written, another program removed or "
                   "replaced the hidden lock or journal file that the program keeps beside the "
                   "record files, so the program cannot tell whether the record is whole in "
                   "{files}.  ")
            + lookAtTheEnd;
    }
    return QString();
}

} // namespace

QString recordRefusal(const RecordRefusal& refusal)
{
    QStringList names;
    for (const QString& path : refusal.paths())
        names << QDir::toNativeSeparators(path);
    QString why = refusalReason(refusal.reason());
    why.replace(QStringLiteral("{files}"), names.join(QStringLiteral(" and ")));
    why.replace(QStringLiteral("{that file}"),
                names.size() == 1 ? QStringLiteral("that file") : QStringLiteral("those files"));
    return generalError(refusal.number()) + QStringLiteral("\n\n") + why;
}

QString otherUsersJournal(const QString& path)
{
    return QStringLiteral(
               "A file of another user's, %1, stands where the program keeps the rollback journal "
               "for your name.  The program does not apply it and leaves it where it is: your "
               "records go on under a journal of your own.  You may ask its owner or the "
               "instructor to remove it.")
        .arg(QDir::toNativeSeparators(path));
}

QString unrecordedAnswer(UnrecordedText text)
{
    const QString leave = QStringLiteral(
        "Go on to the next paragraph and leave it unrecorded?\n\n"
        "Yes: go on; the text is not recorded and the box shows the instructions again.\n");
    const QString stay = QStringLiteral(
        "No: stay on this paragraph with your text in the box, so that you can record it");
    switch (text) {
    case UnrecordedText::MayBeInFiles:
        return QStringLiteral(
                   "What is in the box on the right may be in your record files, whole or in part "
                   "(the message before this one names the files to look at), and it belongs to "
                   "the paragraph you are on.  Go on to the next paragraph without recording it "
                   "again?\n\n"
                   "Yes: go on; the text is not recorded again and the box shows the instructions "
                   "again.\n")
            + stay + QStringLiteral(" again once you have looked at your record files.");
    case UnrecordedText::Refused:
        return QStringLiteral("What is in the box on the right could not be recorded, and it "
                              "belongs to the paragraph you are on.  ")
            + leave + stay + QStringLiteral(" again.");
    case UnrecordedText::Typed: break;
    }
    return QStringLiteral("What is in the box on the right is not recorded yet, and it belongs to "
                          "the paragraph you are on.  ")
        + leave + stay + QStringLiteral(" with \"Enter Response\" or \"Save as Notes\".");
}

const QString responseRecorded = QStringLiteral("Response recorded");
const QString noteSaved = QStringLiteral("Note saved");
const QString nothingRecorded =
    QStringLiteral("Nothing recorded: the box held only the instructions. Both boxes are empty");
const QString everythingShown =
    QStringLiteral("Everything of this run shown in the questions box, newest first");
const QString answerBoxEmptied = QStringLiteral("Answer box emptied");

QString notesAdded(const QString& newestNote)
{
    if (newestNote.isEmpty())
        return QStringLiteral("Your notes added to the questions box: there are none yet");
    return QStringLiteral("Your notes added to the questions box. The newest: ") + newestNote;
}

} // namespace desk::texts
