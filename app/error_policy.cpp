// The program's error policy, all in one place:
// - setUpProgram, openAssignment, readNextQuestion and cmdNextQuestion_Click arm the error trap:
//   on a run-time error their remaining steps are skipped, the trap's message is shown, and the
//   procedure returns. Only assignment opening goes on to end the program, on error 9 (the
//   assignment is not in the bank, or its number is beyond the table's 100): the message says so.
//   The question cursor reaches error 9 when it runs past the bank's last slot, which is where
//   every assignment of the bank ends: there the student is told the assignment is finished.
// - Every other handler has no trap: an error stops it, the general error message with the number
//   is shown, and the program goes on, so that the student keeps the session.
// - A failing timer tick is reported once, not 67 times a second.
// The record files' own failures carry the wording the student needs to act on them.

#include "app/main_window.h"

#include "app/error_policy.h"
#include "runtime/error_trap.h"
#include "runtime/run_time_error.h"
#include "widgets/dialogs.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace desk {

QString invalidAssignmentMessage()
{
    return QStringLiteral(
        "You have probably not entered a valid assignment number.  Make sure the assignment "
        "number is a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is "
        "supposed to be in the current drillkit.  This program will end and you will need to "
        "start over.  If you are sure you have entered a valid assignment number email the "
        "instructor and specify that you have received a 'subscript out of range' error");
}

QString endOfAssignmentMessage(bool textLeft)
{
    const QString end = QStringLiteral(
        "You have reached the end of this assignment: there are no more paragraphs.  ");
    const QString quit = QStringLiteral("Click \"quit program\" to end the program.");
    if (textLeft)
        return end
            + QStringLiteral("Every answer and note that the program told you it recorded is in "
                             "your record files; the text you chose to leave unrecorded is not.  ")
            + quit;
    return end
        + QStringLiteral("Your work is recorded: every answer and note you recorded with \"Enter "
                         "Response\" or \"Save as Notes\" is in your record files.  ")
        + quit;
}

QString unrecordedAnswerQuestion(UnrecordedText text)
{
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
        return QStringLiteral(
                   "What is in the box on the right could not be recorded, and it belongs to the "
                   "paragraph you are on.  Go on to the next paragraph and leave it unrecorded?"
                   "\n\n"
                   "Yes: go on; the text is not recorded and the box shows the instructions "
                   "again.\n")
            + stay + QStringLiteral(" again.");
    case UnrecordedText::Typed: break;
    }
    return QStringLiteral(
               "What is in the box on the right is not recorded yet, and it belongs to the "
               "paragraph you are on.  Go on to the next paragraph and leave it unrecorded?\n\n"
               "Yes: go on; the text is not recorded and the box shows the instructions again.\n")
        + stay + QStringLiteral(" with \"Enter Response\" or \"Save as Notes\".");
}

QString generalErrorMessage(int number)
{
    return QStringLiteral(
               "You have encountered an error.  If you are encountering this error repeatedly you "
               "should report the error number to the instructor and explain exactly what you were "
               "doing, keystroke by keystroke, when the error occurred.  The error is:  ")
        + QString::number(number);
}

QString unencodableTextMessage(const QStringList& characters)
{
    return QStringLiteral("Nothing was recorded.  The record files cannot hold these characters: ")
        + characters.join(u' ')
        + QStringLiteral("\n\nPlease write them another way (for example \"alpha\" for the "
                         "Greek letter or \"->\" for an arrow) and record again.  Your text is "
                         "still in the box.");
}

QString partlyWrittenMessage(int number, const QStringList& files)
{
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    return generalErrorMessage(number)
        + QStringLiteral("\n\nA record could not be taken back out of ")
        + names.join(QStringLiteral(" and "))
        + (names.size() == 1 ? QStringLiteral(": that file may hold part of it.")
                             : QStringLiteral(": those files may hold part of it."));
}

QString recordRefusalMessage(const RecordRefusal& refusal)
{
    QStringList names;
    for (const QString& path : refusal.paths())
        names << QDir::toNativeSeparators(path);
    const QString named = names.join(QStringLiteral(" and "));
    const QString thatFile =
        names.size() == 1 ? QStringLiteral("that file") : QStringLiteral("those files");
    auto inTheWay = [&](const QString& what) {
        return QStringLiteral("Nothing was recorded.  The program keeps a hidden file of its own "
                              "at %1, beside the "
                              "record files, and %2 stands there.  ")
            .arg(named, what);
    };
    QString why;
    switch (refusal.reason()) {
    case RecordRefusal::Reason::AnotherCopyRecording:
        why = QStringLiteral(
            "Another copy of the program is recording for this name just now, on this computer "
            "or on another one that uses the same folder.  Nothing was recorded: please try "
            "again in a moment.");
        break;
    case RecordRefusal::Reason::NotAFile:
        why = inTheWay(QStringLiteral(
                  "something that is not a file (a folder, a link or another kind of entry)"))
            + QStringLiteral(
                  "The program leaves it alone: please have it moved away, then record again.");
        break;
    case RecordRefusal::Reason::OtherUsersFile:
        why =
            inTheWay(QStringLiteral("a file of another user's that you may not remove"))
            + QStringLiteral(
                "The program does not rely on it: please ask its owner or the instructor to remove "
                "it, then record again.");
        break;
    case RecordRefusal::Reason::OtherUsersRecordFile:
        why =
            QStringLiteral(
                "Nothing was recorded.  The record file %1 belongs to another user, who could "
                "change "
                "or empty it at any time, so the program does not record into it.  Please ask the "
                "instructor to have it removed or given to you, then record again.")
                .arg(named);
        break;
    case RecordRefusal::Reason::EarlierRecordUnfinished:
        why = QStringLiteral(
                  "Nothing was recorded.  An earlier record that was interrupted (by a crash or a "
                  "lost connection) is still to be taken back out of %1, and the folder did not "
                  "let the program do it just now.  The program tries again at every record: "
                  "please record again in a moment.")
                  .arg(named);
        break;
    case RecordRefusal::Reason::JournalUnreadable:
        why = QStringLiteral(
                  "Nothing was recorded.  An earlier record that was interrupted (by a crash or a "
                  "lost connection) may still be to be taken back out of your record files in %1, "
                  "and the folder did not let the program read the hidden journal that says so "
                  "just now.  The program tries again at every record: please record again in a "
                  "moment.")
                  .arg(named);
        break;
    case RecordRefusal::Reason::ChangedMeanwhile:
        why = QStringLiteral(
            "Nothing was recorded.  While the record was written, another program moved or "
            "removed the hidden lock file that the program keeps beside the record files, or one "
            "of the record files, so the record does not count and is taken back out of the "
            "files.  Please record it again.");
        break;
    case RecordRefusal::Reason::RecordFileMoved:
        why = QStringLiteral(
                  "The record may not be whole.  While it was written, another program moved or "
                  "removed one of your record files, and the record could not be taken back out "
                  "of %1.  Please look at the end of %2 before you record it again.")
                  .arg(named, thatFile);
        break;
    case RecordRefusal::Reason::MayNotBeWhole:
        why = QStringLiteral(
                  "The record may not be whole.  While it was written, another program removed or "
                  "replaced the hidden lock or journal file that the program keeps beside the "
                  "record files, so the program cannot tell whether the record is whole in %1.  "
                  "Please look at the end of %2 before you record it again.")
                  .arg(named, thatFile);
        break;
    }
    return generalErrorMessage(refusal.number()) + QStringLiteral("\n\n") + why;
}

QString otherUsersJournalMessage(const QString& path)
{
    return QStringLiteral(
               "A file of another user's, %1, stands where the program keeps the rollback journal "
               "for your name.  The program does not apply it and leaves it where it is: your "
               "records "
               "go on under a journal of your own.  You may ask its owner or the instructor to "
               "remove "
               "it.")
        .arg(QDir::toNativeSeparators(path));
}

QString trapMessage(const RunTimeError& error)
{
    if (auto* refusal = dynamic_cast<const RecordRefusal*>(&error))
        return recordRefusalMessage(*refusal);
    if (auto* partly = dynamic_cast<const PartlyWrittenError*>(&error))
        return partlyWrittenMessage(partly->number(), partly->files());
    if (auto* unencodable = dynamic_cast<const UnencodableTextError*>(&error))
        return unencodableTextMessage(unencodable->characters());
    if (error.number() == err::SubscriptOutOfRange)
        return invalidAssignmentMessage();
    return generalErrorMessage(error.number());
}

QString untrappedMessage(const RunTimeError& error)
{
    // Even error 9 is reported with its number: the invalid-assignment message would wrongly tell
    // the student that the program ends.
    if (error.number() == err::SubscriptOutOfRange)
        return generalErrorMessage(error.number());
    return trapMessage(error);
}

void MainWindow::trapErrors(TrappedProcedure procedure, const std::function<void()>& steps)
{
    const int error = runTrapped(steps, [&](const RunTimeError& e) {
        const bool pastLastParagraph = procedure == TrappedProcedure::readNextQuestion
            && e.number() == err::SubscriptOutOfRange && state_.bankIndex.toNumber() > LastBankSlot;
        services_.dialogs.messageBox(pastLastParagraph ? endOfAssignmentMessage(textLeftUnrecorded_)
                                                       : trapMessage(e));
    });
    if (procedure == TrappedProcedure::openAssignment && error == err::SubscriptOutOfRange)
        endProgram();
}

void MainWindow::reportUntrapped(const RunTimeError& error)
{
    services_.dialogs.messageBox(untrappedMessage(error));
}

bool MainWindow::runHandler(void (MainWindow::*handler)())
{
    return dispatch([this, handler] { (this->*handler)(); },
                    [this](const RunTimeError& error) { reportUntrapped(error); });
}

void MainWindow::runTick()
{
    dispatch([this] { tmr_pend_exp_Timer(); },
             [this](const RunTimeError& error) {
                 if (!std::exchange(tickErrorShown_, true))
                     reportUntrapped(error);
             });
}

} // namespace desk
