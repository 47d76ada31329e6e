#pragma once
// What the student is told when something goes wrong (the rules are in app/error_policy.cpp).

#include <QString>
#include <QStringList>

namespace desk {

class RecordRefusal;
class RunTimeError;

// The procedures that arm the error trap.
enum class TrappedProcedure {
    setUpProgram,
    openAssignment,
    readNextQuestion,
    cmdNextQuestion_Click
};

// What the answer box holds that is not surely in the record files: text typed and not yet
// recorded, text whose record was refused, or text whose record may be in the files in part.
enum class UnrecordedText { Typed, Refused, MayBeInFiles };

QString invalidAssignmentMessage();
// What "Next Question / Answer" shows once the assignment has no paragraph left; `textLeft`: the
// student chose to leave a text unrecorded during the run.
QString endOfAssignmentMessage(bool textLeft);
// Asked by "Next Question / Answer" before it leaves such a text unrecorded.
QString unrecordedAnswerQuestion(UnrecordedText text);
QString generalErrorMessage(int number);
QString unencodableTextMessage(const QStringList& characters);
// The general error message, then which files may hold part of a record that failed.
QString partlyWrittenMessage(int number, const QStringList& files);
// The general error message, then why the record files refused the record, or why it may not
// be whole, naming what stands in the way.
QString recordRefusalMessage(const RecordRefusal& refusal);
// Told once a run: another user's journal where the name's is kept, never applied.
QString otherUsersJournalMessage(const QString& path);

// What the error trap shows: the invalid-assignment message for 9, the message naming the
// characters the record files cannot hold, or the general error message with the number.
QString trapMessage(const RunTimeError& error);
// What a handler without a trap of its own shows.
QString untrappedMessage(const RunTimeError& error);

} // namespace desk
