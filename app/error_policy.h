#pragma once
// Which message the student is told when something goes wrong (the rules are in
// app/error_policy.cpp; the texts in app/student_texts.h).

#include <QString>
#include <QStringList>

namespace desk {

class RunTimeError;

// The procedures that arm the error trap.
enum class TrappedProcedure {
    setUpProgram,
    openAssignment,
    readNextQuestion,
    cmdNextQuestion_Click
};

// What the error trap shows: the invalid-assignment message for 9, the message naming the
// characters the record files cannot hold, or the general error message with the number.
QString trapMessage(const RunTimeError& error);
// What a handler without a trap of its own shows.
QString untrappedMessage(const RunTimeError& error);

} // namespace desk
