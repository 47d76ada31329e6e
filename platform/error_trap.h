#pragma once
// The error trap: a procedure that arms it has its remaining steps skipped on a run-time
// error, the student is shown a message, and the procedure returns normally.

#include "platform/run_time_error.h"

#include <QString>

namespace desk {

class Dialogs;

QString invalidAssignmentMessage();
QString generalErrorMessage(int number);
QString unencodableTextMessage(const QStringList& characters);
// The general error message, then which files may hold part of a record that failed.
QString partlyWrittenMessage(int number, const QStringList& files);

// What the trap shows for an error: the invalid-assignment message for 9, the message naming
// characters the record files cannot hold, or the general error message with the number.
QString trapMessage(const RunTimeError& error);

// Runs the guarded steps. On a run-time error shows the trap's message and returns the error's
// number; returns 0 when the steps ran through. The end of the program passes through untouched.
template <typename Steps>
int runTrapped(Dialogs& dialogs, Steps&& steps);

void showTrapMessage(Dialogs& dialogs, const RunTimeError& error);

template <typename Steps>
int runTrapped(Dialogs& dialogs, Steps&& steps)
{
    try {
        steps();
        return 0;
    } catch (const RunTimeError& error) {
        showTrapMessage(dialogs, error);
        return error.number();
    }
}

} // namespace desk
