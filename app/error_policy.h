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

QString invalidAssignmentMessage();
// What "Next Question / Answer" shows once the assignment has no paragraph left.
QString endOfAssignmentMessage();
// Asked by "Next Question / Answer" while the answer box holds text whose record failed: refused,
// or left in doubt (`mayBeInFiles`: the files may hold it, or part of it).
QString unrecordedAnswerQuestion(bool mayBeInFiles);
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
